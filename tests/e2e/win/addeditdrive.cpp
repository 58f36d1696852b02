// The driver's commands for the Add/Edit dialog that the shared dialog commands do not cover:
//   dlg-drop <class> <model> <path>...   files let go over a control of a dialog, as the shell
//                                        delivers them (a DROPFILES block placed in the program)
//   dlg-caret <class> <model> <pos>      put the cursor of an edit field after pos characters
//   dlg-value <class> <model>            an edit field's text, asked of the field itself: the
//                                        system's copy of a window's text, which dlg-text reads
//                                        across processes, does not follow what an edit field shows
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "driver.h"

namespace {

using namespace driver;

constexpr ULONG_PTR kControlIdQuery = 0x43544944;

HWND control(HWND dialog, const char* model) {
  COPYDATASTRUCT query{kControlIdQuery, static_cast<DWORD>(std::strlen(model) + 1),
                       const_cast<char*>(model)};
  LRESULT id = 0;
  if (!send(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query), id) || id <= 0)
    return nullptr;
  return GetDlgItem(dialog, static_cast<int>(id));
}

int drop(HWND dialog, HWND target, char** paths, int count) {
  RECT r{};
  GetWindowRect(target, &r);
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ScreenToClient(dialog, &at);
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = at;
  std::memcpy(block.data(), &header, sizeof header);
  for (int i = 0; i < count; ++i) block.append(paths[i]).push_back('\0');
  block.push_back('\0');
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return fail("cannot open the program's process");
  void* remote =
      VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  SIZE_T done = 0;
  const bool handed = remote &&
                      WriteProcessMemory(process, remote, block.data(), block.size(), &done) &&
                      done == block.size() &&
                      PostMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  if (!handed && remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return handed ? 0 : fail("cannot hand the dropped files over");
}

int value(HWND edit) {
  LRESULT length = 0;
  if (!send(edit, WM_GETTEXTLENGTH, 0, 0, length)) return fail("the program does not answer");
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = 0;
  if (!send(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), got))
    return fail("the program does not answer");
  text.resize(static_cast<size_t>(got));
  say(toAnsi(text));
  return 0;
}

}  // namespace

int addEditCommand(const std::string& command, int args, char** arg) {
  const bool isDrop = command == "dlg-drop" && args >= 3;
  const bool isCaret = command == "dlg-caret" && args == 3;
  const bool isValue = command == "dlg-value" && args == 2;
  if (!isDrop && !isCaret && !isValue) return -1;
  HWND dialog = FindWindowA(arg[0], nullptr);
  if (!dialog) return fail(std::string("no window of class ") + arg[0]);
  HWND target = control(dialog, arg[1]);
  if (!target) return fail(std::string(arg[0]) + " has no control " + arg[1]);
  if (isDrop) return drop(dialog, target, arg + 2, args - 2);
  if (isValue) return value(target);
  const WPARAM at = std::strtoul(arg[2], nullptr, 10);
  LRESULT r = 0;
  return send(target, EM_SETSEL, at, static_cast<LPARAM>(at), r)
             ? 0
             : fail("the program does not answer");
}
