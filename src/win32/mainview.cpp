#include "win32/mainview.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "app/application.h"
#include "core/product.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame.h"
#include "win32/droppedfiles.h"
#include "win32/input.h"
#include "win32/resources/resource.h"

namespace trovik::win32 {

namespace {

using ui::Aspect;

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

FrameModels frameOf(TForm1& f) {
  return {f.Form1,   f.tbar,       f.ttitle,     f.tclose, &f.thelp,
          f.tborder, &f.tminimize, &f.tmaximize, &f.tmlm,  &f.ticon};
}

}  // namespace

MainView::MainView(Application& app)
    : FramedWindow(app.ctx, frameOf(app.form1), true),
      app_(app),
      form_(app.form1),
      list1_(*this, form_, kList1Id, kSpareList1Id),
      mmlist_(*this, form_.mmlist, form_.snapbarDDCount, kMmlistId),
      qswitch_(*this, form_.qswitch, kQswitchId),
      status_(*this, form_.status, kStatusId),
      up_(*this, form_.up, kUpId),
      down_(*this, form_.down, kDownId),
      ma_(*this, form_.ma, kMaId),
      cmrb_(*this, form_.cmrb, kCmrbId, true),
      delab_(form_.delab, [this](Aspect) { invalidateFrame(); }),
      menu_(*this, form_),
      tray_(form_.SysTray, product()) {}

MainView::~MainView() {
  detach();
  form_.attachView(nullptr);
  detachFrame();
  destroy();
}

void MainView::create(HWND owner) {
  WNDCLASSEXW wc{};
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // The small icon (title bar, tray) is taken from the same group by the system.
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TROVIK));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  wc.style = CS_DBLCLKS;  // the title bar and its icon answer double clicks
  // No caption and no sizing border: the title bar and the frame are the
  // program's own. The system menu and minimise box keep the taskbar button
  // able to minimise and restore the window. Owned by the hidden application
  // window, it asks for its taskbar button itself.
  createFrame(wc, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU, WS_EX_APPWINDOW, owner);
  for (ControlPeer* peer : peers_) peer->create();
  send(ma_.handle(), EM_LIMITTEXT, 3);
  up_.onClick = [this] { form_.upClick(); };
  down_.onClick = [this] { form_.downClick(); };
  cmrb_.onClick = [this] { form_.cmrbClick(); };
  // Files dragged from the shell onto any part of the window, the list
  // included, arrive here: the controls do not take them themselves.
  DragAcceptFiles(hwnd(), TRUE);
  form_.attachView(this);
  attach();
}

void MainView::attach() {
  for (ControlPeer* peer : peers_) {
    peer->attach();
    peer->showAll();
  }
  delab_.attach();
  menu_.attach();
  tray_.attach(hwnd());
  attached_ = true;
  invalidateFrame();
}

