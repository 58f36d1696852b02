// trovik-httpget: the end-to-end tests' way to Trovik's real HTTP client and update check under
// Wine, until the options window shows the "Updates" page.
//
//   trovik-httpget get [options] <url>
//     One request through the WinINet client. Prints "ok" or "error: <reason>", then
//     "status <n>", "ticks <n>" (timer messages handled while the request was waited for) and
//     "ms <n>" (how long it took), then "body:" and the body. Exit code 0 for ok, 1 for an error.
//   trovik-httpget check [options] <base directory>
//     The "Updates" page's check, as the options dialog runs it, on the real platform services:
//     real message boxes (owned by this program's window), the shell, and <base>\Trovik.ini,
//     whose Form/UpdateSite names the site. A second click on the button is made while the first
//     check waits; prints "second click ignored" when it started nothing. Then "done".
//   options: --proxy <host:port> --user <name> --password <text> --timeout <ms>
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
#include <functional>
#include <string>

#include "app/application.h"
#include "config/inifile.h"
#include "config/options.h"
#include "win32/folderdialog.h"
#include "win32/system.h"
#include "win32/win32platform.h"
#include "win32/wininethttp.h"

namespace {

using namespace trovik;
using namespace trovik::win32;

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 100;

int ticks = 0;
std::function<void()> onTick;

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimer) {
    ++ticks;
    if (onTick) onTick();
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The window that stands for the options dialog: it owns the message boxes,
// and its timer shows whether messages are handled while a request waits.
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

int check(const Arguments& a) {
  std::string base = a.target;
  if (base.back() != '\\') base += '\\';
  HWND window = makeWindow("Checking for updates from " + base);

  Win32FileSystem fs;
  Win32MessageBoxes boxes;
  Win32MessagePump pump;
  Win32ShellLinks shellLinks;
  Win32Clock clock;
  Win32Shell shell;
  Win32System system;
  Win32WindowManager windows;
  Win32Libraries libraries;
  Win32OpenDialog openDialog;
  Win32FolderDialog folderDialog;
  Platform platform{fs,     boxes,   pump,      shellLinks, clock,       shell,
                    system, windows, libraries, openDialog, folderDialog};
  WinInetHttp http(pump);
  Application app(platform, base);
  app.vars.realpath = base;
  app.vars.apppath = base;
  for (auto source : {Texts::Source::Creation, Texts::Source::FormText, Texts::Source::HelpText})
    app.texts.setDefaults(source);
  app.ctx.mainWindow = reinterpret_cast<WindowHandle>(window);
  app.vars.masterhandle = reinterpret_cast<WindowHandle>(window);
  app.OptionsForm.handle = reinterpret_cast<WindowHandle>(window);
  {
    TBigIniFile ini(fs, base + "Trovik.ini");
    app.vars.usite = readText(ini, Option::UpdateSite);
    ini.Free();
  }

  UpdateCheck& page = app.OptionsForm.updates;
  page.http = &http;
  page.timeoutMs = a.timeoutMs;
  if (!a.proxy.host.empty()) {
    page.proxyc.setChecked(true);
    page.proxycClick();
    page.pname.setText(a.proxy.host);
    page.pport.setText(a.proxy.port);
    page.pun.setText(a.proxy.user);
    page.ppw.setText(a.proxy.password);
  }

  // The user clicks again while the first check waits for the site.
  bool clickedAgain = false, ignored = false;
  onTick = [&] {
    if (clickedAgain || !page.checking()) return;
    clickedAgain = true;
    const int before = ticks;
    page.cudClick();
    ignored = page.checking() && ticks == before;
  };
  app.guarded([&] { page.cudClick(); });
  onTick = nullptr;
  if (ignored) std::printf("second click ignored\n");
  std::printf("done\n");
  std::fflush(stdout);
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Arguments a;
  if (argc < 3 || !parse(argc, argv, a)) {
    std::fputs(
        "usage: trovik-httpget get|check [--proxy host:port] [--user name] [--password text]"
        " [--timeout ms] <url|base directory>\n",
        stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "get") == 0) return get(a);
  if (std::strcmp(argv[1], "check") == 0) return check(a);
  return 2;
}
