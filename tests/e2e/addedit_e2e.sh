#!/usr/bin/env bash
# The Add/Edit link dialog and the command-line and browse dialogs it opens, in the real program
# under real input, and the hint the empty main list shows.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin
base="$E2E_TMP/Main"
e2e_base "$base"
tools_dir="$E2E_TMP/Tools"
mkdir -p "$tools_dir"
for f in Probe.exe alpha.exe beta.exe; do cp "$TROVIK_PROBE" "$tools_dir/$f"; done
tools="$(winpath "$tools_dir")"
e2e_options "$base" "UserLevel=1" "AutoCompleteLevel=1"
e2e_fileset "$base"

expect_path() { e2e_until "the path field" "$1" dlg-text TAddEdit path; }
in_path() { e2e_until "the keyboard in the path" focused dlg-focus TAddEdit path; }
# hint_painted <shot>: the middle of List1 in the screenshot holds more than its background.
hint_painted() {
  e2e_screenshot "$1"
  point main-point 101
  [ "$(convert "$E2E_ARTIFACTS/$1" -crop 80x24+$((x - 40))+$((y - 12)) -format %k info:)" -gt 1 ]
}

e2e_run "$base"
# The main window aside, so that the dialogs in the middle of the screen leave it free.
drive place 10 10 220 300
e2e_poll hint_painted addedit-empty-list.png || e2e_fail "the empty list shows no hint"

# --- add a link: a typed path, a completion picked with the mouse, Add
open_add
e2e_screenshot addedit-add.png
drive dlg-set TAddEdit itemLabel "Probe"
drive dlg-type TAddEdit path "$tools\\Pr"
# Every character typed has been taken (and completed) before the list is read.
expect_path "$tools\\Pr"
e2e_until "the completions" "$tools\\Probe.exe" dlg-items TAddEdit autoclist
e2e_screenshot addedit-completion.png
# The open list hangs just below the path field: a click on its first row.
point dlg-point TAddEdit path
click_at "$x" $((y + 19))
expect_path "$tools\\Probe.exe"
close_add addlink
expect_names Probe
hint_painted addedit-one-link.png && e2e_fail "the hint stayed in the list that holds a link"

# --- dropped files join the members, however long their path; the command line of a member; the
# members dragged; a member minimised, in forced order
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
drive dlg-set Tacf commandtext "-x" --then dlg-click Tacf aca
expect_path "$tools\\alpha.exe|$tools\\beta.exe>:-x|$long|"
# The third member picked and carried to the top of the list (rows of 13 pixels from its top).
point dlg-point TAddEdit mrl
row() { echo $((y - 50 + 8 + $1 * 13)); }
click_at "$x" "$(row 2)"
# Slower than a double click, which would open the member in the browse dialog.
sleep 0.6
xdotool mousedown 1 sleep 0.2 mousemove "$x" "$(row 1)" sleep 0.2 mousemove "$x" "$(row 0)" \
  sleep 0.2 mouseup 1
expect_path "$long|$tools\\alpha.exe|$tools\\beta.exe>:-x|"
drive dlg-select TAddEdit mrl 1 --then dlg-click TAddEdit runmin --then dlg-click TAddEdit foc
e2e_until "the member's run style" "shown enabled checked" dlg-state TAddEdit runmin
e2e_screenshot addedit-group.png
close_add cancel

# --- the keyboard comes back: a link with nothing to run is refused in a box, and the typing goes
# on in the path; so it does after the command-line and browse dialogs are closed by Escape
open_add
e2e_until "the keyboard in the label" focused dlg-focus TAddEdit itemLabel
xdotool key Return
drive answer Trovik ok "$E2E_WAIT_MS" "This link has nothing to run."
in_path
xdotool type "ab"
click dlg-point TAddEdit ac
e2e_until "the keyboard in the command line" focused dlg-focus Tacf commandtext
xdotool key Escape
in_path
xdotool type "c"
click dlg-point TAddEdit browse
e2e_until "the keyboard in the file list" focused dlg-focus TOpenFileDir FileList
e2e_screenshot browse.png
xdotool key Escape
in_path
xdotool type "d"
expect_path "abcd"
close_add cancel
e2e_expect_no_boxes
e2e_close
