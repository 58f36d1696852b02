#!/usr/bin/env bash
# The update check over real HTTP: a local web server (Python's http.server) plays the update site
# and a local tinyproxy with Basic authentication the user's proxy, both on free ports of
# 127.0.0.1. trovik-httpget runs Trovik's WinINet client on its own (directly, through the proxy
# with the right and a wrong password, a 404, an answer too long, a server that never answers);
# then the "Updates" page of Trovik's options dialog checks: up to date (never through a planted
# wininet.dll), a site move used in the same check and an update page opened through the shell (a
# URL handler in the prefix logs what it was given), and the check through the proxy refused. Which
# moves are refused and how failures read are the unit tests'.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

: "${TROVIK_HTTPGET:=$(dirname "$TROVIK_EXE")/trovik-httpget.exe}"
PYTHON="$(command -v python3)" || e2e_fail "python3 is missing"
TINYPROXY="$(command -v tinyproxy)" || e2e_fail "tinyproxy is missing"
TAB=$'\t'
SERVER_PID=""
PROXY_PID=""


e2e_begin
[ -f "$TROVIK_HTTPGET" ] || e2e_fail "no trovik-httpget.exe at $TROVIK_HTTPGET"
e2e_probe

# The web server and the proxy end before the shared cleanup runs.
stop_servers() {
  local pid
  for pid in "$PROXY_PID" "$SERVER_PID"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  done
}
# The shared cleanup reads the script's exit status first, so it gets it back here.
trap 'e2e_status=$?; trap - ERR; stop_servers; (exit "$e2e_status") || e2e_cleanup; e2e_cleanup' EXIT

# --- the update site -------------------------------------------------------------------------
www="$E2E_TMP/www"
requests="$E2E_TMP/requests.log"
mkdir -p "$www"
: >"$requests"
cat >"$E2E_TMP/server.py" <<'EOF'
# Serves a directory on a free port of 127.0.0.1 and logs each request with the headers the test
# looks at. Anything under /hang/ is never answered.
import http.server, os, sys, time

root, port_file, log_file = sys.argv[1:4]
HEADERS = ("User-Agent", "From", "Accept", "Pragma", "Cache-Control", "Via", "Proxy-Authorization")

class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=root, **kwargs)

    def log_message(self, *args):
        pass

    def do_GET(self):
        fields = [self.path] + [self.headers.get(h, "") for h in HEADERS]
        with open(log_file, "a") as log:
            log.write("\t".join(fields) + "\n")
        if self.path.startswith("/hang/"):
            time.sleep(3600)
            return
        super().do_GET()

class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

server = Server(("127.0.0.1", 0), Handler)
with open(port_file + ".part", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + ".part", port_file)
server.serve_forever()
EOF
"$PYTHON" "$E2E_TMP/server.py" "$www" "$E2E_TMP/server.port" "$requests" 2>"$E2E_TMP/server.err" &
SERVER_PID=$!

