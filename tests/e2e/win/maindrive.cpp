// The driver's commands for the main window: its lists and tabs read back, its menu commands,
// clicks, keys and drops handed to it, and the points of its controls and tray icon on the screen
// for real clicks (xdotool). Ids are the main window's controls: 101 List1, 102 the hidden list of
// link entries, 103 the tabs, 104 the Snapbar list, 106 the status label; the title-bar buttons
// are 32513 close, 32514 help, 32515 minimise, 32516 maximise, 32517 Snapbar.
// clang-format off
#include "driver.h"
// after windows.h (through driver.h), which they need
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace driver;

constexpr int kList1Id = 101, kLinksId = 102, kTabsId = 103;

HWND control(int id) {
  HWND main = mainWindow();
  return main ? GetDlgItem(main, id) : nullptr;
}

std::string point(POINT at) { return std::to_string(at.x) + " " + std::to_string(at.y); }

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
int links() {
  HWND main = mainWindow();
  WNDCLASSW wc{};
  wc.lpfnWndProc = replyWindow;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrovikDriverReply";
  RegisterClassW(&wc);
  HWND me = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                          nullptr);
  if (!main || !me) return fail("no main window, or no window for the answers");
  int status = 0;
  for (std::int32_t i = 0;; ++i) {
    COPYDATASTRUCT query{kLinkQuery, sizeof i, &i};
    LRESULT count = 0;
    received.clear();
    if (!send(main, WM_COPYDATA, reinterpret_cast<WPARAM>(me), reinterpret_cast<LPARAM>(&query),
              count)) {
      status = fail("the program does not answer");
      break;
    }
    if (i >= count) break;
    say(received);
  }
  DestroyWindow(me);
  return status;
}

int list(int id) {
  if (id == kLinksId) return links();
  HWND box = control(id);
  return box ? listItems(box) : fail("the main window has no control " + std::to_string(id));
}

// The main window's tabs, or another tab control of the program, with a buffer in the program's
// process for its answers.
struct RemoteTabs {
  explicit RemoteTabs(HWND of = nullptr) : tab(of ? of : control(kTabsId)) {}
  HWND tab;
  RemoteBuffer remote{tab, sizeof(TCITEMW) + 520 * sizeof(wchar_t)};
  explicit operator bool() const { return tab && remote; }
};

int tabs() {
  RemoteTabs t;
  LRESULT count = 0;
  if (!t || !send(t.tab, TCM_GETITEMCOUNT, 0, 0, count) || count < 0)
    return fail("cannot reach the tabs of the main window");
  constexpr int kTextMax = 520;
  for (LRESULT i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(t.remote.at(sizeof item));
    item.cchTextMax = kTextMax;
    wchar_t empty = L'\0';
    LRESULT ok = 0;
    if (!t.remote.write(0, &item, sizeof item) ||
        !t.remote.write(sizeof item, &empty, sizeof empty) ||
        !send(t.tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.remote.at(0)),
              ok) ||
        !ok || !t.remote.read(0, &item, sizeof item))
      return fail("cannot read tab " + std::to_string(i));
    // The control may point pszText at its own copy instead of filling the buffer.
    std::vector<wchar_t> text(kTextMax + 1, L'\0');
    SIZE_T done = 0;
    ReadProcessMemory(t.remote.process(), item.pszText, text.data(), kTextMax * sizeof(wchar_t),
                      &done);
    text[std::min<SIZE_T>(done / sizeof(wchar_t), kTextMax)] = L'\0';
    say(narrow(text.data()));
  }
  return 0;
}

int tabPoint(int index, HWND of = nullptr) {
  RemoteTabs t(of);
  RECT r{};
  LRESULT ok = 0;
  if (!t ||
      !send(t.tab, TCM_GETITEMRECT, static_cast<WPARAM>(index),
            reinterpret_cast<LPARAM>(t.remote.at(0)), ok) ||
      !ok || !t.remote.read(0, &r, sizeof r))
    return fail("no rectangle for tab " + std::to_string(index));
  POINT at = middle(r);
  MapWindowPoints(t.tab, nullptr, &at, 1);
  return say(point(at));
}

// The command is posted, not sent: it may open a message box, which a send would wait on.
int menuCommand(const char* name) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  COPYDATASTRUCT query{kCommandIdQuery, static_cast<DWORD>(std::strlen(name) + 1),
                       const_cast<char*>(name)};
  LRESULT id = 0;
  if (!send(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query), id))
    return fail("the program does not answer");
  if (id <= 0) return fail(std::string("the menu has no command ") + name);
  return post(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

int selectItem(int index, bool twice) {
  HWND main = mainWindow();
  HWND list = control(kList1Id);
  LRESULT result = 0;
  if (!list || !send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, result) || result != index)
    return fail("cannot select item " + std::to_string(index));
  const LPARAM from = reinterpret_cast<LPARAM>(list);
  if (int failed = post(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_SELCHANGE), from)) return failed;
  return twice ? post(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_DBLCLK), from) : 0;
}

