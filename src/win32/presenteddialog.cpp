#include "win32/presenteddialog.h"

#include <algorithm>

namespace trovik::win32 {

void PresentedDialog::created() {
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
  return editCaret(h);
}

void PresentedDialog::setCaret(ui::Edit& edit, int position) {
  if (HWND h = handleOf(edit)) setEditCaret(h, position);
}

void PresentedDialog::dropDown(ui::ListBox& list, bool open, int rows) {
  // A hidden or disabled box stays shut.
  HWND h = handleOf(list);
  if (!h || (open && (!IsWindowVisible(h) || !IsWindowEnabled(h)))) return;
  if (open) {
    // The open list as tall as its items, up to rows of them: the box's
    // window is the closed box and the list below it.
    const int shown = std::max(1, std::min(rows, list.count()));
    const int item = static_cast<int>(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
    const ui::Rect& r = list.bounds();
    SetWindowPos(h, nullptr, 0, 0, r.width, r.height + shown * std::max(item, 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if ((SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0) != open)
    SendMessageW(h, CB_SHOWDROPDOWN, open, 0);
}

bool PresentedDialog::droppedDown(const ui::ListBox& list) const {
  HWND h = handleOf(list);
  return h && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void PresentedDialog::bringToFront() {
  if (!hwnd() || !IsWindowVisible(hwnd())) return;
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd());
}

}  // namespace trovik::win32
