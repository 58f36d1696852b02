#!/usr/bin/env bash
# A prepared Wine prefix for running Trovik: made once (wineboot takes about 10 s and 700 MB) and
# kept as a template, then copied for each user of it (about 2 s) so tests can run side by side
# without sharing a wineserver or a registry.
#
#   wineprefix.sh template      make the template if it is missing or stale, print its path
#   wineprefix.sh make <dest>   copy a fresh prefix from the template to <dest> (replacing it)
#
# Sourced, it defines trovik_wine_env, trovik_wine_template and trovik_wine_make.
# TROVIK_WINE_TEMPLATE overrides where the template lives (default: <repo>/build/wineprefix-template).

trovik_wine_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${TROVIK_WINE_TEMPLATE:=$trovik_wine_repo/build/wineprefix-template}"
# Bumped whenever the preparation below changes, so old templates are rebuilt.
trovik_wine_recipe=1

# The settings every Wine call of ours runs with: no debug chatter, and no prompt to download
# Mono or Gecko, which cannot be fetched here and which Trovik does not use.
trovik_wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
}

trovik_wine_stamp() {
  echo "recipe $trovik_wine_recipe; $(wine --version 2>/dev/null); user ${USER:-$(id -un)}"
}

# Builds a prefix at $1 from nothing.
trovik_wine_prepare() {
  local prefix="$1" link
  (
    trovik_wine_env
    export WINEPREFIX="$prefix"
    # wineboot needs no display; keeping it off the user's screen avoids its progress window.
    unset DISPLAY
    wine wineboot -i >/dev/null 2>&1 || true
    # Without a window manager Wine waits for one on every managed window: about 2 s for each
    # message box and each close.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
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
    echo "wineprefix.sh: preparing the Wine prefix in $prefix failed" >&2
    return 1
  fi
  trovik_wine_stamp >"$prefix/.trovik-stamp"
}

# Makes sure the template exists and matches this Wine; prints its path. Several tests may ask at
# once: one prepares, the others wait on the lock.
trovik_wine_template() {
  local template="$TROVIK_WINE_TEMPLATE" started
  mkdir -p "$(dirname "$template")"
  (
    flock 9
    if [ "$(cat "$template/.trovik-stamp" 2>/dev/null)" != "$(trovik_wine_stamp)" ]; then
      started=$SECONDS
      echo "wineprefix.sh: preparing the Wine prefix template in $template" >&2
      rm -rf "$template" "$template.new"
      trovik_wine_prepare "$template.new" || exit 1
      mv "$template.new" "$template"
      echo "wineprefix.sh: prepared in $((SECONDS - started)) s" >&2
    fi
  ) 9>"$template.lock" || return 1
  echo "$template"
}

# Copies a fresh prefix to $1.
trovik_wine_make() {
  local dest="$1" template
  [ -n "$dest" ] || { echo "wineprefix.sh: make needs a destination" >&2; return 2; }
  template="$(trovik_wine_template)" || return 1
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  cp -a "$template" "$dest"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  case "${1:-}" in
    template) trovik_wine_template ;;
    make) trovik_wine_make "${2:-}" ;;
    *)
      echo "usage: $0 template | make <dest>" >&2
      exit 2
      ;;
  esac
fi
