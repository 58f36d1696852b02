#!/usr/bin/env bash
# Starting and stopping the real program: the files of a first start, one copy only (a second one
# brings the first forward and ends), the window's size, place, state and fileset carried from one
# run to the next, the update reminder, the frame rules of the borderless window, tray mode, and
# the end of the Windows session.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# ini_set <file> <section> <key> <value>: sets a key of an options file written by the program
# (CR LF ends), appending it to its section when it is not there yet.
ini_set() {
  awk -v section="[$2]" -v key="$3" -v value="$4" '
    BEGIN { RS = "\r\n"; ORS = "\r\n" }
    $0 ~ /^\[/ { if (inside && !done) { print key "=" value; done = 1 } inside = ($0 == section) }
    inside && index($0, key "=") == 1 { print key "=" value; done = 1; next }
    inside && $0 == "" && !done { print key "=" value; done = 1 }
    { print }
    END { if (!done) { if (!inside) print section; print key "=" value } }
  ' "$1" >"$1.new" && mv "$1.new" "$1"
}

# The program is ended from outside (the end of the session): what it saved must already be there.
reap_ended() {
  local status=0
  wait "$TROVIK_PID" || status=$?
  TROVIK_PID=""
  [ "$status" -eq 0 ] || e2e_fail "the ended program's wine process returned $status"
}

e2e_begin
drive short-date 0
today="$DRIVEN"
drive work-area
read -ra work <<<"$DRIVEN"
e2e_step "today is $today in the short date format; work area ${work[*]}"
# A 145 by 256 window in the middle of the 1024 by 768 screen.
centred="$((1024 / 2 - 145 / 2)) $((768 / 2 - 256 / 2))"

# --- (a) first start in an empty folder: the files exist while the welcome box is up (what the
# options file holds is the unit tests'); the window opens centred on the screen at the smallest
# width
base="$E2E_TMP/Trovik"
e2e_base "$base"
e2e_start "$base"
drive wait-window "#32770" Trovik "$E2E_WAIT_MS"
for file in link.qdx name.qdx vp2.qdx; do
  [ -f "$base/$file" ] || e2e_fail "$file was not created by the first start"
  [ ! -s "$base/$file" ] || e2e_fail "$file should be empty after a first start"
done
[ -s "$base/Trovik.ini" ] || e2e_fail "Trovik.ini was not written by the first start"
drive answer Trovik ok "$E2E_WAIT_MS" "Welcome to Trovik. Trovik is now fully ready for you to use."
e2e_wait_main
e2e_expect_no_boxes
drive rect
e2e_expect_lines "window of a first start: 145 wide (the fresh 128 raised), centred" "$DRIVEN" \
  "$centred 145 256 normal"
drive taskbar-style
e2e_expect_lines "taskbar style of the main window" "$DRIVEN" appwindow
drive track-size
e2e_expect_lines "tracking size in list mode (min width, min and max height)" "$DRIVEN" "145 100 1268"
# The borderless window answers the system's hit test with its own resize borders (where they lie
# is the unit tests'); inside them the window itself (HTCLIENT 1), where a press drags it.
declare -A zones=([2 2]=13 [-1 -1]=17 [0 60]=10 [60 -1]=15 [5 5]=1)
for at in "${!zones[@]}"; do
  # shellcheck disable=SC2086 # two numbers
  drive hittest $at
  e2e_expect_lines "hit test at $at" "$DRIVEN" "${zones[$at]}"
done
e2e_close
expect_ini "$base/Trovik.ini" Form FormWidth 145
cp "$base/Trovik.ini" "$E2E_TMP/options-before"

# --- (b) one copy only: a second start while one runs brings the first forward, restored when
# it was minimised, and ends before it shows or makes anything
e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
# Out of the way of Notepad and of message boxes, whose colours would hide the title bar's.
drive place 20 20 145 256
placed="$DRIVEN"
e2e_until "title bar of the program in front" active title-color
# A message box of its own leaves the program active.
drive menu swindows
drive wait-window "#32770" Trovik "$E2E_WAIT_MS"
e2e_until "title bar while the program's own message box is in front" active title-color
drive answer Trovik no "$E2E_WAIT_MS" "Shutdown Windows?"
drive show minimize
e2e_expect_lines "the first copy, minimised" "${DRIVEN##* }" minimized

second_copy() {
  local started=$EPOCHREALTIME status=0 took
  (cd "$E2E_TMP" && exec timeout "${E2E_WAIT:-30}" "$E2E_WINE" "$base/Trovik.exe") >>"$E2E_TMP/second.log" 2>&1 ||
    status=$?
  took="$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')"
  [ "$status" -eq 0 ] || e2e_fail "the second copy ended with status $status after $took s"
  # About a second when the machine is idle; a copy that waits for something before it ends takes
  # far longer, a busy machine only a few seconds more.
  awk -v t="$took" 'BEGIN { exit !(t < 15) }' || e2e_fail "the second copy took $took s to end"
  e2e_step "the second copy ended after $took s"
  e2e_expect_no_boxes
  drive count TForm1 -
  e2e_expect_lines "main windows after the second copy ended" "$DRIVEN" 1
  drive count TApplication Trovik
  e2e_expect_lines "application windows after the second copy ended" "$DRIVEN" 1
}
second_copy
drive wait-front "$E2E_WAIT_MS"
e2e_expect_lines "the first copy, brought forward by the second" "$DRIVEN" "$placed"

# Another program in front this time, the first copy not minimised.
(cd "$E2E_TMP" && exec "$(trovik_wine_loader notepad)" notepad) >>"$E2E_TMP/notepad.log" 2>&1 &
drive wait-window Notepad - "$E2E_WAIT_MS"
drive place 400 300 400 300 Notepad
e2e_until "the foreground while Notepad is open" "Notepad \"Untitled - Notepad\"" front
e2e_until "title bar with another program in front" inactive title-color
second_copy
drive wait-front "$E2E_WAIT_MS"
e2e_expect_lines "the first copy, brought in front of Notepad" "$DRIVEN" "$placed"
e2e_until "title bar back in front" active title-color
drive close-window Notepad
e2e_close
e2e_expect_same "options after a close that changed nothing" "$base/Trovik.ini" "$E2E_TMP/options-before"

# --- (c) size, place, maximised state and fileset carried to the next start
e2e_fileset "$base/Games" Chess 'C:\Games\chess.exe'
ini_set "$base/Trovik.ini" Options RemPosition 1
ini_set "$base/Trovik.ini" Options UserLevel 1
e2e_start "$base"
e2e_wait_main
drive place 100 80 300 400
e2e_expect_lines "the window after a drag" "$DRIVEN" "100 80 300 400 normal"
# The Games fileset from the Switch submenu (its second item, command 301).
drive menu Switch1
e2e_until "List1 after switching to Games" Chess list 101
e2e_close

# What the close wrote is what the next start shows (which keys hold it is the unit tests').
e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
drive rect
e2e_expect_lines "the window at the next start" "$DRIVEN" "100 80 300 400 normal"
drive tab-index
e2e_expect_lines "selected tab at the next start" "$DRIVEN" 1
drive list 101
e2e_expect_lines "List1 at the next start" "$DRIVEN" "Chess"
drive show maximize
read -ra maximized <<<"$DRIVEN"
e2e_expect_lines "state after maximising" "${maximized[4]}" maximized
e2e_close

# Maximised: the normal size stays as it was; the place is where the maximised window stood.
e2e_start "$base"
e2e_wait_main
drive rect
e2e_expect_lines "a start after closing maximised" "${DRIVEN##* }" maximized
drive show restore
e2e_expect_lines "restored from a maximised start" "$DRIVEN" \
  "${maximized[0]} ${maximized[1]} 300 400 normal"
e2e_close
expect_ini "$base/Trovik.ini" Form Maximized 0

# --- (d) the update reminder: 60 days after the last check, written in the user's date format, it
# reminds once and writes today's date (the count itself is the unit tests')
other="$E2E_TMP/Other"
e2e_base "$other"
e2e_fileset "$other"
drive short-date 60
e2e_write "$other/Trovik.ini" "$CRLF" "[Form]" "UpdateChecked=$DRIVEN"
e2e_start "$other"
drive answer Trovik ok "$E2E_WAIT_MS" "You have not checked for an update for over 2 months"
e2e_wait_main
e2e_expect_no_boxes
expect_ini "$other/Trovik.ini" Form UpdateChecked "$today"
e2e_close

# --- (e) KeepOnDesktop: a drag past an edge of the work area is pinned to it (the other cases are
# the unit tests')
ini_set "$other/Trovik.ini" Options KeepOnDesktop 1
e2e_start "$other"
e2e_wait_main
drive place 900 100 300 400
e2e_expect_lines "dragged past the right edge" "$DRIVEN" "$((work[2] - 300)) 100 300 400 normal"
e2e_close

# --- (f) tray mode: the icon in the notification area and no taskbar button
ini_set "$other/Trovik.ini" Options KeepOnDesktop 0
ini_set "$other/Trovik.ini" Options SysTray 1
e2e_start "$other"
e2e_wait_main
drive taskbar-style
e2e_expect_lines "taskbar style in tray mode" "$DRIVEN" toolwindow
# Wine shows its own notification area while it holds an icon.
e2e_until "notification area with the icon" shown shown __winex11_standalone_tray
e2e_close

# --- (g) the end of the Windows session closes the program the usual way, so everything is saved
# before the system ends the process
ini_set "$base/Trovik.ini" Form CurrentFileSet ""
e2e_start "$base"
e2e_wait_main
drive menu Switch1
e2e_until "List1 after switching to Games" Chess list 101
# Moved after the switch (which saves the window state itself): only the close writes this place.
drive place 120 90 280 300
drive end-session
reap_ended
e2e_step "session ended"
expect_ini "$base/Trovik.ini" Form CurrentFileSet Games
for kv in FormLeft=120 FormTop=90 FormWidth=280 FormHeight=300; do
  expect_ini "$base/Trovik.ini" Form "${kv%%=*}" "${kv#*=}"
done
