#pragma once
// The base of every window the program creates: one window procedure binds
// the HWND to its C++ object and hands each message to handleMessage, behind
// the program's error barrier, since unwinding through the system's own
// frames is undefined.
#include <windows.h>

#include "core/barrier.h"
#include "win32/win32platform.h"

namespace trovik::win32 {

// The last resort for a failure that happens before the application exists
// to report it: a plain error box.
void showUnexpected(HWND owner, const char* what) noexcept;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  // The window from WM_NCCREATE until WM_NCDESTROY, null outside that.
  HWND hwnd() const { return handle_; }

  // Runs work on behalf of this window, which owns the boxes it shows; a
  // failure is shown to the user and stops here. Returns false when work did
  // not finish.
  template <class Work>
  bool guarded(Work&& work) noexcept {
    if (ctx_) return barrier(*ctx_, reinterpret_cast<WindowHandle>(handle_), work);
    try {
      work();
      return true;
    } catch (const std::exception& e) {
      showUnexpected(handle_, e.what());
    } catch (...) {
      showUnexpected(handle_, "an unknown exception");
    }
    return false;
  }

  // The message loop calls it for every message before dispatching it: the
  // window of ours that the message's target belongs to sees it first (its
  // shortcut keys, the keys and presses it looks at before its controls).
  // True when the message was used up.
  static bool preTranslateMessage(MSG& msg);

 protected:
  // ctx: the application's, which failures are reported through; null for a
  // window made before the application exists.
  explicit Window(Context* ctx) : ctx_(ctx) {}

  // Registers a window class whose windows are served by this base. Only the
  // first registration of a name counts.
  static void registerClass(WNDCLASSEXW wc);
  // Creates the window for this object; throws std::runtime_error when the
  // system refuses.
  void create(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle, int x,
              int y, int width, int height, HWND parent = nullptr);
  // Destroys the window now (its WM_DESTROY still reaches handleMessage).
  void destroy() { hwnd_.reset(); }

  virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual bool preTranslate(MSG&) { return false; }
  LRESULT defaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd(), msg, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void bind(HWND hwnd);
  void unbind();

  Context* ctx_;
  HWND handle_ = nullptr;  // stays readable while the owner below destroys it
  WindowOwner hwnd_;
};

}  // namespace trovik::win32
