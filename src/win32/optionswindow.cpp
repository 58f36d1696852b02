#include "win32/optionswindow.h"

// after windows.h, which they need
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "mainwindow/commands.h"
#include "win32/input.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {

constexpr int kPageGeneral = 0, kPageLinks = 1, kPageFilesets = 2, kPageUpdates = 3, kPagePlus = 4;
// Controls outside the pages.
constexpr int kAllPages = -1;
constexpr UINT_PTR kContentsSubclass = 1;
// The tabs of the page control, and the page below them.
constexpr int kTabHeight = 22;
constexpr RECT kPageRect{6, 24 + kTabHeight, 6 + 428, 398};

}  // namespace

OptionsWindow::OptionsWindow(Context& ctx, TOptionsForm& form, std::function<void()>& repaint)
    : DialogWindow(
          ctx, {form.OptionsForm, form.tbar, form.ttitle, form.tclose, &form.thelp, form.tborder},
          false),
      ctx_(ctx),
      form_(form),
      repaint_(repaint) {
  repaint_ = [this] { this->repaint(); };
  proxyl_.setCaption("Proxy:");
  portl_.setCaption("Port:");
  userl_.setCaption("Username:");
  passwordl_.setCaption("Password:");
}

OptionsWindow::~OptionsWindow() {
  repaint_ = nullptr;
  form_.attachView(nullptr);
  form_.handle = 0;
}

