// trovik-driver: a second Win32 process in the same Wine prefix that drives a running Trovik for
// the end-to-end scripts. It finds windows, answers message boxes and reads the lists back, and
// prints what it saw on stdout. Exit code 0 means done, 1 means the expectation failed or timed
// out, 2 means the command line was wrong. The commands of this file are listed in kUsage below
// (ids are the main window's controls: 101 List1, 102 the hidden list of link entries, 103 the
// tabs, 104 the Snapbar list); those of inspect.cpp and dialogdrive.cpp at the head of those files.

// windows.h first: the headers after it build on its definitions.
// clang-format off
#include <windows.h>
// clang-format on
#include "driver.h"

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "inspect.h"

namespace driver {

std::string toAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring toWide(const char* text) {
  int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size > 0 ? size : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), size);
  out.resize(out.size() - 1);
  return out;
}

// While `until` repeats a command, what the command says and why it failed go here instead of to
// stdout and stderr.
struct Capture {
  std::string out;
  std::string why;
};
Capture* capture = nullptr;

void say(const std::string& line) {
  if (capture) {
    capture->out += line + "\n";
    return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int fail(const std::string& why) {
  if (capture) {
    capture->why = why;
    return 1;
  }
  std::fflush(stdout);
  std::fprintf(stderr, "trovik-driver: %s\n", why.c_str());
  return 1;
}

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  DWORD_PTR out = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &out))
    return false;
  result = static_cast<LRESULT>(out);
  return true;
}

std::wstring windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

DWORD parseMs(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 10)); }

int listItems(HWND box) {
  wchar_t className[64] = {};
  GetClassNameW(box, className, 64);
  bool combo =
      wcsstr(className, L"ComboBox") != nullptr || wcsstr(className, L"COMBOBOX") != nullptr;
  UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;

  LRESULT count = 0;
  if (!send(box, getCount, 0, 0, count) || count < 0) return fail("cannot count the items");
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0, got = 0;
    std::wstring text;
    // Room to spare: a list that refills while it is read (completions as the user types) may
    // give the item a longer text between the two questions.
    if (send(box, getLength, static_cast<WPARAM>(i), 0, length) && length >= 0)
      text.resize(static_cast<size_t>(length) + 1024);
    if (text.empty() ||
        !send(box, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), got) ||
        got < 0)
      return fail("cannot read item " + std::to_string(i));
    text.resize(std::min(static_cast<size_t>(got), text.size()));
    say(toAnsi(text));
  }
  return 0;
}

}  // namespace driver

namespace {

using namespace driver;

constexpr const char* kUsage = R"(usage: trovik-driver <command> [--then <command>]...
  until <ms> <expected> <command>  repeat a reading command until it prints exactly <expected>
  wait-window <class> <title|-> <ms>  a visible top-level window, its thread back in its loop
  answer <caption> <yes|no|ok|cancel> <ms> [text]  check a message box's text, click, wait it out
  no-box <caption> <ms> | boxes    no such box within ms | every box, as "caption: text"
  list <id> | tabs | tab-index     a list's items | the tabs' captions | the selected tab
  close | close-window <class>     ask the main window (a window of that class) to close
  wait-exit <ms>                   the main window gone and its process ended ("exit <code>")
  menu <name>                      choose a menu command by its item's name ("runexit")
  select <i> | dblclick <i>        make item i of List1 current as a click does (and double-click)
  item-point <i> | item-screen <i> | tab-point <i> [<class> <model>]  the middle of an item
                                   (client or screen coordinates) or of a tab (of a dialog's tab
                                   control: on the screen)
  drop <x> <y> <path>...           files let go over the main window at a client point
  key <vk> [ctrl]                  a key pressed while the main window has the keyboard
  list-state | scroll <top>        "<single|multi> current=<i> top=<i> selected=<i,..|-> focus=<yes|
                                   no>" of List1 | scroll it so that item top is the first shown
  choose-folder <path|-> <ms>      click through the directory dialog's tree to the folder and
                                   confirm (or cancel); prints the folder selected
  title | text <id>                the main window's text | "shown|hidden <text>" of a control
  rclick <id|0> | popup-menu <ms> | menu-char <c>  right-click a control (0: the window's lower
                                   right corner) | a pop-up menu is open | a letter typed into it
  title-color                      the title bar's colour: active, inactive or #rrggbb
)";

