#include "win32/presenteddialog.h"

namespace trovik::win32 {

void PresentedDialog::createOnTop(const char* className, HWND owner) {
  createDialog(className, owner);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PresentedDialog::formChanged(ui::Aspect aspect) {
  const bool closing = aspect == ui::Aspect::Visible && hwnd() && IsWindowVisible(hwnd());
  const bool wasActive = closing && GetActiveWindow() == hwnd();
  DialogWindow::formChanged(aspect);
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  if (wasActive && !IsWindowVisible(hwnd()) && owner && IsWindowVisible(owner))
    SetForegroundWindow(owner);
}

HWND PresentedDialog::handleOf(const ui::Control& control) const {
  const FormPeer* peer = peerOf(control);
  return peer ? peer->handle() : nullptr;
}

int PresentedDialog::caret(const ui::Edit& edit) const {
  HWND h = handleOf(edit);
  if (!h) return static_cast<int>(edit.text().size());
  DWORD start = 0;
  SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void PresentedDialog::setCaret(ui::Edit& edit, int position) {
  if (HWND h = handleOf(edit)) SendMessageA(h, EM_SETSEL, position, position);
}

void PresentedDialog::dropDown(ui::ListBox& list, bool open, int) {
  // The peer sizes the open list to its rows; a closed or disabled box stays shut.
  HWND h = handleOf(list);
  if (!h || (open && (!IsWindowVisible(h) || !IsWindowEnabled(h)))) return;
  if ((SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0) != 0) != open)
    SendMessageA(h, CB_SHOWDROPDOWN, open, 0);
}

bool PresentedDialog::droppedDown(const ui::ListBox& list) const {
  HWND h = handleOf(list);
  return h && SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void PresentedDialog::bringToFront() {
  if (!hwnd() || !IsWindowVisible(hwnd())) return;
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd());
}

}  // namespace trovik::win32
