#include "win32/tabbarpeer.h"

#include <commctrl.h>

#include "win32/framedwindow.h"
#include "win32/input.h"

namespace trovik::win32 {

using ui::Aspect;

void TabBarPeer::create() {
  control_ = window_.createControl(
      WC_TABCONTROLW,
      WS_TABSTOP | TCS_TABS | TCS_SINGLELINE | (tabs_.hotTrack() ? TCS_HOTTRACK : 0), id_);
  shown_.clear();
}

void TabBarPeer::reset() {
  control_.reset();
  shown_.clear();
}

void TabBarPeer::showAll() {
  show(Aspect::Tabs, -1);
  ControlPeer::showAll();
}

void TabBarPeer::notify(const NMHDR& header) {
  if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return;
  FromWindow fromWindow(*this);
  tabs_.setTabIndex(static_cast<int>(send(control_.get(), TCM_GETCURSEL)));
}

int TabBarPeer::tabAt(POINT client) const {
  if (!control_) return -1;
  TCHITTESTINFO hit{};
  hit.pt = client;
  MapWindowPoints(window_.hwnd(), control_.get(), &hit.pt, 1);
  return static_cast<int>(send(control_.get(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool TabBarPeer::pressed(const MSG& msg, MouseButton& button, ShiftState& shift,
                         POINT& client) const {
  bool doubleClick = false;
  if (!control_ || msg.hwnd != control_.get() || !mousePress(msg.message, button, doubleClick) ||
      button == MouseButton::Right)
    return false;
  shift = mouseShift(msg.wParam, doubleClick);
  client = pointOf(msg.lParam);
  MapWindowPoints(control_.get(), window_.hwnd(), &client, 1);
  return true;
}

void TabBarPeer::show(ui::Aspect aspect, int index) {
  if (!control_) return;
  switch (aspect) {
    case Aspect::Tabs:
      showTabs();
      break;
    case Aspect::TabIndex:
      if (send(control_.get(), TCM_GETCURSEL) != tabs_.tabIndex())
        send(control_.get(), TCM_SETCURSEL, static_cast<WPARAM>(tabs_.tabIndex()));
      break;
    default:
      ControlPeer::show(aspect, index);
      break;
  }
}

void TabBarPeer::showTabs() {
  HWND h = control_.get();
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  LONG_PTR want = style & ~static_cast<LONG_PTR>(TCS_HOTTRACK | TCS_FIXEDWIDTH);
  if (tabs_.hotTrack()) want |= TCS_HOTTRACK;
  if (tabs_.tabWidth() > 0) want |= TCS_FIXEDWIDTH;
  if (want != style) {
    SetWindowLongPtrW(h, GWL_STYLE, want);
    InvalidateRect(h, nullptr, TRUE);
  }

  // The tabs both have at the start stay; the rest is replaced.
  const std::vector<std::string>& tabs = tabs_.tabs();
  size_t keep = 0;
  while (keep < shown_.size() && keep < tabs.size() && shown_[keep] == tabs[keep]) ++keep;
  if (keep < shown_.size() || keep < tabs.size()) {
    RedrawOff quiet(h);
    if (keep == 0) {
      send(h, TCM_DELETEALLITEMS);
    } else {
      for (size_t i = shown_.size(); i-- > keep;) send(h, TCM_DELETEITEM, static_cast<WPARAM>(i));
    }
    shown_.resize(keep);
    for (size_t i = keep; i < tabs.size(); ++i) {
      insertTab(h, static_cast<int>(i), tabs[i]);
      shown_.push_back(tabs[i]);
    }
  }
  if (tabs_.tabWidth() > 0) {
    RECT r{};
    const int height =
        send(h, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) ? r.bottom - r.top : 0;
    send(h, TCM_SETITEMSIZE, 0, MAKELPARAM(tabs_.tabWidth(), height));
  }
  if (send(h, TCM_GETCURSEL) != tabs_.tabIndex())
    send(h, TCM_SETCURSEL, static_cast<WPARAM>(tabs_.tabIndex()));
}

}  // namespace trovik::win32
