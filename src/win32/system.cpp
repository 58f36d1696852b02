#include "win32/system.h"

#include <shellapi.h>

#include "win32/wide.h"

namespace trovik::win32 {

namespace {
const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

std::intptr_t Win32Shell::execute(WindowHandle owner, const std::string& file,
                                  const std::string& parameters, const std::string& directory,
                                  int show) {
  const std::wstring wideFile = wide(file), wideParameters = wide(parameters),
                     wideDirectory = wide(directory);
  HINSTANCE h = ShellExecuteW(reinterpret_cast<HWND>(owner), nullptr, orNull(wideFile),
                              orNull(wideParameters), orNull(wideDirectory), show);
  return reinterpret_cast<std::intptr_t>(h);
}

int Win32System::driveType(const std::string& root) {
  return static_cast<int>(GetDriveTypeW(wide(root).c_str()));
}

bool Win32System::setCurrentDirectory(const std::string& dir) {
  return SetCurrentDirectoryW(wide(dir).c_str()) != 0;
}

bool Win32System::exitWindows(unsigned flags) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool nt = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
  if (nt) {
    // Without the shutdown privilege the request is refused; failures here
    // simply lead to that refusal, which the caller reports.
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
      TOKEN_PRIVILEGES tp{};
      if (LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid)) {
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
      }
      CloseHandle(token);
    }
  }
  return ExitWindowsEx(flags, 0) != 0;
}

WindowHandle Win32WindowManager::foregroundWindow() {
  return reinterpret_cast<WindowHandle>(GetForegroundWindow());
}

bool Win32WindowManager::forceForegroundWindow(WindowHandle window) {
  HWND w = reinterpret_cast<HWND>(window);
  if (!IsWindow(w)) return false;
  if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
  if (GetForegroundWindow() == w) return true;

  // Windows 98/2000 and later refuse a plain SetForegroundWindow from a
  // program in the background: borrow the input of the window in front.
  HWND front = GetForegroundWindow();
  const DWORD frontThread = GetWindowThreadProcessId(front, nullptr);
  const DWORD ownThread = GetWindowThreadProcessId(w, nullptr);
  if (frontThread != ownThread && AttachThreadInput(ownThread, frontThread, TRUE)) {
    BringWindowToTop(w);
    SetForegroundWindow(w);
    AttachThreadInput(ownThread, frontThread, FALSE);
  }
  if (GetForegroundWindow() == w) return true;

  DWORD timeout = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringWindowToTop(w);
  SetForegroundWindow(w);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<std::uintptr_t>(timeout)),
                        SPIF_SENDCHANGE);
  return GetForegroundWindow() == w;
}

void Win32WindowManager::minimizeApplication() {
  if (main_) ShowWindow(main_, SW_MINIMIZE);
}

WindowManager::Screen Win32WindowManager::screen() {
  Screen s;
  s.width = GetSystemMetrics(SM_CXSCREEN);
  s.height = GetSystemMetrics(SM_CYSCREEN);
  if (HDC dc = GetDC(nullptr)) {
    s.dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
  }
  return s;
}

WindowManager::Area Win32WindowManager::workArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

bool Win32WindowManager::registerHotKey(int id, unsigned vk) {
  return main_ && RegisterHotKey(main_, id, 0, vk);
}

void Win32WindowManager::unregisterHotKey(int id) {
  if (main_) UnregisterHotKey(main_, id);
}

void Win32WindowManager::setToolWindow(bool tool) {
  if (!main_) return;
  LONG_PTR ex = GetWindowLongPtrW(main_, GWL_EXSTYLE);
  ex = tool ? (ex | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW
            : (ex | WS_EX_APPWINDOW) & ~WS_EX_TOOLWINDOW;
  // The taskbar notices a changed style only while the window is hidden.
  const bool shown = IsWindowVisible(main_);
  if (shown) ShowWindow(main_, SW_HIDE);
  SetWindowLongPtrW(main_, GWL_EXSTYLE, ex);
  if (shown) ShowWindow(main_, SW_SHOWNA);
}

}  // namespace trovik::win32
