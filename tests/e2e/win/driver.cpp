// trovik-driver: a second Win32 process in the same Wine prefix that drives a running Trovik for
// the end-to-end scripts. It finds windows, answers message boxes and reads the lists back, and
// prints what it saw on stdout. Exit code 0 means done, 1 means the expectation failed or timed
// out, 2 means the command line was wrong.

// windows.h first: the headers after it build on its definitions.
// clang-format off
#include <windows.h>
// clang-format on
#include "driver.h"

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "inspect.h"

namespace driver {

constexpr const char* kMainClass = "TForm1";
constexpr int kBoxTextId = 0xFFFF;

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Memory inside the program's process: common controls do not marshal their structures across
// processes, so the structure and its text buffer have to live where the control can write them.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process),
        base_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return base_ != nullptr; }
  char* at(SIZE_T offset) const { return static_cast<char*>(base_) + offset; }
  bool write(SIZE_T offset, const void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }
  bool read(SIZE_T offset, void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, at(offset), data, size, &done) && done == size;
  }

 private:
  HANDLE process_;
  void* base_;
};

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
    LRESULT length = 0;
    if (!send(box, getLength, static_cast<WPARAM>(i), 0, length) || length < 0)
      return fail("cannot read item " + std::to_string(i));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = 0;
    if (!send(box, getText, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), got) ||
        got < 0)
      return fail("cannot read item " + std::to_string(i));
    text.resize(static_cast<size_t>(got));
    say(toAnsi(text));
  }
  return 0;
}

}  // namespace driver

namespace {

using namespace driver;

HWND mainWindow() { return FindWindowA(kMainClass, nullptr); }

HWND visibleBox(const std::wstring& caption) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", caption.c_str())) != nullptr)
    if (IsWindowVisible(box)) return box;
  return nullptr;
}

std::string boxText(HWND box) { return toAnsi(windowText(GetDlgItem(box, kBoxTextId))); }

HWND control(int id) {
  HWND main = mainWindow();
  return main ? GetDlgItem(main, id) : nullptr;
}

// wait-window <class> <title|-> <timeout-ms>: a visible top-level window of that class (and title)
// whose thread is back in its message loop, so what it does while it opens is done.
int waitWindow(const char* className, const char* title, DWORD ms) {
  const char* wanted = std::strcmp(title, "-") == 0 ? nullptr : title;
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    HWND window = FindWindowA(className, wanted);
    LRESULT ignored = 0;
    if (window && IsWindowVisible(window) && send(window, WM_NULL, 0, 0, ignored)) {
      char line[64];
      std::snprintf(line, sizeof line, "window %p", static_cast<void*>(window));
      say(line);
      return 0;
    }
    if (deadline.passed())
      return fail(std::string("no visible window of class ") + className + " within the time");
  }
}

// answer <caption> <yes|no|ok|cancel> <timeout-ms> [expected-text]: click a button of the message
// box with that caption, after checking its text, and wait until the box is gone so the next
// command cannot race with its modal loop.
int answer(const char* caption, const char* button, DWORD ms, const char* expected) {
  struct Choice {
    const char* name;
    int id;
  };
  static constexpr Choice choices[] = {
      {"yes", IDYES}, {"no", IDNO}, {"ok", IDOK}, {"cancel", IDCANCEL}};
  int id = 0;
  for (const Choice& choice : choices)
    if (std::strcmp(choice.name, button) == 0) id = choice.id;
  if (!id) return fail(std::string("unknown button ") + button);

  std::wstring wanted = toWide(caption);
  Deadline deadline(ms);
  HWND box = nullptr;
  while (!(box = visibleBox(wanted))) {
    if (deadline.passed())
      return fail(std::string("no message box \"") + caption + "\" within the time");
    Sleep(kPollMs);
  }
  std::string text = boxText(box);
  say(text);
  if (expected && text.find(expected) == std::string::npos)
    return fail(std::string("box \"") + caption + "\" does not say \"" + expected + "\"");
  HWND target = GetDlgItem(box, id);
  if (!target) return fail(std::string("box \"") + caption + "\" has no " + button + " button");
  LRESULT ignored = 0;
  if (!send(target, BM_CLICK, 0, 0, ignored)) return fail("the click was not taken");
  for (Deadline gone(kSendTimeoutMs); IsWindow(box); Sleep(kPollMs))
    if (gone.passed())
      return fail(std::string("box \"") + caption + "\" stayed open after the click");
  return 0;
}

