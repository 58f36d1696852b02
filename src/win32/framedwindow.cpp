#include "win32/framedwindow.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "mainwindow/frame.h"
#include "win32/input.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {

// Above the numbers of any window's own controls.
constexpr int kCloseButtonId = 0x7F01;
constexpr int kHelpButtonId = 0x7F02;
constexpr int kMinimizeButtonId = 0x7F03;
constexpr int kMaximizeButtonId = 0x7F04;
constexpr int kSnapbarButtonId = 0x7F05;

// A model's colour: a system colour index (the presenters' title-bar and
// frame colours are), or else an RGB value.
bool isSystemColor(unsigned c) { return c <= COLOR_MENUBAR; }
COLORREF colorOf(unsigned c) {
  return isSystemColor(c) ? GetSysColor(static_cast<int>(c)) : static_cast<COLORREF>(c & 0xFFFFFF);
}
inline BOOL deleteBrush(HBRUSH h) { return DeleteObject(h); }
using BrushOwner = Owned<HBRUSH, deleteBrush>;
// The system's own brush for a system colour, else one made for the moment.
class ColorBrush {
 public:
  explicit ColorBrush(unsigned c)
      : made_(isSystemColor(c) ? nullptr : CreateSolidBrush(colorOf(c))),
        brush_(made_ ? made_.get() : GetSysColorBrush(static_cast<int>(c))) {}
  HBRUSH get() const { return brush_; }

