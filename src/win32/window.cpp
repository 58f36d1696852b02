#include "win32/window.h"

#include <exception>
#include <stdexcept>

namespace trovik::win32 {

namespace {

void showUnexpected(HWND owner, const char* what) noexcept {
  try {
    const std::string text = std::string("Unexpected error: ") + what;
    MessageBoxA(owner, text.c_str(), "Trovik", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Not even the text could be built (out of memory): say what we can.
    MessageBoxA(owner, "Unexpected error", "Trovik", MB_OK | MB_ICONERROR);
  }
}

}  // namespace

Window::~Window() {
  if (handle_) {
    // The derived part of this object is already gone: the messages that
    // destruction sends must not reach it.
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
    hwnd_.reset();
  }
}

void Window::registerClass(WNDCLASSEXA wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Window::procedure;
  if (!wc.hInstance) wc.hInstance = GetModuleHandleA(nullptr);
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error(std::string("Cannot register the window class ") + wc.lpszClassName +
                             ": " + systemReason(GetLastError()));
}

void Window::create(const char* className, const char* text, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent) {
  HWND h = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), this);
  if (!h) {
    const DWORD code = GetLastError();
    handle_ = nullptr;
    (void)hwnd_.release();  // the system has already thrown the half-made window away
    throw std::runtime_error(std::string("Cannot create the window ") + className + ": " +
                             systemReason(code));
  }
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return defaultMessage(msg, wParam, lParam);
}

void Window::reportCurrentException() noexcept {
  try {
    throw;
  } catch (const IoError& e) {
    try {
      if (reportIo_)
        reportIo_(e);
      else
        showUnexpected(handle_, e.what());
    } catch (...) {
      showUnexpected(handle_, e.what());
    }
  } catch (const std::exception& e) {
    showUnexpected(handle_, e.what());
  } catch (...) {
    showUnexpected(handle_, "an unknown exception");
  }
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->handle_ = hwnd;
    self->hwnd_.reset(hwnd);
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);

  LRESULT result = 0;
  // A failed handler has already been reported; 0 is the neutral answer to
  // nearly every message, and refuses WM_NCCREATE, which is right then.
  self->guarded([&] { result = self->handleMessage(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    // The last message the window gets: from here on the object has none.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    (void)self->hwnd_.release();
  }
  return result;
}

}  // namespace trovik::win32
