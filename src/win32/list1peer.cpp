#include "win32/list1peer.h"
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "mainwindow/form1.h"
#include "win32/framedwindow.h"
#include "win32/input.h"
#include "win32/listbox.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {

constexpr UINT_PTR kHintSubclass = 1;
constexpr wchar_t kEmptyHint[] = L"Press Insert to add a link, or drop files here";

bool isEmpty(HWND list) { return SendMessageW(list, LB_GETCOUNT, 0, 0) <= 0; }

void paintHint(HWND list) {
  HDC dc = GetDC(list);
  if (!dc) return;
  RECT r{};
  GetClientRect(list, &r);
  InflateRect(&r, -4, -4);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  // One line in the middle of the list; a narrow window breaks it at a word.
  RECT text = r;
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  const int height = DrawTextW(dc, kEmptyHint, -1, &text, format | DT_CALCRECT);
  r.top = std::max(r.top, r.top + (r.bottom - r.top - height) / 2);
  DrawTextW(dc, kEmptyHint, -1, &r, format);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
  ReleaseDC(list, dc);
}

// The hint of an empty list: painted over the list box once it has painted
// itself, and repainted whole when the list becomes empty, stops being empty
// or changes its size. It is not an item: nothing reads it, saves it or runs it.
LRESULT CALLBACK hintProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_PAINT: {
      if (wParam || !isEmpty(list)) break;
      const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
      paintHint(list);
      return result;
    }
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case WM_SIZE: {
      const bool wasEmpty = isEmpty(list);
      const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
      if (wasEmpty != isEmpty(list) || (msg == WM_SIZE && wasEmpty))
        InvalidateRect(list, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, hintProc, kHintSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, msg, wParam, lParam);
}

}  // namespace

List1Peer::List1Peer(FramedWindow& window, TForm1& form, int id, int spareId)
    : ControlPeer(window, form.List1), form_(form), list_(form.List1), id_(id), spareId_(spareId) {}

void List1Peer::create() {
  shown_ = list_.multiSelect() ? 1 : 0;
  make(shown_);
}

void List1Peer::reset() {
  boxes_[0].reset();
  boxes_[1].reset();
}