void MainView::detach() {
  for (ControlPeer* peer : peers_) peer->detach();
  delab_.detach();
  menu_.detach();
  tray_.detach();
  attached_ = false;
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

void MainView::close() {
  if (!hwnd()) return;
  if (sessionEnding_) {
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  // Posted, not sent: the close button that asks for it is still inside
  // its own click when the window would go.
  PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainView::closeClicked() {
  guarded([&] { form_.tcloseClick(); });
}

void MainView::formChanged(ui::Aspect aspect) {
  switch (aspect) {
    case Aspect::Visible:
      // Before the first show the window stays hidden whatever the model
      // says: WinMain shows it once the program is ready.
      if (shown_) ShowWindow(hwnd(), form_.Form1.visible() ? showCommand() : SW_HIDE);
      break;
    case Aspect::State:
      applyWindowState();
      break;
    default:
      FramedWindow::formChanged(aspect);
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
  updateFormFromWindow([&] { form_.setWindowState(state); });
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
  HWND target = nullptr;
  // The lists, the tab bar and the status line take the keyboard; the bottom row is not asked.
  for (const ControlPeer* peer : std::span(peers_).first(4))
    if (&peer->model() == &control) target = peer->handle();
  if (!target) return;
  // The keyboard goes there whenever the window is next active; at once only
  // when it is active now, or a message box in front would lose it.
  lastFocus_ = target;
  if (hwnd() && GetActiveWindow() == hwnd() && IsWindowVisible(target) && IsWindowEnabled(target))
    SetFocus(target);
}

void MainView::restoreFocus() {
  // The keyboard goes back to the control that had it, or to the list.
  HWND target = lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_) &&
                        IsWindowVisible(lastFocus_)
                    ? lastFocus_
                    : list1_.handle();
  if (target && IsWindowVisible(target)) SetFocus(target);
}

void MainView::applyHints() {
  // The presenter switches its hint settings without telling: they are
  // compared when they could matter.
  tooltip().setActive(form_.showHints);
  tooltip().setHidePause(form_.hintHidePause);
}

int MainView::tabAt(int x, int y) const { return qswitch_.tabAt({x, y}); }

int MainView::itemAt(int x, int y) const { return list1_.itemAt({x, y}); }

void MainView::paintClient(HDC dc) {
  if (shown_) guarded([&] { form_.FormPaint(); });
  if (!form_.delab.visible()) return;
  // The list mode's label: the window paints it, and a press on it drags.
  RECT label = toRect(form_.delab.bounds());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, guiFont());
  drawText(dc, form_.delab.caption(), label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
}

bool MainView::preTranslate(MSG& msg) {
  if (FramedWindow::preTranslate(msg)) return true;
  if (attached_ && bottomRowKey(msg)) return true;
  // A shortcut is a command, not a key: the handlers below never see it.
  // In the amount field the keys of editing stay the field's own.
  const bool editing =
      msg.hwnd == ma_.handle() && msg.message == WM_KEYDOWN &&
      (msg.wParam < VK_F1 || msg.wParam > VK_F24) && !(GetKeyState(VK_MENU) & 0x8000) &&
      (!(GetKeyState(VK_CONTROL) & 0x8000) || std::strchr("XCVAZ", static_cast<int>(msg.wParam)));
  if (!editing && menu_.translateKey(msg)) return true;
  if (attached_ && snapbarKey(msg)) return true;
  MouseButton button{};
  ShiftState shift = 0;
  POINT at{};
  // A press on the QuickSwitch bar is heard before the bar acts on it.
  if (attached_ && qswitch_.pressed(msg, button, shift, at))
    guarded([&] { form_.qswitchMouseDown(button, shift, at.x, at.y); });
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
  return attached_ && list1_.preTranslate(msg);
}

void MainView::backgroundPressed(UINT msg, WPARAM wParam, LPARAM lParam) {
  MouseButton button{};
  bool doubleClick = false;
  if (!mousePress(msg, button, doubleClick)) return;
  const POINT at = pointOf(lParam);
  const RECT label = toRect(form_.delab.bounds());
  if (form_.delab.visible() && PtInRect(&label, at)) {
    guarded([&] { form_.delabMouseDown(button); });
    return;
  }
  guarded([&] {
    form_.FormMouseDown(button, mouseShift(wParam, doubleClick), at.x, at.y);
    // The frame lies under everything: a middle press on it adds a link.
    if (button == MouseButton::Middle) form_.tborderMouseDown(button);
  });
}

void MainView::filesDropped(WPARAM wParam, LPARAM lParam) {
  // The block stays readable until the handler is done: an extension may
  // look at the message it was given.
  const DroppedFiles drop(reinterpret_cast<HDROP>(wParam), hwnd());
  const MessageRecord record{WM_DROPFILES, static_cast<std::uint32_t>(wParam),
                             static_cast<std::uint32_t>(lParam), 0};
  guarded([&] { form_.form1wmdropfiles(record, drop.paths, drop.at.x, drop.at.y); });
}

void MainView::contextMenu(LPARAM lParam) {
  POINT at = pointOf(lParam);
  // The icon's right-click menu is the system menu.
  POINT client = at;
  ScreenToClient(hwnd(), &client);
  if (!(at.x == -1 && at.y == -1) && inTicon(client)) {
    menu_.popup(form_.tmenu, at);
    return;
  }
  // From the keyboard: under the list's current item, or at the window's
  // corner when the list shows none.
  if (at.x == -1 && at.y == -1 && !list1_.belowCurrentItem(at)) {
    at = {0, 0};
    ClientToScreen(hwnd(), &at);
  }
  menu_.popup(at);
}

void MainView::onCommand(int id, int code, HWND from) {
  if (!from) {
    // Code 0 comes from the menu, 1 from a shortcut key.
    if (code == 0 || code == 1) menu_.run(id);
  } else if (list1_.owns(from)) {
    list1_.command(from, code);
  } else if (id == kMmlistId) {
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) form_.mmlistDropped = code == CBN_DROPDOWN;
    if (code != CBN_SELCHANGE) return;
    mmlist_.command(code);
    guarded([&] { form_.mmlistClick(); });
  } else {
    for (FormPeer* peer : bottomRow_)
      if (peer->id() == id) guarded([&] { peer->command(code); });
  }
}

LRESULT MainView::linkQuery(HWND from, const COPYDATASTRUCT& data) {
  const ui::ListBox& links = form_.link1;
  std::int32_t index = -1;
  if (data.cbData == sizeof index) std::memcpy(&index, data.lpData, sizeof index);
  if (index >= 0 && index < links.count() && IsWindow(from)) {
    const std::string& entry = links.item(index);
    COPYDATASTRUCT reply{kLinkQuery, static_cast<DWORD>(entry.size()),
                         const_cast<char*>(entry.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(from, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd()),
                        reinterpret_cast<LPARAM>(&reply), SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  return links.count();
}

LRESULT MainView::commandQuery(const COPYDATASTRUCT& data) {
  if (data.dwData != kCommandIdQuery || !data.lpData) return 0;
  std::string name(static_cast<const char*>(data.lpData), data.cbData);
  name.resize(std::min(name.find('\0'), name.size()));
  return menu_.idOf(name);
}

LRESULT MainView::windowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
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
      // The mouse is over the window: the hints are about to matter.
      applyHints();
      break;
    case WM_MOVE:
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED && shown_) guarded([&] { form_.FormResize(); });
      stateFromWindow(wParam);
      return 0;
    case WM_GETMINMAXINFO:
      trackingSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
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
    case WM_CONTEXTMENU:
      // A tab's right click has opened that fileset's links already.
      if (reinterpret_cast<HWND>(wParam) != qswitch_.handle()) contextMenu(lParam);
      return 0;
    case WM_DROPFILES:
      filesDropped(wParam, lParam);
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (header.idFrom == kQswitchId) tabNotified(header, result);
      return result;
    }
    case WM_HOTKEY:
      guarded([&] { form_.wmhotkey(static_cast<int>(wParam)); });
      return 0;
    case WM_COPYDATA:
      if (reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData == kLinkQuery)
        return linkQuery(reinterpret_cast<HWND>(wParam),
                         *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return commandQuery(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_CLOSE: {
      bool closing = false;
      guarded([&] { closing = app_.close(); });
      if (closing) destroy();
      return 0;
    }
    case WM_DESTROY:
      detach();
      form_.attachView(nullptr);
      DragAcceptFiles(hwnd(), FALSE);
      for (auto peer = peers_.rbegin(); peer != peers_.rend(); ++peer) (*peer)->reset();
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == taskbarCreatedMessage()) tray_.readd();
      break;
  }
  return defaultMessage(msg, wParam, lParam);
}

}  // namespace trovik::win32