// no-box <caption> <ms>: the program must not show a box with this caption within ms.
int noBox(const char* caption, DWORD ms) {
  std::wstring wanted = toWide(caption);
  for (Deadline deadline(ms); !deadline.passed(); Sleep(kPollMs)) {
    if (HWND box = visibleBox(wanted)) {
      say(boxText(box));
      return fail(std::string("unexpected message box \"") + caption + "\"");
    }
  }
  return 0;
}

// boxes: every visible message box, as "caption: text" — what a failing script shows to explain.
int boxes() {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr)
    if (IsWindowVisible(box)) say(toAnsi(windowText(box)) + ": " + boxText(box));
  return 0;
}

// The program's WM_COPYDATA tag for reading a link entry of its hidden list, which has no window.
constexpr ULONG_PTR kLinkQuery = 0x4C4E4B51;
constexpr int kLinksId = 102;

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
int links() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
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

// list <ctrl-id>: the items of a list box or combo box of the main window, one a line; 102 is the
// hidden list of link entries.
int list(int id) {
  if (id == kLinksId) return links();
  HWND box = control(id);
  if (!box) return fail("the main window has no control " + std::to_string(id));
  return listItems(box);
}

constexpr int kTabsId = 103;

// tabs: the captions of the fileset tabs, one a line.
int tabs() {
  HWND tab = control(kTabsId);
  if (!tab) return fail("the main window has no tab control");
  LRESULT count = 0;
  if (!send(tab, TCM_GETITEMCOUNT, 0, 0, count) || count < 0) return fail("cannot count the tabs");

  DWORD pid = 0;
  GetWindowThreadProcessId(tab, &pid);
  UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return fail("cannot open the program's process");
  constexpr int kTextMax = 520;
  constexpr SIZE_T kTextAt = sizeof(TCITEMW);
  RemoteBuffer remote(process.get(), kTextAt + kTextMax * sizeof(wchar_t));
  if (!remote) return fail("cannot place a buffer in the program's process");

  for (LRESULT i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(remote.at(kTextAt));
    item.cchTextMax = kTextMax;
    wchar_t empty = L'\0';
    LRESULT ok = 0;
    if (!remote.write(0, &item, sizeof item) || !remote.write(kTextAt, &empty, sizeof empty) ||
        !send(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at(0)),
              ok) ||
        !ok)
      return fail("cannot read tab " + std::to_string(i));
    // The control may point pszText at its own copy instead of filling the buffer.
    if (!remote.read(0, &item, sizeof item)) return fail("cannot read tab " + std::to_string(i));
    std::vector<wchar_t> text(kTextMax + 1, L'\0');
    SIZE_T done = 0;
    ReadProcessMemory(process.get(), item.pszText, text.data(), kTextMax * sizeof(wchar_t), &done);
    text[done / sizeof(wchar_t) < kTextMax ? done / sizeof(wchar_t) : kTextMax] = L'\0';
    say(toAnsi(text.data()));
  }
  return 0;
}

// tab-index: the index of the selected fileset tab.
int tabIndex() {
  HWND tab = control(kTabsId);
  if (!tab) return fail("the main window has no tab control");
  LRESULT index = 0;
  if (!send(tab, TCM_GETCURSEL, 0, 0, index)) return fail("cannot read the selected tab");
  say(std::to_string(index));
  return 0;
}