void OptionsWindow::addControls() {
  TOptionsForm& f = form_;
  FilesetManager& fm = f.filesets;
  UpdateCheck& up = f.updates;
  int id = 200;
  // Gives a control its place and its number.
  auto at = [&](ui::Control& model, ui::Rect r) -> int {
    model.setBounds(r);
    return ++id;
  };
  auto paged = [&](FormPeer& peer, int page) -> FormPeer& {
    pages_.push_back({&peer, page});
    return peer;
  };
  auto text = [&](int page, ui::Control& m, ui::Rect r) {
    paged(add<TextPeer>(m, at(m, r)), page);
  };
  // A group's frame and caption are painted by the dialog itself, under its controls.
  auto group = [&](int page, ui::Control& m, ui::Rect r) {
    m.setBounds(r);
    groups_.push_back({&m, page});
  };
  auto check = [&](int page, ui::Checkable& m, ui::Rect r, FormPeer::Handler h = {},
                   CheckPeer::Kind kind = CheckPeer::Kind::CheckBox) {
    auto& p = add<CheckPeer>(m, at(m, r), kind);
    p.onClick = then(std::move(h));
    paged(p, page);
  };
  auto radio = [&](int page, ui::RadioButton& m, ui::Rect r, FormPeer::Handler h) {
    check(page, m, r, std::move(h), CheckPeer::Kind::Radio);
  };
  auto button = [&](int page, ui::Button& m, ui::Rect r, FormPeer::Handler h,
                    bool isDefault = false) {
    auto& p = add<ButtonPeer>(m, at(m, r), isDefault);
    p.onClick = then(std::move(h));
    paged(p, page);
  };
  auto edit = [&](int page, ui::Edit& m, ui::Rect r, DWORD style = ES_AUTOHSCROLL) {
    paged(add<EditPeer>(m, at(m, r), style), page);
  };
  // The check boxes' rows, up to and with the named box: the rows stand in tab order.
  const std::span<const OptionBox> rows = optionBoxes();
  auto nextBox = rows.begin();
  auto boxesThrough = [&](ui::CheckBox& last) {
    for (bool done = false; !done && nextBox != rows.end(); ++nextBox) {
      ui::CheckBox& box = f.*nextBox->box;
      FormPeer::Handler click;
      if (nextBox->click) click = [&f, c = nextBox->click] { (f.*c)(); };
      check(static_cast<int>(nextBox->page), box, nextBox->place, std::move(click));
      done = &box == &last;
    }
  };

  // The page control: its tabs above the page, which the dialog paints.
  tabs_ = &add<PageTabPeer>(f.poptions, at(f.poptions, {6, 24, 428, kTabHeight}));
  tabs_->onChange = [this] { showPage(); };

  // General.
  const int g = kPageGeneral;
  boxesThrough(f.showonc);
  auto& pkey =
      add<ListPeer>(f.pkey, at(f.pkey, {140, 52 + 19 * 10 - 2, 72, 21}), ListPeer::Kind::DropDown);
  paged(pkey, g);
  boxesThrough(f.otm);
  group(g, f.smg, {226, 150, 196, 70});
  radio(g, f.scrollvr, {236, 168, 150, 17}, [&f] { f.scrollvrClick(); });
  radio(g, f.scrollhr, {236, 192, 150, 17}, [&f] { f.scrollhrClick(); });
  edit(g, f.columnNumber, {310, 190, 24, 20});
  group(g, f.userlevelg, {226, 228, 196, 66});
  radio(g, f.buser, {236, 246, 150, 17}, [&f] { f.auser.setChecked(false); });
  radio(g, f.auser, {236, 268, 150, 17}, [&f] { f.buser.setChecked(false); });

  // Links.
  const int l = kPageLinks;
  boxesThrough(f.disableLFC);
  text(l, f.fosl, {16, 194, 200, 14});
  track_ = &add<TrackPeer>(f.fos, at(f.fos, {16, 210, 260, 30}));
  paged(*track_, l);
  text(l, f.fosfast, {16, 242, 120, 14});
  text(l, f.fosslow, {196, 242, 80, 14});
  group(l, f.fostyleg, {290, 190, 130, 66});
  radio(l, f.fodetect, {300, 208, 110, 17}, [&f] { f.fowait.setChecked(false); });
  radio(l, f.fowait, {300, 230, 110, 17}, [&f] { f.fodetect.setChecked(false); });

  // Fileset manager.
  const int s = kPageFilesets;
  text(s, fm.fss, {16, 52, 150, 14});
  filesets_ = &add<FilesetListPeer>(fm.filesetlist, at(fm.filesetlist, {16, 68, 190, 214}), fm);
  filesets_->onSelect = then([&fm] { fm.filesetlistClick(); });
  paged(*filesets_, s);
  button(s, fm.newfs, {16, 288, 60, 23}, [&fm] { fm.newfsClick(); });
  button(s, fm.renamefs, {81, 288, 60, 23}, [&fm] { fm.renamefsClick(); });
  button(s, fm.activatefs, {146, 288, 60, 23}, [&fm] { fm.activatefsClick(); });
  button(s, fm.deletefs, {16, 315, 60, 23}, [&fm] { fm.deletefsClick(); });
  button(s, fm.clearfilesets, {81, 315, 60, 23}, [&fm] { fm.clearfilesetsClick(); });
  text(s, fm.fsitems, {216, 52, 150, 14});
  auto& contents = add<ListPeer>(fm.contentslist, at(fm.contentslist, {216, 68, 206, 214}),
                                 ListPeer::Kind::MultiList);
  contents.onDoubleClick = then([&fm] { fm.contentslistDblClick(); });
  contents_ = &paged(contents, s);
  button(s, fm.cuti, {216, 288, 66, 23}, [&fm] { fm.cutiClick(); });
  button(s, fm.copyi, {286, 288, 66, 23}, [&fm] { fm.copyiClick(); });
  button(s, fm.pastei, {356, 288, 66, 23}, [&fm] { fm.pasteiClick(); });
  button(s, fm.clearcontents, {216, 315, 66, 23}, [&fm] { fm.clearcontentsClick(); });
  text(s, f.qsodefsizel, {16, 352, 176, 14});
  edit(s, f.qsodefsizetext, {196, 349, 44, 20});
  boxesThrough(f.qswitchc);

  // Updates.
  const int u = kPageUpdates;
  paged(add<FormPeer>(up.intro, at(up.intro, {16, 54, 404, 56}), L"STATIC", SS_LEFT | SS_NOPREFIX),
        u);
  text(u, up.version, {16, 116, 404, 14});
  check(u, up.proxyc, {16, 140, 150, 17}, [&f] { f.proxycClick(); });
  group(u, up.prox, {16, 162, 404, 106});
  text(u, proxyl_, {28, 184, 64, 14});
  edit(u, up.pname, {96, 181, 200, 20});
  text(u, portl_, {304, 184, 30, 14});
  edit(u, up.pport, {336, 181, 70, 20});
  text(u, userl_, {28, 212, 64, 14});
  edit(u, up.pun, {96, 209, 200, 20});
  text(u, passwordl_, {28, 240, 64, 14});
  // The password never shows: each character is a "*".
  edit(u, up.ppw, {96, 237, 200, 20}, ES_AUTOHSCROLL | ES_PASSWORD);
  button(u, up.cud, {16, 284, 130, 24}, [&up] { up.cudClick(); });

  // Trovik+.
  const int p = kPagePlus;
  auto& vplist = add<ListPeer>(f.vplist, at(f.vplist, {16, 54, 300, 280}), ListPeer::Kind::List);
  vplist.onSelect = then([&f] { f.vplistClick(); });
  vplist.onDoubleClick = then([&f] { f.vplistDblClick(); });
  paged(vplist, p);
  button(p, f.vpinstall, {326, 54, 96, 24}, [&f] { f.vpinstallClick(); });
  button(p, f.vpremove, {326, 82, 96, 24}, [&f] { f.vpremoveClick(); });
  button(p, f.vprefresh, {326, 110, 96, 24}, [&f] { f.vprefreshClick(); });
  button(p, f.vpoptions, {326, 150, 96, 24}, [&f] { f.vpoptionsClick(); });
  button(p, f.vpabout, {326, 178, 96, 24}, [&f] { f.vpaboutClick(); });
  boxesThrough(f.disvpc);

  // Below the pages.
  button(
      kAllPages, f.okay, {196, 406, 75, 24}, [&f] { f.okayClick(); }, true);
  button(kAllPages, f.apply, {276, 406, 75, 24}, [&f] { f.applyClick(); });
  button(kAllPages, f.cancel, {356, 406, 75, 24}, [&f] { f.cancelClick(); });
}

