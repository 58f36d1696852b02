// The driver's commands for the program's dialogs. A dialog is found by its window class and a
// control by the name of its model: the dialog tells the control's number when asked with
// WM_COPYDATA. Input is posted, not sent, so a handler that opens a message box does not hold up
// the driver; it goes through the program's own message loop like a user's.
//   dlg-set <class> <model> <text>     replace an edit field's text (as pasting does)
//   dlg-type <class> <model> <text>    type the characters into the control, one at a time
//   dlg-key <class> <model> <vk>       press and release a key in the control
//   dlg-click <class> <model>          click a button, check box or radio button
//   dlg-select <class> <model> <i>     make item i the current one of a list or combo box
//   dlg-dblclick <class> <model> <i>   the same, then double-click it
//   dlg-text <class> <model>           the control's text
//   dlg-state <class> <model>          "shown|hidden enabled|disabled" and, for a check, "checked"
//   dlg-items <class> <model>          a list's or combo box's items, one a line
//   dlg-point <class> <model>          the control's middle in screen coordinates (for xdotool)
//   dlg-focus <class> <model>          "focused" when the dialog is in front with the keyboard in
//                                      the control, else "elsewhere"
#include <cstdlib>
#include <cstring>

#include "driver.h"

namespace {

using namespace driver;

struct Target {
  HWND dialog = nullptr;
  HWND control = nullptr;
  int id = 0;
};

// The control named model of the dialog of that class; says why when there is none.
bool find(const char* className, const char* model, Target& t) {
  t.control = dialogControl(className, model, &t.dialog);
  t.id = t.control ? GetDlgCtrlID(t.control) : 0;
  return t.control != nullptr;
}

bool isListBox(HWND h) {
  char name[32] = {};
  GetClassNameA(h, name, sizeof name);
  return _stricmp(name, "ListBox") == 0;
}

int post(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return PostMessageA(h, msg, w, l) ? 0 : fail("cannot post to the program");
}

int keyPress(HWND h, UINT vk) {
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  if (int r = post(h, WM_KEYDOWN, vk, 1 | (scan << 16))) return r;
  return post(h, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
}

// The characters only: the program's TranslateMessage would make a second one from a posted key.
int type(const Target& t, const char* text) {
  for (const char* c = text; *c; ++c)
    if (post(t.control, WM_CHAR, static_cast<unsigned char>(*c), 1)) return 1;
  return 0;
}

int select(const Target& t, int index, bool twice) {
  const bool list = isListBox(t.control);
  LRESULT r = 0;
  if (!send(t.control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0, r) ||
      r != index) {
    // A list of multiple selection: select that item alone.
    if (!list || !send(t.control, LB_SETSEL, FALSE, -1, r) ||
        !send(t.control, LB_SETSEL, TRUE, index, r) || r == LB_ERR ||
        !send(t.control, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE, r))
      return fail("cannot select item " + std::to_string(index));
  }
  const LPARAM from = reinterpret_cast<LPARAM>(t.control);
  if (int e =
          post(t.dialog, WM_COMMAND, MAKEWPARAM(t.id, list ? LBN_SELCHANGE : CBN_SELCHANGE), from))
    return e;
  return twice ? post(t.dialog, WM_COMMAND, MAKEWPARAM(t.id, LBN_DBLCLK), from) : 0;
}

int state(const Target& t) {
  std::string s = IsWindowVisible(t.control) ? "shown" : "hidden";
  s += IsWindowEnabled(t.control) ? " enabled" : " disabled";
  const LONG style = GetWindowLongA(t.control, GWL_STYLE) & BS_TYPEMASK;
  char name[32] = {};
  GetClassNameA(t.control, name, sizeof name);
  if (_stricmp(name, "Button") == 0 && style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON &&
      style != BS_GROUPBOX && style != BS_OWNERDRAW) {
    LRESULT checked = 0;
    if (!send(t.control, BM_GETCHECK, 0, 0, checked)) return fail("the program does not answer");
    s += checked == BST_CHECKED ? " checked" : " unchecked";
  }
  say(s);
  return 0;
}

int point(const Target& t) {
  RECT r{};
  GetWindowRect(t.control, &r);
  say(std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
  return 0;
}

}  // namespace

int dialogCommand(const std::string& command, int args, char** arg) {
  if (command.rfind("dlg-", 0) != 0) return -1;
  const int wanted = command == "dlg-set" || command == "dlg-type" || command == "dlg-key" ||
                             command == "dlg-select" || command == "dlg-dblclick"
                         ? 3
                         : 2;
  if (args != wanted) return -1;
  Target t;
  if (!find(arg[0], arg[1], t)) return 1;
  if (command == "dlg-set") {
    LRESULT r = 0;
    const std::wstring text = toWide(arg[2]);
    if (!send(t.control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), r) || !r)
      return fail("the text was not taken");
    return 0;
  }
  if (command == "dlg-type") return type(t, arg[2]);
  if (command == "dlg-key") return keyPress(t.control, std::strtoul(arg[2], nullptr, 0));
  if (command == "dlg-click") return post(t.control, BM_CLICK, 0, 0);
  if (command == "dlg-select" || command == "dlg-dblclick")
    return select(t, std::atoi(arg[2]), command == "dlg-dblclick");
  if (command == "dlg-text") {
    std::wstring text;
    return controlText(t.control, text) ? say(toAnsi(text)),
           0                            : fail("the program does not answer");
  }
  if (command == "dlg-state") return state(t);
  if (command == "dlg-items") return listItems(t.control);
  if (command == "dlg-point") return point(t);
  if (command == "dlg-focus") {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    const bool in = GetForegroundWindow() == t.dialog &&
                    GetGUIThreadInfo(GetWindowThreadProcessId(t.dialog, nullptr), &gui) &&
                    (gui.hwndFocus == t.control || IsChild(t.control, gui.hwndFocus));
    return say(in ? "focused" : "elsewhere"), 0;
  }
  return -1;
}

namespace driver {

// The question a dialog answers with the number of the control of a model's name.
constexpr ULONG_PTR kControlIdQuery = 0x43544944;

HWND dialogControl(const char* className, const char* model, HWND* dialog) {
  HWND d = FindWindowA(className, nullptr);
  if (dialog) *dialog = d;
  if (!d) return fail(std::string("no window of class ") + className), nullptr;
  COPYDATASTRUCT query{kControlIdQuery, static_cast<DWORD>(std::strlen(model) + 1),
                       const_cast<char*>(model)};
  LRESULT id = 0;
  if (!send(d, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query), id))
    return fail("the program does not answer"), nullptr;
  HWND control = id > 0 ? GetDlgItem(d, static_cast<int>(id)) : nullptr;
  if (!control) fail(std::string(className) + " has no control " + model);
  return control;
}

bool controlText(HWND control, std::wstring& text) {
  LRESULT length = 0, got = 0;
  if (!send(control, WM_GETTEXTLENGTH, 0, 0, length)) return false;
  // Room to spare: the text may grow between the two questions.
  text.assign(static_cast<size_t>(length) + 1024, L'\0');
  if (!send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), got))
    return false;
  text.resize(static_cast<size_t>(got));
  return true;
}

}  // namespace driver