constexpr int kList1Id = 101, kLinksId = 102, kTabsId = 103, kBoxTextId = 0xFFFF;

HWND mainWindow() { return FindWindowA("TForm1", nullptr); }

HWND control(int id) {
  HWND main = mainWindow();
  return main ? GetDlgItem(main, id) : nullptr;
}

// Asks found() again and again until it says yes; false when the time ran out first.
bool waitFor(DWORD ms, const std::function<bool()>& found) {
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    if (found()) return true;
    if (deadline.passed()) return false;
  }
}

int post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return PostMessageW(window, message, wparam, lparam) ? 0 : fail("cannot post to the program");
}

std::string point(POINT at) { return std::to_string(at.x) + " " + std::to_string(at.y); }

POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

int waitWindow(const char* className, const char* title, DWORD ms) {
  const char* wanted = std::strcmp(title, "-") == 0 ? nullptr : title;
  HWND window = nullptr;
  LRESULT ignored = 0;
  if (!waitFor(ms, [&] {
        window = FindWindowA(className, wanted);
        return window && IsWindowVisible(window) && send(window, WM_NULL, 0, 0, ignored);
      }))
    return fail(std::string("no visible window of class ") + className + " within the time");
  say("window " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));
  return 0;
}

HWND visibleBox(const std::wstring& caption) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", caption.c_str())) != nullptr)
    if (IsWindowVisible(box)) return box;
  return nullptr;
}

std::string boxText(HWND box) { return toAnsi(windowText(GetDlgItem(box, kBoxTextId))); }

int answer(const char* caption, const char* button, DWORD ms, const char* expected) {
  const char* names[] = {"yes", "no", "ok", "cancel"};
  const int ids[] = {IDYES, IDNO, IDOK, IDCANCEL};
  int id = 0;
  for (int i = 0; i < 4; ++i)
    if (std::strcmp(names[i], button) == 0) id = ids[i];
  if (!id) return fail(std::string("unknown button ") + button);
  HWND box = nullptr;
  if (!waitFor(ms, [&] { return (box = visibleBox(toWide(caption))) != nullptr; }))
    return fail(std::string("no message box \"") + caption + "\" within the time");
  const std::string text = boxText(box);
  say(text);
  if (expected && text.find(expected) == std::string::npos)
    return fail(std::string("box \"") + caption + "\" does not say \"" + expected + "\"");
  HWND target = GetDlgItem(box, id);
  if (!target) return fail(std::string("box \"") + caption + "\" has no " + button + " button");
  LRESULT ignored = 0;
  if (!send(target, BM_CLICK, 0, 0, ignored)) return fail("the click was not taken");
  // Gone before the next command, which would race with its modal loop.
  if (!waitFor(kSendTimeoutMs, [&] { return !IsWindow(box); }))
    return fail(std::string("box \"") + caption + "\" stayed open after the click");
  return 0;
}

int noBox(const char* caption, DWORD ms) {
  HWND box = nullptr;
  if (waitFor(ms, [&] { return (box = visibleBox(toWide(caption))) != nullptr; })) {
    say(boxText(box));
    return fail(std::string("unexpected message box \"") + caption + "\"");
  }
  return 0;
}

int boxes() {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr)
    if (IsWindowVisible(box)) say(toAnsi(windowText(box)) + ": " + boxText(box));
  return 0;
}

// The program's WM_COPYDATA tags: reading a link entry of its hidden list (which has no window),
// and asking the number of a menu command by its item's name.
constexpr ULONG_PTR kLinkQuery = 0x4C4E4B51;
constexpr ULONG_PTR kCommandIdQuery = 0x434D4944;

// The entry the program sends back to the driver's own window.
std::string received;
LRESULT CALLBACK replyWindow(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg != WM_COPYDATA) return DefWindowProcW(h, msg, w, l);
  const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(l);
  if (data.dwData != kLinkQuery) return 0;
  received.assign(static_cast<const char*>(data.lpData), data.cbData);
  return 1;
}

