// trovik-probe: a program for Trovik to start in the end-to-end tests. It appends one line to the
// log TROVIK_PROBE_LOG names, saying how it was started, then shows a small window for a moment
// (TROVIK_PROBE_SHOWN_MS, default a second: longer than one step of a forced-order wait), as a
// started program would, so that a forced-order wait can see another window come to the front.
//
// The line, fields separated by tabs, in UTF-8:
//   <start ms> <show command or -> <current directory> <command line after the program name>
// <start ms> is when Trovik created the process: on a busy machine one probe may reach its log
// later than the next one, so the scripts order the lines by it.

// clang-format off
#include <windows.h>
// clang-format on

#include <cstdlib>
#include <cwchar>
#include <string>

#include "win32/wide.h"

namespace {

using trovik::win32::narrow;

std::string environment(const char* name) {
  char value[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n < sizeof value ? std::string(value, n) : std::string();
}

// The command line without the program's own name, as the program received its arguments.
std::string arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    p = wcschr(p + 1, L'"');
    p = p ? p + 1 : L"";
  }
  while (*p && *p != L' ' && *p != L'\t') ++p;
  while (*p == L' ' || *p == L'\t') ++p;
  return narrow(p);
}

std::string line(const std::string& show) {
  FILETIME created{}, unused{};
  GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
  const ULONGLONG ticks = (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
  wchar_t dir[MAX_PATH * 2] = {};
  GetCurrentDirectoryW(MAX_PATH * 2, dir);
  return std::to_string(ticks / 10000) + "\t" + show + "\t" + narrow(dir) + "\t" + arguments() +
         "\r\n";
}

// One write with the append right only: lines of probes started together never mix.
bool append(const std::string& path, const std::string& text) {
  for (int attempt = 0; attempt < 50; ++attempt, Sleep(20)) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    if (ok && written == text.size()) return true;
  }
  return false;
}

LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) DestroyWindow(window);
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const bool given = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
  if (!append(environment("TROVIK_PROBE_LOG"),
              line(given ? std::to_string(startup.wShowWindow) : "-")))
    return 1;
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = "TrovikProbe";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "TrovikProbe", "Trovik probe", WS_OVERLAPPEDWINDOW, 600, 400,
                                200, 100, nullptr, nullptr, instance, nullptr);
  if (!window) return 0;
  ShowWindow(window, given ? startup.wShowWindow : SW_SHOWNORMAL);
  const std::string ms = environment("TROVIK_PROBE_SHOWN_MS");
  SetTimer(window, 1, ms.empty() ? 1000 : static_cast<UINT>(std::strtoul(ms.c_str(), nullptr, 10)),
           nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
