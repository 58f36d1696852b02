#include "win32/trayicon.h"

#include <shellapi.h>

#include "win32/wide.h"

namespace trovik::win32 {

TrayIcon::TrayIcon(ui::Control& model, const std::string& tip) : model_(model), tip_(wide(tip)) {
  // The record holds 63 UTF-16 units; a longer tip is cut, never inside a
  // character that takes two.
  if (tip_.size() > 63) {
    tip_.resize(63);
    if (IS_HIGH_SURROGATE(tip_.back())) tip_.pop_back();
  }
}

TrayIcon::~TrayIcon() { detach(); }

void TrayIcon::attach(HWND window) {
  owner_ = window;
  model_.setPeer(this);
  update();
}

void TrayIcon::detach() {
  if (model_.peer() == this) model_.setPeer(nullptr);
  remove();
  owner_ = nullptr;
}

void TrayIcon::changed(ui::Control&, ui::Aspect aspect, int) {
  if (aspect == ui::Aspect::Visible) update();
}

void TrayIcon::update() {
  if (!owner_) return;
  if (!model_.visible())
    remove();
  else if (!shown_)
    shown_ = add();
}

void TrayIcon::readd() {
  if (shown_) add();
}

bool TrayIcon::add() {
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner_, GCLP_HICON));
  NOTIFYICONDATAW data{};
  // The first version of the record: every shell understands it.
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner_;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon;
  lstrcpynW(data.szTip, tip_.c_str(), 64);
  return Shell_NotifyIconW(NIM_ADD, &data) != 0;
}

void TrayIcon::remove() {
  if (!shown_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner_;
  data.uID = 0;
  Shell_NotifyIconW(NIM_DELETE, &data);
  shown_ = false;
}

}  // namespace trovik::win32
