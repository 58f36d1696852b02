#!/usr/bin/env bash
# Names in any script under a Western code page: Trovik unpacked into a folder named in German,
# Greek and Chinese, programs, labels, filesets and an extension's log with such names, emoji
# included. The list files that need it turn UTF-8 behind a byte-order mark.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Wine reads Linux file names in the character set of the locale: UTF-8, whatever the machine's.
export LC_ALL=C.UTF-8
e2e_begin

home="Programs Jürgen Ωmega 文档"
base="$E2E_TMP/$home"
e2e_base "$base" eventlog
tools_dir="$E2E_TMP/Tools Ωmega 文档 Ёж"
mkdir -p "$tools_dir"
cp "$TROVIK_PROBE" "$tools_dir/prøbe 工具.exe"
tool="$(winpath "$tools_dir")\\prøbe 工具.exe"
greek="Ελληνικά 😀"
# Its name is in Greek: the file is UTF-8 behind the mark, as Trovik writes it.
mark=$'\xEF\xBB\xBF'
e2e_fileset "$base/$greek" "${mark}Σημειωματάριο" 'C:\windows\notepad.exe'
e2e_fileset "$base"
e2e_options "$base" "Click=1" "QuickSwitch=1" "RemoveDropExtension=1" "UserLevel=1"
# vp2.qdx names the DLL in its folder, so it is UTF-8 behind the mark.
printf '\xEF\xBB\xBF%s\\Extensions\\eventlog.dll|Event log|false|true|x|runlink|before\r\n\r\n' \
  "$(winpath "$base")" >"$base/vp2.qdx"

e2e_run "$base"
# Wide enough for both tabs at once.
drive place 10 10 420 300
e2e_until "the tabs" "$(printf '%s\n' "$home" "$greek")" tabs

# --- a dropped program is listed and starts in its own folder; the extension sees its name whole
drive main-point 101
# shellcheck disable=SC2086 # the point is two numbers
drive drop $DRIVEN "$tool"
expect_names "prøbe 工具"
click_item 0
wait_probe 1
# The shell gets what a link names in lower case: A to Z only.
probe_starts 1 1 | grep -qF "$(winpath "$tools_dir" | tr 'A-Z' 'a-z')" ||
  e2e_fail "the program did not start in its folder: $(probe_starts 1 1)"
wait_line "$base/Extensions/eventlog.log" "runlink $tool"

# --- a label and path typed into the Add/Edit dialog
e2e_settle
open_add
drive dlg-set TAddEdit itemLabel "Ёж 文档 😀"
drive dlg-set TAddEdit path "$tool"
drive dlg-click TAddEdit addlink
expect_names "prøbe 工具" "Ёж 文档 😀"
e2e_screenshot names-list.png

# --- the fileset named in Greek, switched to by its tab; the help page from Trovik's own folder
click tab-point 1
expect_names "Σημειωματάριο"
trovik_wine reg add 'HKCR\.htm' /ve /d TrovikTestPage /f >/dev/null 2>&1
trovik_wine reg add 'HKCR\TrovikTestPage\shell\open\command' /ve /d "\"$tool\" \"%1\"" /f >/dev/null 2>&1
mkdir -p "$base/helpfiles"
: >"$base/helpfiles/mainwindow.htm"
drive key 112
wait_probe 2
probe_starts 2 2 | grep -qF "$(winpath "$base" | tr 'A-Z' 'a-z')\\helpfiles\\mainwindow.htm" ||
  e2e_fail "the help page did not open from Trovik's folder: $(probe_starts 2 2)"
e2e_close

expect_file "the names" "$base/name.qdx" "${mark}prøbe 工具" "Ёж 文档 😀"
expect_file "the links" "$base/link.qdx" "$mark$tool" "$tool"

# --- at the next start the Greek fileset is open again: Trovik.ini kept its name whole
e2e_run "$base"
expect_names "Σημειωματάριο"
e2e_close
