#include "win32/tooltip.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "win32/wide.h"

namespace trovik::win32 {

void Tooltip::create(HWND owner) {
  owner_ = owner;
  window_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  active_ = true;
  hidePause_ = -1;
}

void Tooltip::setHint(HWND control, const std::string& hint) {
  if (!window_ || !control) return;
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32 version
  ti.hwnd = owner_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(window_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  if (hint.empty()) return;
  ti.uFlags = TTF_IDISHWND;
  std::wstring text = wide(hint);
  ti.lpszText = text.data();  // copied by the tip
  SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::relay(const MSG& msg) {
  if (!window_ || msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) return;
  MSG copy = msg;
  SendMessageW(window_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

void Tooltip::setActive(bool active) {
  if (!window_ || active == active_) return;
  active_ = active;
  SendMessageW(window_.get(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void Tooltip::setHidePause(int ms) {
  if (!window_ || ms == hidePause_) return;
  hidePause_ = ms;
  // The tip keeps the pause in 16 bits.
  SendMessageW(window_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP,
               MAKELPARAM(std::clamp(ms, 0, 32767), 0));
}

}  // namespace trovik::win32
