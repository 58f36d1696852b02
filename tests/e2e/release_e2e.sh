#!/usr/bin/env bash
# The release a Windows user downloads: ./release packs the i686 build into the two zips; what they
# hold, the version, icons and manifest the executable carries, and the program unpacked into a
# folder of a fresh Wine prefix and run from there. The 32-bit program runs where this machine runs
# 32-bit programs; elsewhere the x86_64 build is run in the same unpacked folder, and the test says
# so.
#
# E2E_DOCS=1 also refreshes the README's picture, docs/main-window.png, from this run.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TROVIK_WIN32_DIR:=$trovik_root/build/win32}"
e2e_begin

version="$(sed -n 's/^project(Trovik VERSION \([0-9.]*\).*/\1/p' "$trovik_root/CMakeLists.txt")"
[ -n "$version" ] || e2e_fail "no project version in CMakeLists.txt"

# --- the two archives, made by the release command from the i686 build ---
dist="$E2E_TMP/dist"
"$trovik_root/release" --no-build --from "$TROVIK_WIN32_DIR" --out "$dist" >"$E2E_TMP/release.log" 2>&1 ||
  e2e_fail "./release failed: $(tail -n 5 "$E2E_TMP/release.log")"
app_zip="$dist/Trovik-$version-win32.zip"
sdk_zip="$dist/Trovik-$version-sdk.zip"
for zip in "$app_zip" "$sdk_zip"; do
  [ -f "$zip" ] || e2e_fail "./release did not write $(basename "$zip"); it wrote: $(ls "$dist")"
  unzip -tq "$zip" >/dev/null || e2e_fail "$(basename "$zip") does not unpack cleanly"
done
e2e_step "release $version packed"

# The program's archive holds exactly this: nothing of the build, nothing missing.
expected=(Trovik/LICENSE.txt Trovik/README.txt Trovik/Trovik.exe)
for file in "$trovik_root"/helpfiles/*; do expected+=("Trovik/helpfiles/$(basename "$file")"); done
e2e_expect_lines "files of $(basename "$app_zip")" "$(unzip -Z1 "$app_zip" | LC_ALL=C sort)" \
  "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)"

expected=(sdk/GUIDE.md sdk/LICENSE.txt sdk/extension.cmake sdk/trovik.h)
samples=()
for dir in "$trovik_root"/sdk/samples/*/; do
  name="$(basename "$dir")"
  samples+=("$name")
  for file in "$dir"*; do expected+=("sdk/samples/$name/$(basename "$file")"); done
  expected+=("sdk/samples/$name/$name.dll")
done
e2e_expect_lines "files of $(basename "$sdk_zip")" "$(unzip -Z1 "$sdk_zip" | LC_ALL=C sort)" \
  "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)"

# Unpacked where a user would put it: a folder of its own, with a space in its path.
folder="$WINEPREFIX/drive_c/Portable Apps"
mkdir -p "$folder"
unzip -q "$app_zip" -d "$folder"
unzip -q "$sdk_zip" -d "$E2E_TMP/sdk-unpacked"
app="$folder/Trovik"

# The release is the 32-bit GUI program; the sample DLLs are 32-bit and export the plain names
# Trovik looks up.
# (Whole outputs are read first: grep -q leaving early would break objdump's pipe.)
objdump=i686-w64-mingw32-objdump
headers="$("$objdump" -f -p "$app/Trovik.exe")"
grep -q 'file format pei-i386' <<<"$headers" || e2e_fail "Trovik.exe is not 32-bit"
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || e2e_fail "Trovik.exe is not a GUI program"
for name in "${samples[@]}"; do
  headers="$("$objdump" -f -p "$E2E_TMP/sdk-unpacked/sdk/samples/$name/$name.dll")"
  grep -q 'file format pei-i386' <<<"$headers" || e2e_fail "$name.dll is not 32-bit"
  grep -Eq '[[:space:]]dllinfo2$' <<<"$headers" ||
    e2e_fail "$name.dll does not export dllinfo2 by its plain name: $(grep -i dllinfo2 <<<"$headers")"
done

# Readme and licence open in Notepad (CR LF) and say what they must.
for file in README.txt LICENSE.txt; do
  ! grep -qv $'\r$' "$app/$file" || e2e_fail "$file has lines without CR LF"
done
grep -q "^Trovik $version" "$app/README.txt" || e2e_fail "README.txt does not name version $version"
grep -q 'MIT License' "$app/LICENSE.txt" || e2e_fail "LICENSE.txt is not the MIT licence"

