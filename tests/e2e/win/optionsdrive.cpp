// The driver's commands for the options dialog's own controls, beyond what every dialog has:
//   opt-page <class> <model> <index>   choose a page of a tab control (as a click on its tab does)
//   opt-label <class> <model> <text>   type a new caption into the list view item being edited in
//                                      place, and press Enter
//   opt-open-file <path> <timeout-ms>  answer the program's open-file dialog with a path
//   opt-hotkey <vk>                    "taken" while a program holds the key as its hotkey, else
//                                      "free" (the driver tries to register it for a moment)
// clang-format off
#include "driver.h"
// after windows.h (through driver.h), which it needs
#include <commctrl.h>
// clang-format on

#include <cstdlib>
#include <cstring>

namespace {

using namespace driver;

// The file name box of the open-file dialog: an edit (edt1) or a combo box (cmb13) around one.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47C;

int page(HWND tabs, int index) {
  LRESULT r = 0;
  if (!send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, r) ||
      !send(tabs, TCM_GETCURSEL, 0, 0, r) || r != index)
    return fail("the page control does not show page " + std::to_string(index));
  return 0;
}

int label(HWND list, const char* text) {
  LRESULT editor = 0;
  for (Deadline deadline(kSendTimeoutMs);; Sleep(kPollMs)) {
    if (!send(list, LVM_GETEDITCONTROL, 0, 0, editor)) return fail("the program does not answer");
    if (editor) break;
    if (deadline.passed()) return fail("no item is being edited");
  }
  HWND edit = reinterpret_cast<HWND>(editor);
  const std::wstring wide = toWide(text);
  LRESULT r = 0;
  if (!send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), r))
    return fail("the text was not taken");
  const UINT scan = MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC);
  if (!PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1 | (scan << 16)) ||
      !PostMessageA(edit, WM_KEYUP, VK_RETURN, 1 | (scan << 16) | (3u << 30)))
    return fail("cannot post Enter");
  return 0;
}

struct FileDialog {
  HWND dialog = nullptr;
  HWND name = nullptr;
};

BOOL CALLBACK findFileDialog(HWND h, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  HWND name = GetDlgItem(h, kFileNameEdit);
  if (!name) name = GetDlgItem(h, kFileNameCombo);
  if (!name) return TRUE;
  auto& out = *reinterpret_cast<FileDialog*>(found);
  out.dialog = h;
  out.name = name;
  return FALSE;
}

int openFile(const char* path, DWORD ms) {
  FileDialog fd;
  for (Deadline deadline(ms);; Sleep(kPollMs)) {
    EnumWindows(findFileDialog, reinterpret_cast<LPARAM>(&fd));
    if (fd.dialog) break;
    if (deadline.passed()) return fail("no open-file dialog within the time");
  }
  const std::wstring wide = toWide(path);
  LRESULT r = 0;
  if (!send(fd.name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), r))
    return fail("the file name was not taken");
  HWND ok = GetDlgItem(fd.dialog, IDOK);
  if (!ok || !PostMessageW(ok, BM_CLICK, 0, 0)) return fail("cannot press Open");
  for (Deadline gone(kSendTimeoutMs); IsWindow(fd.dialog) && IsWindowVisible(fd.dialog);
       Sleep(kPollMs))
    if (gone.passed()) return fail("the open-file dialog stayed open");
  return 0;
}

int hotkey(UINT vk) {
  constexpr int kProbeId = 0x7E57;
  if (!RegisterHotKey(nullptr, kProbeId, 0, vk)) return say("taken"), 0;
  UnregisterHotKey(nullptr, kProbeId);
  say("free");
  return 0;
}

}  // namespace

int optionsCommand(const std::string& command, int args, char** arg) {
  if (command == "opt-page" && args == 3) {
    HWND h = dialogControl(arg[0], arg[1]);
    return h ? page(h, std::atoi(arg[2])) : 1;
  }
  if (command == "opt-label" && args == 3) {
    HWND h = dialogControl(arg[0], arg[1]);
    return h ? label(h, arg[2]) : 1;
  }
  if (command == "opt-open-file" && args == 2) return openFile(arg[0], parseMs(arg[1]));
  if (command == "opt-hotkey" && args == 1)
    return hotkey(static_cast<UINT>(std::strtoul(arg[0], nullptr, 0)));
  return -1;
}
