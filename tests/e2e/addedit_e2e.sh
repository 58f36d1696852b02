#!/usr/bin/env bash
# The Add/Edit link dialog and the two dialogs it opens, in the real program: the empty list shows
# how to begin, and stops once it holds a link; Insert opens the dialog, a typed path offers its
# completions and a click picks one, Add writes link.qdx and name.qdx; a two-member group with a
# run style on its second member and Force order is stored exactly; a file dropped from the shell
# joins the member list and members are dragged within it; the command-line dialog rewrites the
# member at the cursor; the browse dialog picks a file; a link with nothing to run is refused;
# message boxes and the dialogs closed by Escape give the keyboard back where it was; an item
# opened for editing is written back into its own fileset after the user switched to another; F1
# says the help files are missing, and opens the page maximised once they are there.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"


e2e_begin
e2e_probe
command -v xdotool >/dev/null || e2e_fail "xdotool is missing"

base="$E2E_TMP/Main"
e2e_base "$base"
tools_dir="$E2E_TMP/Tools"
mkdir -p "$tools_dir"
for f in Probe.exe alpha.exe beta.exe readme.txt; do cp "$TROVIK_PROBE" "$tools_dir/$f"; done
tools="$(winpath "$tools_dir")"
e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "UserLevel=1" \
  "AutoCompleteLevel=1" "QuickSwitch=1" "Click=1"
e2e_write "$base/link.qdx" "$CRLF"
e2e_write "$base/name.qdx" "$CRLF"
e2e_write "$base/Work/link.qdx" "$CRLF" 'C:\windows\regedit.exe'
e2e_write "$base/Work/name.qdx" "$CRLF" "Registry"

# open_add: Insert in the main list opens the dialog in add mode, empty.
open_add() {
  drive key 45
  e2e_until "the Add/Edit dialog" "shown enabled" dlg-state TAddEdit path
}
expect_path() { e2e_until "the path field" "$1" dlg-text TAddEdit path; }
closed() { e2e_until "the Add/Edit dialog closed" "hidden enabled" dlg-state TAddEdit path; }

# hint_painted <shot>: the middle of List1 in the screenshot holds more than its background.
hint_painted() {
  e2e_screenshot "$1"
  drive main-point 101
  read -r x y <<<"$DRIVEN"
  [ "$(convert "$E2E_ARTIFACTS/$1" -crop 80x24+$((x - 40))+$((y - 12)) -format %k info:)" -gt 1 ]
}

e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
# The main window aside, so that the dialogs in the middle of the screen leave its tabs free.
drive place 10 10 220 300
# The empty list says how to begin.
e2e_poll hint_painted addedit-empty-list.png || e2e_fail "the empty list shows no hint"

# --- add a link: a typed path, a completion picked with the mouse, Add
open_add
e2e_screenshot addedit-add.png
drive dlg-set TAddEdit itemLabel "Probe"
drive dlg-type TAddEdit path "$tools\\Pr"
# Every character typed has been taken (and completed) before the list is read: an item that
# changes while the driver reads it could outgrow the driver's buffer.
expect_path "$tools\\Pr"
e2e_until "the completions" "$tools\\Probe.exe" dlg-items TAddEdit autoclist
e2e_screenshot addedit-completion.png
# The open list hangs just below the path field: a click on its first row.
drive dlg-point TAddEdit path
read -r x y <<<"$DRIVEN"
xdotool mousemove "$x" $((y + 19)) click 1
expect_path "$tools\\Probe.exe"
drive dlg-click TAddEdit addlink
closed
e2e_until_file "link.qdx after Add" "$base/link.qdx" "$CRLF" "$tools\\Probe.exe"
e2e_until_file "name.qdx after Add" "$base/name.qdx" "$CRLF" "Probe"
hint_painted addedit-one-link.png && e2e_fail "the hint stayed in the list that holds a link"

# --- a group of two, the second member minimised, in forced order
open_add
drive dlg-set TAddEdit itemLabel "Pair"
drive dlg-set TAddEdit path "$tools\\alpha.exe|$tools\\beta.exe|"
e2e_until "the members" "$tools\\alpha.exe
$tools\\beta.exe" dlg-items TAddEdit mrl
drive dlg-select TAddEdit mrl 1
drive dlg-click TAddEdit runmin
e2e_until "the member's run style" "shown enabled checked" dlg-state TAddEdit runmin
drive dlg-click TAddEdit foc
e2e_until "Force order" "shown enabled checked" dlg-state TAddEdit foc
e2e_screenshot addedit-group.png
drive dlg-click TAddEdit addlink
closed
e2e_until_file "link.qdx with the group" "$base/link.qdx" "$CRLF" "$tools\\Probe.exe" \
  "+f$tools\\alpha.exe|$tools\\beta.exe+lrmi|"

