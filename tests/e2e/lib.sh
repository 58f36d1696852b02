# shellcheck shell=bash
# Shared helpers of the end-to-end scripts: each script gets its own Xvfb display, its own copy of
# the prepared Wine prefix with a wineserver kept alive, base directories under one temporary
# folder, and a cleanup that leaves nothing running. Sourced; the script sets nothing before it.
# Environment (ctest sets these; the defaults suit a run by hand from the repository):
#   TROVIK_EXE      the Trovik.exe under test; the driver, probe and DLLs come from its build
#   E2E_ARTIFACTS   where screenshots and failure evidence go (default <repo>/build/e2e-artifacts)
#   E2E_KEEP=1      keep the temporary folder for a look afterwards
#   E2E_WAIT        seconds a step may wait for the state it needs (default 30, for a busy machine)
#   E2E_TIMEOUT     seconds before the script gives up on its own (default 420)

set -eEuo pipefail

# shellcheck source=scripts/prelude.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/prelude.sh"

: "${TROVIK_EXE:=$trovik_root/build/win64/bin/Trovik.exe}"
: "${TROVIK_DRIVER:=$(dirname "$TROVIK_EXE")/trovik-driver.exe}"
: "${TROVIK_PROBE:=$(dirname "$TROVIK_EXE")/trovik-probe.exe}"
: "${TROVIK_EXT_DIR:=$(dirname "$TROVIK_EXE")/ext}"
: "${E2E_ARTIFACTS:=$trovik_root/build/e2e-artifacts}"

E2E_WINE=""
E2E_NAME="$(basename "$0" .sh)"
E2E_WAIT_MS=$((${E2E_WAIT:-30} * 1000))
E2E_TMP=""
XVFB_PID=""
WATCHDOG_PID=""
TROVIK_PID=""
DRIVEN=""
CRLF=$'\r\n'
e2e_started=$EPOCHREALTIME

