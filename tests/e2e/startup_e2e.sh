#!/usr/bin/env bash
# Starting and stopping the real program: one copy only (a second one brings the first forward and
# ends), tray mode, and the end of the Windows session, after which the window's size, place and
# fileset are there at the next start, which loads real extension DLLs built from the SDK header.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin

base="$E2E_TMP/Trovik"
e2e_base "$base" probe translate eventlog
e2e_fileset "$base"
e2e_options "$base"

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
entry="$probe>:chess"
e2e_fileset "$base/Games" Chess "$entry"
e2e_options "$base" RemPosition=1 UserLevel=1 SysTray=1 Click=0
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
e2e_wait_closed

# Trovik+: a translation registered "after" on loadformtext, the event-log sample also "override"
# on runlink, as installing them writes vp2.qdx.
ext="$(winpath "$base")\\Extensions"
record() { printf '%s\\%s.dll|%s' "$ext" "$1" "$(head -n 1 "$base/Extensions/$1.txt" | tr -d '\r')"; }
e2e_write "$base/vp2.qdx" "$CRLF" "$(record translate)" "" "$(record eventlog)|runlink|override" ""
e2e_run "$base"
drive rect --then list 101
e2e_expect_lines "the window and fileset at the next start" "$DRIVEN" "100 80 300 400 normal" Chess

# --- "after" on loadformtext: the Run/Exit tag in the title is the translated one
drive key 0x72
expect_title "Trovik - Lancer/Quitter"
e2e_screenshot extensions-translated.png
drive key 0x72
expect_title "Trovik"

# --- "override" on runlink: the extension gets the entry, the program is not started (the log's
# line comes after the launch would have begun); closing tells the extension "onclose" with reason 1
eventlog="$base/Extensions/eventlog.log"
drive dblclick 0
wait_line "$eventlog" "form1list1doubleclick"
heard_thrice() { [ "$(grep -cF "runlink $entry" "$eventlog")" -ge 3 ]; }
e2e_poll heard_thrice || e2e_fail "runlink was not heard before, as the override and after:
$(cat "$eventlog")"
[ ! -f "$probe_log" ] || e2e_fail "the overridden launch started the probe: $(cat "$probe_log")"
e2e_close
wait_line "$eventlog" "onclose 1"