# --- a dropped file joins the members, however long its path; the command line of a member
long="C:\\$(printf 'n%.0s' $(seq 300)).exe"
open_add
drive dlg-set TAddEdit path "$tools\\alpha.exe|"
drive dlg-drop TAddEdit mrl "$tools\\beta.exe" "$long"
expect_path "$tools\\alpha.exe|$tools\\beta.exe|$long|"
# The cursor inside the second member, then "+c".
drive dlg-caret TAddEdit path $((${#tools} + 15))
drive dlg-click TAddEdit ac
e2e_until "the command-line dialog" "shown enabled" dlg-state Tacf commandtext
e2e_screenshot acf.png
drive dlg-set Tacf commandtext "-x"
drive dlg-click Tacf aca
e2e_until "the command-line dialog closed" "hidden enabled" dlg-state Tacf commandtext
expect_path "$tools\\alpha.exe|$tools\\beta.exe>:-x|$long|"
# The third member picked and carried to the top of the list (rows of 13 pixels from its top).
drive dlg-point TAddEdit mrl
read -r x y <<<"$DRIVEN"
row() { echo $((y - 50 + 8 + $1 * 13)); }
xdotool mousemove "$x" "$(row 2)" click 1
# Slower than a double click, which would open the member in the browse dialog.
sleep 0.6
xdotool mousedown 1 sleep 0.2 mousemove "$x" "$(row 1)" sleep 0.2 mousemove "$x" "$(row 0)" \
  sleep 0.2 mouseup 1
expect_path "$long|$tools\\alpha.exe|$tools\\beta.exe>:-x|"
drive dlg-click TAddEdit cancel
closed

# --- the browse dialog opens in the target's directory and picks a file
open_add
drive dlg-set TAddEdit path "$tools\\nothing.exe"
drive dlg-click TAddEdit browse
e2e_until "the executables of the directory" "alpha.exe
beta.exe
Probe.exe" dlg-items TOpenFileDir FileList
e2e_screenshot browse.png
drive dlg-select TOpenFileDir FileList 1
drive dlg-click TOpenFileDir select
e2e_until "the browse dialog closed" "hidden enabled" dlg-state TOpenFileDir FileList
expect_path "$tools\\beta.exe"
drive dlg-click TAddEdit cancel
closed

# --- the keyboard comes back: a link with nothing to run is refused and the typing goes on in the
# path; F1 without the help files asks in a box of the dialog in front, which then has the keyboard
# again; the command-line and browse dialogs closed by Escape leave the typing in the path
click_on() {
  drive dlg-point "$1" "$2"
  read -r x y <<<"$DRIVEN"
  xdotool mousemove "$x" "$y" click 1
}
in_path() { e2e_until "the keyboard in the path" focused dlg-focus TAddEdit path; }
open_add
e2e_until "the keyboard in the label" focused dlg-focus TAddEdit itemLabel
xdotool key Return
drive answer Trovik ok "$E2E_WAIT_MS" "This link has nothing to run."
in_path
xdotool type "ab"
expect_path "ab"
e2e_box_gives_back TAddEdit path Trovik "Help files not found." F1
click_on TAddEdit ac
e2e_box_gives_back Tacf commandtext Trovik "Help files not found." F1
xdotool key Escape
in_path
xdotool type "c"
expect_path "abc"
click_on TAddEdit browse
e2e_box_gives_back TOpenFileDir FileList Trovik "Help files not found." F1
xdotool key Escape
in_path
xdotool type "d"
expect_path "abcd"
drive dlg-click TAddEdit cancel
closed

# --- an item of the base fileset edited while the Work fileset is shown
drive menu edititem
drive select 0
e2e_until "the item opened for editing" "$tools\\Probe.exe" dlg-text TAddEdit path
read -r x y <<<"$(tab_screen 1)"
xdotool mousemove "$x" "$y" click 1
e2e_until "the Work fileset" "Registry" list 101
drive dlg-set TAddEdit itemLabel "Edited"
drive dlg-set TAddEdit path "$tools\\alpha.exe"
drive dlg-click TAddEdit addlink
closed
e2e_until_file "the base fileset's links" "$base/link.qdx" "$CRLF" "$tools\\alpha.exe" "+f$tools\\alpha.exe|$tools\\beta.exe+lrmi|"
e2e_until_file "the base fileset's names" "$base/name.qdx" "$CRLF" "Edited" "Pair"
e2e_until "the Work fileset unchanged" "Registry" list 101
e2e_expect_file "Work's links" "$base/Work/link.qdx" "$CRLF" 'C:\windows\regedit.exe'

# --- F1 with the help files: the page opens maximised (the test's pages open in the probe)
mkdir -p "$base/helpfiles"
: >"$base/helpfiles/addwindow.htm"
timeout 60 "$E2E_WINE" reg add 'HKCR\.htm' /ve /d TrovikTestPage /f >/dev/null 2>&1
timeout 60 "$E2E_WINE" reg add 'HKCR\TrovikTestPage\shell\open\command' /ve \
  /d "\"$(winpath "$tools_dir")\\Probe.exe\" \"%1\"" /f >/dev/null 2>&1
open_add
drive dlg-key TAddEdit path 112
e2e_poll test -s "$probe_log" || e2e_fail "F1 opened no help page"
grep -aq $'\t3\t.*addwindow.htm' "$probe_log" || e2e_fail "the help page did not open maximised:
$(cat "$probe_log")"
drive dlg-click TAddEdit cancel
closed

e2e_expect_no_boxes
e2e_close
