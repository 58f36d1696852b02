// The driver's commands for the main window: its lists and tabs read back, its menu commands,
// clicks, keys and drops handed to it, and the points of its controls and tray icon on the screen
// for real clicks (xdotool). Ids are the main window's controls: 101 List1, 102 the hidden list of
// link entries, 103 the tabs, 104 the Snapbar list, 106 the status label; the title-bar buttons
// are 32513 close, 32514 help, 32515 minimise, 32516 maximise, 32517 Snapbar.
// clang-format off
#include "driver.h"
// after windows.h (through driver.h), which they need
#include <commctrl.h>
// clang-format on

#include <cstdint>

namespace {

using namespace driver;

constexpr int kList1Id = 101, kLinksId = 102, kTabsId = 103;

// The entry the program sends back to the driver's own window.
std::string received;
LRESULT CALLBACK replyWindow(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg != WM_COPYDATA) return DefWindowProcW(h, msg, w, l);
  const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(l);
  if (data.dwData != kLinkQuery) return 0;
  received.assign(static_cast<const char*>(data.lpData), data.cbData);
  return 1;
}

// The link entries of the fileset shown, one a line, asked of the program one by one as any tool
// may ask them.
int links(HWND main) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = replyWindow;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrovikDriverReply";
  RegisterClassW(&wc);
  HWND me = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                          nullptr);
  if (!me) return fail("no window for the answers");
  int status = 0;
  for (std::int32_t i = 0;; ++i) {
    COPYDATASTRUCT query{kLinkQuery, sizeof i, &i};
    received.clear();
    const LRESULT count =
        send(main, WM_COPYDATA, reinterpret_cast<WPARAM>(me), reinterpret_cast<LPARAM>(&query));
    if (count == kNoAnswer) status = fail("the program does not answer");
    if (i >= count) break;
    say(received);
  }
  DestroyWindow(me);
  return status;
}

int list(const Args& a) {
  const int id = a.number(0);
  HWND c = mainControl(id == kLinksId ? 0 : id);
  return !c ? 1 : id == kLinksId ? links(c) : listItems(c);
}

// The main window's tabs: each tab's text is read into a buffer in the program's process.
int tabs(HWND tab, const Args&) {
  constexpr int kTextMax = 520;
  RemoteBuffer remote(tab, sizeof(TCITEMW) + kTextMax * sizeof(wchar_t));
  const LRESULT count = send(tab, TCM_GETITEMCOUNT);
  if (!remote || count < 0) return fail("cannot reach the tabs of the main window");
  for (LRESULT i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(remote.at(sizeof item));
    item.cchTextMax = kTextMax;
    if (!remote.write(0, &item, sizeof item) ||
        send(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote.at(0))) <= 0 ||
        !remote.read(0, &item, sizeof item))
      return fail("cannot read tab " + std::to_string(i));
    // The control may point pszText at its own copy instead of filling the buffer; what cannot be
    // read stays NUL.
    std::wstring text(kTextMax, L'\0');
    SIZE_T done = 0;
    ReadProcessMemory(remote.process(), item.pszText, text.data(), kTextMax * sizeof(wchar_t),
                      &done);
    say(narrow(text.c_str()));
  }
  return 0;
}

int tabPoint(HWND tab, int index) {
  RemoteBuffer remote(tab, sizeof(RECT));
  RECT r{};
  if (!remote || send(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.at(0))) <= 0 ||
      !remote.read(0, &r, sizeof r))
    return fail("no rectangle for tab " + std::to_string(index));
  return sayMiddle(r, tab);
}

// The command is posted, not sent: it may open a message box, which a send would wait on.
int menuCommand(HWND main, const Args& a) {
  const LRESULT id = askName(main, kCommandIdQuery, a[0]);
  if (id == kNoAnswer) return fail("the program does not answer");
  if (id <= 0) return fail(std::string("the menu has no command ") + a[0]);
  return post(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

template <bool twice>
int selectItem(HWND list, const Args& a) {
  const int index = a.number(0);
  if (send(list, LB_SETCURSEL, index) != index)
    return fail("cannot select item " + std::to_string(index));
  const LPARAM from = reinterpret_cast<LPARAM>(list);
  HWND main = GetParent(list);
  if (int failed = post(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_SELCHANGE), from)) return failed;
  return twice ? post(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_DBLCLK), from) : 0;
}