e2e_elapsed() { awk -v a="$e2e_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'; }
e2e_step() { echo "[$(e2e_elapsed) s] $*"; }
indent() { sed 's/^/    | /'; }
# says <what> <expected> <actual>: a failure that shows both.
says() { e2e_fail "$1: expected
$(printf '%s\n' "$2" | indent)
  but saw
$(printf '%s\n' "$3" | indent)${4:+
  ($4)}"; }

# Stops the test with a message that says what was expected, plus what was on the screen.
e2e_fail() {
  trap - ERR
  echo "FAIL: $E2E_NAME: $*" >&2
  if [ -n "$E2E_TMP" ] && [ -n "${DISPLAY:-}" ]; then
    mkdir -p "$E2E_ARTIFACTS"
    import -display "$DISPLAY" -window root "$E2E_ARTIFACTS/$E2E_NAME-failure.png" 2>/dev/null &&
      echo "  screen at the failure: $E2E_ARTIFACTS/$E2E_NAME-failure.png" >&2
    echo "  message boxes open: $(timeout 10 "$E2E_WINE" "$TROVIK_DRIVER" boxes 2>/dev/null)" >&2
    if [ -s "$E2E_TMP/trovik.log" ]; then tail -n 20 "$E2E_TMP/trovik.log" | indent >&2; fi
  fi
  exit 1
}

e2e_cleanup() {
  local status=$?
  trap - EXIT ERR TERM INT HUP
  local pid
  for pid in $WATCHDOG_PID $TROVIK_PID; do kill "$pid" 2>/dev/null || true; done
  # Ends every Windows process of the private prefix, the kept-alive server included.
  if [ -d "$E2E_TMP/prefix" ]; then WINEPREFIX="$E2E_TMP/prefix" wineserver -k 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  if [ "${E2E_KEEP:-0}" = 1 ]; then
    echo "kept $E2E_TMP" >&2
  elif [ -n "$E2E_TMP" ]; then
    rm -rf "$E2E_TMP"
  fi
  if [ "$status" -eq 0 ]; then
    echo "PASS: $E2E_NAME ($(e2e_elapsed) s)"
  else
    echo "FAIL: $E2E_NAME ($(e2e_elapsed) s)" >&2
  fi
  exit "$status"
}

# A private display, a private prefix with its server running, the probe logging to $probe_log,
# and the trap that undoes it all. A 32-bit build on a machine that cannot run 32-bit programs is
# skipped: exit 77, which ctest reports as skipped, with the reason.
e2e_begin() {
  local file
  for file in "$TROVIK_EXE" "$TROVIK_DRIVER" "$TROVIK_PROBE"; do
    [ -f "$file" ] || e2e_fail "no $file (build the Windows builds first)"
  done
  trovik_wine_env
  E2E_WINE="$(trovik_wine_loader "$TROVIK_EXE" 2>/dev/null)" || {
    echo "SKIP: $E2E_NAME: $TROVIK_WINE32_WHY"
    exit 77
  }
  E2E_TMP="$(mktemp -d "${TMPDIR:-/tmp}/trovik-$E2E_NAME.XXXXXX")"
  trap e2e_cleanup EXIT
  trap 'e2e_fail "a command failed at line $LINENO"' ERR
  trap 'e2e_fail "stopped after ${E2E_TIMEOUT:-420} s or by a signal"' TERM INT HUP
  local me=$$
  (
    trap - ERR
    sleep "${E2E_TIMEOUT:-420}" &
    nap=$!
    trap 'kill $nap 2>/dev/null; exit 0' TERM
    wait $nap
    kill -TERM "$me"
  ) &
  WATCHDOG_PID=$!
  trovik_xvfb_start "$E2E_TMP" || e2e_fail "no private display"
  XVFB_PID=$TROVIK_XVFB_PID
  export WINEPREFIX="$E2E_TMP/prefix"
  trovik_wine_make "$WINEPREFIX" || e2e_fail "could not make a Wine prefix"
  wineserver -p
  # Starts the prefix's services now, while nothing waits on them.
  "$E2E_WINE" "$TROVIK_DRIVER" boxes >/dev/null 2>&1 || true
  probe_log="$E2E_TMP/probe.log"
  TROVIK_PROBE_LOG="$(winpath "$probe_log")"
  export TROVIK_PROBE_LOG
  e2e_step "display $DISPLAY and prefix ready"
}

# Runs the driver; its output lands in DRIVEN. A driver failure fails the test with its own words.
drive() {
  local status=0
  for _ in 1 2; do
    status=0
    "$E2E_WINE" "$TROVIK_DRIVER" "$@" >"$E2E_TMP/driver.out" 2>"$E2E_TMP/driver.err" || status=$?
    # A failure of the driver's own says why; an exit with nothing said is Wine not getting the
    # driver going at all (seen under heavy load), so it is tried once more.
    [ "$status" -ne 0 ] && [ ! -s "$E2E_TMP/driver.out" ] && [ ! -s "$E2E_TMP/driver.err" ] || break
  done
  DRIVEN="$(cat "$E2E_TMP/driver.out")"
  [ "$status" -eq 0 ] || e2e_fail "driver '$*' (exit $status): $(cat "$E2E_TMP/driver.err")${DRIVEN:+ (it printed: $DRIVEN)}"
}

# point <driver command...>: x, y (and w, h, rest) from what a command that gives a point or a
# rectangle prints.
point() {
  drive "$@"
  # shellcheck disable=SC2034 # for the scripts
  read -r x y w h rest <<<"$DRIVEN"
}

# e2e_until <what> <expected> <driver command...>: a driver command that reads something back
# prints exactly the expected text within E2E_WAIT seconds. The driver repeats it itself, so what
# a posted message or real input does is waited for, not slept on.
e2e_until() {
  local what="$1" want="$2" status=0
  shift 2
  "$E2E_WINE" "$TROVIK_DRIVER" until "$E2E_WAIT_MS" "$want" "$@" >"$E2E_TMP/driver.out" 2>"$E2E_TMP/driver.err" ||
    status=$?
  DRIVEN="$(cat "$E2E_TMP/driver.out")"
  [ "$status" -eq 0 ] || says "$what" "$want" "$DRIVEN" "$(cat "$E2E_TMP/driver.err")"
}

# e2e_poll <command...>: a shell command succeeds within E2E_WAIT seconds; false when it never does.
e2e_poll() {
  local deadline=$((SECONDS + ${E2E_WAIT:-30}))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# e2e_like <what> <pattern> <driver command...>: what the command prints comes to match the pattern
# (prints_like checks it once).
prints_like() {
  drive "${@:2}"
  # shellcheck disable=SC2053 # a pattern
  [[ "$DRIVEN" == $1 ]]
}
e2e_like() { e2e_poll prints_like "${@:2}" || e2e_fail "$1: $DRIVEN"; }

# The path Wine shows a Linux path under.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The probe's log: a line per start, "start tick, show command, directory, arguments".
probe_count() { if [ -f "$probe_log" ]; then wc -l <"$probe_log"; else echo 0; fi; }
probe_started() { [ "$(probe_count)" -ge "$1" ]; }
# wait_probe <n>: the probe has been started n times in all.
wait_probe() { e2e_poll probe_started "$1" || e2e_fail "expected $1 starts of the probe; its log holds:
$(cat "$probe_log" 2>/dev/null)"; }
# expect_probe_count <n>: exactly n starts, checked after a start that came later than anything
# that must not have started.
expect_probe_count() {
  sleep 0.3
  [ "$(probe_count)" -eq "$1" ] || e2e_fail "expected exactly $1 starts of the probe; its log holds:
$(cat "$probe_log" 2>/dev/null)"
}
# probe_starts <first> <last>: those starts in the order Trovik made them; probe_runs without the
# tick, probe_args only the arguments.
probe_starts() { sort -s -n -k1,1 "$probe_log" | sed -n "$1,$2p" | tr -d '\r'; }
probe_runs() { probe_starts "$1" "$2" | cut -f2-; }
probe_args() { probe_starts "$1" "$2" | cut -f4; }

# e2e_base <dir> [probe] [<extension>...]: a new base directory holding Trovik.exe; with "probe",
# the probe too ($probe is then its Windows path); each extension named, a DLL of the build, with
# its text file in Extensions.
e2e_base() {
  local dir="$1" what
  mkdir -p "$dir"
  cp "$TROVIK_EXE" "$dir/Trovik.exe"
  for what in "${@:2}"; do
    if [ "$what" = probe ]; then
      cp "$TROVIK_PROBE" "$dir/trovik-probe.exe"
      probe="$(winpath "$dir")\\trovik-probe.exe"
    else
      mkdir -p "$dir/Extensions"
      cp "$TROVIK_EXT_DIR/$what.dll" "$TROVIK_EXT_DIR/$what.txt" "$dir/Extensions/"
    fi
  done
}

# e2e_write <file> <line-end> <line>...: writes each line followed by the given end.
e2e_write() {
  local file="$1" end="$2"
  shift 2
  mkdir -p "$(dirname "$file")"
  : >"$file"
  [ $# -eq 0 ] || printf "%s$end" "$@" >"$file"
}

# e2e_fileset <dir> [<name> <link>]...: a fileset in dir holding these links in this order.
e2e_fileset() {
  local dir="$1" names=() links=()
  shift
  while [ $# -ge 2 ]; do
    names+=("$1")
    links+=("$2")
    shift 2
  done
  e2e_write "$dir/name.qdx" "$CRLF" "${names[@]}"
  e2e_write "$dir/link.qdx" "$CRLF" "${links[@]}"
}

# e2e_options <base> <option line>...: a Trovik.ini that opens the base fileset, with these lines
# in its [Options] section.
e2e_options() {
  local base="$1"
  shift
  e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "$@"
}

# e2e_start <base>: starts Trovik from its base directory. The working directory is elsewhere on
# purpose: the program must find its files beside its executable.
e2e_start() {
  [ -z "$TROVIK_PID" ] || e2e_fail "Trovik was started twice"
  (cd "$E2E_TMP" && exec "$E2E_WINE" "$1/Trovik.exe") >>"$E2E_TMP/trovik.log" 2>&1 &
  TROVIK_PID=$!
  e2e_step "started Trovik in $(basename "$1")"
}

# e2e_run <base>: started, its window up, no message box open.
e2e_wait_main() { drive wait-window TForm1 Trovik "$E2E_WAIT_MS"; }
e2e_run() {
  e2e_start "$1"
  e2e_wait_main
  e2e_expect_no_boxes
}

# Closes the main window the way the user does and waits until the program has ended, so what it
# saved is on disk; a crash or a non-zero exit code fails the test. e2e_wait_closed: the same for
# a program that closes itself.
e2e_close() {
  drive close
  e2e_wait_closed
}
e2e_wait_closed() {
  local status=0
  e2e_poll e2e_ended || e2e_fail "Trovik is still running"
  wait "$TROVIK_PID" || status=$?
  TROVIK_PID=""
  [ "$status" -eq 0 ] || e2e_fail "Trovik exited with status $status"
  e2e_step "Trovik closed"
}
e2e_ended() { ! kill -0 "$TROVIK_PID" 2>/dev/null; }

# e2e_settle: the probes' windows are gone and Trovik is in front again. Wine without a window
# manager sometimes hands the activation to the desktop when a window closes; the user then clicks
# Trovik's title bar, and so does the test.
e2e_settle() {
  e2e_until "probe windows still open" 0 count TrovikProbe -
  if ! "$E2E_WINE" "$TROVIK_DRIVER" wait-front 2000 >/dev/null 2>&1; then
    point rect
    click_at $((x + 30)) $((y + 8))
  fi
  drive wait-front "$E2E_WAIT_MS"
}

# wait_line <file> <text>: some line of the file comes to contain the text.
has_line() { [ -f "$1" ] && grep -qF -- "$2" "$1"; }
wait_line() { e2e_poll has_line "$1" "$2" || e2e_fail "$(basename "$1") never got a line with \"$2\"; it holds:
$(cat "$1" 2>/dev/null)"; }

e2e_expect_no_boxes() {
  drive boxes
  [ -z "$DRIVEN" ] || e2e_fail "unexpected message box: $DRIVEN"
}

# e2e_expect_lines <what> <actual> <expected line>...
e2e_expect_lines() {
  local what="$1" actual="$2" expected=""
  shift 2
  [ $# -eq 0 ] || expected="$(printf '%s\n' "$@")"
  [ "$actual" = "$expected" ] || says "$what" "$expected" "$actual"
}

# expect_file <what> <file> <line>...: the file comes to hold exactly these lines with CR LF ends
# within E2E_WAIT seconds (the program saves when it is done, not when the test looks).
expect_file() {
  local what="$1" file="$2" want="$E2E_TMP/expected"
  shift 2
  e2e_write "$want" "$CRLF" "$@"
  e2e_poll cmp -s "$want" "$file" || e2e_fail "$what: $(basename "$file") differs; expected
$(od -c "$want" | head -n 12)
  but found
$(od -c "$file" 2>&1 | head -n 12)"
}

e2e_screenshot() {
  mkdir -p "$E2E_ARTIFACTS"
  import -display "$DISPLAY" -window root "$E2E_ARTIFACTS/$1" || e2e_fail "could not take a screenshot"
  e2e_step "screenshot $E2E_ARTIFACTS/$1"
}

# Real input through the X server, as a user gives it: keys by their X names (Down, Return,
# ctrl+e...), clicks at a screen point, at the point a driver command says (click, right_click), on
# a List1 item (click_item <index> [times]).
press() { xdotool key --delay 60 "$@"; }
click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; }
click() {
  drive "$@"
  click_at $DRIVEN
}
right_click() {
  drive "$@"
  click_at $DRIVEN 3
}
click_item() {
  point item-point "$1"
  xdotool mousemove "$x" "$y" click --repeat "${2:-1}" --delay 80 1
}

# The title with its mode tags, List1's state ("single|multi current=<i> top=<i> selected=<i,...|->
# focus=yes|no") and List1's items, once the input sent before has been handled.
expect_title() { e2e_until "title" "shown $1" text 0; }
expect_state() { e2e_until "List1" "$1" list-state; }
expect_names() { e2e_until "List1" "$(printf '%s\n' "$@")" list 101; }

# open_options: F12 opens the options dialog (class $DLG); close_options <button> closes it.
DLG=TOptionsForm
open_options() {
  drive key 123
  drive wait-window "$DLG" Options "$E2E_WAIT_MS"
}
close_options() {
  drive dlg-click "$DLG" "$1"
  e2e_until "the options dialog after $1" hidden shown "$DLG"
}

# open_add: Insert in the main list opens the Add/Edit dialog; close_add <button> closes it.
open_add() {
  drive key 45
  e2e_until "the Add/Edit dialog" "shown enabled" dlg-state TAddEdit path
}
close_add() {
  drive dlg-click TAddEdit "$1"
  e2e_until "the Add/Edit dialog closed" "hidden enabled" dlg-state TAddEdit path
}

