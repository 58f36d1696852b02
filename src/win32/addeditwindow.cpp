#include "win32/addeditwindow.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/application.h"
#include "win32/droppedfiles.h"
#include "win32/input.h"

namespace trovik::win32 {

namespace {

enum ControlId : int {
  kLabel1 = 100,
  kItemLabel,
  kLabel2,
  kPath,
  kAutoclist,
  kCp,
  kCpp,
  kCppe,
  kLcase,
  kDe,
  kAc,
  kLfc,
  kBrowse,
  kMrl,
  kAfb,
  kRf,
  kEf,
  kCl,
  kFoc,
  kCtl,
  kAddlink,
  kCancel,
  kShape2,
  kRunnormal,
  kRunmin,
  kRunmax,
  kMr,
};

// A mouse message's point, from the client area of window to the screen.
POINT screenPoint(HWND window, LPARAM lParam) {
  POINT at = pointOf(lParam);
  ClientToScreen(window, &at);
  return at;
}

}  // namespace

AddEditWindow::AddEditWindow(Application& app)
    : PresenterWindow(app.ctx, app.AddEdit, app.AddEdit.AddEdit, kClassName,
                      app.hostapi.repaintAddEdit) {
  using K = CheckPeer::Kind;
  TAddEdit& d = d_;
  auto button = [&](ui::Button& model, int id, void (TAddEdit::*handler)(),
                    bool isDefault = false) {
    add<ButtonPeer>(model, id, isDefault).onClick = [this, handler] { (d_.*handler)(); };
  };
  auto check = [&](ui::Checkable& model, int id, K kind, void (TAddEdit::*handler)()) {
    CheckPeer& p = add<CheckPeer>(model, id, kind);
    if (handler) p.onClick = [this, handler] { (d_.*handler)(); };
  };
  // In tab order. The path field lies over the completion list, whose arrow
  // shows beside it, so the field is made first (it stays above).
  add<TextPeer>(d.Label1, kLabel1);
  add<EditPeer>(d.itemLabel, kItemLabel);
  button(d.cp, kCp, &TAddEdit::cpClick);
  button(d.cpp, kCpp, &TAddEdit::cppClick);
  button(d.cppe, kCppe, &TAddEdit::cppeClick);
  add<TextPeer>(d.Label2, kLabel2);
  check(d.lfc, kLfc, K::CheckBox, nullptr);
  path_ = &add<EditPeer>(d.path, kPath);
  path_->onChange = [this] { d_.pathChange(); };
  autoclist_ = &add<ListPeer>(d.autoclist, kAutoclist, ListPeer::Kind::DropDown);
  autoclist_->onSelect = [this] { d_.autoclistClick(); };
  button(d.lcase, kLcase, &TAddEdit::lcaseClick);
  button(d.de, kDe, &TAddEdit::deClick);
  button(d.ac, kAc, &TAddEdit::acClick);
  button(d.browse, kBrowse, &TAddEdit::browseClick);
  mrl_ = &add<ListPeer>(d.mrl, kMrl, ListPeer::Kind::MultiList);
  mrl_->onSelect = [this] { d_.mrlClick(); };
  mrl_->onDoubleClick = [this] { d_.mrlDblClick(); };
  button(d.afb, kAfb, &TAddEdit::afbClick);
  button(d.rf, kRf, &TAddEdit::rfClick);
  button(d.ef, kEf, &TAddEdit::efClick);
  button(d.cl, kCl, &TAddEdit::clClick);
  check(d.foc, kFoc, K::CheckBox, nullptr);
  button(d.ctl, kCtl, &TAddEdit::ctlClick);
  button(d.addlink, kAddlink, &TAddEdit::addlinkClick, true);
  button(d.cancel, kCancel, &TAddEdit::cancelClick);
  add<FormPeer>(d.Shape2, kShape2, L"STATIC", SS_ETCHEDHORZ);
  check(d.runnormal, kRunnormal, K::Radio, &TAddEdit::runnormalClick);
  check(d.runmin, kRunmin, K::Radio, &TAddEdit::runminClick);
  check(d.runmax, kRunmax, K::Radio, &TAddEdit::runmaxClick);
  check(d.mr, kMr, K::CheckBox, &TAddEdit::mrClick);
}

void AddEditWindow::created() {
  PresenterWindow::created();
  DragAcceptFiles(hwnd(), TRUE);
}

void AddEditWindow::cancelPressed() {
  guarded([&] { d_.cancelClick(); });
}

bool AddEditWindow::preTranslate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && path_ &&
      (msg.hwnd == path_->handle() || msg.hwnd == autoclist_->handle())) {
    bool used = false;
    guarded([&] { used = d_.pathEscape(); });
    if (used) return true;
  }
  if (msg.message == WM_LBUTTONUP && path_ && msg.hwnd == path_->handle())
    guarded([&] { d_.pathClick(); });  // the press has placed the cursor
  if (mrl_ && msg.hwnd == mrl_->handle() && pressOnMember(msg)) return true;
  return PresentedDialog::preTranslate(msg);
}

