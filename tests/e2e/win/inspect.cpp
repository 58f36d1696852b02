// The driver's commands that look at the program from the system's side: where its main window
// stands and how the system treats its frame, which window is in front, which common controls the
// running release was given (version 6 comes from the side-by-side store only when the manifest
// asks for it), and the end of the Windows session as the program sees it.

// clang-format off
#include <windows.h>
// clang-format on
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace {

using namespace driver;

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

// Says where the window stands and how it is shown, "left top width height state".
int sayPlace(HWND window, const Args& = {}) {
  RECT r{};
  GetWindowRect(window, &r);
  const char* state = !IsWindowVisible(window) ? "hidden"
                      : IsIconic(window)       ? "minimized"
                      : IsZoomed(window)       ? "maximized"
                                               : "normal";
  return say(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
             std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + " " +
             state);
}

int place(const Args& a) {
  HWND window = a.n == 5 ? FindWindowW(wide(a[4]).c_str(), nullptr) : mainWindow();
  if (!window) return fail("no window to place");
  if (!SetWindowPos(window, nullptr, a.number(0), a.number(1), a.number(2), a.number(3),
                    SWP_NOZORDER | SWP_NOACTIVATE))
    return fail("SetWindowPos failed");
  return sayPlace(window);
}

int minimize(HWND main, const Args& a) {
  if (std::strcmp(a[0], "minimize") != 0) return fail(std::string("unknown way to show: ") + a[0]);
  ShowWindow(main, SW_MINIMIZE);
  return sayPlace(main);
}

std::string describe(HWND window) {
  if (!window) return "nothing";
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  return std::string(className) + " \"" + windowText(window) + "\"";
}

int waitFront(DWORD ms) {
  HWND main = nullptr;
  const bool front = waitFor(ms, [&] {
    main = mainWindow();
    return main && GetForegroundWindow() == main && IsWindowVisible(main) && !IsIconic(main);
  });
  if (main) sayPlace(main);
  return front ? 0
               : fail("the main window is not in front; the foreground window is " +
                      describe(GetForegroundWindow()));
}

int taskbarStyle(HWND main, const Args&) {
  const LONG_PTR ex = GetWindowLongPtrA(main, GWL_EXSTYLE);
  std::string styles;
  if (ex & WS_EX_TOOLWINDOW) styles += "toolwindow ";
  if (ex & WS_EX_APPWINDOW) styles += "appwindow ";
  return say(styles.empty() ? "-" : styles.substr(0, styles.size() - 1));
}

int shortDate(int daysAgo) {
  SYSTEMTIME day{};
  GetLocalTime(&day);
  day.wHour = 12;  // midday: a day is the same day whatever the clock
  day.wMinute = day.wSecond = day.wMilliseconds = 0;
  ULARGE_INTEGER t{};  // laid out as a FILETIME
  SystemTimeToFileTime(&day, reinterpret_cast<FILETIME*>(&t));
  t.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 24ULL * 3600ULL * 10000000ULL;
  FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&t), &day);
  char text[128] = {};
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, sizeof text))
    return fail("GetDateFormatA failed");
  return say(text);
}

// The window's process, or null having said why.
Handle processOf(HWND window, DWORD access) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  Handle process(OpenProcess(access, FALSE, pid), &CloseHandle);
  if (!process) fail("cannot open the program's process");
  return process;
}

// The process is ended at once after WM_ENDSESSION, as the system may do.
int endSession(HWND main, const Args&) {
  Handle process = processOf(main, PROCESS_TERMINATE | SYNCHRONIZE);
  if (!process) return 1;
  const LRESULT mayEnd = send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  if (mayEnd == kNoAnswer) return fail("no answer to WM_QUERYENDSESSION");
  if (!mayEnd) return fail("the program refused the end of the session");
  if (send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF) == kNoAnswer && IsWindow(main))
    return fail("no answer to WM_ENDSESSION");
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), kSendTimeoutMs);
  return say("ended");
}

int modulePaths(HWND main, const Args& a) {
  Handle process = processOf(main, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  if (!process) return 1;
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  const BOOL listed = EnumProcessModulesEx(process.get(), modules.data(),
                                           static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                           &needed, LIST_MODULES_ALL);
  modules.resize(listed ? std::min<size_t>(needed / sizeof(HMODULE), modules.size()) : 0);
  const std::string wanted = std::string("\\") + a[0];
  for (HMODULE m : modules) {
    char file[MAX_PATH] = {};
    if (!GetModuleFileNameExA(process.get(), m, file, MAX_PATH)) continue;
    std::string path = file;
    if (path.size() >= wanted.size() &&
        lstrcmpiA(path.c_str() + path.size() - wanted.size(), wanted.c_str()) == 0)
      say(path);
  }
  return listed ? 0 : fail("cannot list the program's modules");
}

constexpr Command kCommands[] = {
    {"rect", "\"left top width height state\" of the main window", onMain<0, sayPlace>},
    {"place <x> <y> <w> <h> [class]",
     "the same after a move and resize as a drag of its frame makes (of a window of that class)",
     place},
    {"show <minimize>", "the same after a minimise from the taskbar button", onMain<0, minimize>},
    {"front", "the foreground window as 'class \"text\"'",
     [](const Args&) { return say(describe(GetForegroundWindow())); }},
    {"wait-front <ms>", "the main window shown and in front, then its place",
     [](const Args& a) { return waitFront(a.natural(0)); }},
    {"count <class> <title|->", "how many top-level windows, shown or hidden, have that class",
     [](const Args& a) { return say(std::to_string(topWindows(a[0], a.orNone(1)).size())); }},
    {"shown <class>", "shown when a window of that class is, else hidden or none",
     [](const Args& a) {
       return say(shownWindow(a[0]) ? "shown" : topWindows(a[0]).empty() ? "none" : "hidden");
     }},
    {"taskbar-style", "the main window's \"toolwindow\", \"appwindow\", both or \"-\"",
     onMain<0, taskbarStyle>},
    {"short-date <days-ago>", "that day in the user's short date format",
     [](const Args& a) { return shortDate(a.number(0)); }},
    {"end-session", "asked whether it may end, told that it ends, then ended at once",
     onMain<0, endSession>},
    {"module <name>", "the path of every module of that name in the program's process",
     onMain<0, modulePaths>},
};

}  // namespace

const std::span<const Command> driver::kInspectCommands = kCommands;
