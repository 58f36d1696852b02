#!/usr/bin/env bash
# Starting and stopping the real program: the files of a first start, one copy only (a second one
# brings the first forward and ends), tray mode, and the end of the Windows session, after which
# the window's size, place and fileset are there at the next start.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin

# --- first start in an empty folder: the files exist while the welcome box is up; the window
# opens centred on the 1024 by 768 screen at its smallest width, 145; the close leaves the list
# files empty, not even a line end in them
base="$E2E_TMP/Trovik"
e2e_base "$base"
e2e_start "$base"
drive wait-window "#32770" Trovik "$E2E_WAIT_MS"
[ -s "$base/Trovik.ini" ] || e2e_fail "Trovik.ini was not written by the first start"
drive answer Trovik ok "$E2E_WAIT_MS" "Welcome to Trovik. Trovik is now fully ready for you to use."
e2e_wait_main
e2e_expect_no_boxes
drive rect
e2e_expect_lines "window of a first start" "$DRIVEN" "$((512 - 145 / 2)) $((384 - 128)) 145 256 normal"
drive taskbar-style
e2e_expect_lines "taskbar style of the main window" "$DRIVEN" appwindow
e2e_close
for file in link.qdx name.qdx vp2.qdx; do
  [ -f "$base/$file" ] && [ ! -s "$base/$file" ] || e2e_fail "$file should be there and empty after a first start"
done
expect_ini "$base/Trovik.ini" Form FormWidth 145

# --- one copy only: a second start while one runs brings the first forward, restored when it was
# minimised, or in front of another program, and ends before it shows or makes anything
second_copy() {
  local started=$SECONDS status=0
  (cd "$E2E_TMP" && exec timeout "${E2E_WAIT:-30}" "$E2E_WINE" "$base/Trovik.exe") >>"$E2E_TMP/second.log" 2>&1 ||
    status=$?
  [ "$status" -eq 0 ] || e2e_fail "the second copy ended with status $status"
  # About a second when the machine is idle; a copy that waits for something takes far longer.
  [ $((SECONDS - started)) -lt 15 ] || e2e_fail "the second copy took $((SECONDS - started)) s to end"
  e2e_expect_no_boxes
  drive count TForm1 - --then count TApplication Trovik
  e2e_expect_lines "main and application windows after the second copy ended" "$DRIVEN" 1 1
  drive wait-front "$E2E_WAIT_MS"
  e2e_expect_lines "the first copy, brought forward by the second" "$DRIVEN" "20 20 145 256 normal"
}
e2e_run "$base"
drive place 20 20 145 256
drive show minimize
second_copy
(cd "$E2E_TMP" && exec "$(trovik_wine_loader notepad)" notepad) >>"$E2E_TMP/notepad.log" 2>&1 &
drive wait-window Notepad - "$E2E_WAIT_MS"
drive place 400 300 400 300 Notepad
e2e_until "the foreground while Notepad is open" "Notepad \"Untitled - Notepad\"" front
second_copy
drive close Notepad
e2e_close

# --- tray mode: the icon in Wine's notification area and no taskbar button. The end of the
# Windows session closes the program the usual way, so the fileset and the window's place are
# saved before the system ends the process, and the next start shows them.
e2e_fileset "$base/Games" Chess 'C:\Games\chess.exe'
e2e_options "$base" RemPosition=1 UserLevel=1 SysTray=1
e2e_run "$base"
drive taskbar-style
e2e_expect_lines "taskbar style in tray mode" "$DRIVEN" toolwindow
e2e_until "notification area with the icon" shown shown __winex11_standalone_tray
# The Games fileset from the Switch submenu (its second item).
drive menu Switch1
expect_names Chess
# Moved after the switch (which saves the window state itself): only the close writes this place.
drive place 100 80 300 400
drive end-session
status=0
wait "$TROVIK_PID" || status=$?
TROVIK_PID=""
[ "$status" -eq 0 ] || e2e_fail "the ended program's wine process returned $status"
for kv in CurrentFileSet=Games FormLeft=100 FormTop=80 FormWidth=300 FormHeight=400; do
  expect_ini "$base/Trovik.ini" Form "${kv%%=*}" "${kv#*=}"
done
e2e_run "$base"
drive rect --then list 101
e2e_expect_lines "the window and fileset at the next start" "$DRIVEN" "100 80 300 400 normal" Chess
e2e_close