# --- the help pages ---
# Every page the program's windows open with F1 or a help button (its sources name them; the
# update site's page aside) is in the release.
mapfile -t named < <(grep -rhoE '"[a-z]+\.htm"' "$trovik_root/src" | tr -d '"' | grep -vx linkupd.htm | sort -u)
[ "${#named[@]}" -ge 9 ] || e2e_fail "the sources name only these help pages: ${named[*]}"
for page in "${named[@]}"; do
  [ -f "$app/helpfiles/$page" ] || e2e_fail "the help page $page is not in the release"
done
# Every link between the pages resolves, anchors included, and none leaves the help.
pages=0
for page in "$app"/helpfiles/*.htm; do
  from="$(basename "$page")"
  pages=$((pages + 1))
  while IFS= read -r ref; do
    [[ "$ref" != *:* ]] || e2e_fail "$from links outside the help: $ref"
    target="${ref%%#*}"
    [ -f "$app/helpfiles/${target:-$from}" ] || e2e_fail "$from links to $target, which is not in the release"
    [[ "$ref" != *#* ]] || grep -q "id=\"${ref#*#}\"" "$app/helpfiles/${target:-$from}" ||
      e2e_fail "$from links to $ref: no such anchor"
  done < <(grep -oE '(href|src)="[^"]*"' "$page" | sed -E 's/^(href|src)="//; s/"$//')
done
e2e_step "$pages help pages and their links checked"

# --- what the executable carries: its version block and icons, as the resource compiler reads
# them back ---
resources="$(i686-w64-mingw32-windres -i "$app/Trovik.exe" -O rc)" ||
  e2e_fail "the resources of Trovik.exe cannot be read"
v="${version//./, }, 0"
e2e_expect_lines "version information of Trovik.exe" \
  "$(sed -n '/^1 VERSIONINFO/,/^END/{s/^ *//; /^\(FILEVERSION\|PRODUCTVERSION\|FILETYPE\|VALUE\) /p}' <<<"$resources")" \
  "FILEVERSION $v" "PRODUCTVERSION $v" "FILETYPE 0x1" \
  'VALUE "CompanyName", "The Trovik developers"' 'VALUE "FileDescription", "Trovik program launcher"' \
  "VALUE \"FileVersion\", \"$version.0\"" 'VALUE "InternalName", "Trovik"' \
  'VALUE "LegalCopyright", "Copyright (c) the Trovik developers. MIT License."' \
  'VALUE "OriginalFilename", "Trovik.exe"' 'VALUE "ProductName", "Trovik"' \
  "VALUE \"ProductVersion\", \"$version.0\"" 'VALUE "Translation", 0x409, 1200'
# One icon group, the one the shell shows; each entry's size and depth, and those the image's own
# header gives.
icons() {
  sed -n 's/^\([^ /]*\) 14 .*/group \1/p' <<<"$resources"
  sed -n '/^1 14 /,/^END/s/^ *"\\\([0-7]*\)\\\([0-7]*\)\\000\\000", 1, \([0-9]*\), [^,]*, \([0-9]*\).*/\1 \2 \3 \4/p' <<<"$resources" |
    while read -r w h bits id; do
      IFS=, read -r _ iw ih planes_bits _ < <(sed -n "/^$id 3 /{n;n;p}" <<<"$resources" | tr -d ' L')
      echo "icon $((8#$w))x$((8#$h)) ${bits}bpp: image $((iw))x$((ih / 2)) $((planes_bits >> 16))bpp"
    done
}
e2e_expect_lines "icons of Trovik.exe" "$(icons)" "group 1" "icon 16x16 32bpp: image 16x16 32bpp" \
  "icon 32x32 32bpp: image 32x32 32bpp" "icon 48x48 32bpp: image 48x48 32bpp"
manifest="$(strings -n 4 "$app/Trovik.exe" | sed -n '/<assembly/,/<\/assembly>/p' | tr -s ' \n' ' ')"
grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$manifest" ||
  e2e_fail "the manifest does not ask for Common Controls 6: $manifest"
# System aware: the program scales itself from the DPI it reads at start, so Windows must not
# stretch it, and it does not follow a move to a monitor of another DPI.
grep -Eq '<dpiAware[^>]*>true</dpiAware>' <<<"$manifest" || e2e_fail "the manifest is not DPI aware: $manifest"
! grep -Eqi 'dpiAwareness|true/pm|per ?monitor</' <<<"$manifest" ||
  e2e_fail "the manifest declares per-monitor awareness the program does not have: $manifest"
