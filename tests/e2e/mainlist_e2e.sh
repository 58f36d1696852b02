#!/usr/bin/env bash
# The main list under real input (keys and clicks through the X server, as a user gives them):
# a click runs a link in single-click mode and only a double click does in double-click mode;
# arrows move without running, Enter runs, a letter jumps to the next item starting with it; Ctrl
# held turns the list to multiple selection in place (items, current item, scroll position and
# keyboard kept), the items clicked meanwhile start as one group when Ctrl is let go; Space and
# Backspace cycle through the filesets and Trovik.ini follows at once, as does the Switch submenu;
# sorting from the menu reorders the list and, after a close, the files, and with RetainSortOrder
# the sort is kept for the next start; the window is dragged by its title bar and its background;
# Export and Import go through the directory dialog.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

CRLF=$'\r\n'


e2e_begin
e2e_probe
command -v xdotool >/dev/null || e2e_fail "xdotool is missing"



# wait_probe <n>: the probe has been started n times in all.
wait_probe() {
  e2e_poll probe_started "$1" || e2e_fail "expected $1 starts of the probe; its log holds:
$(cat "$probe_log" 2>/dev/null)"
}

# probe_args <first> <last>: the arguments of those starts (1-based), in the order Trovik made them.
probe_args() { sort -s -n -k1,1 "$probe_log" | sed -n "$1,$2p" | tr -d '\r' | cut -f4; }

# expect_probe_count <n>: exactly n starts. Called after a start that came later than anything
# that must not have started, so a wrong start would already be in the log.
expect_probe_count() {
  sleep 0.3
  [ "$(probe_count)" -eq "$1" ] || e2e_fail "expected exactly $1 starts of the probe; its log holds:
$(cat "$probe_log" 2>/dev/null)"
}

# click <index> [times]: real clicks on a List1 item.
click() {
  drive item-screen "$1"
  local x y
  read -r x y <<<"$DRIVEN"
  xdotool mousemove "$x" "$y" click --repeat "${2:-1}" --delay 80 1
}

# press <key>...: real key presses (X key names: Down, Return, space, BackSpace, b, ...).
press() { xdotool key --delay 60 "$@"; }

# expect_state <state>: List1's mode, current item, scroll position, selection and focus, as
# "single|multi current=<i> top=<i> selected=<i,...|-> focus=yes|no", once input still on its
# way has arrived.
expect_state() { e2e_until "List1" "$1" list-state; }

expect_title() { e2e_until "title" "$1" title; }

# expect_fileset <name|""> <name in List1>...: the fileset shown and remembered in Trovik.ini.
expect_fileset() {
  local set="$1"
  shift
  e2e_until "List1 of fileset \"$set\"" "$(printf '%s\n' "$@")" list 101
  e2e_poll remembered "$set" || e2e_fail "Trovik.ini should say CurrentFileSet=$set; it holds:
$(tr -d '\r' <"$base/Trovik.ini")"
}
remembered() { grep -aqx "CurrentFileSet=$1"$'\r' "$base/Trovik.ini"; }

base="$E2E_TMP/Main"
e2e_base "$base"
cp "$TROVIK_PROBE" "$base/trovik-probe.exe"
probe="$(winpath "$base")\\trovik-probe.exe"

# Twenty-four links, more than the list shows at once; every leading letter but Z is unique.
names=("Delta" "Alpha" "Charlie" "Bravo")
second_names=("First" "Second" "Third" "Fourth")
links=("$probe>:d" "$probe>:a" "$probe>:c" "$probe>:b")
for i in $(seq 5 24); do
  names+=("Zulu $i")
  links+=("$probe>:z$i")
done
e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "Click=1" \
  "QuickSwitch=1"
e2e_write "$base/link.qdx" "$CRLF" "${links[@]}"
e2e_write "$base/name.qdx" "$CRLF" "${names[@]}"
e2e_write "$base/Second/link.qdx" "$CRLF" 'C:\x\mango.exe' 'C:\a\Apple.exe' 'D:\kiwi.txt' \
  'C:\b\banana.exe'
e2e_write "$base/Second/name.qdx" "$CRLF" "${second_names[@]}"
e2e_write "$base/Third/link.qdx" "$CRLF" 'C:\windows\notepad.exe'
e2e_write "$base/Third/name.qdx" "$CRLF" "Notepad"
# Where the export goes: an empty directory is no fileset yet.
mkdir -p "$base/Exported"
incoming="$E2E_TMP/Elsewhere/Incoming"
e2e_write "$incoming/link.qdx" "$CRLF" 'C:\notes\readme.txt'
e2e_write "$incoming/name.qdx" "$CRLF" "Readme"

