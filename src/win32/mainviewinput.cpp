// The main window's own frame and the input that reaches the presenter
// besides the list: the title bar and its buttons, the QuickSwitch tabs, the
// Snapbar list's keys, the bottom row of the list modes and the tray icon.
#include "win32/mainview.h"
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

#include "mainwindow/form1.h"
#include "win32/input.h"

namespace trovik::win32 {

namespace {
bool contains(const ui::Rect& r, POINT at) {
  return at.x >= r.left && at.y >= r.top && at.x < r.left + r.width && at.y < r.top + r.height;
}
}  // namespace

void MainView::helpClicked() {
  guarded([&] { form_.Help.click(); });
}

void MainView::helpButtonClicked() {
  guarded([&] { form_.thelpClick(); });
}

void MainView::frameButtonClicked(ui::Control& button) {
  guarded([&] {
    if (&button == &form_.tminimize) form_.tminimizeClick(&form_.tminimize);
    if (&button == &form_.tmaximize) form_.tmaximizeClick();
    if (&button == &form_.tmlm) form_.qmClick(&form_.tmlm);
  });
}

bool MainView::frameButtonMouse(ui::Control& button, const MSG& msg) {
  // Every title-bar button has the system menu as its right-click menu.
  if (msg.message == WM_RBUTTONDOWN) return true;
  if (msg.message == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    menu_.popup(form_.tmenu, at);
    return true;
  }
  ui::Checkable* pressed = nullptr;
  for (ui::Checkable* b : {&form_.tclose, &form_.thelp, &form_.tmaximize, &form_.tminimize})
    if (&button == b) pressed = b;
  MouseButton mouse{};
  bool doubleClick = false;
  const bool down = mousePress(msg.message, mouse, doubleClick);
  const bool up = msg.message == WM_LBUTTONUP || msg.message == WM_MBUTTONUP;
  if (pressed && (down || up)) {
    if (up) mouse = msg.message == WM_LBUTTONUP ? MouseButton::Left : MouseButton::Middle;
    const POINT at = pointOf(msg.lParam);
    guarded([&] {
      form_.titleButtonMouse(*pressed, down, mouse, mouseShift(msg.wParam, doubleClick), at.x,
                             at.y);
    });
  }
  return false;  // the button still clicks
}

bool MainView::inTicon(POINT client) const {
  ui::Rect icon = form_.ticon.bounds();
  icon.left += form_.tbar.bounds().left;
  icon.top += form_.tbar.bounds().top;
  return form_.ticon.visible() && contains(icon, client);
}

bool MainView::titleBarMouse(UINT msg, WPARAM wParam, POINT at) {
  MouseButton button{};
  bool doubleClick = false;
  if (!mousePress(msg, button, doubleClick)) return false;
  const ShiftState shift = mouseShift(wParam, doubleClick);
  ui::Rect title = form_.ttitle.bounds();
  title.left += form_.tbar.bounds().left;
  title.top += form_.tbar.bounds().top;
  guarded([&] {
    if (inTicon(at)) {
      if (doubleClick)
        form_.ticonDblClick();
      else if (button == MouseButton::Left)
        form_.ticonClick();
    } else if (contains(title, at)) {
      if (doubleClick)
        form_.ttitleDblClick();
      else
        form_.ttitleMouseDown(button, shift, at.x - title.left, at.y - title.top);
    } else if (doubleClick) {
      form_.tbarDblClick();
    } else {
      const ui::Rect& bar = form_.tbar.bounds();
      form_.tbarMouseDown(button, shift, at.x - bar.left, at.y - bar.top);
    }
  });
  return true;
}

void MainView::keyboardSizing(bool move) {
  const WPARAM command = move ? SC_MOVE : SC_SIZE;
  PostMessageW(hwnd(), WM_SYSCOMMAND, command, static_cast<LPARAM>(command));
}

bool MainView::bottomRowKey(const MSG& msg) {
  if (msg.hwnd == ma_.handle() && msg.message == WM_RBUTTONUP) {
    POINT at{};
    GetCursorPos(&at);
    amountMenu(at);
    return true;
  }
  if (msg.hwnd == ma_.handle() && msg.message == WM_RBUTTONDOWN) return true;
  // The buttons' underlined letters: Alt+U and Alt+D while they are shown.
  if (msg.message == WM_SYSKEYDOWN && (msg.wParam == 'U' || msg.wParam == 'D')) {
    ui::Control& button = msg.wParam == 'U' ? form_.up : form_.down;
    if (!button.visible()) return false;
    guarded([&] { msg.wParam == 'U' ? form_.upClick() : form_.downClick(); });
    return true;
  }
  // Create is the default button while it is shown: Enter presses it.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && form_.cmrb.visible() &&
      IsChild(hwnd(), msg.hwnd) && msg.hwnd != ma_.handle()) {
    guarded([&] { form_.cmrbClick(); });
    return true;
  }
  return false;
}

