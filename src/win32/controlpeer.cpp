#include "win32/controlpeer.h"

#include <algorithm>

#include "win32/framedwindow.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {
bool hasVisibleStyle(HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0; }
}  // namespace

void ControlPeer::detach() {
  if (model_.peer() == this) model_.setPeer(nullptr);
}

void ControlPeer::changed(ui::Control&, ui::Aspect aspect, int index) {
  if (!window_.hwnd()) return;
  if (fromWindow_ && (aspect == Aspect::ItemIndex || aspect == Aspect::Selection ||
                      aspect == Aspect::TabIndex || aspect == Aspect::Bounds))
    return;
  show(aspect, index);
}

void ControlPeer::showAll() {
  for (Aspect a : {Aspect::Bounds, Aspect::Enabled, Aspect::Hint, Aspect::Visible}) show(a, -1);
}

void ControlPeer::show(ui::Aspect aspect, int) {
  if (HWND h = handle()) mirrorCommon(h, aspect);
}

void ControlPeer::mirrorCommon(HWND h, ui::Aspect aspect) {
  switch (aspect) {
    case Aspect::Visible:
      ShowWindow(h, model_.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Aspect::Enabled:
      EnableWindow(h, model_.enabled());
      break;
    case Aspect::Bounds:
      place(h, model_.bounds(), model_.bounds().height);
      break;
    case Aspect::Hint:
      window_.tooltip().setHint(h, model_.hint());
      break;
    default:
      break;
  }
}

void ControlPeer::place(HWND h, const ui::Rect& r, int height) const {
  SetWindowPos(h, nullptr, r.left, r.top, std::max(r.width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool LabelFont::update(const ui::Control& label, bool bold, HFONT base) {
  const ui::Control defaults{"defaults"};
  const bool stock =
      label.fontName() == defaults.fontName() && label.fontSize() == defaults.fontSize();
  const std::string name = stock ? std::string() : label.fontName();
  const int size = stock ? 0 : label.fontSize();
  if (made_ && name_ == name && size_ == size) return false;
  made_ = true;
  name_ = name;
  size_ = size;
  if (stock && !bold) {
    font_.reset();  // the base font itself
    return true;
  }
  LOGFONTW lf{};
  GetObjectW(base, sizeof lf, &lf);
  if (!stock) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    lf.lfHeight = -MulDiv(size, dpi, 72);
    lf.lfWidth = 0;
    lstrcpynW(lf.lfFaceName, wide(name).c_str(), LF_FACESIZE);
  }
  if (bold) lf.lfWeight = FW_BOLD;
  font_.reset(CreateFontIndirectW(&lf));
  return true;
}

void LabelPeer::create() {
  label_ = window_.createControl(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, id_);
}

void LabelPeer::showAll() {
  show(Aspect::Caption, -1);
  ControlPeer::showAll();
}

void LabelPeer::show(ui::Aspect aspect, int index) {
  switch (aspect) {
    case Aspect::Bounds:
      ControlPeer::show(aspect, index);
      if (font_.update(model_, false, window_.guiFont()))
        send(label_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get(window_.guiFont())),
             TRUE);
      break;
    case Aspect::Caption:
      setWindowText(label_.get(), model_.caption());
      break;
    default:
      ControlPeer::show(aspect, index);
      break;
  }
}

RedrawOff::RedrawOff(HWND h) : h_(h), wasVisible_(hasVisibleStyle(h)) {
  send(h_, WM_SETREDRAW, FALSE);
}

RedrawOff::~RedrawOff() {
  send(h_, WM_SETREDRAW, TRUE);
  if (wasVisible_)
    InvalidateRect(h_, nullptr, TRUE);
  else if (hasVisibleStyle(h_))
    ShowWindow(h_, SW_HIDE);
}

}  // namespace trovik::win32