// close: ask the main window to close, the way the title bar's close button does.
int closeMain() {
  HWND main = mainWindow();
  if (!main) return fail("no main window to close");
  if (!PostMessageW(main, WM_CLOSE, 0, 0)) return fail("cannot post WM_CLOSE");
  return 0;
}

// wait-exit <timeout-ms>: the main window is gone and, when it could be opened, its process ended
// (the files are written before the process ends, not necessarily before the window goes).
int waitExit(DWORD ms) {
  Deadline deadline(ms);
  HWND main = mainWindow();
  if (main) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
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

constexpr int kList1Id = 101;

// Opens the program's process for placing structures in it.
UniqueHandle openProgram(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return UniqueHandle(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
}

// The program's WM_COPYDATA tag for asking the number of a menu command by its item's name.
constexpr ULONG_PTR kCommandIdQuery = 0x434D4944;

// menu <name>: choose a command of the main window's menu (or its shortcut) by the name of its
// item ("runexit", "Opendirectory", "Switch2"): the program tells its number, which is then
// posted, not sent: the command may open a message box, which a send would wait on.
int menuCommand(const char* name) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  COPYDATASTRUCT query{kCommandIdQuery, static_cast<DWORD>(std::strlen(name) + 1),
                       const_cast<char*>(name)};
  LRESULT id = 0;
  if (!send(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query), id))
    return fail("the program does not answer");
  if (id <= 0) return fail(std::string("the menu has no command ") + name);
  if (!PostMessageW(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0))
    return fail("cannot post WM_COMMAND");
  return 0;
}

// select <index> / dblclick <index>: make an item of List1 the current one and tell the window as
// a click does; dblclick then double-clicks it.
int selectItem(int index, bool twice) {
  HWND main = mainWindow();
  HWND list = control(kList1Id);
  if (!main || !list) return fail("no main window with a list");
  LRESULT result = 0;
  if (!send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, result) || result != index)
    return fail("cannot select item " + std::to_string(index));
  const LPARAM from = reinterpret_cast<LPARAM>(list);
  if (!PostMessageW(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_SELCHANGE), from))
    return fail("cannot post LBN_SELCHANGE");
  if (twice && !PostMessageW(main, WM_COMMAND, MAKEWPARAM(kList1Id, LBN_DBLCLK), from))
    return fail("cannot post LBN_DBLCLK");
  return 0;
}

// item-point <index>: the middle of a List1 item in the main window's client coordinates.
int itemPoint(int index) {
  HWND main = mainWindow();
  HWND list = control(kList1Id);
  if (!main || !list) return fail("no main window with a list");
  RECT r{};
  LRESULT result = 0;
  if (!send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r),
            result) ||
      result == LB_ERR)
    return fail("no rectangle for item " + std::to_string(index));
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MapWindowPoints(list, main, &at, 1);
  say(std::to_string(at.x) + " " + std::to_string(at.y));
  return 0;
}

// tab-point <index>: the middle of a fileset tab in the main window's client coordinates.
int tabPoint(int index) {
  HWND main = mainWindow();
  HWND tab = control(kTabsId);
  if (!main || !tab) return fail("no main window with tabs");
  UniqueHandle process = openProgram(tab);
  if (!process) return fail("cannot open the program's process");
  RemoteBuffer remote(process.get(), sizeof(RECT));
  RECT r{};
  LRESULT ok = 0;
  if (!remote ||
      !send(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index),
            reinterpret_cast<LPARAM>(remote.at(0)), ok) ||
      !ok || !remote.read(0, &r, sizeof r))
    return fail("no rectangle for tab " + std::to_string(index));
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MapWindowPoints(tab, main, &at, 1);
  say(std::to_string(at.x) + " " + std::to_string(at.y));
  return 0;
}

