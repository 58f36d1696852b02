// trovik-httpget: the end-to-end tests' way to Trovik's real HTTP client on its own under Wine.
//
//   trovik-httpget get [--proxy <host:port>] [--user <name>] [--password <text>] [--timeout <ms>]
//                      <url>
//     One request through the WinINet client. Prints "ok" or "error: <reason>", then
//     "status <n>", "ticks <n>" (timer messages handled while the request was waited for) and
//     "ms <n>" (how long it took), then "body:" and the body. Exit code 0 for ok, 1 for an error.
//
// While it works it shows a small window of class TrovikHttpGet.

// clang-format off
#include <windows.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "win32/win32platform.h"
#include "win32/wininethttp.h"

namespace {

using namespace trovik;
using namespace trovik::win32;

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 100;

int ticks = 0;

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimer) {
    ++ticks;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A window whose timer shows whether messages are handled while a request waits.
HWND makeWindow(const std::string& text) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "TrovikHttpGet";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("TrovikHttpGet", "trovik-httpget", WS_OVERLAPPED | WS_CAPTION, 40, 40,
                            460, 110, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowA("STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 430, 50, hwnd, nullptr,
                wc.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  SetTimer(hwnd, kTimer, kTickMs, nullptr);
  return hwnd;
}

struct Arguments {
  HttpProxy proxy;
  int timeoutMs = 30000;
  std::size_t maxBytes = 4096;
  std::string target;
};

bool parse(int argc, char** argv, Arguments& a) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--proxy" && hasValue) {
      const std::string value = argv[++i];
      const size_t colon = value.rfind(':');
      a.proxy.host = value.substr(0, colon);
      if (colon != std::string::npos) a.proxy.port = value.substr(colon + 1);
    } else if (arg == "--user" && hasValue) {
      a.proxy.user = argv[++i];
    } else if (arg == "--password" && hasValue) {
      a.proxy.password = argv[++i];
    } else if (arg == "--timeout" && hasValue) {
      a.timeoutMs = std::atoi(argv[++i]);
    } else if (a.target.empty() && arg.rfind("--", 0) != 0) {
      a.target = arg;
    } else {
      return false;
    }
  }
  return !a.target.empty();
}

int get(const Arguments& a) {
  HWND window = makeWindow("Fetching " + a.target);
  Win32MessagePump pump;
  WinInetHttp http(pump);
  const ULONGLONG started = GetTickCount64();
  const HttpResponse r = http.get({a.target, a.proxy, a.timeoutMs, a.maxBytes});
  const ULONGLONG took = GetTickCount64() - started;
  std::printf("%s\nstatus %d\nticks %d\nms %llu\nbody:\n",
              r.ok ? "ok" : ("error: " + r.error).c_str(), r.status, ticks, took);
  std::fwrite(r.body.data(), 1, r.body.size(), stdout);
  std::fflush(stdout);
  DestroyWindow(window);
  return r.ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Arguments a;
  if (argc < 3 || std::strcmp(argv[1], "get") != 0 || !parse(argc, argv, a)) {
    std::fputs(
        "usage: trovik-httpget get [--proxy host:port] [--user name] [--password text]"
        " [--timeout ms] <url>\n",
        stderr);
    return 2;
  }
  return get(a);
}
