#include "win32/window.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/product.h"
#include "win32/wide.h"

namespace trovik::win32 {

namespace {

// The windows of ours that exist now: the message loop looks its messages'
// targets up here. One thread makes and serves them all.
std::vector<Window*>& liveWindows() {
  static std::vector<Window*> windows;
  return windows;
}

}  // namespace

void showUnexpected(HWND owner, const char* what) noexcept {
  // Without an owner the box must still come to the front.
  const UINT style = MB_OK | MB_ICONERROR | (owner ? 0 : MB_SETFOREGROUND);
  // There are no interface texts yet to word it with.
  try {
    const std::string text = std::string("Unexpected error: ") + what;
    MessageBoxW(owner, wide(text).c_str(), wide(product()).c_str(), style);
  } catch (...) {
    // Not even the text could be built (out of memory): say what we can.
    MessageBoxW(owner, L"Unexpected error", L"Trovik", style);
  }
}

Window::~Window() {
  if (handle_) {
    // The derived part of this object is already gone: the messages that
    // destruction sends must not reach it.
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    unbind();
    hwnd_.reset();
  }
}

void Window::bind(HWND hwnd) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  handle_ = hwnd;
  hwnd_.reset(hwnd);
  liveWindows().push_back(this);
}

void Window::unbind() {
  std::erase(liveWindows(), this);
  handle_ = nullptr;
}

void Window::registerClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Window::procedure;
  if (!wc.hInstance) wc.hInstance = GetModuleHandleW(nullptr);
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error(std::string("Cannot register the window class ") +
                             narrow(wc.lpszClassName) + ": " + systemReason(GetLastError()));
}

void Window::create(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle,
                    int x, int y, int width, int height, HWND parent) {
  HWND h = CreateWindowExW(exStyle, className, wide(text).c_str(), style, x, y, width, height,
                           parent, nullptr, GetModuleHandleW(nullptr), this);
  if (!h) {
    const DWORD code = GetLastError();
    if (handle_) unbind();
    (void)hwnd_.release();  // the system has already thrown the half-made window away
    throw std::runtime_error(std::string("Cannot create the window ") + narrow(className) + ": " +
                             systemReason(code));
  }
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return defaultMessage(msg, wParam, lParam);
}

bool Window::preTranslateMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  const auto& windows = liveWindows();
  const auto found =
      std::find_if(windows.begin(), windows.end(), [&](Window* w) { return w->handle_ == root; });
  if (found == windows.end()) return false;
  Window& window = **found;
  bool used = false;
  window.guarded([&] { used = window.preTranslate(msg); });
  return used;
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->bind(hwnd);
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

  LRESULT result = 0;
  // A failed handler has already been reported; 0 is the neutral answer to
  // nearly every message, and refuses WM_NCCREATE, which is right then.
  self->guarded([&] { result = self->handleMessage(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    // The last message the window gets: from here on the object has none.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->unbind();
    (void)self->hwnd_.release();
  }
  return result;
}

}  // namespace trovik::win32