// The link entries, one a line, asked of the program one by one.
int links(HWND main) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = replyWindow;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrovikDriverReply";
  RegisterClassW(&wc);
  HWND me = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                          nullptr);
  if (!me) return fail("cannot make a window for the answers");
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
  HWND main = mainWindow();
  if (main && id == kLinksId) return links(main);
  HWND box = main ? GetDlgItem(main, id) : nullptr;
  if (!box) return fail("the main window has no control " + std::to_string(id));
  return listItems(box);
}

// The tab control of the main window with a buffer in the program's process for its answers.
struct RemoteTabs {
  // The main window's tabs, or another tab control of the program.
  explicit RemoteTabs(HWND of = nullptr) : tab(of ? of : control(kTabsId)) {}
  HWND main = mainWindow();
  HWND tab;
  UniqueHandle process = openProgram(tab);
  RemoteBuffer remote{process.get(), sizeof(TCITEMW) + 520 * sizeof(wchar_t)};
  explicit operator bool() const { return main && tab && process && remote; }
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
    ReadProcessMemory(t.process.get(), item.pszText, text.data(), kTextMax * sizeof(wchar_t),
                      &done);
    text[std::min<SIZE_T>(done / sizeof(wchar_t), kTextMax)] = L'\0';
    say(toAnsi(text.data()));
  }
  return 0;
}

int tabIndex() {
  HWND tab = control(kTabsId);
  LRESULT index = 0;
  if (!tab || !send(tab, TCM_GETCURSEL, 0, 0, index)) return fail("cannot read the selected tab");
  say(std::to_string(index));
  return 0;
}

int tabPoint(int index, HWND of) {
  RemoteTabs t(of);
  RECT r{};
  LRESULT ok = 0;
  if (!t ||
      !send(t.tab, TCM_GETITEMRECT, static_cast<WPARAM>(index),
            reinterpret_cast<LPARAM>(t.remote.at(0)), ok) ||
      !ok || !t.remote.read(0, &r, sizeof r))
    return fail("no rectangle for tab " + std::to_string(index));
  POINT at = middle(r);
  MapWindowPoints(t.tab, of ? nullptr : t.main, &at, 1);
  say(point(at));
  return 0;
}

int closeWindow(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  if (!window) return fail(std::string("no window of class ") + className);
  return post(window, WM_CLOSE, 0, 0);
}

// The files are written before the process ends, not necessarily before the window goes.
int waitExit(DWORD ms) {
  Deadline deadline(ms);
  if (HWND main = mainWindow()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid),
                         &CloseHandle);
    if (process) {
      if (WaitForSingleObject(process.get(), ms) != WAIT_OBJECT_0)
        return fail("the program did not exit within the time");
      DWORD code = 0;
      GetExitCodeProcess(process.get(), &code);
      say("exit " + std::to_string(code));
      return 0;
    }
  }
  for (; mainWindow(); Sleep(kPollMs))
    if (deadline.passed()) return fail("the main window is still there");
  say("gone");
  return 0;
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
int itemPoint(int index, bool screen) {
  HWND list = control(kList1Id);
  if (!list) return fail("no main window with a list");
  RECT r{};
  LRESULT result = 0;
  if (!send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r), result))
    return fail("the list did not answer (error " + std::to_string(GetLastError()) + ")");
  if (result == LB_ERR) return fail("no rectangle for item " + std::to_string(index));
  POINT at = middle(r);
  if (screen)
    ClientToScreen(list, &at);
  else
    MapWindowPoints(list, mainWindow(), &at, 1);
  say(point(at));
  return 0;
}

// As the shell delivers them: a DROPFILES block with ANSI paths, placed in the program's memory
// and handed over with WM_DROPFILES. The program releases the block when it is done with it.
int dropFiles(int x, int y, char** paths, int count) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = {x, y};
  std::memcpy(block.data(), &header, sizeof header);
  for (int i = 0; i < count; ++i) block.append(paths[i]).push_back('\0');
  block += '\0';
  UniqueHandle process = openProgram(main);
  RemoteBuffer remote(process.get(), block.size());
  if (!process || !remote || !remote.write(0, block.data(), block.size()) ||
      !PostMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote.at(0)), 0))
    return fail("cannot hand the dropped files over");
  remote.release();
  return 0;
}

