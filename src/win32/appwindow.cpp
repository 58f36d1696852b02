#include "win32/appwindow.h"

#include <cwchar>

#include "core/product.h"

namespace trovik::win32 {

namespace {

// Both buffers hold up to 255 characters; a longer name or text is cut the
// same way for both copies, so they still match.
constexpr int kTextSize = 256;

struct CopySearch {
  HWND own = nullptr;
  wchar_t className[kTextSize] = {};
  wchar_t text[kTextSize] = {};
  int count = 0;
  HWND other = nullptr;
};

BOOL CALLBACK matchCopy(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<CopySearch*>(param);
  wchar_t buffer[kTextSize];
  // Every window is looked at, so that the count is complete.
  if (GetClassNameW(window, buffer, kTextSize) == 0 || std::wcscmp(buffer, search.className) != 0)
    return TRUE;
  if (GetWindowTextW(window, buffer, kTextSize) == 0 || std::wcscmp(buffer, search.text) != 0)
    return TRUE;
  ++search.count;
  if (window != search.own) search.other = window;
  return TRUE;
}

}  // namespace

ApplicationWindow::ApplicationWindow() : Window(nullptr) {}

void ApplicationWindow::create() {
  WNDCLASSEXW wc{};
  wc.lpszClassName = kClassName;
  registerClass(wc);
  // A tool window: should anything ever show it, it still gets no taskbar
  // button; the main window has that.
  Window::create(kClassName, product(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
}

bool bringOtherCopyForward(HWND ownApplicationWindow) {
  CopySearch search;
  search.own = ownApplicationWindow;
  GetWindowTextW(ownApplicationWindow, search.text, kTextSize);
  GetClassNameW(ownApplicationWindow, search.className, kTextSize);
  EnumWindows(&matchCopy, reinterpret_cast<LPARAM>(&search));
  if (search.count <= 1 || !search.other) return false;

  // The copy the user just started may take the foreground; it hands that
  // right on, so the other copy's own activation is not refused.
  DWORD otherProcess = 0;
  GetWindowThreadProcessId(search.other, &otherProcess);
  AllowSetForegroundWindow(otherProcess);

  HWND popup = GetLastActivePopup(search.other);
  BringWindowToTop(search.other);
  if (IsIconic(popup))
    ShowWindow(popup, SW_RESTORE);
  else
    SetForegroundWindow(popup);
  return true;
}

}  // namespace trovik::win32
