#!/usr/bin/env bash
# The options dialog with real input under Wine: F12 opens it; a new click mode and a new
# bring-to-front key are written to Trovik.ini by Apply and act at once; a fileset renamed in place
# renames its directory and its tab; items cut in one fileset and pasted in another land in both
# pairs of list files; the event-log sample is installed through the Trovik+ page, hears an event,
# and is removed again; "Icon on desktop" makes Trovik.lnk in the prefix's desktop folder and
# unticking it takes it away; the page tabs take clicks after the arrow keys; F1's box belongs to
# the dialog. Each page is photographed.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TROVIK_EXT_DIR:=$(dirname "$TROVIK_EXE")/ext}"
DLG=TOptionsForm
VK_HOME=0x24
VK_DOWN=0x28
VK_F8=0x77
VK_F9=0x78

page() {
  drive opt-page "$DLG" poptions "$1"
  e2e_screenshot "options-$2.png"
}
open_options() {
  drive key 123 # F12
  drive wait-window "$DLG" Options "$E2E_WAIT_MS"
}
close_options() {
  drive dlg-click "$DLG" "$1"
  e2e_until "the options dialog after $1" hidden shown "$DLG"
}
sorted_tabs() {
  drive tabs
  [ "$(printf '%s\n' "$DRIVEN" | sort | tr '\n' ' ')" = "$1" ]
}

e2e_begin
e2e_probe
command -v xdotool >/dev/null || e2e_fail "xdotool is missing"
[ -f "$TROVIK_EXT_DIR/eventlog.dll" ] || e2e_fail "no eventlog.dll in $TROVIK_EXT_DIR"

base="$E2E_TMP/Launch"
e2e_base "$base"
cp "$TROVIK_PROBE" "$base/trovik-probe.exe"
mkdir -p "$base/Extensions"
cp "$TROVIK_EXT_DIR/eventlog.dll" "$TROVIK_EXT_DIR/eventlog.txt" "$base/Extensions/"

e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "Click=1" \
  "ShowOnKey=F9" "QuickSwitch=1" "ConfirmDelete=0" "ConfirmFSDelete=1" "UserLevel=1"
e2e_write "$base/link.qdx" "$CRLF" "$(winpath "$base")\\trovik-probe.exe>:clicked"
e2e_write "$base/name.qdx" "$CRLF" "Probe"
e2e_write "$base/Games/link.qdx" "$CRLF" 'C:\Games\chess.exe' 'C:\Games\mines.exe'
e2e_write "$base/Games/name.qdx" "$CRLF" "Chess" "Mines"
e2e_write "$base/Work/link.qdx" "$CRLF" 'C:\Work\mail.exe'
e2e_write "$base/Work/name.qdx" "$CRLF" "Mail"

e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
e2e_until "F9 held by Trovik" taken opt-hotkey "$VK_F9"

# --- F12 opens the dialog on its General page
open_options
e2e_until "the page shown first" "shown enabled checked" dlg-state "$DLG" showonc
e2e_screenshot options-general.png

# --- the page tabs by mouse and keys: a click, the arrow keys, and a click again after them; F1
# without the help files asks in a box of the dialog, which then has the keyboard back
click_tab() {
  drive tab-point "$1" "$DLG" poptions
  read -r x y <<<"$DRIVEN"
  xdotool mousemove "$x" "$y" click 1
}
click_tab 2
e2e_until "the Fileset manager page by a click" "shown enabled checked" dlg-state "$DLG" qswitchc
xdotool key Left
e2e_until "the Links page by the arrow key" "shown enabled unchecked" dlg-state "$DLG" doublecc
e2e_screenshot options-links.png
click_tab 0
e2e_until "the General page by a click after the arrow key" "shown enabled checked" \
  dlg-state "$DLG" showonc
e2e_box_gives_back "$DLG" poptions Trovik "Help files not found." F1
click_tab 1

# --- double click instead of single, F8 instead of F9: written by Apply, in effect at once
drive dlg-click "$DLG" doublecc
e2e_until "single click after ticking double click" "shown enabled unchecked" dlg-state "$DLG" singlecc
drive opt-page "$DLG" poptions 0
drive dlg-select "$DLG" pkey 7
drive dlg-click "$DLG" apply
expect_ini "$base/Trovik.ini" Options Click 0
expect_ini "$base/Trovik.ini" Options ShowOnKey F8
e2e_until "F8 after Apply" taken opt-hotkey "$VK_F8"
e2e_until "F9 after Apply" free opt-hotkey "$VK_F9"
close_options okay
e2e_step "clicks"
drive select 0
sleep 1 # a single click must start nothing now
[ ! -f "$probe_log" ] || e2e_fail "a single click still ran the link: $(cat "$probe_log")"
drive dblclick 0
e2e_poll has_line "$probe_log" "clicked" || e2e_fail "a double click did not run the link"