// drop <x> <y> <path>...: files let go over the main window at a client point, as the shell
// delivers them: a DROPFILES block with ANSI paths, placed in the program's memory and handed
// over with WM_DROPFILES. The program releases the block when it is done with it.
int dropFiles(int x, int y, char** paths, int count) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = {x, y};
  header.fNC = FALSE;
  header.fWide = FALSE;
  std::memcpy(block.data(), &header, sizeof header);
  for (int i = 0; i < count; ++i) {
    block += paths[i];
    block += '\0';
  }
  block += '\0';
  UniqueHandle process = openProgram(main);
  if (!process) return fail("cannot open the program's process");
  void* remote = VirtualAllocEx(process.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  if (!remote) return fail("cannot place the dropped files in the program's process");
  SIZE_T done = 0;
  if (!WriteProcessMemory(process.get(), remote, block.data(), block.size(), &done) ||
      done != block.size() ||
      !PostMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0)) {
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return fail("cannot hand the dropped files over");
  }
  return 0;
}

// key <vk> [ctrl]: a key pressed while the main window has the keyboard. A plain key is posted to
// the control with the focus; with Ctrl the keys go through the system's input, which sets the
// modifier state the program reads, so the main window is brought to the front first.
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
    if (!PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16)) ||
        !PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30)))
      return fail("cannot post the key");
    return 0;
  }
  SetForegroundWindow(main);
  for (Deadline deadline(kSendTimeoutMs); GetForegroundWindow() != main; Sleep(kPollMs))
    if (deadline.passed()) return fail("the main window does not come to the front");
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

// item-screen <index>: the middle of a List1 item in screen coordinates, which are the X display's
// own: real clicks go through the X server (xdotool), so the program sees the keys held with them.
int itemScreen(int index) {
  HWND list = control(kList1Id);
  if (!list) return fail(mainWindow() ? "the main window has no list" : "no main window");
  RECT r{};
  LRESULT result = 0;
  if (!send(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r), result))
    return fail("the list did not answer (error " + std::to_string(GetLastError()) + ")");
  if (result == LB_ERR) return fail("no rectangle for item " + std::to_string(index));
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &at);
  say(std::to_string(at.x) + " " + std::to_string(at.y));
  return 0;
}

// list-state: how List1 stands, as "<single|multi> current=<i> top=<i> selected=<i,...>
// focus=<yes|no>" (current: the selected item of a single-selection list, the focused one of a
// multiple one).
int listState() {
  HWND main = mainWindow();
  HWND list = control(kList1Id);
  if (!main || !list) return fail("no main window with a list");
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

// scroll <top>: scroll List1 so that item top is the first one shown.
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

// choose-folder <path|-> <timeout-ms>: in the open directory-selection dialog, select the
// directory by clicking through its tree (drive, then each folder by name) and confirm; "-"
// cancels. Prints the name of the folder selected when it was confirmed.
int chooseFolder(const char* path, DWORD ms) {
  HWND dialog = nullptr;
  HWND tree = nullptr;
  for (Deadline deadline(ms); !(dialog = folderDialog(tree)); Sleep(kPollMs))
    if (deadline.passed()) return fail("no directory-selection dialog within the time");
  const bool cancel = std::strcmp(path, "-") == 0;
  if (!cancel) {
    UniqueHandle process = openProgram(dialog);
    if (!process) return fail("cannot open the program's process");
    RemoteTree folders(tree, process.get());
    if (!folders) return fail("cannot place a buffer in the program's process");
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
  if (!button) return fail("the dialog has no such button");
  if (!PostMessageW(button, BM_CLICK, 0, 0)) return fail("the click was not taken");
  for (Deadline gone(kSendTimeoutMs); IsWindow(dialog); Sleep(kPollMs))
    if (gone.passed()) return fail("the dialog stayed open after the click");
  return 0;
}

// title: the main window's text, which carries the title with its mode tags.
int title() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  say(toAnsi(windowText(main)));
  return 0;
}

// text <ctrl-id>: whether a control of the main window is shown, and its text.
int controlText(int id) {
  HWND c = control(id);
  if (!c) return fail("the main window has no control " + std::to_string(id));
  say(std::string(IsWindowVisible(c) ? "shown " : "hidden ") + toAnsi(windowText(c)));
  return 0;
}

// rclick <ctrl-id>: a right click in the middle of a control of the main window (0: the window
// itself, at its lower right corner, where no control lies).
int rightClick(int id) {
  HWND main = mainWindow();
  HWND target = id ? control(id) : main;
  if (!target) return fail("no window to click");
  RECT r{};
  GetClientRect(target, &r);
  const LPARAM at = id ? MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2)
                       : MAKELPARAM(r.right - 3, r.bottom - 3);
  if (!PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, at) ||
      !PostMessageW(target, WM_RBUTTONUP, 0, at))
    return fail("cannot post the click");
  return 0;
}