e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
expect_state "single current=-1 top=0 selected=- focus=yes"

# --- single-click mode: one click runs the item once
click 1
wait_probe 1
e2e_settle
expect_state "single current=1 top=0 selected=1 focus=yes"
# An arrow moves without running; a click on the item it reached runs that one.
press Down
expect_state "single current=2 top=0 selected=2 focus=yes"
click 2
wait_probe 2
# Enter runs the current item; a letter moves to the next item starting with it and runs it.
e2e_settle
press Return
wait_probe 3
e2e_settle
press b
wait_probe 4
expect_probe_count 4
e2e_expect_lines "what the clicks, Enter and the letter ran" "$(probe_args 1 4)" a c c b
e2e_settle
expect_state "single current=3 top=0 selected=3 focus=yes"

# --- the fly multirun: Ctrl held turns the list to multiple selection where it stands; three
# clicks pick three items; letting Ctrl go runs them as one group and the list is single again
xdotool keydown ctrl
expect_title "Trovik - Run..."
expect_state "multi current=3 top=0 selected=- focus=yes"
click 0
click 2
click 3
expect_state "multi current=3 top=0 selected=0,2,3 focus=yes"
expect_probe_count 4
xdotool keyup ctrl
wait_probe 7
expect_probe_count 7
e2e_expect_lines "what the fly multirun ran" "$(probe_args 5 7 | LC_ALL=C sort)" b c d
expect_title "Trovik"
# The probes' windows have the keyboard while they are up.
e2e_settle
expect_state "single current=3 top=0 selected=3 focus=yes"

# Ctrl+Alt gives a fly multirun up: the list is single again at once and nothing runs when the
# keys are let go.
xdotool keydown ctrl
expect_title "Trovik - Run..."
click 0
expect_state "multi current=0 top=0 selected=0 focus=yes"
xdotool keydown alt
expect_title "Trovik"
expect_state "single current=0 top=0 selected=0 focus=yes"
xdotool keyup ctrl keyup alt

# The scroll position survives both switches, even with the current item scrolled out of sight;
# Ctrl pressed and let go with nothing picked (as for a shortcut) runs nothing.
press End
scrolled_to_end() {
  drive list-state
  [[ "$DRIVEN" =~ ^single\ current=23\ top=([1-9][0-9]*)\ selected=23\ focus=yes$ ]]
}
e2e_poll scrolled_to_end || e2e_fail "End should select the last item and scroll down to it: $DRIVEN"
drive scroll 2
expect_state "single current=23 top=2 selected=23 focus=yes"
xdotool keydown ctrl
expect_state "multi current=23 top=2 selected=- focus=yes"
xdotool keyup ctrl
expect_state "single current=23 top=2 selected=23 focus=yes"
expect_title "Trovik"

# --- Space and Backspace move through the filesets, wrapping both ways, and CurrentFileSet
# follows at once; neither runs anything
press space
expect_fileset Second "${second_names[@]}"
press space
expect_fileset Third Notepad
press space
expect_fileset "" "${names[@]}"
press BackSpace
expect_fileset Third Notepad
press BackSpace
expect_fileset Second "${second_names[@]}"
press BackSpace
expect_fileset "" "${names[@]}"
e2e_until "tab of the base fileset" 0 tab-index
# The Switch submenu (its items are commands 300 on, the base fileset first): the first use
# offers the tip about Space and Backspace, the second does not.
drive menu Switch2
drive answer Trovik ok "$E2E_WAIT_MS" "You can switch between filesets quickly using the space bar"
expect_fileset Third Notepad
e2e_until "tab of the Third fileset" 2 tab-index
drive menu Switch0
expect_fileset "" "${names[@]}"
drive no-box Trovik 500
click 1
wait_probe 8
expect_probe_count 8
e2e_settle

# --- sorting by file name from the menu, once (RetainSortOrder off): List1 and link1 move
# together, and the close saves the new order; nothing about it is remembered
press space
expect_fileset Second "${second_names[@]}"
drive menu Filename
sorted_names=("Second" "Fourth" "Third" "First")
sorted_links=('C:\a\Apple.exe' 'C:\b\banana.exe' 'D:\kiwi.txt' 'C:\x\mango.exe')
e2e_until "List1 sorted by file name" "$(printf '%s\n' "${sorted_names[@]}")" list 101
drive list 102
e2e_expect_lines "link1 sorted by file name" "$DRIVEN" "${sorted_links[@]}"
e2e_expect_no_boxes
e2e_close
e2e_expect_file "names saved in file-name order" "$base/Second/name.qdx" "$CRLF" "${sorted_names[@]}"
e2e_expect_file "links saved in file-name order" "$base/Second/link.qdx" "$CRLF" "${sorted_links[@]}"
grep -aq '^Type=' "$base/Trovik.ini" &&
  e2e_fail "without RetainSortOrder no sort key should be written; Trovik.ini holds:
