#include "win32/trayicon.h"

#include <shellapi.h>

namespace trovik::win32 {

TrayIcon::TrayIcon(ui::Control& model, const char* tip) : model_(model) {
  // A tip is at most 62 characters; a longer one is cut.
  lstrcpynA(tip_, tip, 63);
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
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(owner_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(owner_, GCLP_HICON));
  NOTIFYICONDATAA data{};
  // The first version of the record: every shell understands it.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner_;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon;
  lstrcpynA(data.szTip, tip_, sizeof data.szTip);
  return Shell_NotifyIconA(NIM_ADD, &data) != 0;
}

void TrayIcon::remove() {
  if (!shown_) return;
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner_;
  data.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &data);
  shown_ = false;
}

}  // namespace trovik::win32