 private:
  BrushOwner made_;
  HBRUSH brush_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND h) : h_(h), dc_(BeginPaint(h, &ps_)) {}
  ~PaintScope() { EndPaint(h_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND h_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace

// A button of the title bar, drawn as the system draws its caption buttons.
class FramedWindow::CaptionButton final : public ControlPeer {
 public:
  CaptionButton(FramedWindow& window, ui::Control& model, ui::Control& bar, int id, UINT look,
                UINT type = DFC_CAPTION)
      : ControlPeer(window, model), bar_(bar), id_(id), look_(look), type_(type) {}
  void create() override { button_ = window_.createControl(L"BUTTON", BS_OWNERDRAW, id_); }
  void reset() override { button_.reset(); }
  HWND handle() const override { return button_.get(); }
  int id() const { return id_; }
  ui::Control& model() { return model_; }
  void placeOnBar() { show(Aspect::Bounds, -1); }
  void draw(const DRAWITEMSTRUCT& item) const {
    UINT state = look_;
    // The maximise button shows how it would restore a maximised window.
    if (look_ == DFCS_CAPTIONMAX && IsZoomed(window_.hwnd())) state = DFCS_CAPTIONRESTORE;
    // The pressed picture: while the presenter says so, or the system does.
    const auto* pressed = dynamic_cast<const ui::Checkable*>(&model_);
    if ((item.itemState & ODS_SELECTED) || (pressed && pressed->checked())) state |= DFCS_PUSHED;
    if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
    RECT r = item.rcItem;
    if (look_ != DFCS_CAPTIONHELP) {
      DrawFrameControl(item.hDC, &r, type_, state);
      return;
    }
    // Not every system draws a help glyph: a button face with a question mark.
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (state & DFCS_PUSHED));
    if (state & DFCS_PUSHED) OffsetRect(&r, 1, 1);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(item.hDC, window_.titleFont_.get(window_.guiFont_));
    DrawTextW(item.hDC, L"?", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
    SetBkMode(item.hDC, oldMode);
  }

 private:
  void show(Aspect aspect, int index) override {
    if (!button_) return;
    if (aspect == Aspect::Checked) {
      InvalidateRect(button_.get(), nullptr, FALSE);
      return;
    }
    if (aspect != Aspect::Bounds) return ControlPeer::show(aspect, index);
    // Its place is given within the title bar.
    ui::Rect r = model_.bounds();
    r.left += bar_.bounds().left;
    r.top += bar_.bounds().top;
    place(button_.get(), r, r.height);
  }

  ui::Control& bar_;
  int id_;
  UINT look_;
  UINT type_;
  WindowOwner button_;
};

std::vector<FramedWindow::CaptionButton*> FramedWindow::buttons() const {
  std::vector<CaptionButton*> out;
  for (const auto* b : {&close_, &help_, &minimize_, &maximize_, &snapbar_})
    if (*b) out.push_back(b->get());
  return out;
}

FramedWindow::FramedWindow(Context& ctx, FrameModels models, bool sizable)
    : Window(&ctx),
      models_(models),
      sizable_(sizable),
      close_(std::make_unique<CaptionButton>(*this, models.tclose, models.tbar, kCloseButtonId,
                                             DFCS_CAPTIONCLOSE)),
      help_(models.thelp ? std::make_unique<CaptionButton>(*this, *models.thelp, models.tbar,
                                                           kHelpButtonId, DFCS_CAPTIONHELP)
                         : nullptr),
      minimize_(models.tminimize
                    ? std::make_unique<CaptionButton>(*this, *models.tminimize, models.tbar,
                                                      kMinimizeButtonId, DFCS_CAPTIONMIN)
                    : nullptr),
      maximize_(models.tmaximize
                    ? std::make_unique<CaptionButton>(*this, *models.tmaximize, models.tbar,
                                                      kMaximizeButtonId, DFCS_CAPTIONMAX)
                    : nullptr),
      // The Snapbar toggle folds the window to its drop-down list: an arrow down.
      snapbar_(models.tmlm ? std::make_unique<CaptionButton>(*this, *models.tmlm, models.tbar,
                                                             kSnapbarButtonId, DFCS_SCROLLCOMBOBOX,
                                                             DFC_SCROLL)
                           : nullptr),
      form_(models.form,
            [this](Aspect a) {
              if (!hwnd()) {
                if (a == Aspect::Visible && models_.form.visible()) shownBeforeCreated();
                return;
              }
              // The window's own moves and state changes are not sent back to it.
              if (!(formFromWindow_ && (a == Aspect::Bounds || a == Aspect::State))) formChanged(a);
            }),
      bar_(models.tbar, [this](Aspect a) { barChanged(a); }),
      title_(models.ttitle, [this](Aspect a) { titleChanged(a); }),
      border_(models.tborder, [this](Aspect) { invalidateFrame(); }) {
  // The form is followed from the start: showing it may be what makes the window.
  form_.attach();
}

FramedWindow::~FramedWindow() { detachFrame(); }

void FramedWindow::createFrame(const WNDCLASSEXW& windowClass, DWORD style, DWORD exStyle,
                               HWND owner) {
  registerClass(windowClass);
  guiFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  titleFont_.update(models_.ttitle, true, guiFont_);
  const ui::Rect& b = models_.form.bounds();
  Window::create(windowClass.lpszClassName, models_.form.caption(), style, exStyle, b.left, b.top,
                 b.width, b.height, owner);
  tooltip_.create(hwnd());
  for (CaptionButton* b : buttons()) b->create();
  for (ModelHook* hook : {&form_, &bar_, &title_, &border_}) hook->attach();
  for (CaptionButton* b : buttons()) b->attach();
  showFrame();
}

void FramedWindow::detachFrame() {
  for (ModelHook* hook : {&form_, &bar_, &title_, &border_}) hook->detach();
  for (CaptionButton* b : buttons()) b->detach();
}

void FramedWindow::showFrame() {
  for (Aspect a : {Aspect::Caption, Aspect::Bounds, Aspect::Enabled}) formChanged(a);
  for (CaptionButton* b : buttons()) b->showAll();
  titleChanged(Aspect::Caption);
}

WindowOwner FramedWindow::createControl(const wchar_t* className, DWORD style, int id) {
  WindowOwner h(CreateWindowExW(0, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                                hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr));
  if (!h)
    throw std::runtime_error(std::string("Cannot create the control ") + narrow(className) + ": " +
                             systemReason(GetLastError()));
  SendMessageW(h.get(), WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_), FALSE);
  return h;
}

void FramedWindow::invalidateFrame() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void FramedWindow::startDrag() {
  ReleaseCapture();
  SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

bool FramedWindow::inTitleBar(POINT at) const {
  const RECT bar = titleBarRect();
  return models_.tbar.visible() && PtInRect(&bar, at);
}

void FramedWindow::formChanged(ui::Aspect aspect) {
  const ui::Control& f = models_.form;
  switch (aspect) {
    case Aspect::Bounds: {
      const ui::Rect& b = f.bounds();
      SetWindowPos(hwnd(), nullptr, b.left, b.top, std::max(b.width, 0), std::max(b.height, 0),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Aspect::Caption:
      setWindowText(hwnd(), f.caption());
      break;
    case Aspect::Enabled:
      EnableWindow(hwnd(), f.enabled());
      break;
    case Aspect::Visible:
      ShowWindow(hwnd(), f.visible() ? SW_SHOW : SW_HIDE);
      break;
    default:
      break;
  }
}

void FramedWindow::titleChanged(ui::Aspect aspect) {
  if (!hwnd()) return;
  // The window's own text carries the title too: the taskbar shows it, and
  // other programs can read it.
  if (aspect == Aspect::Caption) setWindowText(hwnd(), models_.ttitle.caption());
  // A label's font changes with its bounds (the large-font adjustment).
  if (aspect == Aspect::Bounds) titleFont_.update(models_.ttitle, true, guiFont_);
  invalidateFrame();
}

void FramedWindow::barChanged(ui::Aspect aspect) {
  if (!hwnd()) return;
  if (aspect == Aspect::Bounds)
    for (CaptionButton* b : buttons()) b->placeOnBar();
  invalidateFrame();
}

void FramedWindow::boundsFromWindow() {
  if (IsIconic(hwnd())) return;  // a minimised window's place is not the form's
  RECT r{};
  GetWindowRect(hwnd(), &r);
  updateFormFromWindow([&] {
    models_.form.setBounds({r.left, r.top, r.right - r.left, r.bottom - r.top});
  });
}

bool FramedWindow::preTranslate(MSG& msg) {
  tooltip_.relay(msg);
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
    for (CaptionButton* b : buttons())
      if (msg.hwnd == b->handle() && frameButtonMouse(b->model(), msg)) return true;
  // F1 alone: with Ctrl held it is another command's key.
  if (help_ && msg.message == WM_KEYDOWN && msg.wParam == VK_F1 &&
      !(GetKeyState(VK_CONTROL) & 0x8000)) {
    helpClicked();
    return true;
  }
  return false;
}

LRESULT FramedWindow::hitTest(LPARAM lParam) {
  const LRESULT hit = defaultMessage(WM_NCHITTEST, 0, lParam);
  // The window has no system border: its own resize borders lie along the
  // edges of what the system takes for client area.
  if (hit != HTCLIENT || !sizable_) return hit;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  const POINT at = pointOf(lParam);
  // In the order of HitZone: the default answer, then corners, then edges.
  static constexpr LRESULT kAnswer[] = {HTCLIENT,   HTTOPLEFT,     HTBOTTOMLEFT,
                                        HTTOPRIGHT, HTBOTTOMRIGHT, HTLEFT,
                                        HTTOP,      HTRIGHT,       HTBOTTOM};
  const HitZone zone =
      resizeBorderAt(at.x - r.left, at.y - r.top, r.right - r.left, r.bottom - r.top);
  return kAnswer[static_cast<int>(zone)];
}

void FramedWindow::paint(HDC dc) {
  if (models_.tbar.visible()) {
    const RECT bar = titleBarRect();
    // The presenter's colours say whether the window is active.
    FillRect(dc, &bar, ColorBrush(models_.tbar.color()).get());
    if (models_.ttitle.visible()) {
      RECT title = toRect(models_.ttitle.bounds());
      OffsetRect(&title, bar.left, bar.top);  // the title lies within the bar
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      const COLORREF oldColor = SetTextColor(dc, colorOf(models_.ttitle.color()));
      HGDIOBJ oldFont = SelectObject(dc, titleFont_.get(guiFont_));
      drawText(dc, models_.ttitle.caption(), title,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      SelectObject(dc, oldFont);
      SetTextColor(dc, oldColor);
      SetBkMode(dc, oldMode);
    }
  }
  if (models_.ticon && models_.ticon->visible() && models_.tbar.visible()) {
    RECT icon = toRect(models_.ticon->bounds());
    const RECT bar = titleBarRect();
    OffsetRect(&icon, bar.left, bar.top);
    HICON small = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd(), GCLP_HICONSM));
    if (!small) small = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd(), GCLP_HICON));
    if (small)
      DrawIconEx(dc, icon.left, icon.top, small, icon.right - icon.left, icon.bottom - icon.top, 0,
                 nullptr, DI_NORMAL);
  }
  paintClient(dc);
  if (models_.tborder.visible()) {
    const RECT frame = toRect(models_.tborder.bounds());
    FrameRect(dc, &frame, ColorBrush(models_.tborder.color()).get());
  }
}

bool FramedWindow::buttonCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  if (id == close_->id()) {
    closeClicked();
    return true;
  }
  if (help_ && id == help_->id()) {
    helpButtonClicked();
    return true;
  }
  for (CaptionButton* b : {minimize_.get(), maximize_.get(), snapbar_.get()})
    if (b && id == b->id()) {
      frameButtonClicked(b->model());
      return true;
    }
  return false;
}