// popup-menu <timeout-ms>: a pop-up menu is open on the screen.
int popupMenu(DWORD ms) {
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      say("menu open");
      return 0;
    }
    if (deadline.passed()) return fail("no pop-up menu within the time");
  }
}

// menu-char <c>: a character typed while a pop-up menu of the main window is open (its items'
// underlined letters choose them).
int menuChar(char c) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  if (!PostMessageW(main, WM_CHAR, static_cast<WPARAM>(c), 1)) return fail("cannot post the key");
  return 0;
}

// The main window's place and state, as "left top width height state".
std::string placeOf(HWND main) {
  RECT r{};
  GetWindowRect(main, &r);
  const char* state = !IsWindowVisible(main) ? "hidden"
                      : IsIconic(main)       ? "minimized"
                      : IsZoomed(main)       ? "maximized"
                                             : "normal";
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + " " + state;
}

// rect: where the main window stands and whether it is normal, maximized, minimized or hidden.
int rect() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  say(placeOf(main));
  return 0;
}

// place <x> <y> <width> <height> [class]: move and size the main window (or the top-level window
// of that class) as a drag of its frame would, then print where it ended up (the program may keep
// it elsewhere).
int place(int x, int y, int width, int height, const char* className) {
  HWND window = className ? FindWindowA(className, nullptr) : mainWindow();
  if (!window) return fail("no window to place");
  if (!SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE))
    return fail("SetWindowPos failed");
  say(placeOf(window));
  return 0;
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

// show <minimize|maximize|restore>: what the taskbar button or the system menu would do.
int showMain(const char* how) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  int command = -1;
  if (std::strcmp(how, "minimize") == 0) command = SW_MINIMIZE;
  if (std::strcmp(how, "maximize") == 0) command = SW_MAXIMIZE;
  if (std::strcmp(how, "restore") == 0) command = SW_RESTORE;
  if (command < 0) return fail(std::string("unknown way to show: ") + how);
  ShowWindow(main, command);
  say(placeOf(main));
  return 0;
}

std::string describe(HWND window) {
  if (!window) return "nothing";
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  return std::string(className) + " \"" + toAnsi(windowText(window)) + "\"";
}

// front: the class and text of the window in the foreground.
int front() {
  say(describe(GetForegroundWindow()));
  return 0;
}

// wait-front <timeout-ms>: the main window is shown, not minimised, and in the foreground.
int waitFront(DWORD ms) {
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    HWND main = mainWindow();
    if (main && GetForegroundWindow() == main && IsWindowVisible(main) && !IsIconic(main)) {
      say(placeOf(main));
      return 0;
    }
    if (deadline.passed()) {
      if (main) say(placeOf(main));
      return fail("the main window is not in front; the foreground window is " +
                  describe(GetForegroundWindow()));
    }
  }
}

struct WindowCount {
  const char* className;
  const char* title;
  int count = 0;
};

BOOL CALLBACK countWindow(HWND window, LPARAM param) {
  auto& c = *reinterpret_cast<WindowCount*>(param);
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, c.className) != 0) return TRUE;
  if (c.title) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, c.title) != 0) return TRUE;
  }
  ++c.count;
  return TRUE;
}

