#!/usr/bin/env bash
# Trovik+ under Wine with real extension DLLs built from the SDK header: a translation extension
# registered "after" on loadformtext changes the mode tag the title shows; the event-log sample,
# also registered "override" on runlink, gets the entry of a double-clicked link, the launch does
# not happen, and it sees its events in order; closing Trovik tells every loaded extension "onclose"
# with reason 1 and writes vp2.qdx back (with CR LF line ends, where the test wrote LF); a test DLL
# hears a title button's press and a middle press on a QuickSwitch tab with the mouse slots, and
# the switch-off from the options dialog.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TROVIK_EXT_DIR:=$(dirname "$TROVIK_EXE")/ext}"


# expect_order <file> <text>...: lines containing these texts appear in this order (others between).
expect_order() {
  local file="$1" line i=0
  shift
  local want=("$@")
  while IFS= read -r line && [ "$i" -lt "${#want[@]}" ]; do
    [[ "$line" == *"${want[$i]}"* ]] && i=$((i + 1))
  done <"$file"
  [ "$i" -eq "${#want[@]}" ] || e2e_fail "$(basename "$file"): \"${want[$i]}\" is missing or out of order; it holds:
$(cat "$file")"
}

e2e_begin
for dll in translate eventlog; do
  [ -f "$TROVIK_EXT_DIR/$dll.dll" ] || e2e_fail "no $dll.dll in $TROVIK_EXT_DIR (build the x86_64 Windows build)"
done
e2e_probe

base="$E2E_TMP/Plus"
e2e_base "$base"
mkdir -p "$base/Extensions"
for dll in translate eventlog; do
  cp "$TROVIK_EXT_DIR/$dll.dll" "$TROVIK_EXT_DIR/$dll.txt" "$base/Extensions/"
done
ext="$(winpath "$base")\\Extensions"

# The link the test double-clicks: the probe, so a launch would leave a trace.
cp "$TROVIK_PROBE" "$base/trovik-probe.exe"
entry="$(winpath "$base")\\trovik-probe.exe>:from-a-double-click"

e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "Click=0"
e2e_write "$base/link.qdx" "$CRLF" "$entry"
e2e_write "$base/name.qdx" "$CRLF" "Probe"

# vp2.qdx as installing the two would write it, but with bare LF line ends: the rewrite at the
# close must turn them into CR LF.
record() { printf '%s\\%s.dll|%s' "$ext" "$1" "$(head -n 1 "$base/Extensions/$1.txt" | tr -d '\r')"; }
vp_lines=("$(record translate)" "Gives the interface texts French wording." ""
  "$(record eventlog)|runlink|override" "Writes every event it registered to eventlog.log beside the DLL." "")
e2e_write "$base/vp2.qdx" $'\n' "${vp_lines[@]}"

e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes

# --- "after" on loadformtext: the Run/Exit tag in the title is the translated one
expect_title "Trovik"
drive key 0x72 # F3: Run/Exit
expect_title "Trovik - Lancer/Quitter"
e2e_screenshot extensions-translated.png
drive key 0x72
expect_title "Trovik"

# --- "override" on runlink: the extension gets the entry, the program is not started
eventlog="$base/Extensions/eventlog.log"
drive dblclick 0
wait_line "$eventlog" "runlink $entry"
sleep 1
[ ! -f "$probe_log" ] || e2e_fail "the overridden launch started the probe anyway: $(cat "$probe_log")"
e2e_expect_no_boxes

# --- closing: "stopvp" and "onclose" with reason 1, vp2.qdx written back
e2e_close
e2e_expect_file "vp2.qdx after the close" "$base/vp2.qdx" "$CRLF" "${vp_lines[@]}"
[ ! -f "$base/trovik+1.qdx" ] || e2e_fail "a scratch list was left behind"

# The event-log sample, loaded at the first event it registered, saw the start, the launch (before,
# as the override and after) and the close, in order.
expect_order "$eventlog" "loaded from $ext\\eventlog.dll" "loadformtext" "loadoptions" "loadlist" \
  "form1create" "form1list1doubleclick" "runlink $entry" "runlink $entry" "runlink $entry" \
  "form1close" "savelist" "stopvp" "onclose 1"