// A plain key is posted to the control with the focus; with Ctrl the keys go through the system's
// input, which sets the modifier state the program reads, so the main window comes to the front.
int pressKey(UINT vk, bool ctrl) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  if (!ctrl) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND target = main;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui) && gui.hwndFocus)
      target = gui.hwndFocus;
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    if (int failed = post(target, WM_KEYDOWN, vk, 1 | (scan << 16))) return failed;
    return post(target, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
  }
  SetForegroundWindow(main);
  if (!waitFor(kSendTimeoutMs, [&] { return GetForegroundWindow() == main; }))
    return fail("the main window does not come to the front");
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_CONTROL, static_cast<WORD>(vk), static_cast<WORD>(vk), VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  if (SendInput(4, keys, sizeof(INPUT)) != 4) return fail("the system did not take the keys");
  return 0;
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
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  const bool focus =
      GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui) && gui.hwndFocus == list;
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

// The directory-selection dialog (its window has a tree of folders) and its tree.
HWND folderDialog(HWND& tree) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
    if (!IsWindowVisible(box)) continue;
    if ((tree = FindWindowExW(box, nullptr, WC_TREEVIEWW, nullptr)) != nullptr) return box;
  }
  return nullptr;
}

// A tree view of the program's process, read and walked from here.
class RemoteTree {
 public:
  RemoteTree(HWND tree, HANDLE process)
      : tree_(tree), remote_(process, kTextAt + kTextMax * sizeof(wchar_t)) {}
  explicit operator bool() const { return static_cast<bool>(remote_); }

  LRESULT next(UINT how, LRESULT item = 0) const {
    LRESULT found = 0;
    return send(tree_, TVM_GETNEXTITEM, how, item, found) ? found : 0;
  }
  std::string text(LRESULT item) const {
    TVITEMW request{};
    request.mask = TVIF_TEXT;
    request.hItem = reinterpret_cast<HTREEITEM>(item);
    request.pszText = reinterpret_cast<LPWSTR>(remote_.at(kTextAt));
    request.cchTextMax = kTextMax;
    LRESULT ok = 0;
    std::vector<wchar_t> text(kTextMax + 1, L'\0');
    if (!item || !remote_.write(0, &request, sizeof request) ||
        !send(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_.at(0)), ok) || !ok ||
        !remote_.read(kTextAt, text.data(), kTextMax * sizeof(wchar_t)))
      return {};
    return toAnsi(text.data());
  }
  // The first child of item (listed by the dialog when it is expanded) whose text satisfies
  // wanted, or 0.
  template <class Wanted>
  LRESULT child(LRESULT item, Wanted wanted) const {
    LRESULT ignored = 0;
    send(tree_, TVM_EXPAND, TVE_EXPAND, item, ignored);
    for (LRESULT c = next(TVGN_CHILD, item); c; c = next(TVGN_NEXT, c))
      if (wanted(text(c))) return c;
    return 0;
  }
  bool select(LRESULT item) const {
    LRESULT ok = 0;
    return send(tree_, TVM_SELECTITEM, TVGN_CARET, item, ok) && ok;
  }

 private:
  static constexpr int kTextMax = 520;
  static constexpr SIZE_T kTextAt = sizeof(TVITEMW);
  HWND tree_;
  RemoteBuffer remote_;
};

// The item of a directory "X:\a\b" in the dialog's tree, found by the names it shows: the drive
// shows as "... (X:)" within the first two levels, each folder by its name. 0 when not found.
LRESULT folderItem(const RemoteTree& tree, const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return 0;
  const std::string drive = "(" + path.substr(0, 2) + ")";
  auto isDrive = [&](const std::string& t) { return t.find(drive) != std::string::npos; };
  const LRESULT root = tree.next(TVGN_ROOT);
  LRESULT item = isDrive(tree.text(root)) ? root : tree.child(root, isDrive);
  for (LRESULT c = item ? 0 : tree.next(TVGN_CHILD, root); c && !item; c = tree.next(TVGN_NEXT, c))
    item = tree.child(c, isDrive);
  size_t at = 2;
  while (item && at < path.size()) {
    const size_t from = path.find_first_not_of('\\', at);
    if (from == std::string::npos) break;
    const size_t to = std::min(path.find('\\', from), path.size());
    const std::string name = path.substr(from, to - from);
    item = tree.child(
        item, [&](const std::string& t) { return lstrcmpiA(t.c_str(), name.c_str()) == 0; });
    at = to;
  }
  return item;
}

