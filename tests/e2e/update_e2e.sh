#!/usr/bin/env bash
# The update check over real HTTP, from the "Updates" page of Trovik's options dialog: a local web
# server (Python's http.server) plays the update site and a local tinyproxy with Basic
# authentication the user's proxy, both on free ports of 127.0.0.1. Trovik's WinINet client sends
# the request settings the server logs; it finds the program up to date, directly (never through a
# planted wininet.dll) and through the proxy with its password, and is refused with a wrong one;
# it refuses an answer too long; and a server that never answers ends the check at its timeout
# while the program goes on handling its messages.
# How the answers are judged is the unit tests'.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

PYTHON="$(command -v python3)" || e2e_fail "python3 is missing"
TINYPROXY="$(command -v tinyproxy)" || e2e_fail "tinyproxy is missing"
SERVERS=""
e2e_begin
# The web server and the proxy end before the shared cleanup, which gets the exit status back.
trap 'e2e_status=$?; trap - ERR; kill $SERVERS 2>/dev/null; (exit "$e2e_status") || e2e_cleanup; e2e_cleanup' EXIT

# --- the update site: each request logged with the headers the test looks at; anything under
# /hang/ is never answered
www="$E2E_TMP/www"
requests="$E2E_TMP/requests.log"
mkdir -p "$www"
cat >"$E2E_TMP/server.py" <<'PY'
import functools, http.server, os, sys, time
root, port_file, log_file = sys.argv[1:4]
HEADERS = ("User-Agent", "From", "Accept", "Pragma", "Cache-Control", "Via")

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        with open(log_file, "a") as log:
            log.write("|".join([self.path] + [self.headers.get(h, "") for h in HEADERS]) + "\n")
        if self.path.startswith("/hang/"):
            time.sleep(3600)
        else:
            super().do_GET()

