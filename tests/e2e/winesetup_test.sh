#!/usr/bin/env bash
# How the scripts choose their Wine, on this machine and on one that cannot run 32-bit programs
# (forced with TROVIK_NO_32BIT=1):
#   - the 32-bit check agrees with running the 32-bit loader itself;
#   - without 32-bit programs every Wine call takes the 64-bit loader, a prefix is prepared with it
#     and runs the x86_64 driver, the prefix stamp differs, and an i686 end-to-end script is
#     skipped (exit 77) with the reason.
set -euo pipefail
# shellcheck source=scripts/prelude.sh
source "$(dirname "$0")/../../scripts/prelude.sh"
: "${TROVIK_WIN64_DIR:=$trovik_root/build/win64}"
: "${TROVIK_WIN32_DIR:=$trovik_root/build/win32}"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/trovik-winesetup.XXXXXX")"
trap 'WINEPREFIX="$tmp/prefix" wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: winesetup: $*" >&2
  exit 1
}
win64_exe="$TROVIK_WIN64_DIR/bin/Trovik.exe"
win32_exe="$TROVIK_WIN32_DIR/bin/Trovik.exe"

# Each case decides afresh, as a new shell would.
detect() { (unset TROVIK_WINE64 TROVIK_WINE32 TROVIK_WINE32_WHY && "$@"); }

# --- this machine, as it is -------------------------------------------------------------------
# shellcheck disable=SC2016
read -r here_w32 here_w64 < <(detect env -u TROVIK_NO_32BIT bash -c 'source "$1"; trovik_wine_detect; echo "${TROVIK_WINE32:--} $TROVIK_WINE64"' _ \
  "$trovik_root/scripts/prelude.sh")
raw32=""
for loader in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine; do
  [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1 && raw32="$loader" && break
done
if [ -n "$raw32" ]; then
  [ "$here_w32" = "$raw32" ] || fail "the 32-bit loader $raw32 runs here, but the check chose '$here_w32'"
else
  [ "$here_w32" = - ] || fail "no 32-bit loader runs here, but the check chose $here_w32"
fi
"$here_w64" --version >/dev/null || fail "the 64-bit loader $here_w64 does not run"
echo "this machine: 32-bit loader ${here_w32/#-/none}, 64-bit loader $here_w64"

# --- the same machine told that it cannot run 32-bit programs ---------------------------------
export TROVIK_NO_32BIT=1
detect bash -c '
  source "$1"; trovik_wine_detect
  [ -z "$TROVIK_WINE32" ] || { echo "a 32-bit loader was chosen: $TROVIK_WINE32"; exit 1; }
  case "$TROVIK_WINE32_WHY" in *"this kernel cannot run 32-bit programs"*) ;;
    *) echo "the reason is \"$TROVIK_WINE32_WHY\""; exit 1 ;; esac
  for program in "$2" wineboot reg; do
    [ "$(trovik_wine_loader "$program")" = "$TROVIK_WINE64" ] || { echo "$program does not take the 64-bit loader"; exit 1; }
  done
  ! trovik_wine_loader "$3" 2>/dev/null || { echo "a loader was offered for the 32-bit program"; exit 1; }
' _ "$trovik_root/scripts/prelude.sh" "$win64_exe" "$win32_exe" || fail "forced no-32-bit choice: see above"

stamp_forced="$(detect bash -c 'source "$1"; trovik_wine_stamp' _ "$trovik_root/scripts/prelude.sh")"
stamp_here="$(TROVIK_NO_32BIT=0 detect bash -c 'source "$1"; trovik_wine_stamp' _ "$trovik_root/scripts/prelude.sh")"
if [ "$here_w32" != - ] && [ "$stamp_forced" = "$stamp_here" ]; then
  fail "a template made with 32-bit programs would be taken for one made without: $stamp_here"
fi

# An i686 script says why it does not run, and ctest counts it skipped.
status=0
out="$(detect env TROVIK_EXE="$win32_exe" bash "$(dirname "$0")/startup_e2e.sh" 2>&1)" || status=$?
[ "$status" = 77 ] || fail "the i686 script ended with $status instead of 77 (skipped): $out"
grep -q 'this kernel cannot run 32-bit programs' <<<"$out" || fail "the skipped script gave no reason: $out"

# A prefix prepared through the 64-bit loader alone runs the x86_64 driver. On a machine that runs
# 32-bit programs this prepares a template of its own, apart from the one the other tests share.
detect env TROVIK_WINE_TEMPLATE="$tmp/template" bash -c '
  source "$1"; trovik_wine_env
  export WINEPREFIX="$2/prefix"
  trovik_wine_make "$WINEPREFIX" >/dev/null
  grep -q "programs 64-bit only" "$WINEPREFIX/.trovik-stamp" || { echo "stamp: $(cat "$WINEPREFIX/.trovik-stamp")"; exit 1; }
  timeout 60 "$(trovik_wine_loader "$3")" "$3" boxes >/dev/null
' _ "$trovik_root/scripts/prelude.sh" "$tmp" "$TROVIK_WIN64_DIR/bin/trovik-driver.exe" ||
  fail "the 64-bit path could not prepare a prefix and run the driver in it"
unset TROVIK_NO_32BIT
echo "forced no-32-bit path: 64-bit loader everywhere, stamp of its own, i686 script skipped"

echo "PASS: winesetup"