# A port nobody listens on right now, for the proxy.
free_port() {
  "$PYTHON" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# start_proxy: tinyproxy on a free port. Should another program take the port before tinyproxy
# binds it, tinyproxy ends and the next port is tried.
start_proxy() {
  local attempt tries
  for ((attempt = 0; attempt < 5; attempt++)); do
    proxy_port="$(free_port)"
    cat >"$E2E_TMP/tinyproxy.conf" <<EOF
Port $proxy_port
Listen 127.0.0.1
Timeout 30
MaxClients 20
Allow 127.0.0.1
BasicAuth trovik s3cret-word
LogFile "$E2E_TMP/tinyproxy.log"
LogLevel Info
EOF
    "$TINYPROXY" -d -c "$E2E_TMP/tinyproxy.conf" >"$E2E_TMP/tinyproxy.out" 2>&1 &
    PROXY_PID=$!
    for ((tries = 0; tries < 100; tries++)); do
      kill -0 "$PROXY_PID" 2>/dev/null || break
      if (exec 3<>"/dev/tcp/127.0.0.1/$proxy_port") 2>/dev/null && kill -0 "$PROXY_PID" 2>/dev/null; then
        return 0
      fi
      sleep 0.1
    done
    kill "$PROXY_PID" 2>/dev/null || true
    wait "$PROXY_PID" 2>/dev/null || true
  done
  e2e_fail "tinyproxy did not start: $(cat "$E2E_TMP/tinyproxy.out")"
}
start_proxy

# The server writes its port once it listens.
e2e_poll test -f "$E2E_TMP/server.port" || e2e_fail "the web server did not start: $(cat "$E2E_TMP/server.err")"
port="$(cat "$E2E_TMP/server.port")"
web="http://127.0.0.1:$port"
e2e_step "web server on port $port, proxy on port $proxy_port"

# site <dir> <redirect.txt> [lud.txt]: one update site under the server's root.
site() {
  mkdir -p "$www/$1"
  printf '%s' "$2" >"$www/$1/redirect.txt"
  if [ $# -ge 3 ]; then printf '%s' "$3" >"$www/$1/lud.txt"; fi
  printf '<html><body>New version</body></html>' >"$www/$1/linkupd.htm"
}
site up '<none>' 1000
site moved "$web/new/"
site new '<none>' 1001
head -c 100000 /dev/zero | tr '\0' 'x' >"$www/big.txt"

# Pages the shell is asked to open land in the probe's log instead of a browser.
trovik_wine reg add 'HKCR\http\shell\open\command' /ve /d "\"$(winpath "$TROVIK_PROBE")\" \"%1\"" /f \
  >/dev/null 2>&1 || e2e_fail "could not register the http handler"

# --- the client on its own -------------------------------------------------------------------
GOT=""
# fetch <expected exit> <args...>: one trovik-httpget get; its output lands in GOT.
fetch() {
  local want="$1" status=0
  shift
  trovik_wine "$TROVIK_HTTPGET" get "$@" >"$E2E_TMP/get.out" 2>"$E2E_TMP/get.err" || status=$?
  GOT="$(tr -d '\r' <"$E2E_TMP/get.out")"
  [ "$status" -eq "$want" ] || e2e_fail "trovik-httpget get $* ended with $status, not $want:
$GOT
$(cat "$E2E_TMP/get.err")"
}
# expect_got <pattern> <what>
expect_got() {
  [[ "$GOT" == $1 ]] || e2e_fail "$2: trovik-httpget said
$GOT"
}
# last_request: the server's log line of the latest request.
last_request() { tail -n 1 "$requests"; }

fetch 0 "$web/up/lud.txt"
expect_got $'ok\nstatus 200\n*\nbody:\n1000' "a direct fetch"
# Path, user agent, From, Accept, Pragma, Cache-Control, Via, Proxy-Authorization.
e2e_expect_lines "the request as the server saw it" "$(last_request | tr '\t' '|')" \
  "/up/lud.txt|Mozilla/3.0 (compatible)|Trovik|image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*|no-cache|no-cache||"
e2e_step "direct fetch with the request settings"

fetch 0 --proxy "127.0.0.1:$proxy_port" --user trovik --password s3cret-word "$web/up/redirect.txt"
expect_got $'ok\nstatus 200\n*\nbody:\n<none>' "a fetch through the proxy"
[[ "$(last_request)" == "/up/redirect.txt$TAB"*"${TAB}"*tinyproxy* ]] ||
  e2e_fail "the request did not come through the proxy: $(last_request)"
e2e_step "fetch through the proxy with its password"

before="$(wc -l <"$requests")"
fetch 1 --proxy "127.0.0.1:$proxy_port" --user trovik --password wrong "$web/up/lud.txt"
# tinyproxy answers a wrong password with 401, where other proxies answer 407.
expect_got "error: the answer through the proxy server 127.0.0.1:$proxy_port was 401 (Unauthorized)"$'\nstatus 401\n'* \
  "a wrong proxy password"
fetch 1 --proxy "127.0.0.1:$proxy_port" "$web/up/lud.txt"
expect_got "error: the proxy server asks for a user name and password*" "no proxy password"
[ "$(wc -l <"$requests")" -eq "$before" ] || e2e_fail "the proxy let a request through: $(last_request)"
e2e_step "the proxy refuses a wrong password and none"

fetch 1 "$web/up/missing.txt"
expect_got "error: the server answered 404*"$'\nstatus 404\n'* "a missing file"
fetch 1 "$web/big.txt"
expect_got "error: the answer is longer than 4096 bytes*" "a long answer"
fetch 1 "http://127.0.0.1:$(free_port)/up/lud.txt"
expect_got "error: could not connect to the server 127.0.0.1*" "nobody listening"
e2e_step "404, a long answer and a closed port are errors"

# A server that never answers: the request ends at its timeout, and the window's timer kept
# ticking meanwhile.
trovik_wine "$TROVIK_HTTPGET" get --timeout 3000 "$web/hang/lud.txt" >"$E2E_TMP/get.out" 2>&1 &
hang_pid=$!
drive wait-window TrovikHttpGet trovik-httpget 20000
e2e_screenshot update-waiting.png
status=0
wait "$hang_pid" || status=$?
GOT="$(tr -d '\r' <"$E2E_TMP/get.out")"
[ "$status" -eq 1 ] || e2e_fail "a request that never got an answer ended with $status: $GOT"
expect_got "error: the server did not answer within 3 seconds"$'\nstatus 0\n'* "a server that never answers"
ticks="$(sed -n 's/^ticks //p' <<<"$GOT")"
ms="$(sed -n 's/^ms //p' <<<"$GOT")"
[ "$ms" -ge 2900 ] && [ "$ms" -le 6000 ] || e2e_fail "the timeout of 3 s took $ms ms"
[ "$ticks" -ge 10 ] || e2e_fail "the window handled only $ticks timer messages in $ms ms"
e2e_step "a silent server times out after $ms ms; $ticks timer messages handled meanwhile"

# --- the update check, from the Updates page of the program's options dialog ------------------
base="$E2E_TMP/Trovik"
e2e_base "$base"
: >"$base/link.qdx"
: >"$base/name.qdx"
ini="$base/Trovik.ini"
drive short-date 1
yesterday="$DRIVEN"
drive short-date 0
today="$DRIVEN"
DLG=TOptionsForm

# check_start <site> [<proxy host:port> <user> <password>]: Trovik started on a site named in
# Trovik.ini, its options dialog open on the Updates page (the proxy boxes filled in), and the
# check clicked.
check_start() {
  e2e_write "$ini" $'\r\n' "[Form]" "UpdateChecked=$yesterday" "UpdateSite=$1"
  e2e_start "$base"
  e2e_wait_main
  drive key 123 --then wait-window "$DLG" Options "$E2E_WAIT_MS" --then opt-page "$DLG" poptions 3
  if [ $# -gt 1 ]; then
    drive dlg-click "$DLG" proxyc --then dlg-set "$DLG" pname "${2%:*}" --then dlg-set "$DLG" pport "${2##*:}" \
      --then dlg-set "$DLG" pun "$3" --then dlg-set "$DLG" ppw "$4"
  fi
  drive dlg-click "$DLG" cud
}
# check_end: no box left; the dialog cancelled, so nothing of it is applied; Trovik closed.
check_end() {
  e2e_expect_no_boxes
  drive dlg-click "$DLG" cancel
  e2e_until "the options dialog after Cancel" hidden shown "$DLG"
  e2e_close
}
# box <caption> <button> <text> [screenshot]
box() {
  if [ $# -ge 4 ]; then
    drive wait-window '#32770' "$1" 20000
    e2e_screenshot "$4"
  fi
  drive answer "$1" "$2" 20000 "$3"
}
ini_value() { ini_get "$ini" Form "$1"; }
probe_lines() { if [ -f "$probe_log" ]; then wc -l <"$probe_log"; else echo 0; fi; }
page_opened() { [ "$(probe_lines)" -ge 1 ]; }

# A wininet.dll that someone left beside the program, and one in the current directory. Wine
# prefers its own system libraries and would hide the fault; asked to take a native one first,
# it loads whatever the program's own search finds. The marker DLL leaves <dll>.loaded when it is
# loaded, as rundll32 shows first.
planted="$(dirname "$TROVIK_EXE")/planted/wininet.dll"
[ -f "$planted" ] || e2e_fail "no planted wininet.dll at $planted"
cp "$planted" "$E2E_TMP/marker.dll"
"$E2E_WINE" rundll32 "$(winpath "$E2E_TMP/marker.dll")",none >/dev/null 2>&1 &
rundll=$!
e2e_poll test -f "$E2E_TMP/marker.dll.loaded" || e2e_fail "the marker DLL leaves no mark when loaded"
kill "$rundll" 2>/dev/null || true
cp "$planted" "$base/wininet.dll"
cp "$planted" "$E2E_TMP/wininet.dll"
overrides="$WINEDLLOVERRIDES"
export WINEDLLOVERRIDES="$overrides;wininet=n,b"
check_start "$web/up/"
export WINEDLLOVERRIDES="$overrides"
box Confirm yes "This will connect to the internet to check for new versions of the software. Proceed?" update-confirm.png
box Trovik ok "Your version of Trovik is currently up to date" update-uptodate.png
e2e_expect_lines "the check date" "$(ini_value UpdateChecked)" "$today"
check_end
e2e_expect_lines "the update site" "$(ini_value UpdateSite)" "$web/up/"
for dir in "$base" "$E2E_TMP"; do
  [ ! -e "$dir/wininet.dll.loaded" ] || e2e_fail "the wininet.dll in $dir was loaded"
done
rm -f "$base/wininet.dll" "$E2E_TMP/wininet.dll"
e2e_step "up to date; a planted wininet.dll is never loaded, the check used the system's"

check_start "$web/moved/"
box Confirm yes "This will connect"
box Confirm yes "An update is available. Do you wish to visit the update site now?" update-available.png
e2e_poll page_opened || true
e2e_screenshot update-page-opened.png
check_end
e2e_expect_lines "the update site after the move" "$(ini_value UpdateSite)" "$web/new/"
e2e_expect_lines "what the shell opened" "$(tr -d '\r' <"$probe_log" | cut -f4)" "\"$web/new/linkupd.htm\""
grep -q "^/new/lud.txt$TAB" "$requests" || e2e_fail "the version was not read from the new site"
e2e_step "the site move is kept and the update page opened from the new site"

# The proxy boxes reach the real client (the boxes themselves are the unit tests').
check_start "$web/up/" "127.0.0.1:$proxy_port" trovik wrong
box Confirm yes "This will connect"
box Trovik ok "through the proxy server 127.0.0.1:$proxy_port was 401" update-proxy-refused.png
check_end
! grep -q "wrong" "$ini" || e2e_fail "a proxy password reached Trovik.ini"
e2e_step "the check through the proxy, refused with a wrong password"

stop_servers
SERVER_PID=""
PROXY_PID=""