# --- an "onclose" that stops the extensions again (loadoptions with DisableVP=1) while the close
# stops them: the DLL is told once and freed once (it holds a reference of its own, so a second
# FreeLibrary would unload it), and Trovik ends cleanly
[ -f "$TROVIK_EXT_DIR/reenter.dll" ] || e2e_fail "no reenter.dll in $TROVIK_EXT_DIR"
again="$E2E_TMP/Reenter"
e2e_base "$again"
cp "$TROVIK_EXT_DIR/reenter.dll" "$TROVIK_EXT_DIR/reenter.txt" "$again/"
cp "$base/Trovik.ini" "$base/link.qdx" "$base/name.qdx" "$again/"
e2e_write "$again/vp2.qdx" "$CRLF" "$(winpath "$again")\\reenter.dll|$(head -n 1 "$again/reenter.txt" | tr -d '\r')" ""
e2e_start "$again"
e2e_wait_main
e2e_screenshot extensions-reenter.png
e2e_close
e2e_expect_lines "reenter.log after the close" "$(cat "$again/reenter.log")" "dllinfo2" "onclose 1" \
  "loadoptions returned"
grep -q '^DisableVP=1' "$again/Trovik.ini" || e2e_fail "the extension's DisableVP=1 is not in Trovik.ini"

# --- a real DLL hears a title button's press and release with the mouse slots filled, and the
# switch-off from the real options dialog while the system still runs (reason 2, disvp still
# false), then is told why it is unloaded
[ -f "$TROVIK_EXT_DIR/slots.dll" ] || e2e_fail "no slots.dll in $TROVIK_EXT_DIR"
command -v xdotool >/dev/null || e2e_fail "xdotool is missing"
heard="$E2E_TMP/Slots"
e2e_base "$heard"
cp "$TROVIK_EXT_DIR/slots.dll" "$TROVIK_EXT_DIR/slots.txt" "$heard/"
cp "$base/link.qdx" "$base/name.qdx" "$heard/"
e2e_write "$heard/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet=" "[Options]" "QuickSwitch=1"
e2e_write "$heard/Work/link.qdx" "$CRLF" 'C:\Work\mail.exe'
e2e_write "$heard/Work/name.qdx" "$CRLF" "Mail"
e2e_write "$heard/vp2.qdx" "$CRLF" "$(winpath "$heard")\\slots.dll|$(head -n 1 "$heard/slots.txt" | tr -d '\r')" ""
e2e_start "$heard"
e2e_wait_main
slots_log="$heard/slots.log"
drive main-point 32514 # the help title button, pressed with the middle button: no help opens
read -r x y <<<"$DRIVEN"
xdotool mousemove "$x" "$y" click 2
wait_line "$slots_log" "form1thelpmouseup button=2"
heard_lines() { tr -d '\r' <"$slots_log"; }
heard_lines | grep -Eq '^form1thelpmousedown button=2 shift=[0-9]+ x=[1-9][0-9]* y=[1-9][0-9]*$' ||
  e2e_fail "the press did not fill the mouse slots: $(heard_lines)"
e2e_expect_no_boxes
# A middle press on a QuickSwitch tab reaches extensions as a right click does (and changes nothing).
drive rect
read -r left top _ <<<"$DRIVEN"
drive tab-point 1
read -r x y <<<"$DRIVEN"
xdotool mousemove "$((left + x))" "$((top + y))" click 2
wait_line "$slots_log" "form1qswitchmousedown button=2"

drive key 123 # F12
drive wait-window TOptionsForm Options "$E2E_WAIT_MS"
e2e_until "the options dialog, like the other dialogs" "on top" on-top TOptionsForm
drive opt-page TOptionsForm poptions 4
drive dlg-click TOptionsForm disvpc
drive dlg-click TOptionsForm apply
wait_line "$slots_log" "onclose 2"
e2e_screenshot extensions-switched-off.png
grep -q '^DisableVP=1' "$heard/Trovik.ini" || e2e_fail "Apply did not write DisableVP=1"
drive dlg-click TOptionsForm okay
e2e_close
e2e_expect_lines "slots.log after the close" "$(heard_lines)" \
  "$(heard_lines | grep '^form1thelpmousedown')" "$(heard_lines | grep '^form1thelpmouseup')" \
  "$(heard_lines | grep '^form1qswitchmousedown')" "stopvp reason=2 disvp=false" "onclose 2"