LRESULT FramedWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PaintScope p(hwnd());
      paint(p.dc());
      return 0;
    }
    case WM_NCHITTEST:
      return hitTest(lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
      // The title bar is the window's caption: unless the window wants the
      // press itself, a left press drags.
      if (inTitleBar(pointOf(lParam))) {
        if (titleBarMouse(msg, wParam, pointOf(lParam))) return 0;
        if (msg == WM_LBUTTONDOWN) {
          startDrag();
          return 0;
        }
      }
      break;
    case WM_MOVE:
    case WM_SIZE:
      boundsFromWindow();
      // The maximise button's picture follows the window's state.
      if (msg == WM_SIZE && maximize_ && maximize_->handle())
        InvalidateRect(maximize_->handle(), nullptr, FALSE);
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      for (const auto* button : buttons())
        if (static_cast<int>(item.CtlID) == button->id()) {
          button->draw(item);
          return TRUE;
        }
      break;
    }
    case WM_COMMAND:
      if (lParam && buttonCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
      break;
    case WM_DESTROY: {
      // The window's own controls go first, then the frame's.
      const LRESULT result = windowMessage(msg, wParam, lParam);
      detachFrame();
      for (CaptionButton* b : buttons()) b->reset();
      tooltip_.reset();
      return result;
    }
    default:
      break;
  }
  return windowMessage(msg, wParam, lParam);
}

}  // namespace trovik::win32