// Screen coordinates are the X display's own: real clicks go through the X server (xdotool), so
// the program sees the keys held with them.
int itemPoint(HWND list, const Args& a) {
  RECT r{};
  if (send(list, LB_GETITEMRECT, a.natural(0), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return fail(std::string("no rectangle for item ") + a[0]);
  return sayMiddle(r, list);
}

// Posted to the control with the focus, as the system delivers a key.
int pressKey(HWND main, const Args& a) {
  HWND focus = focusOf(main);
  return postKey(focus ? focus : main, a.natural(0));
}

int drop(HWND main, const Args& a) {
  return dropFiles(main, {a.number(0), a.number(1)}, {a.v + 2, a.v + a.n});
}

// current: the selected item of a single-selection list, the focused one of a multiple one.
int listState(HWND list, const Args&) {
  const bool multi =
      (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
  // With nothing selected, current is -1: a list that does not answer is seen in the others.
  const LRESULT current = send(list, multi ? LB_GETCARETINDEX : LB_GETCURSEL),
                top = send(list, LB_GETTOPINDEX), count = send(list, LB_GETCOUNT);
  if (top < 0 || count < 0) return fail("cannot read the list");
  std::string selected;
  for (LRESULT i = 0; i < count; ++i)
    if (send(list, LB_GETSEL, i) > 0) selected += (selected.empty() ? "" : ",") + std::to_string(i);
  return say(std::string(multi ? "multi" : "single") + " current=" + std::to_string(current) +
             " top=" + std::to_string(top) + " selected=" + (selected.empty() ? "-" : selected) +
             " focus=" + (focusOf(list) == list ? "yes" : "no"));
}

int scrollList(HWND list, const Args& a) {
  return send(list, LB_SETTOPINDEX, a.natural(0)) == LB_ERR ? fail("cannot scroll the list") : 0;
}

// The system's copy of the text is read without the program, which may be busy launching; an
// edit field keeps its text to itself, so it is asked (ask). Control 0 is the main window itself.
int controlState(int id, bool ask) {
  HWND c = mainControl(id);
  std::string text = c && !ask ? windowText(c) : "";
  if (!c || (ask && !controlText(c, text))) return 1;
  return say(std::string(IsWindowVisible(c) ? "shown " : "hidden ") + text);
}

int controlPoint(int id) {
  HWND c = mainControl(id);
  if (c && !IsWindowVisible(c)) return fail("control " + std::to_string(id) + " is hidden");
  return c ? sayMiddle(c) : 1;
}

// Without a notification area of the desktop, Wine shows its own window of tray icons; an icon
// is a child window of it, or else the window itself stands for the one icon it shows.
int trayPoint() {
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  if (!tray || !IsWindowVisible(tray)) tray = FindWindowA(nullptr, "Wine System Tray");
  if (!tray || !IsWindowVisible(tray)) return fail("no notification area on the screen");
  HWND icon = nullptr;
  for (HWND child = GetWindow(tray, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) icon = child;
  return sayMiddle(icon ? icon : tray);
}

constexpr Command kCommands[] = {
    {"list <id>", "a list's items, one a line; of 102, the link entries as a tool asks for them",
     list},
    {"tabs", "the tabs' captions", onMain<kTabsId, tabs>},
    {"tab-point <i> [class] [model]", "the middle of a tab of the main window or a dialog",
     [](const Args& a) {
       HWND tab = a.n == 3 ? dialogControl(a[1], a[2]) : mainControl(kTabsId);
       return tab ? tabPoint(tab, a.number(0)) : 1;
     }},
    {"menu <name>", "choose a menu command by its item's name (\"runexit\")",
     onMain<0, menuCommand>},
    {"select <i>", "make item i of List1 current as a click does",
     onMain<kList1Id, selectItem<false>>},
    {"dblclick <i>", "the same, then a double click", onMain<kList1Id, selectItem<true>>},
    {"item-point <i>", "the middle of a List1 item on the screen", onMain<kList1Id, itemPoint>},
    {"drop <x> <y> <path>...", "files let go over the main window at a point of the screen",
     onMain<0, drop>},
    {"key <vk>", "a key pressed and let go in the control of the main window with the keyboard",
     onMain<0, pressKey>},
    {"list-state", "List1 as \"single|multi current=<i> top=<i> selected=<i,..|-> focus=yes|no\"",
     onMain<kList1Id, listState>},
    {"scroll <top>", "scroll List1 so that item top is the first shown",
     onMain<kList1Id, scrollList>},
    {"text <id> [ask]",
     "\"shown|hidden <text>\" of a control (0: the window), as the system keeps it",
     [](const Args& a) { return controlState(a.number(0), a.n == 2); }},
    {"main-point <id>", "the middle of a control on the screen",
     [](const Args& a) { return controlPoint(a.number(0)); }},
    {"tray-point", "the middle of the program's icon in Wine's notification area",
     [](const Args&) { return trayPoint(); }},
};

}  // namespace

const std::span<const Command> driver::kMainWindowCommands = kCommands;