// Screen coordinates are the X display's own: real clicks go through the X server (xdotool), so
// the program sees the keys held with them.
int itemPoint(int index) {
  HWND list = control(kList1Id);
  if (!list) return fail("no main window with a list");
  RECT r{};
  LRESULT result = 0;
  if (!send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r), result))
    return fail("the list did not answer (error " + std::to_string(GetLastError()) + ")");
  if (result == LB_ERR) return fail("no rectangle for item " + std::to_string(index));
  POINT at = middle(r);
  ClientToScreen(list, &at);
  return say(point(at));
}

// Posted to the control with the focus, as the system delivers a key.
int pressKey(UINT vk) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  HWND focus = focusOf(main);
  return postKey(focus ? focus : main, vk);
}

int drop(const Args& a) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  return dropFiles(main, {a.number(0), a.number(1)}, a.v + 2, a.n - 2);
}

// current: the selected item of a single-selection list, the focused one of a multiple one.
int listState() {
  HWND main = mainWindow();
  HWND list = control(kList1Id);
  if (!list) return fail("no main window with a list");
  const bool multi =
      (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
  LRESULT current = 0, top = 0, count = 0;
  if (!send(list, multi ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0, current) ||
      !send(list, LB_GETTOPINDEX, 0, 0, top) || !send(list, LB_GETCOUNT, 0, 0, count))
    return fail("cannot read the list");
  std::string selected;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT on = 0;
    if (send(list, LB_GETSEL, static_cast<WPARAM>(i), 0, on) && on > 0)
      selected += (selected.empty() ? "" : ",") + std::to_string(i);
  }
  const bool focus = focusOf(main) == list;
  say(std::string(multi ? "multi" : "single") + " current=" + std::to_string(current) +
      " top=" + std::to_string(top) + " selected=" + (selected.empty() ? "-" : selected) +
      " focus=" + (focus ? "yes" : "no"));
  return 0;
}

int scrollList(int top) {
  HWND list = control(kList1Id);
  LRESULT result = 0;
  if (!list || !send(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0, result) || result == LB_ERR)
    return fail("cannot scroll the list");
  return 0;
}

// The system's copy of the text is read without the program, which may be busy launching; an
// edit field keeps its text to itself, so it is asked (ask). Control 0 is the main window itself.
int controlState(int id, bool ask) {
  HWND c = id ? control(id) : mainWindow();
  std::wstring text;
  if (!c) return fail("the main window has no control " + std::to_string(id));
  if (!ask) text = wide(windowText(c));
  if (ask && !controlText(c, text)) return fail("the program does not answer");
  return say(std::string(IsWindowVisible(c) ? "shown " : "hidden ") + narrow(text));
}

int controlPoint(int id) {
  HWND c = control(id);
  if (!c) return fail("the main window has no control " + std::to_string(id));
  if (!IsWindowVisible(c)) return fail("control " + std::to_string(id) + " is hidden");
  return sayScreenMiddle(c);
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
  return sayScreenMiddle(icon ? icon : tray);
}

constexpr Command kCommands[] = {
    {"list <id>", "a list's items, one a line; of 102, the link entries as a tool asks for them",
     [](const Args& a) { return list(a.number(0)); }},
    {"tabs", "the tabs' captions", [](const Args&) { return tabs(); }},
    {"tab-point <i> [class] [model]", "the middle of a tab of the main window or a dialog",
     [](const Args& a) {
       HWND of = a.n == 3 ? dialogControl(a[1], a[2]) : nullptr;
       return a.n == 3 && !of ? 1 : tabPoint(a.number(0), of);
     }},
    {"menu <name>", "choose a menu command by its item's name (\"runexit\")",
     [](const Args& a) { return menuCommand(a[0]); }},
    {"select <i>", "make item i of List1 current as a click does",
     [](const Args& a) { return selectItem(a.number(0), false); }},
    {"dblclick <i>", "the same, then a double click",
     [](const Args& a) { return selectItem(a.number(0), true); }},
    {"item-point <i>", "the middle of a List1 item on the screen",
     [](const Args& a) { return itemPoint(a.number(0)); }},
    {"drop <x> <y> <path>...", "files let go over the main window at a point of the screen", drop},
    {"key <vk>", "a key pressed and let go in the control of the main window with the keyboard",
     [](const Args& a) { return pressKey(a.key(0)); }},
    {"list-state", "List1 as \"single|multi current=<i> top=<i> selected=<i,..|-> focus=yes|no\"",
     [](const Args&) { return listState(); }},
    {"scroll <top>", "scroll List1 so that item top is the first shown",
     [](const Args& a) { return scrollList(a.number(0)); }},
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
