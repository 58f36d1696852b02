#include "win32/formpeers.h"

#include "win32/framedwindow.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {

// The rows a drop-down list opens to.
constexpr int kDropDownRows = 8;

}  // namespace

void FormPeer::create() { h_ = window_.createControl(class_, style_, id_); }

void FormPeer::showAll() {
  show(Aspect::Caption, -1);
  ControlPeer::showAll();
}

void FormPeer::show(ui::Aspect aspect, int index) {
  if (!h_) return;
  if (aspect == Aspect::Caption) {
    setWindowText(h_.get(), model_.caption());
    return;
  }
  ControlPeer::show(aspect, index);
}

bool EditPeer::command(int code) {
  if (code != EN_CHANGE) return false;
  const std::string now = windowText(handle());
  if (now == edit_.text()) return true;  // the model's own text coming back
  edit_.setText(now);
  call(onChange);
  return true;
}

int EditPeer::caret() const { return editCaret(handle()); }

void EditPeer::show(ui::Aspect aspect, int index) {
  // Setting the same text again would put the caret back at the start.
  if (aspect == Aspect::Caption && handle() && windowText(handle()) == edit_.text()) return;
  FormPeer::show(aspect, index);
}

bool ButtonPeer::command(int code) {
  if (code != BN_CLICKED) return false;
  call(onClick);
  return true;
}

bool CheckPeer::command(int code) {
  if (code != BN_CLICKED) return false;
  check_.setChecked(kind_ == Kind::Radio || !check_.checked());
  call(onClick);
  return true;
}

void CheckPeer::showAll() {
  show(Aspect::Checked, -1);
  FormPeer::showAll();
}

void CheckPeer::show(ui::Aspect aspect, int index) {
  if (aspect == Aspect::Checked && handle())
    send(handle(), BM_SETCHECK, check_.checked() ? BST_CHECKED : BST_UNCHECKED);
  else
    FormPeer::show(aspect, index);
}

ListPeer::ListPeer(FramedWindow& window, ui::ListBox& model, int id, Kind kind)
    : FormPeer(window, model, id, kind == Kind::DropDown ? L"COMBOBOX" : L"LISTBOX",
               WS_TABSTOP | WS_VSCROLL |
                   (kind == Kind::DropDown ? CBS_DROPDOWNLIST
                                           : WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                                                 (kind == Kind::MultiList ? LBS_EXTENDEDSEL : 0))),
      list_(model),
      kind_(kind) {}

bool ListPeer::command(int code) {
  const bool dropDown = kind_ == Kind::DropDown;
  if (code == (dropDown ? CBN_SELCHANGE : LBN_SELCHANGE)) {
    FromWindow quiet(*this);
    const LRESULT current =
        send(handle(), kind_ == Kind::MultiList ? LB_GETCARETINDEX : messages().getCurrent);
    list_.setItemIndex(current < 0 ? -1 : static_cast<int>(current));
    if (kind_ == Kind::MultiList)
      for (int i = 0; i < list_.count(); ++i)
        list_.setSelected(i, send(handle(), LB_GETSEL, static_cast<WPARAM>(i)) > 0);
    call(onSelect);
    return true;
  }
  if (!dropDown && code == LBN_DBLCLK) {
    call(onDoubleClick);
    return true;
  }
  return false;
}

void ListPeer::showAll() {
  show(Aspect::Items, -1);
  ControlPeer::showAll();
}

void ListPeer::show(ui::Aspect aspect, int index) {
  if (!handle()) return;
  if (aspect == Aspect::MultiSelect || aspect == Aspect::Caption) return;
  if (showListChange(handle(), list_, messages(), aspect, index)) return;
  if (aspect == Aspect::Bounds && kind_ == Kind::DropDown) {
    // The model's height is the closed box's; the window's takes the open list too.
    const ui::Rect& r = model_.bounds();
    place(handle(), r, r.height * (kDropDownRows + 1));
    return;
  }
  ControlPeer::show(aspect, index);
}

}  // namespace trovik::win32
