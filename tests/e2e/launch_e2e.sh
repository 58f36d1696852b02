#!/usr/bin/env bash
# Launching for real: links run through the shell reach the started program (a probe that logs how
# it was started) with their parameters in lower case, in the link's directory and with the show
# command of their run mode; a forced-order group starts its members one after another; the mode
# commands answer their menu letters and shortcut keys and show in the title; files dropped on the
# list or on another fileset's tab become links and are saved; the session commands ask first;
# Run/Exit closes Trovik once the link has run; a link clicked during a launch waits for it.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

TAB=$'\t'

e2e_begin
e2e_probe
# A started member's window stays in front until the next member's comes, however slow the machine.
export TROVIK_PROBE_SHOWN_MS=4000

# probe_runs <first> <last>: show command, directory and arguments of those starts.
probe_runs() { probe_starts "$1" "$2" | cut -f2-; }
# probe_ticks <first> <last>: when those starts happened, in milliseconds.
probe_ticks() { probe_starts "$1" "$2" | cut -f1; }

base="$E2E_TMP/Launch"
e2e_base "$base"
cp "$TROVIK_PROBE" "$base/trovik-probe.exe"
# A directory path over 50 characters, which the shell does not get as the directory argument.
longdir="$base/A folder with a name long enough to pass fifty"
mkdir -p "$longdir"
cp "$TROVIK_PROBE" "$longdir/trovik-probe.exe"
probe="$(winpath "$base")\\trovik-probe.exe"
longprobe="$(winpath "$longdir")\\trovik-probe.exe"
# Everything a link names reaches the shell in lower case.
lcbase="$(winpath "$base")"
lcbase="${lcbase,,}"
lclong="$(winpath "$longdir")"
lclong="${lclong,,}"

e2e_options "$base" "Click=1" "RemoveDropExtension=1" "QuickSwitch=1"
names=("Normal" "Max" "Min" "Group" "Long")
links=("$probe>:/Name ALPHA" "$probe>:MAX Two+lrma" "$probe>:Min+LRMI"
  "+f$probe>:a|$probe>:b|$probe>:c|" "$longprobe>:Long")
e2e_write "$base/link.qdx" "$CRLF" "${links[@]}"
e2e_write "$base/name.qdx" "$CRLF" "${names[@]}"
e2e_fileset "$base/Other" Notepad 'C:\windows\notepad.exe'

e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes

# --- one click runs a link: parameters in lower case, the link's directory, the run mode's show
# command (5 normal, 3 maximised, 2 minimised; the mode's letters count in any case)
drive select 0
wait_probe 1
drive select 1
wait_probe 2
drive select 2
wait_probe 3
e2e_expect_lines "what the probe got from single links" "$(probe_runs 1 3)" \
  "5$TAB$lcbase$TAB/name alpha" "3$TAB$lcbase${TAB}max two" "2$TAB$lcbase${TAB}min"

# --- a directory over 50 characters: the program enters it and the probe starts there
drive select 4
wait_probe 4
e2e_expect_lines "what the probe got from a link in a long directory" "$(probe_runs 4 4)" \
  "5$TAB$lclong${TAB}long"

# --- a forced-order group: all three start, in order, each after a wait, while the status label
# counts the members still to start; a link clicked meanwhile waits until the group has started
# The count shows only while the first member starts: the same driver process looks at once.
# Trovik is in front first: a window of the link before, coming up late on a loaded machine,
# would end the first member's wait at once.
e2e_settle
drive select 3 --then until "$E2E_WAIT_MS" "shown LAUNCHING (3)" text 106
drive select 0
wait_probe 8
mapfile -t runs < <(probe_runs 5 8)
mapfile -t ticks < <(probe_ticks 5 8)
# The last member and the waiting link start within a few milliseconds, so either may come first.
e2e_expect_lines "what the probe got from the forced-order group and the link clicked during it" \
  "$(printf '%s\n' "${runs[@]:0:2}" && printf '%s\n' "${runs[@]:2:2}" | LC_ALL=C sort)" \
  "5$TAB$lcbase${TAB}a" "5$TAB$lcbase${TAB}b" "5$TAB$lcbase$TAB/name alpha" "5$TAB$lcbase${TAB}c"
if [ "${runs[2]}" = "5$TAB$lcbase${TAB}c" ]; then c=2 clicked=3; else c=3 clicked=2; fi
# The wait lasts until the started program's window is in front, in steps of half a second;
# without a wait the members would start within a few milliseconds of each other.
for gap in $((ticks[1] - ticks[0])) $((ticks[c] - ticks[1])); do
  [ "$gap" -ge 300 ] || e2e_fail "a member of the forced-order group started only ${gap} ms after the one before"
done
# Run in the middle of the group, the clicked link would have started during a wait, within a few
# milliseconds of a member; waiting its turn, it starts with the last one, half a second after b.
clicked_after=$((ticks[clicked] - ticks[1]))
[ "$clicked_after" -ge 250 ] ||
  e2e_fail "the link clicked during the group's launch started ${clicked_after} ms after member b, inside the group"
e2e_step "forced-order gaps: $((ticks[1] - ticks[0])) ms, $((ticks[c] - ticks[1])) ms; the clicked link $clicked_after ms after b"
e2e_until "status label after the launch" "hidden LAUNCHING (1)" text 106
e2e_expect_no_boxes
e2e_until "probe windows still open" 0 count TrovikProbe -