int AddEditWindow::memberAt(POINT screen) const {
  HWND list = mrl_->handle();
  POINT p = screen;
  ScreenToClient(list, &p);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  if (count == 0) return 0;
  // The nearest member; a point below it lies after it.
  const int nearest = LOWORD(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y)));
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(nearest), reinterpret_cast<LPARAM>(&item));
  return std::min(p.y >= item.bottom ? nearest + 1 : nearest, count);
}

bool AddEditWindow::pressOnMember(const MSG& msg) {
  if (msg.message != WM_LBUTTONDOWN || !DragReorder::mayStart(msg.wParam)) return false;
  const POINT at = screenPoint(msg.hwnd, msg.lParam);
  const int i = memberAt(at);
  if (i < 0 || i >= d_.mrl.count() || !d_.mrl.selected(i)) return false;
  // The selection stays as it is while the members are carried.
  dragFrom_ = i;
  SetFocus(mrl_->handle());
  drag_.press(hwnd(), at);
  return true;
}

void AddEditWindow::releaseDrag(POINT screen) {
  const bool dropped = drag_.release() == DragReorder::End::Drop;
  const int to = memberAt(screen);
  guarded([&] {
    if (dropped && to != dragFrom_) {
      d_.mrlDragDrop(to);
      return;
    }
    // A press and release on the same member is a click on it alone.
    for (int i = 0; i < d_.mrl.count(); ++i) d_.mrl.setSelected(i, i == dragFrom_);
    d_.mrl.setItemIndex(dragFrom_);
    d_.mrlClick();
  });
}

void AddEditWindow::filesDropped(HDROP handle) {
  const DroppedFiles drop(handle, hwnd());
  POINT at = drop.at;
  ClientToScreen(hwnd(), &at);
  // Only the member list takes files.
  RECT list{};
  GetWindowRect(mrl_->handle(), &list);
  if (!IsWindowVisible(mrl_->handle()) || !PtInRect(&list, at)) return;
  const int index = memberAt(at);
  guarded([&] { d_.mrlDropFiles(drop.paths, index); });
}

LRESULT AddEditWindow::dialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kAutoclist && HIWORD(wParam) == CBN_DROPDOWN) {
        guarded([&] { d_.autoclistDropDown(); });
        return 0;
      }
      break;
    case WM_DROPFILES:
      filesDropped(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      if (drag_.held()) drag_.move(screenPoint(hwnd(), lParam));
      break;
    case WM_LBUTTONUP:
      if (drag_.held()) {
        releaseDrag(screenPoint(hwnd(), lParam));
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      drag_.lost();
      break;
    case WM_ENDSESSION:
      // The dialog's open state ends with the session too.
      if (wParam) guarded([&] { d_.closeDialog(); });
      return 0;
    default:
      break;
  }
  return PresentedDialog::dialogMessage(msg, wParam, lParam);
}

}  // namespace trovik::win32