void OptionsWindow::prepare(HWND owner) {
  addControls();
  form_.attachView(this);
  form_.FormCreate(ctx_.platform.windows.screen().dpi);
  createOnFirstShow(kClassName, owner);
}

void OptionsWindow::created() {
  send(peerOf(form_.columnNumber)->handle(), EM_LIMITTEXT, 2);
  send(peerOf(form_.qsodefsizetext)->handle(), EM_LIMITTEXT, 5);
  SetWindowSubclass(contents_->handle(), contentsProc, kContentsSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  form_.handle = reinterpret_cast<WindowHandle>(hwnd());
  // Like the other dialogs, the options stay above other windows.
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OptionsWindow::repaint() {
  if (!hwnd()) return;
  UpdateWindow(hwnd());
  showPage();
}

void OptionsWindow::showPage() {
  const int page = form_.poptions.tabIndex();
  for (const auto& [peer, on] : pages_) {
    if (on == kAllPages || !peer->handle()) continue;
    ShowWindow(peer->handle(), on == page && peer->model().visible() ? SW_SHOWNA : SW_HIDE);
  }
  if (page != paintedPage_ && hwnd()) {
    // The new page at once, whole: what it shows is what the user sees next.
    paintedPage_ = page;
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

void OptionsWindow::paintClient(HDC dc) {
  RECT page = kPageRect;
  DrawEdge(dc, &page, EDGE_RAISED, BF_LEFT | BF_RIGHT | BF_BOTTOM);
  const int shown = form_.poptions.tabIndex();
  HGDIOBJ oldFont = SelectObject(dc, guiFont());
  const int oldMode = SetBkMode(dc, OPAQUE);
  const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (const auto& [model, on] : groups_) {
    if (on != shown || !model->visible()) continue;
    RECT frame = toRect(model->bounds());
    frame.top += 6;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    RECT caption = toRect(model->bounds());
    caption.left += 8;
    caption.right -= 8;
    const std::string text = model->caption();
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    caption.right = std::min(caption.right, caption.left + size.cx + 4);
    caption.bottom = caption.top + size.cy;
    drawText(dc, " " + text, caption, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

void OptionsWindow::formChanged(ui::Aspect aspect) {
  if (aspect == Aspect::Visible) showPage();
  DialogWindow::formChanged(aspect);
}

void OptionsWindow::closeClicked() { form_.tcloseClick(); }
void OptionsWindow::cancelPressed() { form_.cancelClick(); }
void OptionsWindow::helpClicked() { form_.thelpClick(); }

void OptionsWindow::activated(bool active) {
  if (active) {
    form_.FormActivate();
    // The dialog's hints show only while the option asks for them.
    tooltip().setActive(ctx_.vars.sh);
  } else {
    form_.FormDeactivate();
  }
}

void OptionsWindow::focus(ui::Control& control) { DialogWindow::focus(control); }

void OptionsWindow::bringToFront() {
  if (hwnd()) SetForegroundWindow(hwnd());
}

void OptionsWindow::editLabel(int index) {
  if (!filesets_->handle()) return;
  SetFocus(filesets_->handle());
  send(filesets_->handle(), LVM_EDITLABELW, static_cast<WPARAM>(index));
}

LRESULT OptionsWindow::dialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NOTIFY: {
      const NMHDR& n = *reinterpret_cast<const NMHDR*>(lParam);
      if (n.hwndFrom == tabs_->handle() && n.code == TCN_SELCHANGE) {
        tabs_->selectionChanged();
        return 0;
      }
      if (n.hwndFrom == filesets_->handle()) {
        LRESULT answer = 0;
        guarded([&] { answer = filesets_->notify(n); });
        showPage();
        return answer;
      }
      break;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == track_->handle()) {
        track_->scrolled();
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == contents_->handle()) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        guarded([&] { contentsMenu(at); });
        return 0;
      }
      break;
    default:
      break;
  }
  return DialogWindow::dialogMessage(msg, wParam, lParam);
}

void OptionsWindow::contentsMenu(POINT at) {
  // The contents list's commands: its menu, and its keys from their shortcuts.
  ui::MenuItem& commands = form_.filesets.clistmenu;
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (int i = 0; i < commands.childCount(); ++i) {
    const std::string caption = commands.child(i).caption() + "\t" + commands.child(i).shortcut();
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), wide(caption).c_str());
  }
  if (at.x == -1 && at.y == -1) {  // from the keyboard: at the list
    RECT r{};
    GetWindowRect(contents_->handle(), &r);
    at = {r.left + 8, r.top + 8};
  }
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                    at.y, 0, hwnd(), nullptr);
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= commands.childCount()) {
    commands.child(chosen - 1).click();
    showPage();
  }
}

