// trovik-driver: a second Win32 process in the same Wine prefix that drives a running Trovik for
// the end-to-end scripts. It finds windows, answers message boxes and reads the lists back, and
// prints what it saw on stdout. Exit code 0 means done, 1 means the expectation failed or timed
// out, 2 means the command line was wrong. Every command is a row of a table: this file's below,
// the main window's in maindrive.cpp, the dialogs' in dialogdrive.cpp, what the system sees of the
// program in inspect.cpp; run without arguments, the driver lists them all.

// windows.h first: the headers after it build on its definitions.
// clang-format off
#include <windows.h>
// clang-format on
#include "driver.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// While `until` repeats a command, what the command says and why it failed go here instead of to
// stdout and stderr.
struct Capture {
  std::string out;
  std::string why;
};
Capture* capture = nullptr;

int say(const std::string& line) {
  if (capture) {
    capture->out += line + "\n";
    return 0;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  return 0;
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

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR out = 0;
  return SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &out)
             ? static_cast<LRESULT>(out)
             : kNoAnswer;
}

int post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return PostMessageW(window, message, wparam, lparam) ? 0 : fail("cannot post to the program");
}

int postKey(HWND window, UINT vk) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (int failed = post(window, WM_KEYDOWN, vk, 1 | (scan << 16))) return failed;
  return post(window, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
}

bool isClass(HWND window, const char* name) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  return _stricmp(className, name) == 0;
}

int listItems(HWND box) {
  const bool combo = isClass(box, "ComboBox");
  UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;

  const LRESULT count = send(box, getCount);
  if (count < 0) return fail("cannot count the items");
  for (LRESULT i = 0; i < count; ++i) {
    // Room to spare: a list that refills while it is read (completions as the user types) may
    // give the item a longer text between the two questions.
    const LRESULT length = send(box, getLength, i);
    std::wstring text(length < 0 ? 0 : static_cast<size_t>(length) + 1024, L'\0');
    const LRESULT got =
        length < 0 ? length : send(box, getText, i, reinterpret_cast<LPARAM>(text.data()));
    if (got < 0) return fail("cannot read item " + std::to_string(i));
    text.resize(std::min(static_cast<size_t>(got), text.size()));
    say(narrow(text));
  }
  return 0;
}

int sayMiddle(const RECT& r, HWND of) {
  POINT at = middle(r);
  MapWindowPoints(of, nullptr, &at, 1);
  return say(std::to_string(at.x) + " " + std::to_string(at.y));
}

int sayMiddle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return sayMiddle(r);
}

HWND focusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) ? gui.hwndFocus
                                                                           : nullptr;
}

RemoteBuffer::RemoteBuffer(HWND window, SIZE_T size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_)
    base_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteBuffer::write(SIZE_T offset, const void* data, SIZE_T size) const {
  SIZE_T done = 0;
  return WriteProcessMemory(process_, at(offset), data, size, &done) && done == size;
}

bool RemoteBuffer::read(SIZE_T offset, void* data, SIZE_T size) const {
  SIZE_T done = 0;
  return ReadProcessMemory(process_, at(offset), data, size, &done) && done == size;
}

int dropFiles(HWND window, POINT at, std::span<const std::string> paths) {
  // In UTF-16, as Explorer drops them.
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  ScreenToClient(window, &at);
  header.pt = at;
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  for (const std::string& utf8 : paths) {
    const std::wstring path = wide(utf8);
    block.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
  }
  block.append(sizeof(wchar_t), '\0');
  RemoteBuffer remote(window, block.size());
  if (!remote || !remote.write(0, block.data(), block.size()) ||
      !PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote.at(0)), 0))
    return fail("cannot hand the dropped files over");
  remote.release();
  return 0;
}

std::vector<HWND> topWindows(const char* className, const char* title) {
  const std::wstring c = wide(className), t = title ? wide(title) : L"";
  std::vector<HWND> found;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, c.c_str(), title ? t.c_str() : nullptr));)
    found.push_back(w);
  return found;
}

HWND shownWindow(const char* className, const char* title) {
  for (HWND w : topWindows(className, title))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

HWND mainWindow() { return FindWindowW(L"TForm1", nullptr); }

HWND mainControl(int id) {
  HWND main = mainWindow();
  HWND c = main && id ? GetDlgItem(main, id) : main;
  if (!c) fail(main ? "the main window has no control " + std::to_string(id) : "no main window");
  return c;
}

LRESULT askName(HWND window, std::uintptr_t tag, const char* name) {
  COPYDATASTRUCT query{tag, static_cast<DWORD>(std::strlen(name) + 1), const_cast<char*>(name)};
  return send(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query));
}

bool waitFor(DWORD ms, const std::function<bool()>& found) {
  for (const ULONGLONG end = GetTickCount64() + ms;; Sleep(kPollMs)) {
    if (found()) return true;
    if (GetTickCount64() >= end) return false;
  }
}

}  // namespace driver

namespace {

using namespace driver;

constexpr int kBoxTextId = 0xFFFF;

int waitWindow(const char* className, const char* title, DWORD ms) {
  HWND window = nullptr;
  if (!waitFor(ms, [&] {
        window = shownWindow(className, title);
        return window && send(window, WM_NULL) != kNoAnswer;
      }))
    return fail(std::string("no visible window of class ") + className + " within the time");
  return say("window " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));
}

