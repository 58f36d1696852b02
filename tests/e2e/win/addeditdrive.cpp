// The driver's commands for the Add/Edit dialog that the shared dialog commands do not cover:
//   dlg-drop <class> <model> <path>...   files let go over a control of a dialog, as the shell
//                                        delivers them (a DROPFILES block placed in the program)
//   dlg-caret <class> <model> <pos>      put the cursor of an edit field after pos characters
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "driver.h"

namespace {

using namespace driver;

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

}  // namespace

int addEditCommand(const std::string& command, int args, char** arg) {
  const bool isDrop = command == "dlg-drop" && args >= 3;
  const bool isCaret = command == "dlg-caret" && args == 3;
  if (!isDrop && !isCaret) return -1;
  HWND dialog = nullptr;
  HWND target = dialogControl(arg[0], arg[1], &dialog);
  if (!target) return 1;
  if (isDrop) return drop(dialog, target, arg + 2, args - 2);
  const WPARAM at = std::strtoul(arg[2], nullptr, 10);
  LRESULT r = 0;
  return send(target, EM_SETSEL, at, static_cast<LPARAM>(at), r)
             ? 0
             : fail("the program does not answer");
}
