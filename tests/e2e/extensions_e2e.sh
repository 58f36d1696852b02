#!/usr/bin/env bash
# Trovik+ under Wine with real extension DLLs built from the SDK header: a translation and the
# event-log sample, registered as installing them writes vp2.qdx.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin
base="$E2E_TMP/Plus"
e2e_base "$base" probe
mkdir -p "$base/Extensions"
for dll in translate eventlog; do
  [ -f "$TROVIK_EXT_DIR/$dll.dll" ] || e2e_fail "no $dll.dll in $TROVIK_EXT_DIR"
  cp "$TROVIK_EXT_DIR/$dll.dll" "$TROVIK_EXT_DIR/$dll.txt" "$base/Extensions/"
done
ext="$(winpath "$base")\\Extensions"
entry="$probe>:from-a-double-click"
e2e_options "$base" "Click=0"
e2e_fileset "$base" Probe "$entry"
# vp2.qdx as installing the extensions writes it.
record() { printf '%s\\%s.dll|%s' "$ext" "$1" "$(head -n 1 "$base/Extensions/$1.txt" | tr -d '\r')"; }
e2e_write "$base/vp2.qdx" "$CRLF" "$(record translate)" "" "$(record eventlog)|runlink|override" ""

e2e_run "$base"
# --- "after" on loadformtext: the Run/Exit tag in the title is the translated one
drive key 0x72 # F3: Run/Exit
expect_title "Trovik - Lancer/Quitter"
e2e_screenshot extensions-translated.png
drive key 0x72
expect_title "Trovik"

# --- "override" on runlink: the extension gets the entry, the program is not started (the log's
# line comes after the launch would have begun)
eventlog="$base/Extensions/eventlog.log"
drive dblclick 0
wait_line "$eventlog" "form1list1doubleclick"
heard_thrice() { [ "$(grep -cF "runlink $entry" "$eventlog")" -ge 3 ]; }
e2e_poll heard_thrice || e2e_fail "runlink was not heard before, as the override and after:
$(cat "$eventlog")"
[ ! -f "$probe_log" ] || e2e_fail "the overridden launch started the probe anyway: $(cat "$probe_log")"

# --- closing tells the extension "onclose" with reason 1
e2e_close
wait_line "$eventlog" "onclose 1"
