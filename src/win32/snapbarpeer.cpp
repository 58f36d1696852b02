#include "win32/snapbarpeer.h"

#include <algorithm>

#include "win32/framedwindow.h"
#include "win32/listbox.h"

namespace trovik::win32 {

using ui::Aspect;

void SnapbarPeer::create() {
  combo_ = window_.createControl(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id_);
  stale_ = true;
}

void SnapbarPeer::showAll() {
  show(Aspect::Items, -1);
  ControlPeer::showAll();
}

void SnapbarPeer::command(int code) {
  if (code != CBN_SELCHANGE) return;
  FromWindow fromWindow(*this);
  list_.setItemIndex(static_cast<int>(send(combo_.get(), CB_GETCURSEL)));
}

void SnapbarPeer::show(ui::Aspect aspect, int index) {
  if (!combo_) return;
  switch (aspect) {
    case Aspect::Items:
      stale_ = !list_.visible();
      if (!stale_) fillList(combo_.get(), list_, kComboBoxMessages);
      return;
    case Aspect::Visible:
      if (list_.visible() && stale_) {
        fillList(combo_.get(), list_, kComboBoxMessages);
        stale_ = false;
      }
      break;
    case Aspect::Bounds: {
      // A drop-down list's window height includes the list it drops down,
      // as many rows as the options ask for.
      const LRESULT item = send(combo_.get(), CB_GETITEMHEIGHT, 0);
      const ui::Rect& r = list_.bounds();
      place(combo_.get(), r,
            r.height + std::max(rows_, 1) * static_cast<int>(item > 0 ? item : 14) + 2);
      return;
    }
    case Aspect::ItemInserted:
    case Aspect::ItemDeleted:
    case Aspect::ItemChanged:
    case Aspect::ItemIndex:
    case Aspect::Selection:
      // Changes to items it does not hold yet wait for the fill.
      if (!stale_) showListChange(combo_.get(), list_, kComboBoxMessages, aspect, index);
      return;
    default:
      break;
  }
  ControlPeer::show(aspect, index);
}

}  // namespace trovik::win32