void MainView::amountMenu(POINT screen) {
  enum : UINT { kCut = 1, kCopy, kPaste, kClear, kSelectAll };
  MenuOwner menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.get(), MF_STRING, kCut, L"Cut\tCtrl+X");
  AppendMenuW(menu.get(), MF_STRING, kCopy, L"Copy\tCtrl+C");
  AppendMenuW(menu.get(), MF_STRING, kPaste, L"Paste\tCtrl+V");
  AppendMenuW(menu.get(), MF_STRING, kClear, L"Clear");
  AppendMenuW(menu.get(), MF_STRING, kSelectAll, L"Select all\tCtrl+A");
  HWND edit = ma_.handle();
  SetFocus(edit);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                       screen.x, screen.y, 0, hwnd(), nullptr));
  switch (chosen) {
    case kCut:
      send(edit, WM_CUT);
      break;
    case kCopy:
      send(edit, WM_COPY);
      break;
    case kPaste:
      send(edit, WM_PASTE);
      break;
    case kClear:
      send(edit, WM_CLEAR);
      break;
    case kSelectAll:
      send(edit, EM_SETSEL, 0, -1);
      break;
    default:
      break;
  }
}

bool MainView::snapbarKey(MSG& msg) {
  HWND combo = mmlist_.handle();
  if (!combo || (msg.hwnd != combo && GetParent(msg.hwnd) != combo)) return false;
  const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (!down && msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) return false;
  // An extension may change the key or take it (0): the list gets what comes back.
  auto key = static_cast<std::uint16_t>(msg.wParam);
  const ShiftState shift = keyShift();
  guarded([&] {
    if (down)
      form_.mmlistKeyDown(key, shift);
    else
      form_.mmlistKeyUp(key, shift);
  });
  if (key == 0) return true;
  msg.wParam = key;
  return false;
}

void MainView::tabNotified(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case static_cast<UINT>(TCN_SELCHANGING):
      // A list that could not be saved keeps its tab: the change is vetoed.
      result = guarded([&] { form_.qswitchChanging(); }) ? FALSE : TRUE;
      break;
    case static_cast<UINT>(TCN_SELCHANGE):
      qswitch_.notify(header);
      guarded([&] { form_.qswitchChange(); });
      break;
    case static_cast<UINT>(NM_RCLICK): {
      POINT screen{};
      GetCursorPos(&screen);
      POINT client = screen;
      ScreenToClient(hwnd(), &client);
      guarded([&] { form_.qswitchMouseDown(MouseButton::Right, keyShift(), client.x, client.y); });
      // The bar's pop-up menu opens where the mouse is, when it was filled.
      menu_.popup(form_.fscmenu, screen);
      result = TRUE;
      break;
    }
    default:
      break;
  }
}

void MainView::trayClicked(LPARAM mouse) {
  guarded([&] {
    if (mouse == WM_LBUTTONUP) form_.SysTrayClick();
    if (mouse == WM_LBUTTONDBLCLK) form_.SysTrayDblClick();
    if (mouse == WM_RBUTTONUP) {
      POINT at{};
      GetCursorPos(&at);
      form_.SysTrayRightClick(MouseButton::Right, keyShift(), at.x, at.y);
    }
  });
}

}  // namespace trovik::win32
