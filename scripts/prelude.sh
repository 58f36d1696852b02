# shellcheck shell=bash
# What ./run, ./test and the end-to-end scripts share: the Debian packages they need and their
# installation, the configure-and-build step, the prepared Wine prefix and a private X display.
# Sourced; it defines trovik_root and functions and leaves the caller's shell options alone.
#
# Run as a command, it prepares the Wine prefix template (what ctest's e2e.wineprefix step does):
#   scripts/prelude.sh wine-template      make the template if it is missing or stale, print its path
#   scripts/prelude.sh wine-prefix <dest>  copy a fresh prefix from the template to <dest>
#
# TROVIK_WINE_TEMPLATE overrides where the template lives (default: <repo>/build/wineprefix-template).

trovik_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Everything the builds and the tests need on Debian 12. wine32:i386 runs the 32-bit release.
trovik_packages=(cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386
  xvfb fonts-wine fonts-dejavu-core fonts-wqy-microhei imagemagick xdotool x11-utils libgtest-dev libbenchmark-dev unzip python3 tinyproxy)

# trovik_install_missing [packages...]: installs those of the packages (default: trovik_packages)
# that are not installed yet; nothing when all are.
trovik_install_missing() {
  local package missing=() sudo=() wanted=("$@")
  [ $# -gt 0 ] || wanted=("${trovik_packages[@]}")
  for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "== installing ${missing[*]}"
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # A package of another architecture needs that architecture enabled before the index update.
  for package in "${missing[@]}"; do
    case "$package" in
      *:i386)
        dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
        break
        ;;
    esac
  done
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# trovik_build <dir> <cmake args...>: configure (cheap when nothing changed) and build one tree;
# a relative <dir> is under the repository.
trovik_build() {
  local dir="$1" started=$SECONDS
  shift
  case "$dir" in /*) ;; *) dir="$trovik_root/$dir" ;; esac
  echo "== building ${dir#"$trovik_root"/}"
  mkdir -p "$(dirname "$dir")"
  cmake -S "$trovik_root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || {
    cat "$dir.configure.log"
    return 1
  }
  # Two jobs at most: the machines this runs on are shared.
  ninja -C "$dir" -j "${TROVIK_JOBS:-2}" || return 1
  echo "== ${dir#"$trovik_root"/} built in $((SECONDS - started)) s"
}

# trovik_build_release [dir]: the i686 release tree (default build/win32).
trovik_build_release() {
  trovik_build "${1:-build/win32}" -DCMAKE_TOOLCHAIN_FILE="$trovik_root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
}

# trovik_build_windows: the two Windows builds, the i686 release and the x86_64 build.
trovik_build_windows() {
  trovik_build_release || return 1
  trovik_build build/win64 -DCMAKE_TOOLCHAIN_FILE="$trovik_root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
}

# --- Wine --------------------------------------------------------------------------------------
# A prepared prefix is made once (wineboot takes 10 to 30 s and 1.3 GB with 32-bit Wine) and kept
# as a template; each user gets a copy of its own, so tests run side by side without sharing a
# wineserver or a registry.

: "${TROVIK_WINE_TEMPLATE:=$trovik_root/build/wineprefix-template}"
# Bumped whenever the preparation below changes, so old templates are rebuilt.
trovik_wine_recipe=4

# The settings every Wine call of ours runs with: no debug chatter, and no prompt to download
# Mono or Gecko, which cannot be fetched here and which Trovik does not use. A 64-bit prefix runs
# both the x86_64 and (where this machine runs 32-bit programs) the i686 programs.
trovik_wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  trovik_wine_detect
}

# trovik_wine_detect: finds the Wine loaders and decides, once, whether this machine runs 32-bit
# programs, by running one: the 32-bit loader printing its version. Installing wine32:i386 always
# succeeds, but a kernel without IA32 emulation refuses to execute it ("Exec format error"), and
# Debian's `wine`, `wineboot` and friends then pick that loader and fail. The answer is exported,
# so the tests ctest starts reuse it:
#   TROVIK_WINE64   the 64-bit loader
#   TROVIK_WINE32   the 32-bit loader, empty when 32-bit programs cannot run here
#   TROVIK_WINE32_WHY  why not (empty when they can)
# TROVIK_NO_32BIT=1 takes the no-32-bit path on any machine, to try that path where 32-bit works.
trovik_wine_detect() {
  [ -z "${TROVIK_WINE64:-}" ] || return 0
  local dir w32="" w64=""
  # Debian keeps both loaders in /usr/lib/wine; other layouts keep them in an arch folder or bin/.
  for dir in /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine /usr/lib/i386-linux-gnu/wine /usr/libexec/wine \
    /opt/wine*/bin /usr/local/bin /usr/bin; do
    [ -n "$w64" ] || { [ -x "$dir/wine64" ] && w64="$dir/wine64"; }
    # Only a 32-bit ELF program is the 32-bit loader: /usr/bin/wine on Debian is a script.
    [ -n "$w32" ] || { [ -x "$dir/wine" ] &&
      [ "$(od -An -tx1 -N5 "$dir/wine" 2>/dev/null | tr -d ' \n')" = 7f454c4601 ] && w32="$dir/wine"; }
  done
  # A single loader that runs both kinds (as in newer Wine builds) is found as plain `wine`.
  [ -n "$w64" ] || w64="$(command -v wine64 || command -v wine || true)"
  TROVIK_WINE32_WHY=""
  if [ "${TROVIK_NO_32BIT:-0}" = 1 ]; then
    TROVIK_WINE32_WHY="this kernel cannot run 32-bit programs (TROVIK_NO_32BIT=1 says so)"
  elif [ -z "$w32" ]; then
    TROVIK_WINE32_WHY="32-bit Wine (wine32:i386) is not installed"
  elif ! "$w32" --version >/dev/null 2>&1; then
    TROVIK_WINE32_WHY="this kernel cannot run 32-bit programs"
  fi
  [ -z "$TROVIK_WINE32_WHY" ] || w32=""
  export TROVIK_WINE64="${w64:-wine64}" TROVIK_WINE32="$w32" TROVIK_WINE32_WHY
}

# trovik_wine_loader [exe]: the Wine loader that starts that program itself: the 64-bit loader for
# an x86_64 program (once wine32 is installed, plain `wine` is the 32-bit loader, which would hand
# it on through start.exe: a second process for every start, twice the time, and on a busy machine
# now and then "ShellExecuteEx failed: Internal error"), the 32-bit one for an i686 program. Wine's
# own programs (wineboot, reg, notepad), named without a path, run as `wine` runs them where
# 32-bit programs run, otherwise through the 64-bit loader. Fails for an i686 program on a machine
# that cannot run it.
trovik_wine_loader() {
  local header machine
  trovik_wine_detect
  if [ ! -f "${1:-}" ]; then
    if [ -n "$TROVIK_WINE32" ]; then echo wine; else echo "$TROVIK_WINE64"; fi
    return
  fi
  header="$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')"
  machine="$(od -An -tx1 -j "$((header + 4))" -N 2 "$1" | tr -d ' \n')"
  if [ "$machine" = 6486 ]; then
    echo "$TROVIK_WINE64"
  elif [ -n "$TROVIK_WINE32" ]; then
    echo "$TROVIK_WINE32"
  else
    echo "prelude: $1 is a 32-bit program and $TROVIK_WINE32_WHY" >&2
    return 1
  fi
}

# trovik_wine <program> <args...>: runs a Windows program, or one of Wine's own, under the loader
# that fits it.
trovik_wine() {
  local loader
  loader="$(trovik_wine_loader "$1")" || return 1
  "$loader" "$@"
}

# What a template was made with: a new Wine, 32-bit Wine installed since, or a template made on a
# machine of the other kind (one that can, or cannot, run 32-bit programs) needs a new one.
trovik_wine_stamp() {
  local versions kind="64-bit only"
  trovik_wine_detect
  [ -z "$TROVIK_WINE32" ] || kind="32 and 64-bit"
  versions="$(dpkg-query -W -f='${Package}:${Architecture} ${Version}; ' wine64 wine32:i386 2>/dev/null)"
  echo "recipe $trovik_wine_recipe; $("$TROVIK_WINE64" --version 2>/dev/null); ${versions:-no dpkg}programs $kind; user ${USER:-$(id -un)}"
}

# Builds a prefix at $1 from nothing.
trovik_wine_prepare() {
  local prefix="$1" link
  (
    trovik_wine_env
    export WINEPREFIX="$prefix"
    # wineboot needs no display; keeping it off the user's screen avoids its progress window.
    unset DISPLAY
    trovik_wine wineboot -i >/dev/null 2>&1 || true
    # Without a window manager Wine waits for one on every managed window: about 2 s for each
    # message box and each close.
    trovik_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    # Wine's own fonts have no Greek or Chinese: linked behind the dialog fonts, as Windows links
    # its own, names in those scripts show in the screenshots instead of boxes.
    cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/wqy/wqy-microhei.ttc \
      "$prefix/drive_c/windows/Fonts/"
    local face
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
      trovik_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'DejaVuSans.ttf,DejaVu Sans\0wqy-microhei.ttc,WenQuanYi Micro Hei' \
        /f >/dev/null 2>&1
    done
    # Desktop, Documents and the like are links into $HOME: anything a test writes there would
    # land in the real home folder.
    find "$prefix/drive_c" -type l | while IFS= read -r link; do
      case "$(readlink "$link")" in
        /*) rm -f "$link" && mkdir -p "$link" ;;
      esac
    done
    wineserver -w
  )
  if [ ! -f "$prefix/system.reg" ] || [ ! -f "$prefix/drive_c/windows/Fonts/tahoma.ttf" ]; then
    echo "prelude: preparing the Wine prefix in $prefix failed" >&2
    return 1
  fi
  trovik_wine_stamp >"$prefix/.trovik-stamp"
}

# Makes sure the template exists and matches this Wine; prints its path. Several users may ask at
# once: one prepares, the others wait on the lock.
trovik_wine_template() {
  local template="$TROVIK_WINE_TEMPLATE" started
  mkdir -p "$(dirname "$template")"
  (
    flock 9
    if [ "$(cat "$template/.trovik-stamp" 2>/dev/null)" != "$(trovik_wine_stamp)" ]; then
      started=$SECONDS
      echo "prelude: preparing the Wine prefix template in $template" >&2
      rm -rf "$template" "$template.new"
      trovik_wine_prepare "$template.new" || exit 1
      mv "$template.new" "$template"
      echo "prelude: prepared in $((SECONDS - started)) s" >&2
    fi
  ) 9>"$template.lock" || return 1
  echo "$template"
}

# The files of a prefix that Wine only reads once it is prepared: the program and library images
# and the fonts and code pages (nearly all of its size). Only wineboot writes them, when Wine
# changes, and a new Wine makes a new template.
trovik_wine_shared='.*\.\(dll\|exe\|drv\|sys\|ocx\|cpl\|acm\|ax\|ds\|tlb\|vxd\|com\|mod\|nls\|fon\|ttf\)'

# trovik_wine_make <dest> [full]: a fresh prefix at <dest> from the template. The read-only
# images are hard links to the template's (a copy takes seconds, the links a tenth of one) and
# everything else is copied; "full" copies everything, for a prefix that outlives the tests.
trovik_wine_make() {
  local dest="$1" template
  [ -n "$dest" ] || { echo "prelude: trovik_wine_make needs a destination" >&2; return 2; }
  template="$(trovik_wine_template)" || return 1
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  if [ "${2:-}" = full ]; then
    cp -a "$template" "$dest"
    return
  fi
  # Hard links need the template and the copy on one file system (a /tmp on tmpfs is not): else
  # a plain copy, slower but whole.
  if ! cp -al "$template" "$dest" 2>/dev/null; then
    rm -rf "$dest"
    cp -a "$template" "$dest"
    return
  fi
  # Replaces each hard link to a file Wine may write with a copy of its own.
  (cd "$template" && find . -type f ! -iregex "$trovik_wine_shared" -print0 |
    xargs -0 -r cp -a --parents --remove-destination -t "$dest") || return 1
}

# --- X display ---------------------------------------------------------------------------------

# trovik_xvfb_start <dir>: a private Xvfb display (the first free number, so several run side by
# side), exported as DISPLAY; its pid goes to TROVIK_XVFB_PID, its files to <dir>.
trovik_xvfb_start() {
  local dir="$1" tries
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
  TROVIK_XVFB_PID=$!
  for ((tries = 0; tries < 100; tries++)); do
    grep -q '[0-9]' "$dir/display" 2>/dev/null && break
    kill -0 "$TROVIK_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  DISPLAY=":$(tr -dc 0-9 <"$dir/display")"
  if [ "$DISPLAY" = ":" ]; then
    echo "prelude: Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
    return 1
  fi
  export DISPLAY
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  case "${1:-}" in
    wine-template) trovik_wine_template ;;
    wine-prefix) trovik_wine_make "${2:-}" ;;
    *)
      echo "usage: $0 wine-template | wine-prefix <dest>" >&2
      exit 2
      ;;
  esac
fi
