#include "win32/mainview.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame.h"
#include "win32/resources/resource.h"

namespace trovik::win32 {

namespace {

using ui::Aspect;

// The messages that do the same thing to a list box and to a combo box.
struct ListMessages {
  UINT reset, initStorage, add, insert, remove, setCurrent, getCurrent;
};
constexpr ListMessages kListBox{LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING, LB_INSERTSTRING,
                                LB_DELETESTRING, LB_SETCURSEL,   LB_GETCURSEL};
constexpr ListMessages kComboBox{CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING, CB_INSERTSTRING,
                                 CB_DELETESTRING, CB_SETCURSEL,   CB_GETCURSEL};

LRESULT send(HWND h, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(h, msg, wParam, lParam);
}
LPARAM text(const std::string& s) { return reinterpret_cast<LPARAM>(s.c_str()); }

bool isComboBox(HWND h) {
  char name[16] = {};
  GetClassNameA(h, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}
bool isMultiSelect(HWND h) {
  return !isComboBox(h) && (GetWindowLongPtrA(h, GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
}
bool hasVisibleStyle(HWND h) { return (GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) != 0; }

// Marks a model as being updated from its own window for as long as it lives.
class EchoGuard {
 public:
  EchoGuard(const ui::Control*& slot, const ui::Control& control) : slot_(slot), old_(slot) {
    slot_ = &control;
  }
  ~EchoGuard() { slot_ = old_; }
  EchoGuard(const EchoGuard&) = delete;
  EchoGuard& operator=(const EchoGuard&) = delete;

 private:
  const ui::Control*& slot_;
  const ui::Control* old_;
};

// A control repaints and rescales once at the end of a batch instead of once
// per item; a hidden one needs this as much (a combo box re-measures its list
// on every addition). Where redraw is left to the default window procedure,
// switching it back on marks the window visible, so a hidden control is put
// back the way it was.
class RedrawOff {
 public:
  explicit RedrawOff(HWND h) : h_(h), wasVisible_(hasVisibleStyle(h)) {
    send(h_, WM_SETREDRAW, FALSE);
  }
  ~RedrawOff() {
    send(h_, WM_SETREDRAW, TRUE);
    if (wasVisible_)
      InvalidateRect(h_, nullptr, TRUE);
    else if (hasVisibleStyle(h_))
      ShowWindow(h_, SW_HIDE);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND h_;
  bool wasVisible_;
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

RECT toRect(const ui::Rect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

// A model's colour: a system colour index (the presenter's title-bar and
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

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

// The shell's block of dropped files is released when its reader is done.
void finishDrop(HDROP h) { DragFinish(h); }
using DropOwner = Owned<HDROP, finishDrop>;

// The menu items whose commands have a fixed number.
struct NamedCommand {
  const char* name;
  int id;
};
constexpr NamedCommand kNamedCommands[] = {
    {"runexit", 201},
    {"droplaunch", 202},
    {"droplaunchexit", 203},
    {"RunMinimize", 204},
    {"DropLaunchMinimize", 205},
    {"Opendirectory", 206},
    {"swindows", 211},
    {"rwindows", 212},
    {"lwindows", 213},
    {"import", 221},
    {"export", 222},
    {"Linkname", 231},
    {"Filename", 232},
    {"Filepath", 233},
    {"Filetype", 234},
    {"ReverseSort", 235},
};

// The modifier keys held while a key message is handled, as the system has
// them for that message.
ShiftState keyShift() {
  ShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

// The keys and buttons a mouse message says were held.
ShiftState mouseShift(WPARAM keys, bool doubleClick) {
  ShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;  // the message does not carry Alt
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (doubleClick) s |= ssDouble;
  return s;
}

// The button of a press, and whether it was the second press of a double click.
bool mousePress(UINT msg, MouseButton& button, bool& doubleClick) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = MouseButton::Left;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = MouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = MouseButton::Middle;
      break;
    default:
      return false;
  }
  doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  return true;
}

POINT pointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool sameKeyName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// A shortcut as a menu shows it ("F3", "Ctrl+D", "Shift+Del") as the key and
// modifiers of an accelerator; false when the text names no key we know.
bool parseShortcut(const std::string& text, ACCEL& out) {
  BYTE flags = FVIRTKEY;
  std::string key = text;
  for (size_t plus; (plus = key.find('+')) != std::string::npos && plus + 1 < key.size();) {
    const std::string modifier = key.substr(0, plus);
    if (sameKeyName(modifier, "Ctrl"))
      flags |= FCONTROL;
    else if (sameKeyName(modifier, "Shift"))
      flags |= FSHIFT;
    else if (sameKeyName(modifier, "Alt"))
      flags |= FALT;
    else
      return false;
    key = key.substr(plus + 1);
  }
  WORD vk = 0;
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
    vk = static_cast<WORD>(std::toupper(static_cast<unsigned char>(key[0])));
  } else if (key.size() >= 2 && (key[0] == 'F' || key[0] == 'f') &&
             key.find_first_not_of("0123456789", 1) == std::string::npos) {
    const int n = std::stoi(key.substr(1));
    if (n < 1 || n > 24) return false;
    vk = static_cast<WORD>(VK_F1 + n - 1);
  } else {
    static constexpr struct {
      const char* name;
      WORD vk;
    } kNamed[] = {
        {"Ins", VK_INSERT},  {"Del", VK_DELETE}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},
        {"Space", VK_SPACE}, {"Tab", VK_TAB},    {"BkSp", VK_BACK},    {"Backspace", VK_BACK},
        {"Home", VK_HOME},   {"End", VK_END},    {"PgUp", VK_PRIOR},   {"PgDn", VK_NEXT},
        {"Up", VK_UP},       {"Down", VK_DOWN},  {"Left", VK_LEFT},    {"Right", VK_RIGHT}};
    for (const auto& named : kNamed)
      if (sameKeyName(key, named.name)) vk = named.vk;
    if (!vk) return false;
  }
  out.fVirt = flags;
  out.key = vk;
  return true;
}

}  // namespace

// ---- a control's window procedure, placed in front ----------------------

void Subclass::attach(HWND window, SUBCLASSPROC procedure, DWORD_PTR data) {
  reset();
  if (!SetWindowSubclass(window, procedure, 0, data))
    throw std::runtime_error("Cannot follow the input of a control: " +
                             systemReason(GetLastError()));
  window_ = window;
  procedure_ = procedure;
}

void Subclass::reset() {
  // A window already destroyed took its subclass with it.
  if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, procedure_, 0);
  window_ = nullptr;
  procedure_ = nullptr;
}

// ---- the notification-area icon ------------------------------------------

void TrayIcon::show(HWND window, HICON icon, const char* tip) {
  if (window_) return;
  icon_ = icon;
  lstrcpynA(tip_, tip, sizeof tip_);
  window_ = window;
  if (!add()) window_ = nullptr;
}

bool TrayIcon::add() {
  NOTIFYICONDATAA data{};
  // The first version of the record: every shell understands it.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  lstrcpynA(data.szTip, tip_, sizeof data.szTip);
  return Shell_NotifyIconA(NIM_ADD, &data) != 0;
}

void TrayIcon::readd() {
  if (window_) add();
}

void TrayIcon::hide() {
  if (!window_) return;
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window_;
  data.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &data);
  window_ = nullptr;
}

// ---- the main window -----------------------------------------------------

MainView::MainView(Application& app)
    : Window([&app](const IoError& e) { app.ctx.reportIoError(e); }), app_(app), form_(app.form1) {}

MainView::~MainView() {
  detach();
  tray_.hide();
  form_.attachView(nullptr);
  destroy();
}

void MainView::create(HWND owner) {
  WNDCLASSEXA wc{};
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  // The small icon (title bar, tray) is taken from the same group by the system.
  wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TROVIK));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  registerClass(wc);

  guiFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  labelFont(form_.ttitle, true, titleFont_);

  // No caption and no sizing border: the title bar and the frame are the
  // program's own. The system menu and minimise box keep the taskbar button
  // able to minimise and restore the window. Owned by the hidden application
  // window, it asks for its taskbar button itself.
  const ui::Rect& b = form_.Form1.bounds();
  Window::create(kClassName, kTitle, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU,
                 WS_EX_APPWINDOW, b.left, b.top, b.width, b.height, owner);

  tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr));
  shownList1_ = form_.List1.multiSelect() ? 1 : 0;
  makeList1(form_.List1.multiSelect());
  link1_.reset(makeChild("LISTBOX", LBS_NOINTEGRALHEIGHT, kLink1Id));
  qswitch_.reset(makeChild(
      WC_TABCONTROLA,
      WS_TABSTOP | TCS_TABS | TCS_SINGLELINE | (form_.qswitch.hotTrack() ? TCS_HOTTRACK : 0),
      kQswitchId));
  mmlist_.reset(makeChild("COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kMmlistId));
  tclose_.reset(makeChild("BUTTON", BS_OWNERDRAW, kTcloseId));
  status_.reset(makeChild("STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatusId));
  // Files dragged from the shell onto any part of the window, the list
  // included, arrive here: the controls do not take them themselves.
  DragAcceptFiles(hwnd(), TRUE);

  form_.attachView(this);
  attach();
  syncAll();
}

void MainView::close() {
  if (!hwnd()) return;
  if (sessionEnding_) {
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  // Posted, not sent: the close button that asks for it is still inside
  // its own click when the window would go.
  PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void MainView::show() {
  // The window already stands where the presenter put it (the remembered
  // place or the centre of the screen).
  shown_ = true;
  guarded([&] { form_.FormResize(); });
  if (!hwnd() || !form_.Form1.visible()) return;
  applyHints();
  ShowWindow(hwnd(), showCommand());
  UpdateWindow(hwnd());
  SetForegroundWindow(hwnd());
  restoreFocus();
}

HWND MainView::makeChild(const char* className, DWORD style, int id) {
  HWND h = CreateWindowExA(0, className, "", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  if (!h)
    throw std::runtime_error(std::string("Cannot create the control ") + className + ": " +
                             systemReason(GetLastError()));
  send(h, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont_), FALSE);
  return h;
}

void MainView::makeList1(bool multiSelect) {
  SubclassedList& slot = lists1_[multiSelect ? 1 : 0];
  if (slot.window) return;
  DWORD style = WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  // Extended selection: a click picks one item, Ctrl+click adds or removes
  // one, as a fly multirun picks its links while Ctrl is held.
  if (multiSelect) style |= LBS_EXTENDEDSEL;
  const bool shown = (multiSelect ? 1 : 0) == shownList1_;
  slot.window.reset(makeChild("LISTBOX", style, shown ? kList1Id : kSpareList1Id));
  slot.subclass.attach(slot.window.get(), &MainView::list1Procedure,
                       reinterpret_cast<DWORD_PTR>(this));
  // Below the Snapbar list, which takes the list's place when it is shown.
  SetWindowPos(slot.window.get(), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainView::switchSelectionMode() {
  const int want = form_.List1.multiSelect() ? 1 : 0;
  HWND old = list1();
  if (want == shownList1_ || !old) return;
  // The user sees the same list in the other mode: the same items, current
  // item, selection and scroll position, and the keyboard stays in the list.
  const bool hadFocus = GetFocus() == old;
  const LRESULT top = send(old, LB_GETTOPINDEX);
  makeList1(want == 1);
  shownList1_ = want;
  HWND now = list1();
  SetWindowLongPtrA(old, GWLP_ID, kSpareList1Id);
  SetWindowLongPtrA(now, GWLP_ID, kList1Id);
  addTool(old, {});
  for (Aspect a : {Aspect::Bounds, Aspect::Enabled, Aspect::Hint})
    listChanged(form_.List1, now, a, -1);
  fillList(form_.List1, now);
  if (top > 0) send(now, LB_SETTOPINDEX, static_cast<WPARAM>(top));
  listChanged(form_.List1, now, Aspect::Visible, -1);
  // The focus moves before the old list is hidden, which would otherwise
  // hand it to the window.
  if (hadFocus) SetFocus(now);
  if (lastFocus_ == old) lastFocus_ = now;
  // It keeps its items until the next switch fills it anew: the switch may
  // come from within its own handling of a key.
  ShowWindow(old, SW_HIDE);
}

void MainView::addTool(HWND control, const std::string& hint) {
  if (!tooltip_ || !control) return;
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every comctl32 version
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  send(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  if (hint.empty()) return;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.lpszText = const_cast<char*>(hint.c_str());  // copied by the tooltip
  send(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

namespace {
std::array<ui::Control*, 12> modelsOf(TForm1& f) {
  return {&f.Form1, &f.tbar,   &f.ttitle,  &f.tclose, &f.tborder, &f.List1,
          &f.link1, &f.mmlist, &f.qswitch, &f.status, &f.SysTray, &f.delab};
}
}  // namespace

void MainView::attach() {
  for (ui::Control* c : modelsOf(form_)) c->setPeer(this);
  attachMenu(form_.splitmenu);
  menuStale_ = true;
  attached_ = true;
}

void MainView::detach() {
  for (ui::Control* c : modelsOf(form_))
    if (c->peer() == this) c->setPeer(nullptr);
  detachMenu(form_.splitmenu);
  attached_ = false;
}

void MainView::syncAll() {
  formChanged(Aspect::Caption);
  formChanged(Aspect::Bounds);
  formChanged(Aspect::Enabled);
  constexpr std::array kChildAspects{Aspect::Bounds, Aspect::Enabled, Aspect::Hint,
                                     Aspect::Visible};
  for (auto [model, h] : {std::pair{&form_.List1, list1()},
                          {&form_.link1, link1_.get()},
                          {&form_.mmlist, mmlist_.get()}}) {
    listChanged(*model, h, Aspect::Items, -1);
    for (Aspect a : kChildAspects) listChanged(*model, h, a, -1);
  }
  tabsChanged(Aspect::Tabs);
  for (Aspect a : kChildAspects) {
    tabsChanged(a);
    changed(form_.tclose, a, -1);
    changed(form_.status, a, -1);
  }
  changed(form_.status, Aspect::Caption, -1);
  changed(form_.ttitle, Aspect::Caption, -1);
  trayChanged();
  invalidateFrame();
}

HWND MainView::windowOf(const ui::Control& model) const {
  if (&model == &form_.List1) return list1();
  if (&model == &form_.link1) return link1_.get();
  if (&model == &form_.mmlist) return mmlist_.get();
  if (&model == &form_.qswitch) return qswitch_.get();
  if (&model == &form_.tclose) return tclose_.get();
  if (&model == &form_.status) return status_.get();
  return nullptr;
}

void MainView::changed(ui::Control& control, ui::Aspect aspect, int index) {
  if (!hwnd()) return;
  if (&control == echo_ &&
      (aspect == Aspect::ItemIndex || aspect == Aspect::Selection || aspect == Aspect::TabIndex ||
       aspect == Aspect::Bounds || aspect == Aspect::State))
    return;
  if (&control == &form_.Form1) return formChanged(aspect);
  if (&control == &form_.SysTray) {
    if (aspect == Aspect::Visible) trayChanged();
    return;
  }
  if (auto* item = dynamic_cast<ui::MenuItem*>(&control)) return menuChanged(*item, aspect);
  if (&control == &form_.ttitle && aspect == Aspect::Caption) {
    // The window's own text carries the title with its mode tags too: the
    // taskbar shows the active mode, and other programs can read it.
    SetWindowTextA(hwnd(), form_.ttitle.caption().c_str());
  }
  if (&control == &form_.tbar || &control == &form_.ttitle || &control == &form_.tborder ||
      &control == &form_.delab) {
    // Painted by the window itself; the close button sits on the title bar.
    if (&control == &form_.tbar && aspect == Aspect::Bounds)
      placeChild(form_.tclose, tclose_.get());
    // A label's font changes with its bounds (the large-font adjustment).
    if (&control == &form_.ttitle && aspect == Aspect::Bounds)
      labelFont(form_.ttitle, true, titleFont_);
    invalidateFrame();
    return;
  }
  if (&control == &form_.qswitch) return tabsChanged(aspect);
  HWND h = windowOf(control);
  if (!h) return;
  if (auto* list = dynamic_cast<ui::ListBox*>(&control))
    return listChanged(*list, h, aspect, index);
  switch (aspect) {
    case Aspect::Bounds:
      placeChild(control, h);
      if (&control == &form_.status && labelFont(form_.status, false, statusFont_))
        send(h, WM_SETFONT,
             reinterpret_cast<WPARAM>(statusFont_.font ? statusFont_.font.get() : guiFont_), TRUE);
      break;
    case Aspect::Caption:
      SetWindowTextA(h, control.caption().c_str());
      break;
    default:
      mirrorCommon(control, h, aspect);
      break;
  }
}

void MainView::mirrorCommon(const ui::Control& model, HWND h, ui::Aspect aspect) {
  using ui::Aspect;
  switch (aspect) {
    case Aspect::Visible:
      ShowWindow(h, model.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Aspect::Enabled:
      EnableWindow(h, model.enabled());
      break;
    case Aspect::Bounds:
      placeChild(model, h);
      break;
    case Aspect::Hint:
      addTool(h, model.hint());
      break;
    default:
      break;
  }
}

void MainView::formChanged(ui::Aspect aspect) {
  const ui::Control& f = form_.Form1;
  switch (aspect) {
    case Aspect::Bounds: {
      const ui::Rect& b = f.bounds();
      SetWindowPos(hwnd(), nullptr, b.left, b.top, std::max(b.width, 0), std::max(b.height, 0),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Aspect::Caption:
      SetWindowTextA(hwnd(), f.caption().c_str());
      break;
    case Aspect::Enabled:
      EnableWindow(hwnd(), f.enabled());
      break;
    case Aspect::Visible:
      // Before the first show the window stays hidden whatever the model
      // says: WinMain shows it once the program is ready.
      if (shown_) ShowWindow(hwnd(), f.visible() ? showCommand() : SW_HIDE);
      break;
    case Aspect::State:
      applyWindowState();
      break;
    default:
      break;
  }
}

int MainView::showCommand() const {
  switch (form_.windowState) {
    case TForm1::WindowState::Maximized:
      return SW_SHOWMAXIMIZED;
    case TForm1::WindowState::Minimized:
      return SW_SHOWMINIMIZED;
    case TForm1::WindowState::Normal:
      break;
  }
  return IsZoomed(hwnd()) || IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW;
}

void MainView::applyWindowState() {
  // Before the first show, and while the window is hidden, the state waits
  // for the window to be shown.
  if (!shown_ || !IsWindowVisible(hwnd())) return;
  switch (form_.windowState) {
    case TForm1::WindowState::Maximized:
      if (!IsZoomed(hwnd())) ShowWindow(hwnd(), SW_MAXIMIZE);
      break;
    case TForm1::WindowState::Minimized:
      if (!IsIconic(hwnd())) ShowWindow(hwnd(), SW_MINIMIZE);
      break;
    case TForm1::WindowState::Normal:
      if (IsZoomed(hwnd()) || IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
      break;
  }
}

// The user (or the system) maximised, minimised or restored the window.
void MainView::stateFromWindow(WPARAM sizeType) {
  if (!shown_) return;  // before the first show the presenter's state is the truth
  TForm1::WindowState state = TForm1::WindowState::Normal;
  if (sizeType == SIZE_MAXIMIZED) state = TForm1::WindowState::Maximized;
  if (sizeType == SIZE_MINIMIZED) state = TForm1::WindowState::Minimized;
  if (state == form_.windowState) return;
  EchoGuard g(echo_, form_.Form1);
  form_.setWindowState(state);
}

LRESULT MainView::hitTest(LPARAM lParam) {
  const LRESULT hit = defaultMessage(WM_NCHITTEST, 0, lParam);
  // The window has no system border: its own resize borders lie along the
  // edges of what the system takes for client area.
  if (hit != HTCLIENT) return hit;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  const int x = static_cast<short>(LOWORD(lParam)) - r.left;
  const int y = static_cast<short>(HIWORD(lParam)) - r.top;
  // In the order of HitZone: the default answer, then corners, then edges.
  static constexpr LRESULT kAnswer[] = {HTCLIENT,   HTTOPLEFT,     HTBOTTOMLEFT,
                                        HTTOPRIGHT, HTBOTTOMRIGHT, HTLEFT,
                                        HTTOP,      HTRIGHT,       HTBOTTOM};
  const HitZone zone = resizeBorderAt(x, y, r.right - r.left, r.bottom - r.top);
  if (zone != HitZone::Default) return kAnswer[static_cast<int>(zone)];
  return hit;
}

void MainView::keepOnDesktop(WINDOWPOS& pos) {
  if (!app_.vars.keepod) return;
  if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE)) return;
  // A minimised window is parked off the screen by the system; that is not a
  // place on the desktop.
  if (IsIconic(hwnd())) return;
  // What the change leaves alone is taken from where the window stands now.
  RECT now{};
  GetWindowRect(hwnd(), &now);
  Placement p{pos.x, pos.y, pos.cx, pos.cy};
  if (pos.flags & SWP_NOMOVE) p.x = now.left, p.y = now.top;
  if (pos.flags & SWP_NOSIZE) p.width = now.right - now.left, p.height = now.bottom - now.top;
  const WindowManager::Area work = app_.ctx.platform.windows.workArea();
  const Placement kept = trovik::keepOnDesktop(p, work);
  if (kept.x != p.x || kept.y != p.y) {
    pos.x = kept.x;
    pos.y = kept.y;
    pos.flags &= ~SWP_NOMOVE;
  }
  if (kept.width != p.width || kept.height != p.height) {
    pos.cx = kept.width;
    pos.cy = kept.height;
    pos.flags &= ~SWP_NOSIZE;
  }
}

void MainView::trackingSize(MINMAXINFO& info) const {
  const TrackingSize t = trovik::trackingSize(form_.mmlist.visible(), form_.qswitch.visible(),
                                              GetSystemMetrics(SM_CYSCREEN));
  info.ptMinTrackSize.x = t.minWidth;
  info.ptMinTrackSize.y = t.minHeight;
  info.ptMaxTrackSize.y = t.maxHeight;
}

void MainView::sessionEnds(bool ending) {
  sessionEnding_ = ending;
  guarded([&] { form_.wmendsession(ending); });
  sessionEnding_ = false;
}

void MainView::focus(ui::Control& control) {
  HWND target = windowOf(control);
  if (!target) return;
  // The keyboard goes there whenever the window is next active; at once only
  // when it is active now, or a message box in front would lose it.
  lastFocus_ = target;
  if (hwnd() && GetActiveWindow() == hwnd() && IsWindowVisible(target) && IsWindowEnabled(target))
    SetFocus(target);
}

void MainView::applyHints() {
  if (!tooltip_) return;
  if (hintsShown_ != form_.showHints) {
    hintsShown_ = form_.showHints;
    send(tooltip_.get(), TTM_ACTIVATE, hintsShown_ ? TRUE : FALSE);
  }
  if (hintHidePause_ != form_.hintHidePause) {
    hintHidePause_ = form_.hintHidePause;
    // The tool-tip keeps the pause in 16 bits.
    send(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP,
         MAKELPARAM(std::clamp(hintHidePause_, 0, 32767), 0));
  }
}

void MainView::trayChanged() {
  if (!form_.SysTray.visible()) {
    tray_.hide();
    return;
  }
  HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd(), GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd(), GCLP_HICON));
  tray_.show(hwnd(), icon, kTitle);
}

void MainView::trayClicked(LPARAM mouse) {
  if (mouse != WM_LBUTTONUP && mouse != WM_LBUTTONDBLCLK) return;
  // Back from the notification area to the front.
  if (!IsWindowVisible(hwnd())) form_.Form1.setVisible(true);
  // The click went to the shell's window, which has the foreground now.
  app_.ctx.platform.windows.forceForegroundWindow(reinterpret_cast<WindowHandle>(hwnd()));
}

// Labels keep the stock font until the presenter gives one another font (the
// large-font adjustment does); from then on they show the presenter's font.
// Returns whether the label's font changed.
bool MainView::labelFont(const ui::Control& label, bool bold, LabelFont& slot) {
  const ui::Control defaults{"defaults"};
  const bool stock =
      label.fontName() == defaults.fontName() && label.fontSize() == defaults.fontSize();
  const std::string name = stock ? std::string() : label.fontName();
  const int size = stock ? 0 : label.fontSize();
  if (slot.made && slot.name == name && slot.size == size) return false;
  slot.made = true;
  slot.name = name;
  slot.size = size;
  if (stock && !bold) {
    slot.font.reset();  // the stock font itself
    return true;
  }
  LOGFONTA lf{};
  GetObjectA(guiFont_, sizeof lf, &lf);
  if (!stock) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    lf.lfHeight = -MulDiv(size, dpi, 72);
    lf.lfWidth = 0;
    lstrcpynA(lf.lfFaceName, name.c_str(), LF_FACESIZE);
  }
  if (bold) lf.lfWeight = FW_BOLD;
  slot.font.reset(CreateFontIndirectA(&lf));
  return true;
}

void MainView::listChanged(ui::ListBox& model, HWND list, ui::Aspect aspect, int index) {
  const ListMessages& m = isComboBox(list) ? kComboBox : kListBox;
  switch (aspect) {
    case Aspect::Items:
      fillList(model, list);
      break;
    case Aspect::ItemInserted:
      send(list, m.insert, static_cast<WPARAM>(index), text(model.item(index)));
      showCurrent(model, list);
      break;
    case Aspect::ItemDeleted:
      send(list, m.remove, static_cast<WPARAM>(index));
      showCurrent(model, list);
      break;
    case Aspect::ItemChanged:
      send(list, m.remove, static_cast<WPARAM>(index));
      send(list, m.insert, static_cast<WPARAM>(index), text(model.item(index)));
      if (isMultiSelect(list) && model.selected(index)) send(list, LB_SETSEL, TRUE, index);
      showCurrent(model, list);
      break;
    case Aspect::ItemIndex:
      showCurrent(model, list);
      break;
    case Aspect::Selection:
      if (isMultiSelect(list)) send(list, LB_SETSEL, model.selected(index), index);
      break;
    case Aspect::MultiSelect:
      if (&model == &form_.List1) switchSelectionMode();
      break;
    case Aspect::Visible:
      // The link list is the fileset's hidden half: never on the screen.
      if (list != link1_.get()) mirrorCommon(model, list, aspect);
      break;
    default:
      mirrorCommon(model, list, aspect);
      break;
  }
}

void MainView::fillList(ui::ListBox& model, HWND list) {
  const ListMessages& m = isComboBox(list) ? kComboBox : kListBox;
  {
    RedrawOff quiet(list);
    send(list, m.reset);
    size_t bytes = 0;
    for (const std::string& s : model.items()) bytes += s.size() + 1;
    send(list, m.initStorage, static_cast<WPARAM>(model.count()), static_cast<LPARAM>(bytes));
    for (const std::string& s : model.items()) {
      const LRESULT r = send(list, m.add, 0, text(s));
      if (r == LB_ERR || r == LB_ERRSPACE)  // the same values as CB_ERR, CB_ERRSPACE
        throw std::runtime_error("The list cannot hold " + std::to_string(model.count()) +
                                 " items");
    }
    if (isMultiSelect(list))
      for (int i = 0; i < model.count(); ++i)
        if (model.selected(i)) send(list, LB_SETSEL, TRUE, i);
    showCurrent(model, list);
  }
}

void MainView::showCurrent(ui::ListBox& model, HWND list) {
  const int want = model.itemIndex();
  if (isMultiSelect(list)) {
    // In multiple selection the current item is the one with the focus rectangle.
    if (want >= 0 && send(list, LB_GETCARETINDEX) != want)
      send(list, LB_SETCARETINDEX, static_cast<WPARAM>(want), FALSE);
    return;
  }
  const ListMessages& m = isComboBox(list) ? kComboBox : kListBox;
  if (send(list, m.getCurrent) != want) send(list, m.setCurrent, static_cast<WPARAM>(want));
}

void MainView::tabsChanged(ui::Aspect aspect) {
  HWND tabs = qswitch_.get();
  const ui::TabBar& model = form_.qswitch;
  switch (aspect) {
    case Aspect::Tabs: {
      const LONG_PTR style = GetWindowLongPtrA(tabs, GWL_STYLE);
      LONG_PTR want = style & ~static_cast<LONG_PTR>(TCS_HOTTRACK | TCS_FIXEDWIDTH);
      if (model.hotTrack()) want |= TCS_HOTTRACK;
      if (model.tabWidth() > 0) want |= TCS_FIXEDWIDTH;
      if (want != style) SetWindowLongPtrA(tabs, GWL_STYLE, want);
      RedrawOff quiet(tabs);
      send(tabs, TCM_DELETEALLITEMS);
      for (int i = 0; i < model.count(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(model.tabs()[static_cast<size_t>(i)].c_str());
        send(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      }
      if (model.tabWidth() > 0) {
        RECT r{};
        const int height =
            send(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) ? r.bottom - r.top : 0;
        send(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(model.tabWidth(), height));
      }
      send(tabs, TCM_SETCURSEL, static_cast<WPARAM>(model.tabIndex()));
      break;
    }
    case Aspect::TabIndex:
      if (send(tabs, TCM_GETCURSEL) != model.tabIndex())
        send(tabs, TCM_SETCURSEL, static_cast<WPARAM>(model.tabIndex()));
      break;
    default:
      mirrorCommon(model, tabs, aspect);
      break;
  }
}

void MainView::placeChild(const ui::Control& model, HWND child) {
  if (!child) return;
  ui::Rect r = model.bounds();
  if (&model == &form_.tclose) {
    // The close button's place is given within the title bar.
    r.left += form_.tbar.bounds().left;
    r.top += form_.tbar.bounds().top;
  }
  int height = r.height;
  if (child == mmlist_.get()) {
    // A drop-down list's window height includes the list it drops down,
    // as many rows as the options ask for.
    const LRESULT item = send(child, CB_GETITEMHEIGHT, 0);
    height += std::max(form_.snapbarDDCount, 1) * static_cast<int>(item > 0 ? item : 14) + 2;
  }
  SetWindowPos(child, nullptr, r.left, r.top, std::max(r.width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainView::invalidateFrame() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

RECT MainView::titleBarRect() const { return toRect(form_.tbar.bounds()); }

void MainView::paint(HDC dc) {
  if (form_.tbar.visible()) {
    const RECT bar = titleBarRect();
    // The presenter's colours say whether the application is active.
    FillRect(dc, &bar, ColorBrush(form_.tbar.color()).get());
    if (form_.ttitle.visible()) {
      RECT title = toRect(form_.ttitle.bounds());
      OffsetRect(&title, bar.left, bar.top);  // the caption lies within the title bar
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      const COLORREF oldColor = SetTextColor(dc, colorOf(form_.ttitle.color()));
      HGDIOBJ oldFont = SelectObject(dc, titleFont_.font ? titleFont_.font.get() : guiFont_);
      DrawTextA(dc, form_.ttitle.caption().c_str(), -1, &title,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      SelectObject(dc, oldFont);
      SetTextColor(dc, oldColor);
      SetBkMode(dc, oldMode);
    }
  }
  if (form_.delab.visible()) {
    // The list mode's label: the window paints it, and a press on it drags.
    RECT label = toRect(form_.delab.bounds());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, guiFont_);
    DrawTextA(dc, form_.delab.caption().c_str(), -1, &label,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
  }
  if (form_.tborder.visible()) {
    const RECT frame = toRect(form_.tborder.bounds());
    FrameRect(dc, &frame, ColorBrush(form_.tborder.color()).get());
  }
}

void MainView::drawClose(const DRAWITEMSTRUCT& item) {
  UINT state = DFCS_CAPTIONCLOSE;
  if (item.itemState & ODS_SELECTED) state |= DFCS_PUSHED;
  if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
  RECT r = item.rcItem;
  DrawFrameControl(item.hDC, &r, DFC_CAPTION, state);
}

void MainView::formMovedOrSized(bool sized) {
  if (IsIconic(hwnd())) return;  // a minimised window's place is not the form's
  RECT r{};
  GetWindowRect(hwnd(), &r);
  {
    EchoGuard g(echo_, form_.Form1);
    form_.Form1.setBounds({r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  if (sized && shown_) guarded([&] { form_.FormResize(); });
}

void MainView::listSelectionChanged() {
  HWND list = list1();
  ui::ListBox& model = form_.List1;
  EchoGuard g(echo_, model);
  if (!isMultiSelect(list)) {
    model.setItemIndex(static_cast<int>(send(list, LB_GETCURSEL)));
    return;
  }
  std::vector<char> selected(static_cast<size_t>(model.count()), 0);
  const LRESULT n = send(list, LB_GETSELCOUNT);
  if (n > 0) {
    std::vector<int> chosen(static_cast<size_t>(n));
    const LRESULT got =
        send(list, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(chosen.data()));
    for (LRESULT i = 0; i < got; ++i) {
      const int at = chosen[static_cast<size_t>(i)];
      if (at >= 0 && at < model.count()) selected[static_cast<size_t>(at)] = 1;
    }
  }
  for (int i = 0; i < model.count(); ++i)
    if (model.selected(i) != (selected[static_cast<size_t>(i)] != 0))
      model.setSelected(i, selected[static_cast<size_t>(i)] != 0);
  model.setItemIndex(static_cast<int>(send(list, LB_GETCARETINDEX)));
}

void MainView::restoreFocus() {
  // The keyboard goes back to the control that had it, or to the list.
  HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) &&
                        IsWindowVisible(lastFocus_)
                    ? lastFocus_
                    : list1();
  if (target && IsWindowVisible(target)) SetFocus(target);
}

void MainView::onCommand(int id, int code, HWND from) {
  if (!from) {
    // Code 0 comes from the menu, 1 from a shortcut key.
    if (code == 0 || code == 1) menuCommand(id);
    return;
  }
  if (isList1(from)) {
    // Only the list on the screen speaks for List1; the hidden one may still
    // be finishing a key that arrived before a switch of mode.
    if (from != list1()) return;
    if (code == LBN_SELCHANGE) {
      listSelectionChanged();
      guarded([&] { form_.List1Click(); });
    } else if (code == LBN_DBLCLK) {
      guarded([&] { form_.List1DblClick(); });
    }
    return;
  }
  switch (id) {
    case kMmlistId:
      if (code == CBN_SELCHANGE) {
        EchoGuard g(echo_, form_.mmlist);
        form_.mmlist.setItemIndex(static_cast<int>(send(from, CB_GETCURSEL)));
      }
      break;
    case kTcloseId:
      if (code == BN_CLICKED) guarded([&] { form_.tcloseClick(); });
      break;
    default:
      break;
  }
}

LRESULT MainView::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PaintScope p(hwnd());
      paint(p.dc());
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd(), f)) lastFocus_ = f;
      } else if (!HIWORD(wParam)) {  // not while minimised: nothing to type into yet
        restoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      restoreFocus();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
      backgroundPressed(msg, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      backgroundPressed(msg, wParam, lParam);
      break;  // the release still opens the pop-up menu
    case WM_ACTIVATEAPP:
      // The whole application, not just this window, gained or lost the
      // activation. Only once the presenter has created the window: during
      // its creation it runs the activation itself.
      if (shown_)
        guarded([&] {
          if (wParam)
            form_.FormActivate();
          else
            form_.FormDeactivate();
        });
      applyHints();
      return 0;
    case WM_SETCURSOR:
      // The mouse is over the window: the hints are about to matter, and the
      // presenter may have switched them since they were last applied.
      applyHints();
      break;
    case WM_MOVE:
      formMovedOrSized(false);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) formMovedOrSized(true);
      stateFromWindow(wParam);
      return 0;
    case WM_GETMINMAXINFO:
      trackingSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_NCHITTEST:
      return hitTest(lParam);
    case WM_WINDOWPOSCHANGING:
      keepOnDesktop(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;  // and the default handling
    case WM_ENDSESSION:
      sessionEnds(wParam != 0);
      if (!hwnd()) return 0;  // closed: there is no window left to handle it
      break;
    case TrayIcon::kCallbackMessage:
      trayClicked(lParam);
      return 0;
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the list's current item, or at the
        // window's corner when the list shows none.
        HWND list = list1();
        RECT item{};
        const LRESULT current = list ? send(list, LB_GETCARETINDEX) : LB_ERR;
        if (list && IsWindowVisible(list) && current >= 0 &&
            send(list, LB_GETITEMRECT, static_cast<WPARAM>(current),
                 reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
          at = {item.left, item.bottom};
          ClientToScreen(list, &at);
        } else {
          at = {0, 0};
          ClientToScreen(hwnd(), &at);
        }
      }
      popupMenu(at);
      return 0;
    }
    case WM_DROPFILES:
      filesDropped(wParam, lParam);
      return 0;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lParam);
      if (n->idFrom == kQswitchId && n->code == static_cast<UINT>(TCN_SELCHANGE)) {
        EchoGuard g(echo_, form_.qswitch);
        form_.qswitch.setTabIndex(static_cast<int>(send(qswitch_.get(), TCM_GETCURSEL)));
      }
      return 0;
    }
    case WM_DRAWITEM:
      if (wParam == kTcloseId) {
        drawClose(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_CLOSE: {
      bool closing = false;
      guarded([&] { closing = app_.close(); });
      if (closing) destroy();
      return 0;
    }
    case WM_DESTROY:
      detach();
      tray_.hide();
      form_.attachView(nullptr);
      DragAcceptFiles(hwnd(), FALSE);
      status_.reset();
      tclose_.reset();
      qswitch_.reset();
      mmlist_.reset();
      link1_.reset();
      lists1_[0].reset();
      lists1_[1].reset();
      tooltip_.reset();
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == taskbarCreatedMessage()) tray_.readd();
      break;
  }
  return defaultMessage(msg, wParam, lParam);
}

// ---- the pop-up menu -----------------------------------------------------

void MainView::attachMenu(ui::MenuItem& item) {
  item.setPeer(this);
  for (int i = 0; i < item.childCount(); ++i) attachMenu(item.child(i));
}

void MainView::detachMenu(ui::MenuItem& item) {
  if (item.peer() == this) item.setPeer(nullptr);
  for (int i = 0; i < item.childCount(); ++i) detachMenu(item.child(i));
}

bool MainView::isSubmenu(const ui::MenuItem& item) const {
  // The Switch submenu stays one while no fileset item is in it.
  return item.childCount() > 0 || &item == &form_.Switch;
}

void MainView::numberCommands(ui::MenuItem& parent) {
  for (int i = 0; i < parent.childCount(); ++i) {
    ui::MenuItem& item = parent.child(i);
    if (isSubmenu(item)) {
      numberCommands(item);
      continue;
    }
    if (item.caption() == "-") continue;
    int id = 0;
    for (const NamedCommand& c : kNamedCommands)
      if (item.name() == c.name) id = c.id;
    if (!id && &parent == &form_.Switch && kSwitchFirstId + i < kOtherFirstId)
      id = kSwitchFirstId + i;
    if (!id) id = nextOtherId_++;
    commands_[id] = &item;
    ids_[&item] = id;
  }
}

int MainView::commandIdOf(const ui::MenuItem& item) const {
  const auto found = ids_.find(&item);
  return found == ids_.end() ? -1 : found->second;
}

void MainView::buildMenu() {
  // Items added since the last build (the fileset items) are followed from now on.
  attachMenu(form_.splitmenu);
  commands_.clear();
  ids_.clear();
  nextOtherId_ = kOtherFirstId;
  // Every command has its number, shown or not: the key of a hidden item still works.
  numberCommands(form_.splitmenu);
  MenuOwner menu(CreatePopupMenu());
  if (!menu) throw std::runtime_error("Cannot create the menu: " + systemReason(GetLastError()));
  fillMenu(menu.get(), form_.splitmenu);
  popup_ = std::move(menu);
  menuStale_ = false;

  std::vector<ACCEL> keys;
  for (const auto& [id, item] : commands_) {
    ACCEL key{};
    if (!parseShortcut(item->shortcut(), key)) continue;
    key.cmd = static_cast<WORD>(id);
    keys.push_back(key);
  }
  accelerators_.reset(
      keys.empty() ? nullptr : CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size())));
}

void MainView::fillMenu(HMENU menu, ui::MenuItem& parent) {
  for (int i = 0; i < parent.childCount(); ++i) {
    ui::MenuItem& item = parent.child(i);
    if (!item.visible()) continue;
    if (item.caption() == "-") {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = item.caption();
    if (!item.shortcut().empty()) text += "\t" + item.shortcut();
    const UINT flags =
        MF_STRING | (item.checked() ? MF_CHECKED : 0) | (item.enabled() ? 0 : MF_GRAYED);
    if (isSubmenu(item)) {
      MenuOwner sub(CreatePopupMenu());
      if (!sub) throw std::runtime_error("Cannot create the menu: " + systemReason(GetLastError()));
      fillMenu(sub.get(), item);
      if (AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), text.c_str()))
        (void)sub.release();  // the menu destroys its submenus
      continue;
    }
    AppendMenuA(menu, flags, static_cast<UINT_PTR>(commandIdOf(item)), text.c_str());
  }
}

void MainView::menuChanged(ui::MenuItem& item, ui::Aspect aspect) {
  if (menuStale_) return;  // the next build reads everything anyway
  const int id = commandIdOf(item);
  switch (aspect) {
    case Aspect::Checked:
      if (id >= 0) {
        CheckMenuItem(popup_.get(), static_cast<UINT>(id),
                      MF_BYCOMMAND | (item.checked() ? MF_CHECKED : MF_UNCHECKED));
        return;
      }
      break;
    case Aspect::Enabled:
      if (id >= 0) {
        EnableMenuItem(popup_.get(), static_cast<UINT>(id),
                       MF_BYCOMMAND | (item.enabled() ? MF_ENABLED : MF_GRAYED));
        return;
      }
      break;
    case Aspect::Caption:
    case Aspect::Visible:
    case Aspect::Items:
      break;
    default:
      return;  // nothing a menu shows
  }
  menuStale_ = true;
  ensureMenu();
}

void MainView::popupMenu(POINT screen) {
  ensureMenu();
  if (!popup_) return;
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the null message afterwards lets it end cleanly.
  SetForegroundWindow(hwnd());
  tracking_ = true;
  TrackPopupMenu(popup_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                 0, hwnd(), nullptr);
  tracking_ = false;
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  ensureMenu();
}

void MainView::menuCommand(int id) {
  ensureMenu();
  const auto found = commands_.find(id);
  if (found == commands_.end()) return;
  ui::MenuItem& item = *found->second;
  // The menu never offers a greyed item, but its shortcut key still arrives.
  if (!item.enabled()) return;
  guarded([&] { item.click(); });
}

bool MainView::preTranslate(MSG& msg) {
  if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  ensureMenu();
  // A shortcut is a command, not a key: the handlers below never see it.
  if (accelerators_ && TranslateAcceleratorA(hwnd(), accelerators_.get(), &msg) != 0) return true;
  const auto key = static_cast<std::uint16_t>(msg.wParam);
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      guarded([&] { form_.FormKeyDown(key, keyShift()); });
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      guarded([&] { form_.FormKeyUp(key, keyShift()); });
      break;
    default:
      break;
  }
  return false;
}

// ---- input on the list ---------------------------------------------------

LRESULT CALLBACK MainView::list1Procedure(HWND list, UINT msg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR view) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(list, &MainView::list1Procedure, 0);
  } else if (!reinterpret_cast<MainView*>(view)->list1Input(msg, wParam, lParam)) {
    return 0;
  }
  return DefSubclassProc(list, msg, wParam, lParam);
}

bool MainView::list1Input(UINT msg, WPARAM& wParam, LPARAM lParam) {
  if (!attached_) return true;
  MouseButton button{};
  bool doubleClick = false;
  if (mousePress(msg, button, doubleClick)) {
    const POINT at = pointOf(lParam);
    guarded([&] { form_.List1MouseDown(button, mouseShift(wParam, doubleClick), at.x, at.y); });
    return true;
  }
  const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
  if (!down && msg != WM_KEYUP && msg != WM_SYSKEYUP) return true;
  // An extension may change the key, or take it (0): the list box gets what
  // comes back.
  auto key = static_cast<std::uint16_t>(wParam);
  const ShiftState shift = keyShift();
  guarded([&] {
    if (down)
      form_.List1KeyDown(key, shift);
    else
      form_.List1KeyUp(key, shift);
  });
  if (key == 0) return false;
  wParam = key;
  return true;
}

// ---- presses on the window itself ------------------------------------------

void MainView::startDrag() {
  // The window follows the mouse until the button is released, as when its
  // caption is dragged.
  ReleaseCapture();
  send(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void MainView::backgroundPressed(UINT msg, WPARAM wParam, LPARAM lParam) {
  MouseButton button{};
  bool doubleClick = false;
  if (!mousePress(msg, button, doubleClick)) return;
  const POINT at = pointOf(lParam);
  // The title bar is the window's caption: it always drags.
  const RECT bar = titleBarRect();
  if (button == MouseButton::Left && form_.tbar.visible() && PtInRect(&bar, at)) {
    startDrag();
    return;
  }
  const RECT label = toRect(form_.delab.bounds());
  if (form_.delab.visible() && PtInRect(&label, at)) {
    guarded([&] { form_.delabMouseDown(button); });
    return;
  }
  guarded([&] { form_.FormMouseDown(button, mouseShift(wParam, doubleClick), at.x, at.y); });
}

// ---- files dropped from the shell ----------------------------------------

void MainView::filesDropped(WPARAM wParam, LPARAM lParam) {
  // The block stays readable until the handler is done: an extension may
  // look at the message it was given.
  DropOwner drop(reinterpret_cast<HDROP>(wParam));
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop.get(), 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // Each path is read whole, however long it is.
    const UINT length = DragQueryFileA(drop.get(), i, nullptr, 0);
    std::string path(static_cast<size_t>(length) + 1, '\0');
    const UINT got = DragQueryFileA(drop.get(), i, path.data(), length + 1);
    path.resize(std::min(got, length));
    paths.push_back(std::move(path));
  }
  // Where the files were let go, in this window's coordinates.
  POINT at{};
  if (!DragQueryPoint(drop.get(), &at)) {
    GetCursorPos(&at);
    ScreenToClient(hwnd(), &at);
  }
  const MessageRecord record{WM_DROPFILES, static_cast<std::uint32_t>(wParam),
                             static_cast<std::uint32_t>(lParam), 0};
  guarded([&] { form_.form1wmdropfiles(record, paths, at.x, at.y); });
}

int MainView::tabAt(int x, int y) const {
  HWND tabs = qswitch_.get();
  if (!tabs) return -1;
  TCHITTESTINFO hit{};
  hit.pt = {x, y};
  MapWindowPoints(hwnd(), tabs, &hit.pt, 1);
  return static_cast<int>(send(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

int MainView::itemAt(int x, int y) const {
  HWND list = list1();
  const int count = list ? static_cast<int>(send(list, LB_GETCOUNT)) : 0;
  if (count <= 0) return 0;
  POINT at{x, y};
  MapWindowPoints(hwnd(), list, &at, 1);
  const LRESULT nearest = send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
  const int i = std::clamp(static_cast<int>(LOWORD(nearest)), 0, count - 1);
  RECT item{};
  if (send(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)) !=
          LB_ERR &&
      PtInRect(&item, at))
    return i;
  // Not on an item: past the last one means after the end of the list.
  RECT last{};
  if (send(list, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last)) !=
      LB_ERR) {
    const bool columns = (GetWindowLongPtrA(list, GWL_STYLE) & LBS_MULTICOLUMN) != 0;
    if (at.y >= last.bottom || (columns && at.x >= last.right)) return count;
  }
  return i;
}

}  // namespace trovik::win32
