#!/usr/bin/env bash
# Launching for real through the shell, seen by a probe that logs how it was started: single links,
# a forced-order group, and files dropped from the shell on the list.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

TAB=$'\t'
e2e_begin
# A started member's window stays in front until the next member's comes, however slow the machine.
export TROVIK_PROBE_SHOWN_MS=4000

base="$E2E_TMP/Launch"
e2e_base "$base" probe
# A directory path over 50 characters, which the shell does not get as the directory argument.
longdir="$base/A folder with a name long enough to pass fifty"
mkdir -p "$longdir"
cp "$TROVIK_PROBE" "$longdir/trovik-probe.exe"
# Everything a link names reaches the shell in lower case.
lcbase="$(winpath "$base")"
lcbase="${lcbase,,}"
lclong="$(winpath "$longdir")"
e2e_options "$base" "Click=1" "RemoveDropExtension=1"
links=("$probe>:/Name ALPHA" "$probe>:MAX Two+lrma" "$probe>:Min+LRMI"
  "+f$probe>:a|$probe>:b|$probe>:c|" "$(winpath "$longdir")\\trovik-probe.exe>:Long")
e2e_fileset "$base" Normal "${links[0]}" Max "${links[1]}" Min "${links[2]}" Group "${links[3]}" \
  Long "${links[4]}"
e2e_run "$base"

# --- one click runs a link: parameters in lower case, the link's directory, the run mode's show
# command (5 normal, 3 maximised, 2 minimised; the mode's letters count in any case)
for i in 0 1 2 4; do
  drive select $i
  wait_probe $((i < 4 ? i + 1 : 4))
done
e2e_expect_lines "what the probe got from single links" "$(probe_runs 1 4)" \
  "5$TAB$lcbase$TAB/name alpha" "3$TAB$lcbase${TAB}max two" "2$TAB$lcbase${TAB}min" \
  "5$TAB${lclong,,}${TAB}long"

# --- a forced-order group: all three start, in order, each after a wait, while the status label
# counts the members still to start (seen by the same driver process at once); a link clicked
# meanwhile waits until the group has started. Trovik is in front first: a window of the link
# before, coming up late on a loaded machine, would end the first member's wait at once.
e2e_settle
drive select 3 --then until "$E2E_WAIT_MS" "shown LAUNCHING (3)" text 106
drive select 0
wait_probe 8
mapfile -t runs < <(probe_runs 5 8)
mapfile -t ticks < <(probe_starts 5 8 | cut -f1)
# The last member and the waiting link start within a few milliseconds, so either may come first.
e2e_expect_lines "the forced-order group and the link clicked during it" \
  "$(printf '%s\n' "${runs[@]:0:2}" && printf '%s\n' "${runs[@]:2:2}" | LC_ALL=C sort)" \
  "5$TAB$lcbase${TAB}a" "5$TAB$lcbase${TAB}b" "5$TAB$lcbase$TAB/name alpha" "5$TAB$lcbase${TAB}c"
if [ "${runs[2]}" = "5$TAB$lcbase${TAB}c" ]; then c=2 clicked=3; else c=3 clicked=2; fi
# The wait lasts until the started program's window is in front, in steps of half a second;
# without it the members, and the clicked link, would start within milliseconds of each other.
for gap in $((ticks[1] - ticks[0])) $((ticks[c] - ticks[1])) $((ticks[clicked] - ticks[1] + 50)); do
  [ "$gap" -ge 300 ] || e2e_fail "a start only ${gap} ms after the member before: ${ticks[*]}"
done
e2e_until "status label after the launch" "hidden LAUNCHING (1)" text 106
e2e_until "probe windows still open" 0 count TrovikProbe -

# --- two files dropped on the second item: asked whether to make one group (No); both are put in
# at that place, the last one first, named without their extension; the long path arrives whole
docs="$(winpath "$E2E_TMP/Docs")"
deep="$docs"
for i in 1 2 3 4 5 6; do deep+="\\Quarterly reports of the regional offices $i"; done
longfile="$deep\\Notes.final.doc"
drive item-point 1
drive drop $DRIVEN "$docs\\Report One.TXT" "$longfile"
drive answer Trovik no "$E2E_WAIT_MS" "You are dropping more than one item"
expect_names Normal Notes.final "Report One" Max Min Group Long
# Read back as any tool reads the links of the fileset shown.
drive list 102
e2e_expect_lines "links after two files were dropped" "$DRIVEN" "${links[0]}" "$longfile" \
  "$docs\\Report One.TXT" "${links[@]:1}"
e2e_close