int chooseFolder(const char* path, DWORD ms) {
  HWND dialog = nullptr;
  HWND tree = nullptr;
  if (!waitFor(ms, [&] { return (dialog = folderDialog(tree)) != nullptr; }))
    return fail("no directory-selection dialog within the time");
  const bool cancel = std::strcmp(path, "-") == 0;
  if (!cancel) {
    UniqueHandle process = openProgram(dialog);
    RemoteTree folders(tree, process.get());
    if (!process || !folders) return fail("cannot place a buffer in the program's process");
    // The dialog selects its starting folder once it is ready, which may come after a choice
    // made too early: choose until the choice stays.
    const char* slash = std::strrchr(path, '\\');
    const std::string leaf = slash ? slash + 1 : path;
    std::string selected;
    for (Deadline deadline(ms);; Sleep(100)) {
      const LRESULT item = folderItem(folders, path);
      if (item) folders.select(item);
      Sleep(200);
      selected = folders.text(folders.next(TVGN_CARET));
      if (item && lstrcmpiA(selected.c_str(), leaf.c_str()) == 0) break;
      if (deadline.passed())
        return fail("the dialog does not select " + std::string(path) + " but " + selected);
    }
    say(selected);
  }
  HWND button = GetDlgItem(dialog, cancel ? IDCANCEL : IDOK);
  if (!button || post(button, BM_CLICK, 0, 0)) return fail("the click was not taken");
  if (!waitFor(kSendTimeoutMs, [&] { return !IsWindow(dialog); }))
    return fail("the dialog stayed open after the click");
  return 0;
}

int title() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  say(toAnsi(windowText(main)));
  return 0;
}

int controlText(int id) {
  HWND c = control(id);
  if (!c) return fail("the main window has no control " + std::to_string(id));
  say(std::string(IsWindowVisible(c) ? "shown " : "hidden ") + toAnsi(windowText(c)));
  return 0;
}

int rightClick(int id) {
  HWND main = mainWindow();
  HWND target = id ? control(id) : main;
  if (!target) return fail("no window to click");
  RECT r{};
  GetClientRect(target, &r);
  const LPARAM at = id ? MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2)
                       : MAKELPARAM(r.right - 3, r.bottom - 3);
  if (int failed = post(target, WM_RBUTTONDOWN, MK_RBUTTON, at)) return failed;
  return post(target, WM_RBUTTONUP, 0, at);
}

int popupMenu(DWORD ms) {
  if (!waitFor(ms, [] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
      }))
    return fail("no pop-up menu within the time");
  say("menu open");
  return 0;
}

int menuChar(char c) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  return post(main, WM_CHAR, static_cast<WPARAM>(c), 1);
}