std::string boxText(HWND box) { return windowText(GetDlgItem(box, kBoxTextId)); }

int answer(const char* caption, const char* button, DWORD ms, const char* expected) {
  const char* names[] = {"yes", "no", "ok", "cancel"};
  const int ids[] = {IDYES, IDNO, IDOK, IDCANCEL};
  int id = 0;
  for (int i = 0; i < 4; ++i)
    if (std::strcmp(names[i], button) == 0) id = ids[i];
  if (!id) return fail(std::string("unknown button ") + button);
  HWND box = nullptr;
  if (!waitFor(ms, [&] { return (box = shownWindow("#32770", caption)) != nullptr; }))
    return fail(std::string("no message box \"") + caption + "\" within the time");
  const std::string text = boxText(box);
  say(text);
  if (text.find(expected) == std::string::npos)
    return fail(std::string("box \"") + caption + "\" does not say \"" + expected + "\"");
  HWND target = GetDlgItem(box, id);
  if (!target) return fail(std::string("box \"") + caption + "\" has no " + button + " button");
  if (send(target, BM_CLICK) == kNoAnswer) return fail("the click was not taken");
  // Gone before the next command, which would race with its modal loop.
  if (!waitFor(kSendTimeoutMs, [&] { return !IsWindow(box); }))
    return fail(std::string("box \"") + caption + "\" stayed open after the click");
  return 0;
}

int boxes() {
  for (HWND box : topWindows("#32770"))
    if (IsWindowVisible(box)) say(windowText(box) + ": " + boxText(box));
  return 0;
}

int closeWindow(const char* className) {
  HWND window = FindWindowW(wide(className).c_str(), nullptr);
  return window ? post(window, WM_CLOSE, 0, 0)
                : fail(std::string("no window of class ") + className);
}

constexpr Command kCommands[] = {
    {"wait-window <class> <title|-> <ms>", "a visible top-level window, its thread in its loop",
     [](const Args& a) { return waitWindow(a[0], a.orNone(1), a.natural(2)); }},
    {"answer <caption> <yes|no|ok|cancel> <ms> <text>",
     "check a message box's text, click, wait it out",
     [](const Args& a) { return answer(a[0], a[1], a.natural(2), a[3]); }},
    {"boxes", "every message box, as \"caption: text\"", [](const Args&) { return boxes(); }},
    {"close [class]", "ask the main window (or a top-level window of that class) to close",
     [](const Args& a) { return closeWindow(a.n ? a[0] : "TForm1"); }},
};

const std::span<const Command> kTables[] = {kCommands, kMainWindowCommands, kDialogCommands,
                                            kInspectCommands};

// How many arguments a usage asks for: each <argument> one, each [optional] one more at most, and
// one ending in "..." any number more.
bool fits(std::string_view usage, int args) {
  const auto least = std::ranges::count(usage, '<'), optional = std::ranges::count(usage, '[');
  return args >= least && (args <= least + optional || usage.ends_with("..."));
}

int usage() {
  std::fputs("usage: trovik-driver <command> [--then <command>]...\n", stderr);
  std::fputs("  until <ms> <expected> <command>  repeat a command until it prints <expected>\n",
             stderr);
  for (const auto& table : kTables)
    for (const Command& c : table) std::fprintf(stderr, "  %s  %s\n", c.usage, c.help);
  return 2;
}

// Runs one command: its name, then its arguments.
int dispatch(std::span<const std::string> words) {
  if (words.empty()) return usage();
  for (const auto& table : kTables)
    for (const Command& c : table)
      if (const std::string_view u = c.usage;
          u.substr(0, u.find(' ')) == words[0] && fits(u, static_cast<int>(words.size()) - 1))
        return c.run(Args{words.data() + 1, static_cast<int>(words.size()) - 1});
  return usage();
}

int until(DWORD ms, const std::string& expected, std::span<const std::string> command) {
  const std::string want = expected.empty() ? "" : expected + "\n";
  Capture now;
  int status = 0;
  const bool done = waitFor(ms, [&] {
    now = {};
    capture = &now;
    status = dispatch(command);
    capture = nullptr;
    return status == 2 || (status == 0 && now.out == want);
  });
  if (status == 2) return status;
  std::fwrite(now.out.data(), 1, now.out.size(), stdout);
  return done ? 0 : fail(now.why.empty() ? "not as expected within the time" : now.why);
}

}  // namespace

// The commands run one after another in this process, stopping at the first that fails; a state
// that lasts only a moment after a command is seen by the next one without waiting for a new
// process to start.
int main() {
  // Plain LF line ends: the scripts compare this output with text written on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  // Text in and out is UTF-8, whatever the code page: names in any script pass whole.
  int argc = 0;
  wchar_t** given = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(narrow(given[i]));
  LocalFree(given);
  words.push_back("--then");  // the end of the last command
  for (size_t first = 0, i = 0; i < words.size(); ++i) {
    if (words[i] != "--then") continue;
    const std::span<const std::string> command(words.data() + first, i - first);
    const int status =
        command.size() >= 4 && command[0] == "until"
            ? until(std::strtoul(command[1].c_str(), nullptr, 10), command[2], command.subspan(3))
            : dispatch(command);
    if (status) return status;
    first = i + 1;
  }
  return 0;
}
