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

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  DWORD_PTR out = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, kSendTimeoutMs, &out))
    return false;
  result = static_cast<LRESULT>(out);
  return true;
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
    say(narrow(text));
  }
  return 0;
}

POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

int sayScreenMiddle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const POINT at = middle(r);
  return say(std::to_string(at.x) + " " + std::to_string(at.y));
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

int dropFiles(HWND window, POINT at, char** paths, int count) {
  // In UTF-16, as Explorer drops them.
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  ScreenToClient(window, &at);
  header.pt = at;
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  for (int i = 0; i < count; ++i) {
    const std::wstring path = wide(paths[i]);
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

HWND mainWindow() { return FindWindowA("TForm1", nullptr); }

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
  const char* wanted = std::strcmp(title, "-") == 0 ? nullptr : title;
  HWND window = nullptr;
  LRESULT ignored = 0;
  if (!waitFor(ms, [&] {
        window = FindWindowA(className, wanted);
        return window && IsWindowVisible(window) && send(window, WM_NULL, 0, 0, ignored);
      }))
    return fail(std::string("no visible window of class ") + className + " within the time");
  return say("window " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));
}

HWND visibleBox(const std::wstring& caption) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", caption.c_str())) != nullptr)
    if (IsWindowVisible(box)) return box;
  return nullptr;
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
  if (!waitFor(ms, [&] { return (box = visibleBox(wide(caption))) != nullptr; }))
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

int boxes() {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr)
    if (IsWindowVisible(box)) say(windowText(box) + ": " + boxText(box));
  return 0;
}

int closeWindow(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  if (!window) return fail(std::string("no window of class ") + className);
  return post(window, WM_CLOSE, 0, 0);
}

constexpr Command kCommands[] = {
    {"wait-window <class> <title|-> <ms>", "a visible top-level window, its thread in its loop",
     [](const Args& a) { return waitWindow(a[0], a[1], a.ms(2)); }},
    {"answer <caption> <yes|no|ok|cancel> <ms> [text]",
     "check a message box's text, click, wait it out",
     [](const Args& a) { return answer(a[0], a[1], a.ms(2), a.n == 4 ? a[3] : nullptr); }},
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

// Runs one command: argv[0] is its name, the rest its arguments.
int dispatch(int argc, char** argv) {
  if (argc < 1) return usage();
  const size_t length = std::strlen(argv[0]);
  for (const auto& table : kTables)
    for (const Command& c : table)
      if (std::strncmp(c.usage, argv[0], length) == 0 &&
          (c.usage[length] == ' ' || c.usage[length] == '\0') && fits(c.usage, argc - 1))
        return c.run(Args{argv + 1, argc - 1});
  return usage();
}

int until(DWORD ms, const char* expected, int argc, char** argv) {
  const std::string want = *expected ? std::string(expected) + "\n" : "";
  Capture now;
  int status = 0;
  const bool done = waitFor(ms, [&] {
    now = {};
    capture = &now;
    status = dispatch(argc, argv);
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
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(narrow(given[i]));
  LocalFree(given);
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  char** argv = pointers.data();
  int first = 1;
  for (int i = 1; i <= argc; ++i) {
    if (i < argc && std::strcmp(argv[i], "--then") != 0) continue;
    const int n = i - first;
    char** command = argv + first;
    const int status = n >= 4 && std::strcmp(command[0], "until") == 0
                           ? until(Args{command, n}.ms(1), command[2], n - 3, command + 3)
                           : dispatch(n, command);
    if (status) return status;
    first = i + 1;
  }
  return 0;
}
