#pragma once
// What the driver's command files share: how a command says what it saw or why it failed (both
// caught by `until`), messages sent with a time limit, texts and lists read back, memory inside the
// program's process.
// clang-format off
#include <windows.h>
// clang-format on
#include <memory>
#include <string>

namespace driver {

constexpr DWORD kPollMs = 20;
// A send (or a window's reaction to one) that takes longer than this means the program is stuck;
// better a clear failure than a test that hangs until ctest kills it. A busy machine can keep a
// program from its messages for several seconds (starting another program, for one), so the
// program is waited for that long rather than given up on as soon as the system calls it hung.
constexpr UINT kSendTimeoutMs = 20000;

// A line of what the command saw, on stdout.
void say(const std::string& line);
// Why the command failed, on stderr; returns the failing exit code 1.
int fail(const std::string& why);
// SendMessage with the time limit; false when the program did not answer in time.
bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
std::wstring windowText(HWND window);
std::string toAnsi(const std::wstring& text);
std::wstring toWide(const char* text);
DWORD parseMs(const char* text);
// Says every item of a list box or combo box, one a line.
int listItems(HWND box);
// The control of a dialog of that class whose model has that name (the dialog answers a
// WM_COPYDATA question with its number), and the dialog through dialog; null, having said why,
// when there is none.
HWND dialogControl(const char* className, const char* model, HWND* dialog = nullptr);
// A control's text as the control itself has it: what GetWindowText reads across processes is
// the system's copy, which an edit field does not keep up to date.
bool controlText(HWND control, std::wstring& text);

using UniqueHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

// Opens the process of a window for placing structures in it.
inline UniqueHandle openProgram(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return UniqueHandle(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid),
      &CloseHandle);
}

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
  // Hands the memory over to the program, which frees it itself.
  void release() { base_ = nullptr; }

 private:
  HANDLE process_;
  void* base_;
};

class Deadline {
 public:
  explicit Deadline(DWORD ms) : end_(GetTickCount64() + ms) {}
  bool passed() const { return GetTickCount64() >= end_; }

 private:
  ULONGLONG end_;
};

}  // namespace driver

// The dialogs' commands (dialogdrive.cpp): runs the command when it is one of them and returns its
// exit code; -1 when it is not.
int dialogCommand(const std::string& command, int args, char** arg);
// The options dialog's commands (optionsdrive.cpp), alike.
int optionsCommand(const std::string& command, int args, char** arg);
// The main window's frame, bottom row and tray icon (maindrive.cpp), the same way.
int mainWindowCommand(const std::string& command, int args, char** arg);
// The Add/Edit dialog's own commands (addeditdrive.cpp), in the same way.
int addEditCommand(const std::string& command, int args, char** arg);