// count <class> <title|->: how many top-level windows, shown or hidden, have that class (and text).
int countWindows(const char* className, const char* title) {
  WindowCount c{className, std::strcmp(title, "-") == 0 ? nullptr : title};
  EnumWindows(&countWindow, reinterpret_cast<LPARAM>(&c));
  say(std::to_string(c.count));
  return 0;
}

// shown <class>: whether a top-level window of that class is on the screen: shown, hidden or none.
int shown(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  say(!window ? "none" : IsWindowVisible(window) ? "shown" : "hidden");
  return 0;
}

// taskbar-style: the main window's extended styles that decide its taskbar button, as
// "toolwindow", "appwindow", both or neither ("-").
int taskbarStyle() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  const LONG_PTR ex = GetWindowLongPtrA(main, GWL_EXSTYLE);
  std::string styles;
  if (ex & WS_EX_TOOLWINDOW) styles += "toolwindow ";
  if (ex & WS_EX_APPWINDOW) styles += "appwindow ";
  say(styles.empty() ? "-" : styles.substr(0, styles.size() - 1));
  return 0;
}

// close-window <class>: ask a top-level window of any program to close.
int closeWindow(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  if (!window) return fail(std::string("no window of class ") + className);
  if (!PostMessageW(window, WM_CLOSE, 0, 0)) return fail("cannot post WM_CLOSE");
  return 0;
}

// short-date <days-ago>: that day in the user's short date format, as the program writes dates.
int shortDate(int daysAgo) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  now.wHour = 12;  // midday: a day is the same day whatever the clock
  now.wMinute = now.wSecond = now.wMilliseconds = 0;
  FILETIME file{};
  SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER t{};
  t.LowPart = file.dwLowDateTime;
  t.HighPart = file.dwHighDateTime;
  t.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 24ULL * 3600ULL * 10000000ULL;
  file.dwLowDateTime = t.LowPart;
  file.dwHighDateTime = t.HighPart;
  SYSTEMTIME day{};
  FileTimeToSystemTime(&file, &day);
  char text[128] = {};
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr, text, sizeof text))
    return fail("GetDateFormatA failed");
  say(text);
  return 0;
}

// work-area: the desktop without the taskbar, as "left top right bottom".
int workArea() {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return fail("no work area");
  say(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
      std::to_string(r.bottom));
  return 0;
}

// hittest <x> <y>: the main window's answer to WM_NCHITTEST at a point in window coordinates
// (negative: from the right or bottom edge).
int hitTest(int x, int y) {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  RECT r{};
  GetWindowRect(main, &r);
  const int sx = x < 0 ? r.right + x : r.left + x;
  const int sy = y < 0 ? r.bottom + y : r.top + y;
  LRESULT hit = 0;
  if (!send(main, WM_NCHITTEST, 0, MAKELPARAM(sx, sy), hit)) return fail("no answer");
  say(std::to_string(hit));
  return 0;
}

// track-size: the main window's tracking limits, as "min-width min-height max-height". The system
// carries the structure across to the program and back, as it does for its own sizing.
int trackSize() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  // What the system would hand over: limits the program does not set stay recognisable.
  MINMAXINFO info{};
  info.ptMaxTrackSize = {9999, 9999};
  LRESULT ignored = 0;
  if (!send(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), ignored))
    return fail("cannot ask for the tracking size");
  say(std::to_string(info.ptMinTrackSize.x) + " " + std::to_string(info.ptMinTrackSize.y) + " " +
      std::to_string(info.ptMaxTrackSize.y));
  return 0;
}