handler = functools.partial(Handler, directory=root)
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
server.daemon_threads = True
with open(port_file + ".part", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + ".part", port_file)
server.serve_forever()
PY
"$PYTHON" "$E2E_TMP/server.py" "$www" "$E2E_TMP/server.port" "$requests" 2>"$E2E_TMP/server.err" &
SERVERS=$!
free_port() {
  "$PYTHON" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# tinyproxy on a free port; should another program take the port first, tinyproxy ends and the
# next port is tried.
for attempt in 1 2 3 4 5; do
  proxy_port="$(free_port)"
  printf '%s\n' "Port $proxy_port" "Listen 127.0.0.1" "Timeout 30" "Allow 127.0.0.1" \
    "BasicAuth trovik s3cret-word" >"$E2E_TMP/tinyproxy.conf"
  "$TINYPROXY" -d -c "$E2E_TMP/tinyproxy.conf" >"$E2E_TMP/tinyproxy.out" 2>&1 &
  proxy_pid=$!
  listening() { kill -0 "$proxy_pid" 2>/dev/null && (exec 3<>"/dev/tcp/127.0.0.1/$proxy_port") 2>/dev/null; }
  e2e_poll listening && break
  kill "$proxy_pid" 2>/dev/null || true
  [ "$attempt" -lt 5 ] || e2e_fail "tinyproxy did not start: $(cat "$E2E_TMP/tinyproxy.out")"
done
SERVERS+=" $proxy_pid"
e2e_poll test -f "$E2E_TMP/server.port" || e2e_fail "the web server did not start: $(cat "$E2E_TMP/server.err")"
web="http://127.0.0.1:$(cat "$E2E_TMP/server.port")"
e2e_step "web server at $web, proxy on port $proxy_port"

# site <dir> <lud.txt>: one update site under the server's root, which has not moved.
site() {
  mkdir -p "$www/$1"
  printf '<none>' >"$www/$1/redirect.txt"
  printf '%s' "$2" >"$www/$1/lud.txt"
}
site up 1000
site big "$(head -c 100000 /dev/zero | tr '\0' '1')"

base="$E2E_TMP/Trovik"
e2e_base "$base"
e2e_fileset "$base"
ini="$base/Trovik.ini"
drive short-date 1
yesterday="$DRIVEN"

# start_on <site>: Trovik started on a site named in Trovik.ini, its options dialog open on the
# Updates page.
start_on() {
  e2e_write "$ini" "$CRLF" "[Form]" "UpdateChecked=$yesterday" "UpdateSite=$1"
  e2e_run "$base"
  open_options
  drive opt-page "$DLG" poptions 3
}
# check [<proxy host:port> <user> <password>]: the check clicked (through that proxy) and
# confirmed.
check() {
  if [ $# -gt 0 ]; then
    drive dlg-click "$DLG" proxyc --then dlg-set "$DLG" pname "${1%:*}" --then dlg-set "$DLG" pport "${1##*:}" \
      --then dlg-set "$DLG" pun "$2" --then dlg-set "$DLG" ppw "$3"
  fi
  drive dlg-click "$DLG" cud
  box Confirm yes "This will connect to the internet to check for new versions" update-confirm.png
}
# box <caption> <button> <text> <screenshot>: a box that may come only after a check's timeout.
box() {
  drive wait-window '#32770' "$1" 60000
  e2e_screenshot "$4"
  drive answer "$1" "$2" 5000 "$3"
}
# check_end: no box left; the dialog cancelled; Trovik closed.
check_end() {
  e2e_expect_no_boxes
  close_options cancel
  e2e_close
}

# A wininet.dll that someone left beside the program, and one in the current directory. Wine
# prefers its own system libraries and would hide the fault; asked to take a native one first,
# it loads whatever the program's own search finds. The marker DLL leaves <dll>.loaded when it is
# loaded, as rundll32 shows first.
planted="$(dirname "$TROVIK_EXE")/planted/wininet.dll"
cp "$planted" "$E2E_TMP/marker.dll"
"$E2E_WINE" rundll32 "$(winpath "$E2E_TMP/marker.dll")",none >/dev/null 2>&1 &
rundll=$!
e2e_poll test -f "$E2E_TMP/marker.dll.loaded" || e2e_fail "the marker DLL leaves no mark when loaded"
kill "$rundll" 2>/dev/null || true
cp "$planted" "$base/wininet.dll"
cp "$planted" "$E2E_TMP/wininet.dll"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wininet=n,b" start_on "$web/up/"
check
box Trovik ok "Your version of Trovik is currently up to date" update-uptodate.png
# Path, user agent, From, Accept, Pragma, Cache-Control, Via.
e2e_expect_lines "the request as the server saw it" "$(tail -n 1 "$requests")" \
  "/up/lud.txt|Mozilla/3.0 (compatible)|Trovik|image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*|no-cache|no-cache|"
# Through the proxy: with the password, and refused with a wrong one.
check "127.0.0.1:$proxy_port" trovik s3cret-word
box Trovik ok "Your version of Trovik is currently up to date" update-uptodate.png
[[ "$(tail -n 1 "$requests")" == "/up/lud.txt|"*tinyproxy* ]] ||
  e2e_fail "the request did not come through the proxy: $(tail -n 1 "$requests")"
drive dlg-set "$DLG" ppw wrong
check
box Trovik ok "through the proxy server 127.0.0.1:$proxy_port was 401" update-proxy-refused.png
check_end
for dir in "$base" "$E2E_TMP"; do
  [ ! -e "$dir/wininet.dll.loaded" ] || e2e_fail "the wininet.dll in $dir was loaded"
done
rm "$base/wininet.dll" "$E2E_TMP/wininet.dll"

# An answer longer than any file of the site is refused.
start_on "$web/big/"
check
box Trovik ok "the answer is longer than 4096 bytes" update-too-long.png
check_end

# A server that never answers: while the check waits, the program goes on answering; the check
# ends at its timeout of 30 seconds.
start_on "$web/hang/"
check
wait_line "$requests" "/hang/"
e2e_screenshot update-waiting.png
drive list 101
drive wait-window TForm1 Trovik 2000
box Trovik ok "the server did not answer within 30 seconds" update-timeout.png
check_end