$(cat "$base/Trovik.ini")"

# --- double-click mode: a click only selects, Enter runs nothing, a double click runs once
e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "Click=0" \
  "RetainSortOrder=1"
e2e_start "$base"
e2e_wait_main

# drag <x> <y>: a left-button drag by (60, 40) from a point of the main window; the window must
# follow it.
drag() {
  local left top width height state
  drive rect
  read -r left top width height state <<<"$DRIVEN"
  local x=$((left + $1)) y=$((top + $2))
  xdotool mousemove "$x" "$y" mousedown 1 sleep 0.2 mousemove "$((x + 30))" "$((y + 20))" \
    sleep 0.2 mousemove "$((x + 60))" "$((y + 40))" sleep 0.2 mouseup 1
  e2e_until "the window after a drag from ($1, $2)" \
    "$((left + 60)) $((top + 40)) $width $height $state" rect
}
# By the title bar, and by the background below the list.
drag 40 9
drive rect
read -r _ _ _ height _ <<<"$DRIVEN"
drag 20 $((height - 10))
drive list 101
e2e_expect_lines "List1 after the drags" "$DRIVEN" "${names[@]}"
expect_probe_count 8

click 2
expect_state "single current=2 top=0 selected=2 focus=yes"
press Return
click 1 2
wait_probe 9
expect_probe_count 9
e2e_expect_lines "what the double click ran" "$(probe_args 9 9)" a
e2e_settle

# --- RetainSortOrder: File type, then Reverse, re-sort; the close saves that order and the sort;
# the next start brings the sort back, so the import below lands where it belongs
press space
expect_fileset Second "${sorted_names[@]}"
drive menu Filetype
drive menu ReverseSort
# Descending by type: .txt first, then the .exe links in their earlier order.
retained_names=("Third" "Second" "Fourth" "First")
e2e_until "List1 by file type, reversed" "$(printf '%s\n' "${retained_names[@]}")" list 101
e2e_close
{ grep -aq $'^Type=4\r$' "$base/Trovik.ini" && grep -aq $'^ReverseSortOrder=1\r$' "$base/Trovik.ini"; } ||
  e2e_fail "Trovik.ini should keep the file-type sort, reversed; it holds:
$(cat "$base/Trovik.ini")"
e2e_expect_file "names saved by file type, reversed" "$base/Second/name.qdx" "$CRLF" \
  "${retained_names[@]}"
e2e_start "$base"
e2e_wait_main
drive list 101
e2e_expect_lines "List1 at the next start" "$DRIVEN" "${retained_names[@]}"

# --- Export into a new directory under the base: both saved files are copied, and the new
# fileset is listed at once; Import of another fileset appends its links after a Yes and saves
press ctrl+e
drive choose-folder "$(winpath "$base/Exported")" "$E2E_WAIT_MS"
e2e_expect_lines "folder chosen in the export's dialog" "$DRIVEN" Exported
e2e_until "fileset tabs after the export" "$(printf '%s\n' Main Exported Second Third)" tabs
exported() {
  cmp -s "$base/Second/link.qdx" "$base/Exported/link.qdx" &&
    cmp -s "$base/Second/name.qdx" "$base/Exported/name.qdx"
}
e2e_poll exported || e2e_fail "the export should copy Second's saved files into Exported"
press ctrl+r
drive choose-folder "$(winpath "$incoming")" "$E2E_WAIT_MS"
e2e_expect_lines "folder chosen in the import's dialog" "$DRIVEN" Incoming
drive answer Trovik yes "$E2E_WAIT_MS" "add the selected fileset's links"
# Re-sorted in the order restored at the start (a .txt goes up beside the other one), and saved
# at once.
imported_names=("Third" "Readme" "Second" "Fourth" "First")
e2e_until "List1 after the import" "$(printf '%s\n' "${imported_names[@]}")" list 101
e2e_until_file "names saved by the import" "$base/Second/name.qdx" "$CRLF" "${imported_names[@]}"
e2e_expect_no_boxes
e2e_close
