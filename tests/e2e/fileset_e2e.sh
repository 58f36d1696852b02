#!/usr/bin/env bash
# Filesets on disk and in the window: the lists show what link.qdx and name.qdx hold, in order,
# whatever line ends the files use; the tabs name every fileset; CurrentFileSet picks the one
# that opens; closing writes the open fileset back with CR LF ends and touches nothing else; a
# fileset whose files are out of step is repaired after the user agrees.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

CRLF=$'\r\n'
# One name in the ANSI code page beyond ASCII: the text must go from file to list box and back
# without being taken for UTF-8 or cut.
CAFE=$'Caf\xe9 corner'
base_names=("$CAFE" "Notepad" "Wine version")
base_links=('C:\windows\regedit.exe' 'C:\windows\notepad.exe' 'C:\windows\system32\winver.exe')
games_names=("Chess" "Mines" "Solitaire")
games_links=('C:\Games\chess.exe' 'C:\Games\mines.exe' 'C:\Games\sol.exe')

e2e_begin

base="$E2E_TMP/Launch"
e2e_base "$base"
e2e_write "$base/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet="
e2e_write "$base/link.qdx" "$CRLF" "${base_links[@]}"
e2e_write "$base/name.qdx" "$CRLF" "${base_names[@]}"
e2e_write "$base/Games/link.qdx" "$CRLF" "${games_links[@]}"
# Lone CR ends, as an old Mac editor leaves them.
e2e_write "$base/Games/name.qdx" $'\r' "${games_names[@]}"
mkdir -p "$E2E_TMP/before"
cp "$base/link.qdx" "$base/name.qdx" "$E2E_TMP/before/"
cp "$base/Games/link.qdx" "$E2E_TMP/before/games-link.qdx"
cp "$base/Games/name.qdx" "$E2E_TMP/before/games-name.qdx"

# --- the base fileset opens when CurrentFileSet is empty
e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
e2e_screenshot mainwindow.png
drive list 101
e2e_expect_lines "List1 of the base fileset" "$DRIVEN" "${base_names[@]}"
drive list 102
e2e_expect_lines "link1 of the base fileset" "$DRIVEN" "${base_links[@]}"
drive tabs
e2e_expect_lines "fileset tabs" "$DRIVEN" "Launch" "Games"
drive tab-index
e2e_expect_lines "selected tab with the base fileset open" "$DRIVEN" 0
e2e_close

e2e_expect_same "base fileset after a close without changes" "$base/link.qdx" "$E2E_TMP/before/link.qdx"
e2e_expect_same "base fileset after a close without changes" "$base/name.qdx" "$E2E_TMP/before/name.qdx"
e2e_expect_same "Games fileset while another one was open" "$base/Games/name.qdx" "$E2E_TMP/before/games-name.qdx"
grep -Eq $'^CurrentFileSet=\r?$' "$base/Trovik.ini" ||
  e2e_fail "Trovik.ini should still name the base fileset (empty CurrentFileSet) after the close; it holds:
$(cat -A "$base/Trovik.ini")"

# --- CurrentFileSet=Games opens that fileset; the close rewrites its CR-only names with CR LF
sed -i "s/^CurrentFileSet=[^$'\r']*/CurrentFileSet=Games/" "$base/Trovik.ini"
grep -q '^CurrentFileSet=Games' "$base/Trovik.ini" || e2e_fail "could not set CurrentFileSet in Trovik.ini"
e2e_start "$base"
e2e_wait_main
e2e_expect_no_boxes
drive list 101
e2e_expect_lines "List1 of the Games fileset (names file with CR ends)" "$DRIVEN" "${games_names[@]}"
drive list 102
e2e_expect_lines "link1 of the Games fileset" "$DRIVEN" "${games_links[@]}"
drive tab-index
e2e_expect_lines "selected tab with the Games fileset open" "$DRIVEN" 1
e2e_close

e2e_expect_file "Games names after the close" "$base/Games/name.qdx" "$CRLF" "${games_names[@]}"
e2e_expect_same "Games links after the close" "$base/Games/link.qdx" "$E2E_TMP/before/games-link.qdx"
e2e_expect_same "base fileset while Games was open" "$base/link.qdx" "$E2E_TMP/before/link.qdx"
e2e_expect_same "base fileset while Games was open" "$base/name.qdx" "$E2E_TMP/before/name.qdx"
grep -q "^CurrentFileSet=Games" "$base/Trovik.ini" ||
  e2e_fail "Trovik.ini should name the Games fileset after closing on it; it holds:
$(cat -A "$base/Trovik.ini")"

# --- five names for three links: the warning's Yes drops the two names without a link
uneven="$E2E_TMP/Uneven"
e2e_base "$uneven"
e2e_write "$uneven/Trovik.ini" "$CRLF" "[Form]" "CurrentFileSet="
e2e_write "$uneven/link.qdx" "$CRLF" "${base_links[@]}"
e2e_write "$uneven/name.qdx" "$CRLF" "${base_names[@]}" "Orphan one" "Orphan two"
cp "$uneven/link.qdx" "$E2E_TMP/before/uneven-link.qdx"
e2e_start "$uneven"
drive answer Warning yes "$E2E_WAIT_MS" "remove 2 unlinked items"
e2e_wait_main
e2e_expect_no_boxes
drive list 101
e2e_expect_lines "List1 after agreeing to drop the names without links" "$DRIVEN" "${base_names[@]}"
drive list 102
e2e_expect_lines "link1 after agreeing to drop the names without links" "$DRIVEN" "${base_links[@]}"
e2e_close
e2e_expect_file "names of the repaired fileset" "$uneven/name.qdx" "$CRLF" "${base_names[@]}"
e2e_expect_same "links of the repaired fileset" "$uneven/link.qdx" "$E2E_TMP/before/uneven-link.qdx"
