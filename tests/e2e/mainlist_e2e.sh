#!/usr/bin/env bash
# The main list under real input (keys and clicks through the X server, as a user gives them), in
# single-click and double-click mode. A name beyond ASCII in a file of the ANSI code page (as every
# file of earlier versions is) reaches the list box whole.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin
base="$E2E_TMP/Main"
e2e_base "$base" probe
# Twenty-four links, more than the list shows at once; every leading letter but Z is unique. The
# third name is in the ANSI code page.
names=("Delta" "Alpha" "Café corner" "Bravo")
fileset=(Delta "$probe>:d" Alpha "$probe>:a" $'Caf\xe9 corner' "$probe>:c" Bravo "$probe>:b")
for i in $(seq 5 24); do
  names+=("Zulu $i")
  fileset+=("Zulu $i" "$probe>:z$i")
done
e2e_options "$base" "Click=1" "QuickSwitch=1"
e2e_fileset "$base" "${fileset[@]}"
e2e_fileset "$base/Second" First 'C:\x\mango.exe'

e2e_run "$base"
expect_names "${names[@]}"
expect_state "single current=-1 top=0 selected=- focus=yes"

# --- single-click mode: a click runs the item once; an arrow moves without running; Enter runs
# the current item; a letter moves to the next item starting with it and runs it
click_item 1
wait_probe 1
e2e_settle
press Down
expect_state "single current=2 top=0 selected=2 focus=yes"
click_item 2
wait_probe 2
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
click_item 0
click_item 2
click_item 3
expect_state "multi current=3 top=0 selected=0,2,3 focus=yes"
xdotool keyup ctrl
wait_probe 7
expect_probe_count 7
e2e_expect_lines "what the fly multirun ran" "$(probe_args 5 7 | LC_ALL=C sort)" b c d
expect_title "Trovik"
e2e_settle
expect_state "single current=3 top=0 selected=3 focus=yes"

# The scroll position survives both switches, even with the current item scrolled out of sight;
# Ctrl pressed and let go with nothing picked (as for a shortcut) runs nothing.
press End
e2e_like "End should select the last item and scroll down to it" \
  "single current=23 top=[1-9]* selected=23 focus=yes" list-state
drive scroll 2
xdotool keydown ctrl
expect_state "multi current=23 top=2 selected=- focus=yes"
xdotool keyup ctrl
expect_state "single current=23 top=2 selected=23 focus=yes"

# --- Space and Backspace step through the filesets; neither runs anything, as the next click's
# start shows
press space
expect_names First
press BackSpace
expect_names "${names[@]}"
click_item 1
wait_probe 8
expect_probe_count 8
e2e_settle
e2e_close

# --- double-click mode: the window dragged by its title bar and by the background below the
# list; a click only selects, Enter runs nothing; in Run/Exit mode (F3) a double click runs once
# and Trovik closes
e2e_options "$base" "Click=0"
e2e_run "$base"
# drag <x> <y>: a left-button drag by (60, 40) from a point of the main window, which follows it.
drag() {
  point rect
  local from_x=$((x + $1)) from_y=$((y + $2))
  xdotool mousemove "$from_x" "$from_y" mousedown 1 sleep 0.2 mousemove "$((from_x + 30))" \
    "$((from_y + 20))" sleep 0.2 mousemove "$((from_x + 60))" "$((from_y + 40))" sleep 0.2 mouseup 1
  e2e_until "the window after a drag from ($1, $2)" "$((x + 60)) $((y + 40)) $w $h $rest" rect
}
drag 40 9
drag 20 $((h - 10))
click_item 2
expect_state "single current=2 top=0 selected=2 focus=yes"
press Return F3
expect_title "Trovik - Run/Exit"
click_item 1 2
e2e_wait_closed
wait_probe 9
expect_probe_count 9
e2e_expect_lines "what the double click ran" "$(probe_args 9 9)" a