// title-color: the colour the main window's title bar shows on the screen, along its top edge:
// "active" or "inactive" when it is the system's caption colour of that name, else "#rrggbb".
int titleColor() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  RECT r{};
  GetWindowRect(main, &r);
  HDC screen = GetDC(nullptr);
  if (!screen) return fail("cannot read the screen");
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, r.top + 2);
  ReleaseDC(nullptr, screen);
  if (c == CLR_INVALID) return fail("cannot read the title bar's colour");
  if (c == GetSysColor(COLOR_ACTIVECAPTION)) {
    say("active");
  } else if (c == GetSysColor(COLOR_INACTIVECAPTION)) {
    say("inactive");
  } else {
    char hex[16];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    say(hex);
  }
  return 0;
}

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Runs one command: argv[0] is its name, the rest its arguments.
int dispatch(int argc, char** argv) {
  if (argc < 1) return usage();
  std::string command = argv[0];
  int args = argc - 1;
  char** arg = argv + 1;
  auto number = [&](int i) { return std::atoi(arg[i]); };
  if (command == "wait-window" && args == 3) return waitWindow(arg[0], arg[1], parseMs(arg[2]));
  if (command == "answer" && (args == 3 || args == 4))
    return answer(arg[0], arg[1], parseMs(arg[2]), args == 4 ? arg[3] : nullptr);
  if (command == "no-box" && args == 2) return noBox(arg[0], parseMs(arg[1]));
  if (command == "boxes" && args == 0) return boxes();
  if (command == "list" && args == 1) return list(number(0));
  if (command == "tabs" && args == 0) return tabs();
  if (command == "tab-index" && args == 0) return tabIndex();
  if (command == "close" && args == 0) return closeWindow("TForm1");
  if (command == "wait-exit" && args == 1) return waitExit(parseMs(arg[0]));
  if (command == "menu" && args == 1) return menuCommand(arg[0]);
  if ((command == "select" || command == "dblclick") && args == 1)
    return selectItem(number(0), command == "dblclick");
  if ((command == "item-point" || command == "item-screen") && args == 1)
    return itemPoint(number(0), command == "item-screen");
  if (command == "tab-point" && (args == 1 || args == 3)) {
    HWND of = args == 3 ? dialogControl(arg[1], arg[2]) : nullptr;
    return args == 3 && !of ? 1 : tabPoint(number(0), of);
  }
  if (command == "drop" && args >= 3) return dropFiles(number(0), number(1), arg + 2, args - 2);
  if (command == "key" && (args == 1 || (args == 2 && std::strcmp(arg[1], "ctrl") == 0)))
    return pressKey(static_cast<UINT>(std::strtoul(arg[0], nullptr, 0)), args == 2);
  if (command == "list-state" && args == 0) return listState();
  if (command == "scroll" && args == 1) return scrollList(number(0));
  if (command == "choose-folder" && args == 2) return chooseFolder(arg[0], parseMs(arg[1]));
  if (command == "title" && args == 0) return title();
  if (command == "text" && args == 1) return controlText(number(0));
  if (command == "rclick" && args == 1) return rightClick(number(0));
  if (command == "popup-menu" && args == 1) return popupMenu(parseMs(arg[0]));
  if (command == "menu-char" && args == 1 && arg[0][0]) return menuChar(arg[0][0]);
  if (command == "title-color" && args == 0) return titleColor();
  if (command == "close-window" && args == 1) return closeWindow(arg[0]);
  if (int done = inspectCommand(command, args, arg); done >= 0) return done;
  if (int done = dialogCommand(command, args, arg); done >= 0) return done;
  if (int done = optionsCommand(command, args, arg); done >= 0) return done;
  if (int done = mainWindowCommand(command, args, arg); done >= 0) return done;
  if (int done = addEditCommand(command, args, arg); done >= 0) return done;
  return usage();
}

int until(DWORD ms, const char* expected, int argc, char** argv) {
  const std::string want = *expected ? std::string(expected) + "\n" : "";
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    Capture now;
    capture = &now;
    const int status = dispatch(argc, argv);
    capture = nullptr;
    if (status == 2) return status;
    const bool done = status == 0 && now.out == want;
    if (done || deadline.passed()) {
      std::fwrite(now.out.data(), 1, now.out.size(), stdout);
      return done ? 0 : fail(now.why.empty() ? "not as expected within the time" : now.why);
    }
  }
}

}  // namespace

// The commands run one after another in this process, stopping at the first that fails; a state
// that lasts only a moment after a command is seen by the next one without waiting for a new
// process to start.
int main(int argc, char** argv) {
  // Plain LF line ends: the scripts compare this output with text written on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  int first = 1;
  for (int i = 1; i <= argc; ++i) {
    if (i < argc && std::strcmp(argv[i], "--then") != 0) continue;
    const int n = i - first;
    char** command = argv + first;
    const int status = n >= 4 && std::strcmp(command[0], "until") == 0
                           ? until(parseMs(command[1]), command[2], n - 3, command + 3)
                           : dispatch(n, command);
    if (status) return status;
    first = i + 1;
  }
  return 0;
}