// end-session: the end of the Windows session as the program sees it: asked whether it may end,
// told that it ends, and then its process is ended at once, as the system may do.
int endSession() {
  HWND main = mainWindow();
  if (!main) return fail("no main window");
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
  if (!process) return fail("cannot open the program's process");
  LRESULT mayEnd = 0;
  if (!send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, mayEnd))
    return fail("no answer to WM_QUERYENDSESSION");
  if (!mayEnd) return fail("the program refused the end of the session");
  LRESULT ignored = 0;
  if (!send(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, ignored) && IsWindow(main))
    return fail("no answer to WM_ENDSESSION");
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), kSendTimeoutMs);
  say("ended");
  return 0;
}

int usage() {
  std::fputs(
      "usage: trovik-driver <command> [--then <command>]...\n"
      "  until <timeout-ms> <expected> <command>\n"
      "  wait-window <class> <title|-> <timeout-ms>\n"
      "  answer <caption> <yes|no|ok|cancel> <timeout-ms> [expected-text]\n"
      "  no-box <caption> <ms>\n"
      "  boxes\n"
      "  list <ctrl-id>\n"
      "  tabs\n"
      "  tab-index\n"
      "  close\n"
      "  wait-exit <timeout-ms>\n"
      "  menu <name>\n"
      "  select <index> | dblclick <index>\n"
      "  item-point <index> | tab-point <index>\n"
      "  drop <x> <y> <path>...\n"
      "  key <vk> [ctrl]\n"
      "  item-screen <index> | list-state | scroll <top> | choose-folder <path|-> <timeout-ms>\n"
      "  title | text <ctrl-id>\n"
      "  rclick <ctrl-id|0> | popup-menu <timeout-ms> | menu-char <c>\n"
      "  rect | place <x> <y> <width> <height> [class] | show <minimize|maximize|restore>\n"
      "  title-color | shown <class> | taskbar-style\n"
      "  front | wait-front <timeout-ms> | count <class> <title|-> | close-window <class>\n"
      "  short-date <days-ago> | work-area | hittest <x> <y> | track-size | end-session\n"
      "  version-info <exe> | icons <exe> | manifest <exe> | module <name>\n",
      stderr);
  return 2;
}