bool OptionsWindow::contentsKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.hwnd != contents_->handle()) return false;
  // Ctrl tells the keys apart; Shift and Alt do not matter.
  const ShiftState ctrl = keyShift() & ssCtrl;
  ui::MenuItem& commands = form_.filesets.clistmenu;
  for (int i = 0; i < commands.childCount(); ++i) {
    ui::MenuItem* item = &commands.child(i);
    const auto key = parseShortcut(item->shortcut());
    if (!key || key->key != msg.wParam || (key->modifiers & ssCtrl) != ctrl) continue;
    guarded([&] { item->click(); });
    showPage();
    return true;
  }
  return false;
}

bool OptionsWindow::preTranslate(MSG& msg) {
  // While a fileset's name is edited in place, Enter and Escape end the edit
  // rather than press OK or Cancel.
  if (HWND editor = filesets_ ? filesets_->editor() : nullptr;
      editor && (msg.hwnd == editor || IsChild(editor, msg.hwnd)))
    return false;
  if (contents_ && contentsKey(msg)) return true;
  return DialogWindow::preTranslate(msg);
}

LRESULT CALLBACK OptionsWindow::contentsProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR self) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      return reinterpret_cast<OptionsWindow*>(self)->contentsMouse(h, msg, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(h, contentsProc, kContentsSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(h, msg, wParam, lParam);
}

// Dragging the selected items of the contents list to another place: a press
// on a selected item keeps the selection; a release without a move is a
// plain click after all.
LRESULT OptionsWindow::contentsMouse(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const LRESULT hit = send(h, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
  const int item = LOWORD(hit);
  const bool outside = HIWORD(hit) != 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (DragReorder::mayStart(wParam) && !outside && send(h, LB_GETSEL, item) > 0) {
        SetFocus(h);
        drag_.press(h, at);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (drag_.move(at)) SetCursor(LoadCursor(nullptr, IDC_SIZENS));
      if (drag_.held()) return 0;
      break;
    case WM_LBUTTONUP: {
      const DragReorder::End end = drag_.release();
      if (end == DragReorder::End::None) break;
      if (end == DragReorder::End::Click) {
        // A click on a selected item: it alone is selected now.
        const POINT from = drag_.pressedAt();
        DefSubclassProc(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        return DefSubclassProc(h, WM_LBUTTONUP, wParam, lParam);
      }
      int target = item;
      const int count = static_cast<int>(send(h, LB_GETCOUNT));
      RECT last{};
      if (outside && count > 0 &&
          send(h, LB_GETITEMRECT, static_cast<WPARAM>(count - 1),
               reinterpret_cast<LPARAM>(&last)) != LB_ERR &&
          at.y >= last.bottom)
        target = count;
      if (at.y < 0) target = 0;
      guarded([&] { form_.filesets.contentslistDragDrop(target); });
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != h) drag_.lost();
      break;
    default:
      break;
  }
  return DefSubclassProc(h, msg, wParam, lParam);
}

}  // namespace trovik::win32
