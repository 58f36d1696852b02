#include "win32/dialogwindow.h"

#include <algorithm>

namespace trovik::win32 {

void DialogWindow::createDialog(const wchar_t* className, HWND owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  createFrame(wc, WS_POPUP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, owner);
  for (auto& peer : peers_) start(*peer);
}

void DialogWindow::shownBeforeCreated() {
  if (!className_) return;
  createDialog(className_, owner_);
  created();
  formChanged(ui::Aspect::Visible);
}

void DialogWindow::start(FormPeer& peer) {
  peer.create();
  peer.attach();
  peer.showAll();
}

FormPeer* DialogWindow::peerOf(const ui::Control& control) const {
  for (const auto& peer : peers_)
    if (&peer->model() == &control) return peer.get();
  return nullptr;
}

void DialogWindow::focus(const ui::Control& control) {
  if (FormPeer* peer = peerOf(control); peer && peer->handle()) SetFocus(peer->handle());
}

int DialogWindow::defaultButton() const {
  for (const auto& peer : peers_)
    if (const auto* button = dynamic_cast<const ButtonPeer*>(peer.get());
        button && button->isDefault() && IsWindowEnabled(button->handle()) &&
        IsWindowVisible(button->handle()))
      return button->id();
  return 0;
}

void DialogWindow::centre() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT r{};
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = area.left + std::max(0L, (area.right - area.left - w) / 2);
  const int y = area.top + std::max(0L, (area.bottom - area.top - h) / 2);
  SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::rememberFocus() {
  HWND f = GetFocus();
  if (f && IsChild(hwnd(), f)) focus_ = f;
}

void DialogWindow::restoreFocus() {
  HWND to = focus_;
  if (!to || !IsChild(hwnd(), to) || !IsWindowVisible(to) || !IsWindowEnabled(to))
    to = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  SetFocus(to ? to : hwnd());
}

void DialogWindow::formChanged(ui::Aspect aspect) {
  const bool wasVisible = hwnd() && IsWindowVisible(hwnd());
  // Each showing opens in the middle of the screen, in front, with the
  // keyboard in the dialog.
  if (aspect == ui::Aspect::Visible && !wasVisible) centre();
  FramedWindow::formChanged(aspect);
  // Each showing starts from the first control, or the one the presenter
  // chooses, not from where the last one ended.
  if (aspect == ui::Aspect::Visible && !IsWindowVisible(hwnd())) focus_ = nullptr;
  if (aspect != ui::Aspect::Visible || wasVisible || !IsWindowVisible(hwnd())) return;
  SetForegroundWindow(hwnd());
  HWND f = GetFocus();
  if (!f || !IsChild(hwnd(), f)) restoreFocus();
}

bool DialogWindow::preTranslate(MSG& msg) {
  if (FramedWindow::preTranslate(msg)) return true;
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

LRESULT DialogWindow::controlQuery(const COPYDATASTRUCT& data) const {
  if (data.dwData != kControlIdQuery || !data.lpData) return 0;
  std::string name(static_cast<const char*>(data.lpData), data.cbData);
  name.resize(std::min(name.find('\0'), name.size()));
  for (const auto& peer : peers_)
    if (peer->model().name() == name) return peer->id();
  return 0;
}

LRESULT DialogWindow::windowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDCANCEL) {
        guarded([&] { cancelPressed(); });
        return 0;
      }
      for (auto& peer : peers_)
        if (peer->id() == id) {
          bool used = false;
          guarded([&] { used = peer->command(HIWORD(wParam)); });
          if (used) return 0;
          break;
        }
      break;
    }
    case DM_GETDEFID:
      if (const int id = defaultButton()) return MAKELRESULT(id, DC_HASDEFID);
      return 0;
    case WM_ACTIVATE: {
      const bool active = LOWORD(wParam) != WA_INACTIVE;
      // The control that had the keyboard gets it back when the dialog is
      // active again: after a message box, or a dialog it opened, closes.
      const bool minimized = HIWORD(wParam) != 0;
      if (!active) rememberFocus();
      // Before the handlers, which may put it elsewhere.
      if (active && !minimized) restoreFocus();
      guarded([&] { activated(active); });
      if (active && !minimized) return 0;
      break;
    }
    case WM_CLOSE:
      // The window lives for the whole run: closing it is the close button's.
      guarded([&] { closeClicked(); });
      return 0;
    case WM_COPYDATA:
      return controlQuery(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_DESTROY:
      for (auto& peer : peers_) {
        peer->detach();
        peer->reset();
      }
      break;
    default:
      break;
  }
  return dialogMessage(msg, wParam, lParam);
}

}  // namespace trovik::win32