# --- the pop-up menu opens on a right click in the list; its letter y chooses Open directory
drive rclick 101
drive popup-menu "$E2E_WAIT_MS"
e2e_screenshot popupmenu.png
drive menu-char y
expect_title "Trovik - Open directory"
# The shortcut keys work while the list has the keyboard: F3 Run/Exit, Ctrl+D Open directory, F4
# Drop/Launch, F6 Drop/Launch/Exit, F8 Run/Minimize, F10 Drop/Launch/Minimize (how the modes
# exclude each other and make up the title is the unit tests').
for step in "0x72|Open directory - Run/Exit" "0x72|Open directory" "0x44 ctrl|" "0x73|Drop/Launch" \
  "0x75|Drop/Launch/Exit" "0x77|Run/Minimize" "0x79|Drop/Launch/Minimize" \
  "0x44 ctrl|Drop/Launch/Minimize - Open directory" "0x79|Open directory"; do
  # shellcheck disable=SC2086 # the key and its modifier
  drive key ${step%%|*}
  tags="${step#*|}"
  expect_title "Trovik${tags:+ - $tags}"
done
drive menu Opendirectory
expect_title "Trovik"

# --- two files dropped on the second item: asked whether to make one group (No); both are put in
# at that place, the last one reported first, named without their extension; a path longer than
# 255 characters arrives whole
docs="$(winpath "$E2E_TMP/Docs")"
deep="$docs"
for i in 1 2 3 4 5 6; do deep+="\\Quarterly reports of the regional offices $i"; done
longfile="$deep\\Notes.final.doc"
[ "${#longfile}" -gt 300 ] || e2e_fail "the long path is only ${#longfile} characters"
drive item-point 1
# shellcheck disable=SC2086 # the point is two numbers
drive drop $DRIVEN "$docs\\Report One.TXT" "$longfile"
drive answer Trovik no "$E2E_WAIT_MS" "You are dropping more than one item"
names=("Normal" "Notes.final" "Report One" "Max" "Min" "Group" "Long")
links=("${links[0]}" "$longfile" "$docs\\Report One.TXT" "${links[@]:1}")
e2e_until "names after two files were dropped on the second item" "$(printf '%s\n' "${names[@]}")" \
  list 101
drive list 102
e2e_expect_lines "links after two files were dropped on the second item" "$DRIVEN" "${links[@]}"

# --- one file dropped below the last item: no question, it goes to the end
drive item-point 6
read -r x y <<<"$DRIVEN"
drive drop "$x" "$((y + 40))" "$docs\\Plan.txt"
names+=("Plan")
links+=("$docs\\Plan.txt")
e2e_until "names after a file was dropped below the list" "$(printf '%s\n' "${names[@]}")" list 101
e2e_expect_no_boxes

# --- Drop/Launch: the probe dropped on the Other fileset's tab is added to that fileset's files
# and started at once; the list shown stays as it was
drive menu droplaunch
expect_title "Trovik - Drop/Launch"
drive tab-point 1
# shellcheck disable=SC2086
drive drop $DRIVEN "$probe"
wait_probe 9
e2e_expect_lines "what the probe got when dropped in Drop/Launch" "$(probe_runs 9 9)" \
  "5$TAB$lcbase$TAB"
drive list 101
e2e_expect_lines "names after a drop on another fileset's tab" "$DRIVEN" "${names[@]}"
drive menu droplaunch
expect_title "Trovik"
e2e_expect_no_boxes
e2e_close
# What the lists hold is written as it is shown (the unit tests'); the other fileset has no list.
e2e_expect_file "Other fileset's links after the drop on its tab" "$base/Other/link.qdx" "$CRLF" \
  'C:\windows\notepad.exe' "$probe"

# --- double-click mode, the session commands, and Run/Exit
e2e_options "$base" "Click=0" "ConfirmShutdown=1" "ConfirmRestart=1" "ForceOrderStyle=1" \
  "ForceWait=1500"
e2e_fileset "$base" Pair "+f$probe>:first|$probe>:second|"
e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
# Asked first, and No leaves Windows alone: from the menu and from the shortcut keys Ctrl+F12 and
# Ctrl+F11.
for step in "menu swindows|Shutdown" "key 0x7B ctrl|Shutdown" "menu rwindows|Restart" "key 0x7A ctrl|Restart"; do
  # shellcheck disable=SC2086 # the command and its arguments
  drive ${step%%|*}
  drive answer Trovik no "$E2E_WAIT_MS" "${step#*|} Windows?"
done
e2e_expect_no_boxes
expect_title "Trovik"

drive menu runexit
expect_title "Trovik - Run/Exit"
# A double click selects first: in double-click mode the selection alone must not run anything, so
# the group starts exactly once.
drive dblclick 0
e2e_wait_closed
wait_probe 11
e2e_expect_lines "what the probe got from the group run in Run/Exit" "$(probe_runs 10 11)" \
  "5$TAB$lcbase${TAB}first" "5$TAB$lcbase${TAB}second"
mapfile -t ticks < <(probe_ticks 10 11)
gap=$((ticks[1] - ticks[0]))
# The simple style waits the whole ForceWait even though the first program is already in front.
[ "$gap" -ge 1200 ] || e2e_fail "the second member started ${gap} ms after the first, not after the 1500 ms wait"
e2e_step "simple forced-order wait: $gap ms"
# A start too many would have logged by now: the last start came before the window closed.
sleep 0.5
[ "$(wc -l <"$probe_log")" -eq 11 ] || e2e_fail "the probe ran more often than asked:
$(cat "$probe_log")"