// Runs one command: argv[0] is its name, the rest its arguments.
int dispatch(int argc, char** argv) {
  if (argc < 1) return usage();
  std::string command = argv[0];
  int args = argc - 1;
  char** arg = argv + 1;
  if (command == "wait-window" && args == 3) return waitWindow(arg[0], arg[1], parseMs(arg[2]));
  if (command == "answer" && (args == 3 || args == 4))
    return answer(arg[0], arg[1], parseMs(arg[2]), args == 4 ? arg[3] : nullptr);
  if (command == "no-box" && args == 2) return noBox(arg[0], parseMs(arg[1]));
  if (command == "boxes" && args == 0) return boxes();
  if (command == "list" && args == 1) return list(std::atoi(arg[0]));
  if (command == "tabs" && args == 0) return tabs();
  if (command == "tab-index" && args == 0) return tabIndex();
  if (command == "close" && args == 0) return closeMain();
  if (command == "wait-exit" && args == 1) return waitExit(parseMs(arg[0]));
  if (command == "menu" && args == 1) return menuCommand(arg[0]);
  if (command == "select" && args == 1) return selectItem(std::atoi(arg[0]), false);
  if (command == "dblclick" && args == 1) return selectItem(std::atoi(arg[0]), true);
  if (command == "item-point" && args == 1) return itemPoint(std::atoi(arg[0]));
  if (command == "tab-point" && args == 1) return tabPoint(std::atoi(arg[0]));
  if (command == "drop" && args >= 3)
    return dropFiles(std::atoi(arg[0]), std::atoi(arg[1]), arg + 2, args - 2);
  if (command == "key" && (args == 1 || (args == 2 && std::strcmp(arg[1], "ctrl") == 0)))
    return pressKey(static_cast<UINT>(std::strtoul(arg[0], nullptr, 0)), args == 2);
  if (command == "list-state" && args == 0) return listState();
  if (command == "item-screen" && args == 1) return itemScreen(std::atoi(arg[0]));
  if (command == "scroll" && args == 1) return scrollList(std::atoi(arg[0]));
  if (command == "choose-folder" && args == 2) return chooseFolder(arg[0], parseMs(arg[1]));
  if (command == "title" && args == 0) return title();
  if (command == "text" && args == 1) return controlText(std::atoi(arg[0]));
  if (command == "rclick" && args == 1) return rightClick(std::atoi(arg[0]));
  if (command == "popup-menu" && args == 1) return popupMenu(parseMs(arg[0]));
  if (command == "menu-char" && args == 1 && arg[0][0]) return menuChar(arg[0][0]);
  if (command == "rect" && args == 0) return rect();
  if (command == "place" && (args == 4 || args == 5))
    return place(std::atoi(arg[0]), std::atoi(arg[1]), std::atoi(arg[2]), std::atoi(arg[3]),
                 args == 5 ? arg[4] : nullptr);
  if (command == "title-color" && args == 0) return titleColor();
  if (command == "show" && args == 1) return showMain(arg[0]);
  if (command == "front" && args == 0) return front();
  if (command == "wait-front" && args == 1) return waitFront(parseMs(arg[0]));
  if (command == "count" && args == 2) return countWindows(arg[0], arg[1]);
  if (command == "close-window" && args == 1) return closeWindow(arg[0]);
  if (command == "shown" && args == 1) return shown(arg[0]);
  if (command == "taskbar-style" && args == 0) return taskbarStyle();
  if (command == "short-date" && args == 1) return shortDate(std::atoi(arg[0]));
  if (command == "work-area" && args == 0) return workArea();
  if (command == "hittest" && args == 2) return hitTest(std::atoi(arg[0]), std::atoi(arg[1]));
  if (command == "track-size" && args == 0) return trackSize();
  if (command == "end-session" && args == 0) return endSession();
  if (int done = inspectCommand(command, args, arg); done >= 0) return done;
  if (int done = dialogCommand(command, args, arg); done >= 0) return done;
  if (int done = optionsCommand(command, args, arg); done >= 0) return done;
  if (int done = mainWindowCommand(command, args, arg); done >= 0) return done;
  return usage();
}

// until <timeout-ms> <expected> <command...>: repeat a command that reads something back until it
// prints exactly the expected text (its lines joined by line ends), so a script waits for the state
// it needs instead of for a fixed time. On a timeout it prints what the command said last.
int until(DWORD ms, const char* expected, int argc, char** argv) {
  std::string want = expected;
  if (!want.empty()) want += '\n';
  Capture last;
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    Capture now;
    capture = &now;
    const int status = dispatch(argc, argv);
    capture = nullptr;
    if (status == 2) return status;
    if (status == 0 && now.out == want) {
      std::fwrite(now.out.data(), 1, now.out.size(), stdout);
      return 0;
    }
    last = now;
    if (deadline.passed()) {
      std::fwrite(last.out.data(), 1, last.out.size(), stdout);
      return fail(last.why.empty() ? "not as expected within the time" : last.why);
    }
  }
}

// Runs one command, `until` included.
int runCommand(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[0], "until") == 0)
    return until(parseMs(argv[1]), argv[2], argc - 3, argv + 3);
  return dispatch(argc, argv);
}

}  // namespace

// trovik-driver <command> [--then <command>]...: the commands one after another in this process,
// stopping at the first that fails; a state that lasts only a moment after a command is seen by
// the next one without waiting for a new process to start.
int main(int argc, char** argv) {
  // Plain LF line ends: the scripts compare this output with text written on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  int first = 1;
  for (int i = 1; i <= argc; ++i) {
    if (i < argc && std::strcmp(argv[i], "--then") != 0) continue;
    if (const int status = runCommand(i - first, argv + first)) return status;
    first = i + 1;
  }
  return 0;
}
