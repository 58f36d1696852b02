#!/usr/bin/env bash
# The options dialog under real input: its page tabs, Apply acting at once, the fileset manager,
# Trovik+ through the system's open-file dialog, and the desktop shortcut. Each page is photographed.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

VK_F8=0x77
VK_F9=0x78
e2e_begin
base="$E2E_TMP/Launch"
e2e_base "$base" probe eventlog
e2e_options "$base" "Click=1" "ShowOnKey=F9" "QuickSwitch=1" "UserLevel=1"
e2e_fileset "$base" Probe "$probe>:clicked"
e2e_fileset "$base/Games" Chess 'C:\Games\chess.exe'
e2e_fileset "$base/Work" Mail 'C:\Work\mail.exe'

page() {
  drive opt-page "$DLG" poptions "$1"
  [ -z "${2:-}" ] || e2e_screenshot "options-$2.png"
}

e2e_run "$base"
e2e_until "F9 held by Trovik" taken opt-hotkey "$VK_F9"

# --- F12 opens the dialog on its General page; the page tabs by mouse, the arrow keys, and a
# click again after them
open_options
e2e_until "the page shown first" "shown enabled checked" dlg-state "$DLG" showonc
e2e_screenshot options-general.png
click tab-point 2 "$DLG" poptions
e2e_until "the Fileset manager page by a click" "shown enabled checked" dlg-state "$DLG" qswitchc
xdotool key Left
e2e_until "the Links page by the arrow key" "shown enabled unchecked" dlg-state "$DLG" doublecc
e2e_screenshot options-links.png
click tab-point 0 "$DLG" poptions
e2e_until "the General page by a click after the arrow key" "shown enabled checked" \
  dlg-state "$DLG" showonc

# --- double click instead of single, F8 instead of F9: in effect as soon as Apply is pressed
page 1
drive dlg-click "$DLG" doublecc
page 0
drive dlg-select "$DLG" pkey 7 --then dlg-click "$DLG" apply
e2e_until "F8 after Apply" taken opt-hotkey "$VK_F8"
e2e_until "F9 after Apply" free opt-hotkey "$VK_F9"
close_options okay
# The double click selects first: a selection that ran the link would start it twice.
drive dblclick 0
wait_probe 1
expect_probe_count 1

# --- the fileset manager: Games renamed in place
open_options
page 2
# Home and Down at once: the second key arrives while the first one's switch refreshes the main list.
drive dlg-key "$DLG" filesetlist 0x24 --then dlg-key "$DLG" filesetlist 0x28
e2e_until "contents of Games" Chess dlg-items "$DLG" contentslist
drive dlg-click "$DLG" renamefs
drive opt-label "$DLG" filesetlist Play
e2e_poll test -d "$base/Play" || e2e_fail "the Games directory was not renamed to Play"
[ ! -e "$base/Games" ] || e2e_fail "Games is still there beside Play"
e2e_screenshot options-filesets.png

# --- Trovik+: the event-log sample installed through the page hears the next event, then goes
page 3 updates
page 4
drive dlg-click "$DLG" vpinstall
drive opt-open-file "$(winpath "$base")\\Extensions\\eventlog.dll" "$E2E_WAIT_MS"
e2e_until "the installed extension" "Event log" dlg-items "$DLG" vplist
e2e_screenshot options-trovikplus.png
eventlog="$base/Extensions/eventlog.log"
wait_line "$eventlog" "loaded from"
close_options cancel
drive select 0
wait_line "$eventlog" "form1list1click"
open_options
page 4
drive dlg-select "$DLG" vplist 0 --then dlg-click "$DLG" vpremove
e2e_until "the list after the removal" "" dlg-items "$DLG" vplist
wait_line "$eventlog" "onclose 3"

# --- "Icon on desktop": a shortcut to this Trovik.exe on the prefix's desktop, and gone again
page 0
drive dlg-click "$DLG" ideskc --then dlg-click "$DLG" apply
desktop="$(find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name Desktop | head -n 1)"
[ -n "$desktop" ] || e2e_fail "the prefix has no desktop folder"
# The shell writes the file in steps: what it points at is polled for, not read once.
points_here() { grep -aqiF "$(winpath "$base")\\Trovik.exe" "$desktop/Trovik.lnk" 2>/dev/null; }
e2e_poll points_here || e2e_fail "no Trovik.lnk pointing at this Trovik.exe in $desktop"
wait_line "$base/Trovik.ini" "DesktopLink=1"
drive dlg-click "$DLG" ideskc --then dlg-click "$DLG" apply
e2e_poll test ! -e "$desktop/Trovik.lnk" || e2e_fail "Trovik.lnk stayed on the desktop after unticking"
close_options okay
e2e_close