grep -q "name=\"Trovik\" version=\"$version.0\"" <<<"$manifest" ||
  e2e_fail "the manifest does not carry version $version.0"

# --- the unpacked program runs from its folder ---
if [ -n "$TROVIK_WINE32" ]; then
  e2e_step "running the 32-bit Trovik.exe from the archive"
else
  cp "$TROVIK_EXE" "$app/Trovik.exe"
  echo "NOTE: $E2E_NAME: $TROVIK_WINE32_WHY: running the x86_64 build in the unpacked release" \
    "folder instead of the archive's 32-bit Trovik.exe"
fi

# Everything in the prefix's C: drive outside Windows' own folder and Trovik's, before and after.
elsewhere() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path './Portable Apps' -prune -o \
    -path './users/*/AppData/Local/Temp' -prune -o -print | LC_ALL=C sort)
}
elsewhere >"$E2E_TMP/before"

# The first start: the files exist while the welcome box is up; the window opens centred on the
# 1024 by 768 screen at its smallest width, 145, with a taskbar button.
e2e_start "$app"
drive wait-window "#32770" Trovik 20000
[ -s "$app/Trovik.ini" ] || e2e_fail "Trovik.ini was not written by the first start"
e2e_screenshot release-welcome.png
drive answer Trovik ok 5000 "Welcome to Trovik. Trovik is now fully ready for you to use."
e2e_wait_main
e2e_expect_no_boxes
drive rect --then taskbar-style
e2e_expect_lines "window of a first start" "$DRIVEN" \
  "$((512 - 145 / 2)) $((384 - 128)) 145 256 normal" appwindow
drive module comctl32.dll
case "$DRIVEN" in
  *\\winsxs\\*common-controls*6.0.*) ;;
  *) e2e_fail "the program was not given Common Controls 6: comctl32 came from \"$DRIVEN\"" ;;
esac
e2e_screenshot release-main.png
e2e_close

# --- a second start, as a user sees it after a while: two filesets, a few links, the tray icon ---
# shellcheck disable=SC1003 # backslashes of Windows paths, not escapes
e2e_fileset "$app" Calculator 'C:\windows\system32\calc.exe' Documents 'C:\users\' \
  Notepad 'C:\windows\notepad.exe' \
  "Trovik help" 'C:\Portable Apps\Trovik\helpfiles\mainwindow.htm+lrma' \
  "Work tools" '+fC:\windows\notepad.exe|C:\windows\system32\calc.exe|'
e2e_fileset "$app/Games" Chess 'C:\Games\chess.exe'
e2e_fileset "$app/Web"
# In the tray; and run on a double click, so the picture can show a selected link.
sed -i 's/^SysTray=0/SysTray=1/; s/^Click=1/Click=0/' "$app/Trovik.ini"
e2e_run "$app"
expect_names "Calculator" "Documents" "Notepad" "Trovik help" "Work tools"
drive place 300 200 180 300
drive select 2
e2e_screenshot release-tray.png
# The tray holds Trovik's own icon: the amber of its arrow, which no stock icon has.
amber="$(convert "$E2E_ARTIFACTS/release-tray.png" -crop 240x120+0+0 +repage -alpha off -fuzz 8% \
  -fill black +opaque '#FFB020' -fill white -opaque '#FFB020' -format '%[fx:round(mean*w*h)]' info:)"
[ "$amber" -ge 6 ] || e2e_fail "Trovik's icon is not in the tray (no amber pixels at the top left)"
point rect
convert "$E2E_ARTIFACTS/release-tray.png" -crop "${w}x$h+$x+$y" +repage "$E2E_ARTIFACTS/release-window.png"
e2e_close

elsewhere >"$E2E_TMP/after"
cmp -s "$E2E_TMP/before" "$E2E_TMP/after" || e2e_fail "Trovik wrote outside its folder:
$(diff "$E2E_TMP/before" "$E2E_TMP/after" | sed -n 's/^> /    /p')"

if [ "${E2E_DOCS:-0}" = 1 ]; then
  cp "$E2E_ARTIFACTS/release-window.png" "$trovik_root/docs/main-window.png"
  e2e_step "docs/main-window.png refreshed"
fi
