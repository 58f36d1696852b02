#!/usr/bin/env bash
# First start in an empty folder: the welcome box comes before the window, the window opens on an
# empty list, and the close leaves empty link.qdx and name.qdx (nothing else in them, not even a
# line end) and a Trovik.ini beside the program.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin

base="$E2E_TMP/Fresh"
e2e_base "$base"
e2e_start "$base"
drive answer Trovik ok "$E2E_WAIT_MS" "Welcome to Trovik."
e2e_wait_main
e2e_expect_no_boxes
drive list 101
e2e_expect_lines "List1 on a first start" "$DRIVEN"
drive list 102
e2e_expect_lines "link1 on a first start" "$DRIVEN"
e2e_close

for file in link.qdx name.qdx; do
  [ -f "$base/$file" ] || e2e_fail "$file was not created by the first start"
  [ ! -s "$base/$file" ] || e2e_fail "$file should be empty after a first start and close; it holds:
$(od -c "$base/$file" | head -n 8)"
done
[ -f "$base/Trovik.ini" ] || e2e_fail "Trovik.ini was not created by the first start"
