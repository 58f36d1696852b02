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

std::string placeOf(HWND main) {
  RECT r{};
  GetWindowRect(main, &r);
  const char* state = !IsWindowVisible(main) ? "hidden"
                      : IsIconic(main)       ? "minimized"
                      : IsZoomed(main)       ? "maximized"
                                             : "normal";
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + " " + state;
}

int placeWindow(const char* className, const int* to, const char* how) {
  HWND window = className ? FindWindowA(className, nullptr) : mainWindow();
  if (!window) return fail("no window to place");
  if (to &&
      !SetWindowPos(window, nullptr, to[0], to[1], to[2], to[3], SWP_NOZORDER | SWP_NOACTIVATE))
    return fail("SetWindowPos failed");
  if (how) {
    const char* names[] = {"minimize", "maximize", "restore"};
    const int commands[] = {SW_MINIMIZE, SW_MAXIMIZE, SW_RESTORE};
    int i = 0;
    while (i < 3 && std::strcmp(how, names[i]) != 0) ++i;
    if (i == 3) return fail(std::string("unknown way to show: ") + how);
    ShowWindow(window, commands[i]);
  }
  return say(placeOf(window));
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
  if (main) say(placeOf(main));
  return front ? 0
               : fail("the main window is not in front; the foreground window is " +
                      describe(GetForegroundWindow()));
}

int countWindows(const char* className, const char* title) {
  const char* wanted = std::strcmp(title, "-") == 0 ? nullptr : title;
  int count = 0;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, wanted)) != nullptr;) ++count;
  return say(std::to_string(count));
}

int shown(const char* className) {
  bool any = false;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr)); any = true)
    if (IsWindowVisible(w)) return say("shown"), 0;
  return say(any ? "hidden" : "none");
}

int taskbarStyle() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
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

// The main window's process, or null having said why.
Handle mainProcess(DWORD access) {
  DWORD pid = 0;
  const HWND main = mainWindow();
  if (main) GetWindowThreadProcessId(main, &pid);
  Handle process(pid ? OpenProcess(access, FALSE, pid) : nullptr, &CloseHandle);
  if (!process) fail("cannot open the program's process");
  return process;
}

// The process is ended at once after WM_ENDSESSION, as the system may do.
int endSession() {
  const HWND main = mainWindow();
  Handle process = mainProcess(PROCESS_TERMINATE | SYNCHRONIZE);
  if (!process) return 1;
  LRESULT mayEnd = 0;
  if (!send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, mayEnd))
    return fail("no answer to WM_QUERYENDSESSION");
  if (!mayEnd) return fail("the program refused the end of the session");
  LRESULT ignored = 0;
  if (!send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, ignored) && IsWindow(main))
    return fail("no answer to WM_ENDSESSION");
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), kSendTimeoutMs);
  return say("ended");
}

int modulePaths(const char* name) {
  Handle process = mainProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
  if (!process) return 1;
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  const BOOL listed = EnumProcessModulesEx(process.get(), modules.data(),
                                           static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                           &needed, LIST_MODULES_ALL);
  modules.resize(listed ? std::min<size_t>(needed / sizeof(HMODULE), modules.size()) : 0);
  const std::string wanted = std::string("\\") + name;
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
    {"rect", "\"left top width height state\" of the main window",
     [](const Args&) { return placeWindow(nullptr, nullptr, nullptr); }},
    {"place <x> <y> <w> <h> [class]",
     "the same after a move and resize as a drag of its frame makes (of a window of that class)",
     [](const Args& a) {
       const int to[4] = {a.number(0), a.number(1), a.number(2), a.number(3)};
       return placeWindow(a.n == 5 ? a[4] : nullptr, to, nullptr);
     }},
    {"show <minimize|maximize|restore>", "the same after the taskbar button or system menu",
     [](const Args& a) { return placeWindow(nullptr, nullptr, a[0]); }},
    {"front", "the foreground window as 'class \"text\"'",
     [](const Args&) { return say(describe(GetForegroundWindow())), 0; }},
    {"wait-front <ms>", "the main window shown and in front, then its place",
     [](const Args& a) { return waitFront(a.ms(0)); }},
    {"count <class> <title|->", "how many top-level windows, shown or hidden, have that class",
     [](const Args& a) { return countWindows(a[0], a[1]); }},
    {"shown <class>", "shown when a window of that class is, else hidden or none",
     [](const Args& a) { return shown(a[0]); }},
    {"taskbar-style", "the main window's \"toolwindow\", \"appwindow\", both or \"-\"",
     [](const Args&) { return taskbarStyle(); }},
    {"short-date <days-ago>", "that day in the user's short date format",
     [](const Args& a) { return shortDate(a.number(0)); }},
    {"end-session", "asked whether it may end, told that it ends, then ended at once",
     [](const Args&) { return endSession(); }},
    {"module <name>", "the path of every module of that name in the program's process",
     [](const Args& a) { return modulePaths(a[0]); }},
};

}  // namespace

const std::span<const Command> driver::kInspectCommands = kCommands;
