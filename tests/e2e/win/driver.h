#pragma once
// What the driver's command files share: the table a command is a row of, how a command says what
// it saw or why it failed (both caught by `until`), messages sent with a time limit, texts and
// lists read back, and input handed to the program.
// clang-format off
#include <windows.h>
// clang-format on
#include <cstdlib>
#include <functional>
#include <span>
#include <string>

#include "win32/querytags.h"
#include "win32/wide.h"

namespace driver {

using trovik::win32::kCommandIdQuery;
using trovik::win32::kControlIdQuery;
using trovik::win32::kLinkQuery;
// Text crosses to and from Windows as the program's own edge does it.
using trovik::win32::narrow;
using trovik::win32::wide;
using trovik::win32::windowText;

constexpr DWORD kPollMs = 20;
// A send (or a window's reaction to one) that takes longer than this means the program is stuck;
// better a clear failure than a test that hangs until ctest kills it. A busy machine can keep a
// program from its messages for several seconds (starting another program, for one), so the
// program is waited for that long rather than given up on as soon as the system calls it hung.
constexpr UINT kSendTimeoutMs = 20000;

// A command's arguments.
struct Args {
  char** v;
  int n;
  const char* operator[](int i) const { return v[i]; }
  int number(int i) const { return std::atoi(v[i]); }
  DWORD ms(int i) const { return static_cast<DWORD>(std::strtoul(v[i], nullptr, 10)); }
  UINT key(int i) const { return static_cast<UINT>(std::strtoul(v[i], nullptr, 0)); }
};

// One command: its usage, "name <argument> [optional]... (a last argument ending in ... repeats)",
// which also tells how many arguments it takes; what it does; and the code, which returns the exit
// code (0 done, 1 failed).
struct Command {
  const char* usage;
  const char* help;
  int (*run)(const Args&);
};

// The commands of each file.
extern const std::span<const Command> kMainWindowCommands;  // maindrive.cpp
extern const std::span<const Command> kDialogCommands;      // dialogdrive.cpp
extern const std::span<const Command> kInspectCommands;     // inspect.cpp

// A line of what the command saw, on stdout; returns the exit code 0 of a command done.
int say(const std::string& line);
// Why the command failed, on stderr; returns the failing exit code 1.
int fail(const std::string& why);
// SendMessage with the time limit; false when the program did not answer in time.
bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
// PostMessage, failing with a reason when it cannot.
int post(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// A key pressed and let go in the window that has the keyboard, as posted messages.
int postKey(HWND window, UINT vk);
// Whether the window is of that class, in any case.
bool isClass(HWND window, const char* name);
// Says every item of a list box or combo box, one a line.
int listItems(HWND box);
POINT middle(const RECT& r);
// Says the middle of a window on the screen, "x y".
int sayScreenMiddle(HWND window);
// The control with the keyboard in the window's thread, or null.
HWND focusOf(HWND window);
// Files let go over a window at a point of the screen, as the shell delivers them: a DROPFILES
// block with UTF-16 paths placed in the program's memory, which the program releases.
int dropFiles(HWND window, POINT at, char** paths, int count);
// The main window, or null.
HWND mainWindow();
// The control of a dialog of that class whose model has that name (the dialog answers a
// WM_COPYDATA question with its number), and the dialog through dialog; null, having said why,
// when there is none.
HWND dialogControl(const char* className, const char* model, HWND* dialog = nullptr);
// A control's text as the control itself has it: what GetWindowText reads across processes is
// the system's copy, which an edit field does not keep up to date.
bool controlText(HWND control, std::wstring& text);

// Asks found() again and again until it says yes; false when the time ran out first.
bool waitFor(DWORD ms, const std::function<bool()>& found);

// Memory inside the program's process: common controls do not marshal their structures across
// processes, so the structure and its text buffer have to live where the control can write them.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return base_ != nullptr; }
  HANDLE process() const { return process_; }
  char* at(SIZE_T offset) const { return static_cast<char*>(base_) + offset; }
  bool write(SIZE_T offset, const void* data, SIZE_T size) const;
  bool read(SIZE_T offset, void* data, SIZE_T size) const;
  // Hands the memory over to the program, which frees it itself.
  void release() { base_ = nullptr; }

 private:
  HANDLE process_ = nullptr;
  void* base_ = nullptr;
};

}  // namespace driver