# --- the fileset manager: rename Games in place, then cut from it and paste into Work
e2e_step "fileset manager"
open_options
drive opt-page "$DLG" poptions 2
drive dlg-key "$DLG" filesetlist "$VK_HOME"
drive dlg-key "$DLG" filesetlist "$VK_DOWN"
e2e_until "contents of Games" $'Chess\nMines' dlg-items "$DLG" contentslist
drive dlg-click "$DLG" renamefs
drive opt-label "$DLG" filesetlist Play
e2e_poll test -d "$base/Play" || e2e_fail "the Games directory was not renamed to Play"
[ ! -e "$base/Games" ] || e2e_fail "Games is still there beside Play"
e2e_poll sorted_tabs "Launch Play Work " || e2e_fail "the tabs do not follow the rename: $DRIVEN"
drive dlg-select "$DLG" contentslist 0
drive dlg-click "$DLG" cuti
e2e_until "Play after the cut" "Mines" dlg-items "$DLG" contentslist
drive dlg-key "$DLG" filesetlist "$VK_DOWN"
e2e_until "contents of Work" "Mail" dlg-items "$DLG" contentslist
drive dlg-select "$DLG" contentslist 0
drive dlg-click "$DLG" pastei
e2e_until_file "Work names after the paste" "$base/Work/name.qdx" "$CRLF" "Mail" "Chess"
e2e_until_file "Work links after the paste" "$base/Work/link.qdx" "$CRLF" 'C:\Work\mail.exe' 'C:\Games\chess.exe'
e2e_expect_file "Play names after the cut" "$base/Play/name.qdx" "$CRLF" "Mines"
e2e_expect_file "Play links after the cut" "$base/Play/link.qdx" "$CRLF" 'C:\Games\mines.exe'
e2e_screenshot options-filesets.png

e2e_step "Trovik+"
# --- Trovik+: the event-log sample installed through the page hears the next event, then goes
page 3 updates
drive opt-page "$DLG" poptions 4
drive dlg-click "$DLG" vpinstall
drive opt-open-file "$(winpath "$base")\\Extensions\\eventlog.dll" "$E2E_WAIT_MS"
e2e_until "the installed extension" "Event log" dlg-items "$DLG" vplist
e2e_screenshot options-trovikplus.png
e2e_poll has_line "$base/vp2.qdx" "eventlog.dll|Event log|" || e2e_fail "vp2.qdx has no record of the sample:
$(cat "$base/vp2.qdx")"
eventlog="$base/Extensions/eventlog.log"
e2e_poll has_line "$eventlog" "loaded from" || e2e_fail "the sample was not started at installation"
close_options cancel
drive select 0
e2e_poll has_line "$eventlog" "form1list1click" || e2e_fail "the sample did not hear the click:
$(cat "$eventlog")"
open_options
drive opt-page "$DLG" poptions 4
drive dlg-select "$DLG" vplist 0
drive dlg-click "$DLG" vpremove
e2e_until "the list after the removal" "" dlg-items "$DLG" vplist
e2e_poll has_line "$eventlog" "onclose 3" || e2e_fail "the sample was not told of its removal"
grep -q "eventlog" "$base/vp2.qdx" && e2e_fail "vp2.qdx still lists the sample: $(cat "$base/vp2.qdx")"

e2e_step "shortcut"
# --- "Icon on desktop": a shortcut to this Trovik.exe on the prefix's desktop, and gone again
drive opt-page "$DLG" poptions 0
drive dlg-click "$DLG" ideskc
drive dlg-click "$DLG" apply
desktop="$(find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name Desktop | head -n 1)"
[ -n "$desktop" ] || e2e_fail "the prefix has no desktop folder"
# The shell writes the file in steps: what it points at is polled for, not read once.
points_here() { grep -aqiF "$(winpath "$base")\\Trovik.exe" "$desktop/Trovik.lnk" 2>/dev/null; }
e2e_poll points_here || e2e_fail "no Trovik.lnk pointing at $(winpath "$base")\\Trovik.exe in $desktop"
expect_ini "$base/Trovik.ini" Options DesktopLink 1
drive dlg-click "$DLG" ideskc
drive dlg-click "$DLG" apply
e2e_poll test ! -e "$desktop/Trovik.lnk" || e2e_fail "Trovik.lnk stayed on the desktop after unticking"
expect_ini "$base/Trovik.ini" Options DesktopLink 0
close_options okay
e2e_expect_no_boxes
e2e_close
