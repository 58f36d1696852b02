#pragma once
// The base of every window the program creates: one window procedure binds
// the HWND to its C++ object and hands each message to handleMessage, behind
// a barrier that no exception crosses, since unwinding through the system's
// own frames is undefined.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/filesystem.h"
#include "win32/win32platform.h"

namespace trovik::win32 {

// Tells the user that a file could not be read or written (the application's
// reportIoError once there is one).
using IoErrorReporter = std::function<void(const IoError&)>;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  // The window from WM_NCCREATE until WM_NCDESTROY, null outside that.
  HWND hwnd() const { return handle_; }

  // Runs work; an exception is shown to the user and stops there. Returns
  // false when work did not finish.
  template <class Work>
  bool guarded(Work&& work) noexcept {
    try {
      work();
      return true;
    } catch (...) {
      reportCurrentException();
      return false;
    }
  }

 protected:
  explicit Window(IoErrorReporter reportIo) : reportIo_(std::move(reportIo)) {}

  // Registers a window class whose windows are served by this base. Only the
  // first registration of a name counts.
  static void registerClass(WNDCLASSEXA wc);
  // Creates the window for this object; throws std::runtime_error when the
  // system refuses.
  void create(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
              int width, int height, HWND parent = nullptr);
  // Destroys the window now (its WM_DESTROY still reaches handleMessage).
  void destroy() { hwnd_.reset(); }

  virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT defaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd(), msg, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void reportCurrentException() noexcept;

  IoErrorReporter reportIo_;
  HWND handle_ = nullptr;  // stays readable while the owner below destroys it
  WindowOwner hwnd_;
};

}  // namespace trovik::win32
