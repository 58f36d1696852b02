// trovik-probe: a program for Trovik to start in the end-to-end tests. It appends one line to a
// log saying how it was started, then shows a small window for a moment, as a started program
// would, so that a forced-order wait can see another window come to the front. A second is longer
// than one step of that wait, so the window is still there when the next step looks; a test of a
// forced-order group asks for longer (TROVIK_PROBE_SHOWN_MS), so that on a busy machine the window
// of one member is still in front when the next one starts, as a real program's would be, and
// only the next member's window ends the wait.
//
// The line, fields separated by tabs:
//   <start ms> <show command or -> <current directory> <command line after the program name>
// <start ms> is when the process was created, that is when Trovik started it, in milliseconds on
// the system clock: on a busy machine one probe may take longer to get to its log than the next
// one started after it, so the scripts order the lines by it.
// The log is the file TROVIK_PROBE_LOG names.

// clang-format off
#include <windows.h>
// clang-format on

#include <cstdlib>
#include <string>

namespace {

// What the log holds: UTF-8, so names in any script reach the test whole.
std::string utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string environment(const char* name) {
  char value[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

UINT shownMs() {
  const std::string ms = environment("TROVIK_PROBE_SHOWN_MS");
  return ms.empty() ? 1000 : static_cast<UINT>(std::strtoul(ms.c_str(), nullptr, 10));
}

// The command line without the program's own name, as the program received its arguments.
std::string arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return utf8(p);
}

std::string startMs() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  ULARGE_INTEGER t{};
  t.LowPart = created.dwLowDateTime;
  t.HighPart = created.dwHighDateTime;
  return std::to_string(t.QuadPart / 10000);
}

std::string currentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  const DWORD got = GetCurrentDirectoryW(n, dir.data());
  dir.resize(got < n ? got : 0);
  return utf8(dir.c_str());
}

// One write with the append right only: lines of probes started together never mix.
bool appendLine(const std::string& path, const std::string& line) {
  for (int attempt = 0; attempt < 50; ++attempt, Sleep(20)) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    if (ok && written == line.size()) return true;
  }
  return false;
}

LRESULT CALLBACK probeProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    DestroyWindow(window);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

void showForAMoment(int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = probeProcedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = "TrovikProbe";
  if (!RegisterClassA(&wc)) return;
  HWND window = CreateWindowExA(0, "TrovikProbe", "Trovik probe", WS_OVERLAPPEDWINDOW, 600, 400,
                                200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return;
  ShowWindow(window, show);
  SetTimer(window, 1, shownMs(), nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const bool given = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
  const std::string line = startMs() + "\t" +
                           (given ? std::to_string(startup.wShowWindow) : std::string("-")) + "\t" +
                           currentDirectory() + "\t" + arguments() + "\r\n";
  if (!appendLine(environment("TROVIK_PROBE_LOG"), line)) return 1;
  showForAMoment(given ? startup.wShowWindow : SW_SHOWNORMAL);
  return 0;
}