void List1Peer::make(int mode) {
  if (boxes_[mode]) return;
  DWORD style = WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  // Extended selection: a click picks one item, Ctrl+click adds or removes
  // one, as a fly multirun picks its links while Ctrl is held.
  if (mode == 1) style |= LBS_EXTENDEDSEL;
  boxes_[mode] = window_.createControl(L"LISTBOX", style, mode == shown_ ? id_ : spareId_);
  SetWindowSubclass(boxes_[mode].get(), hintProc, kHintSubclass, 0);
  // Below the Snapbar list, which takes the list's place when it is shown.
  SetWindowPos(boxes_[mode].get(), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void List1Peer::showAll() {
  show(Aspect::Items, -1);
  ControlPeer::showAll();
}

void List1Peer::show(ui::Aspect aspect, int index) {
  HWND h = handle();
  if (!h) return;
  if (aspect == Aspect::MultiSelect) return switchSelectionMode();
  if (!showListChange(h, list_, kListBoxMessages, aspect, index)) ControlPeer::show(aspect, index);
}

void List1Peer::switchSelectionMode() {
  const int want = list_.multiSelect() ? 1 : 0;
  HWND old = handle();
  if (want == shown_ || !old) return;
  // The user sees the same list in the other mode: the same items, current
  // item, selection and scroll position, and the keyboard stays in the list.
  const bool hadFocus = GetFocus() == old;
  const LRESULT top = send(old, LB_GETTOPINDEX);
  make(want);
  shown_ = want;
  HWND now = handle();
  SetWindowLongPtrW(old, GWLP_ID, spareId_);
  SetWindowLongPtrW(now, GWLP_ID, id_);
  window_.tooltip().setHint(old, {});
  for (Aspect a : {Aspect::Bounds, Aspect::Enabled, Aspect::Hint}) show(a, -1);
  fillList(now, list_, kListBoxMessages);
  if (top > 0) send(now, LB_SETTOPINDEX, static_cast<WPARAM>(top));
  show(Aspect::Visible, -1);
  // The focus moves before the old list is hidden, which would otherwise
  // hand it to the window.
  if (hadFocus) SetFocus(now);
  // It keeps its items until the next switch fills it anew: the switch may
  // come from within its own handling of a key.
  ShowWindow(old, SW_HIDE);
}

bool List1Peer::preTranslate(MSG& msg) {
  if (!owns(msg.hwnd) || list_.peer() != this) return false;
  MouseButton button{};
  bool doubleClick = false;
  if (mousePress(msg.message, button, doubleClick)) {
    const POINT at = pointOf(msg.lParam);
    window_.guarded(
        [&] { form_.List1MouseDown(button, mouseShift(msg.wParam, doubleClick), at.x, at.y); });
  }
  if (dragMessage(msg)) return true;
  return keyMessage(msg);
}

bool List1Peer::dragMessage(const MSG& msg) {
  HWND list = handle();
  switch (msg.message) {
    case WM_LBUTTONDOWN: {
      if (!form_.listDragging || shown_ != 1 || msg.hwnd != list ||
          !DragReorder::mayStart(msg.wParam))
        return false;
      const LRESULT hit = send(list, LB_ITEMFROMPOINT, 0, msg.lParam);
      if (HIWORD(hit) || send(list, LB_GETSEL, LOWORD(hit)) <= 0) return false;
      press_ = msg;
      drag_.press(list, pointOf(msg.lParam));
      return true;
    }
    case WM_MOUSEMOVE:
      drag_.move(pointOf(msg.lParam));
      return drag_.held();
    case WM_LBUTTONUP: {
      const DragReorder::End end = drag_.release();
      if (end == DragReorder::End::None) return false;
      if (end == DragReorder::End::Click) {
        // No drag after all: the press was an ordinary click.
        DispatchMessageW(&press_);
        return false;
      }
      POINT at = pointOf(msg.lParam);
      MapWindowPoints(msg.hwnd, window_.hwnd(), &at, 1);
      window_.guarded([&] { form_.List1DragDrop(&form_.List1, at.x, at.y); });
      return true;
    }
    case WM_CAPTURECHANGED:
      drag_.lost();
      return false;
    default:
      return false;
  }
}

bool List1Peer::keyMessage(MSG& msg) {
  const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (!down && msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) return false;
  // An extension may change the key, or take it (0): the list box gets what
  // comes back. The characters the key types are those of the key pressed.
  auto key = static_cast<std::uint16_t>(msg.wParam);
  const ShiftState shift = keyShift();
  window_.guarded([&] {
    if (down)
      form_.List1KeyDown(key, shift);
    else
      form_.List1KeyUp(key, shift);
  });
  TranslateMessage(&msg);
  if (key != 0) {
    MSG changed = msg;
    changed.wParam = key;
    DispatchMessageW(&changed);
  }
  return true;
}

void List1Peer::command(HWND from, int code) {
  // Only the list on the screen speaks for List1; the hidden one may still
  // be finishing a key that arrived before a switch of mode.
  if (from != handle()) return;
  if (code == LBN_SELCHANGE) {
    selectionFromWindow();
    window_.guarded([&] { form_.List1Click(); });
  } else if (code == LBN_DBLCLK) {
    window_.guarded([&] { form_.List1DblClick(); });
  }
}

void List1Peer::selectionFromWindow() {
  HWND list = handle();
  FromWindow fromWindow(*this);
  if (shown_ == 0) {
    list_.setItemIndex(static_cast<int>(send(list, LB_GETCURSEL)));
    return;
  }
  std::vector<char> selected(static_cast<size_t>(list_.count()), 0);
  const LRESULT n = send(list, LB_GETSELCOUNT);
  if (n > 0) {
    std::vector<int> chosen(static_cast<size_t>(n));
    const LRESULT got =
        send(list, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(chosen.data()));
    for (LRESULT i = 0; i < got; ++i) {
      const int at = chosen[static_cast<size_t>(i)];
      if (at >= 0 && at < list_.count()) selected[static_cast<size_t>(at)] = 1;
    }
  }
  for (int i = 0; i < list_.count(); ++i)
    if (list_.selected(i) != (selected[static_cast<size_t>(i)] != 0))
      list_.setSelected(i, selected[static_cast<size_t>(i)] != 0);
  list_.setItemIndex(static_cast<int>(send(list, LB_GETCARETINDEX)));
}

int List1Peer::itemAt(POINT client) const {
  HWND list = handle();
  const int count = list ? static_cast<int>(send(list, LB_GETCOUNT)) : 0;
  if (count <= 0) return 0;
  POINT at = client;
  MapWindowPoints(window_.hwnd(), list, &at, 1);
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
    const bool columns = (GetWindowLongPtrW(list, GWL_STYLE) & LBS_MULTICOLUMN) != 0;
    if (at.y >= last.bottom || (columns && at.x >= last.right)) return count;
  }
  return i;
}

bool List1Peer::belowCurrentItem(POINT& screen) const {
  HWND list = handle();
  RECT item{};
  const LRESULT current = list ? send(list, LB_GETCARETINDEX) : LB_ERR;
  if (!list || !IsWindowVisible(list) || current < 0 ||
      send(list, LB_GETITEMRECT, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(&item)) ==
          LB_ERR)
    return false;
  screen = {item.left, item.bottom};
  ClientToScreen(list, &screen);
  return true;
}

}  // namespace trovik::win32
