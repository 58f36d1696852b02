// The driver's commands for the program's dialogs. A dialog is found by its window class and a
// control by the name of its model: the dialog tells the control's number when asked with
// WM_COPYDATA. Input is posted, not sent, so a handler that opens a message box does not hold up
// the driver; it goes through the program's own message loop like a user's. The system's
// open-file dialog the program opens is answered here too.
// clang-format off
#include "driver.h"
// after windows.h (through driver.h), which it needs
#include <commctrl.h>
// clang-format on

#include <cstring>

namespace driver {

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

namespace {

using namespace driver;

// The control named by a command's first two arguments, class and model, and its dialog.
struct Target {
  HWND dialog = nullptr;
  HWND control = nullptr;
  int id = 0;
  explicit Target(const Args& a) {
    control = dialogControl(a[0], a[1], &dialog);
    id = control ? GetDlgCtrlID(control) : 0;
  }
};

int setText(HWND control, const char* text) {
  LRESULT r = 0;
  const std::wstring w = wide(text);
  if (!send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), r) || !r)
    return fail("the text was not taken");
  return 0;
}

// The characters only: the program's TranslateMessage would make a second one from a posted key.
int type(const Target& t, const Args& a) {
  for (const char* c = a[2]; *c; ++c)
    if (post(t.control, WM_CHAR, static_cast<unsigned char>(*c), 1)) return 1;
  return 0;
}

int select(const Target& t, const Args& a) {
  const int index = a.number(2);
  const bool list = isClass(t.control, "ListBox");
  LRESULT r = 0;
  if (!send(t.control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0, r) ||
      r != index) {
    // A list of multiple selection: select that item alone.
    if (!list || !send(t.control, LB_SETSEL, FALSE, -1, r) ||
        !send(t.control, LB_SETSEL, TRUE, index, r) || r == LB_ERR ||
        !send(t.control, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE, r))
      return fail("cannot select item " + std::to_string(index));
  }
  return post(t.dialog, WM_COMMAND, MAKEWPARAM(t.id, list ? LBN_SELCHANGE : CBN_SELCHANGE),
              reinterpret_cast<LPARAM>(t.control));
}

int text(const Target& t, const Args&) {
  std::wstring text;
  if (!controlText(t.control, text)) return fail("the program does not answer");
  return say(narrow(text));
}

int state(const Target& t, const Args&) {
  std::string s = IsWindowVisible(t.control) ? "shown" : "hidden";
  s += IsWindowEnabled(t.control) ? " enabled" : " disabled";
  const LONG style = GetWindowLongA(t.control, GWL_STYLE) & BS_TYPEMASK;
  if (isClass(t.control, "Button") && style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON &&
      style != BS_GROUPBOX && style != BS_OWNERDRAW) {
    LRESULT checked = 0;
    if (!send(t.control, BM_GETCHECK, 0, 0, checked)) return fail("the program does not answer");
    s += checked == BST_CHECKED ? " checked" : " unchecked";
  }
  return say(s);
}

int focus(const Target& t, const Args&) {
  const HWND in = focusOf(t.dialog);
  const bool here =
      GetForegroundWindow() == t.dialog && (in == t.control || IsChild(t.control, in));
  return say(here ? "focused" : "elsewhere");
}

int drop(const Target& t, const Args& a) {
  RECT r{};
  GetWindowRect(t.control, &r);
  return dropFiles(t.dialog, middle(r), a.v + 2, a.n - 2);
}

int caret(const Target& t, const Args& a) {
  const WPARAM at = static_cast<WPARAM>(a.number(2));
  LRESULT r = 0;
  return send(t.control, EM_SETSEL, at, static_cast<LPARAM>(at), r)
             ? 0
             : fail("the program does not answer");
}

int page(const Target& t, const Args& a) {
  const int index = a.number(2);
  LRESULT r = 0;
  if (!send(t.control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, r) ||
      !send(t.control, TCM_GETCURSEL, 0, 0, r) || r != index)
    return fail("the page control does not show page " + std::to_string(index));
  return 0;
}

int label(const Target& t, const Args& a) {
  LRESULT editor = 0;
  if (!waitFor(kSendTimeoutMs,
               [&] { return send(t.control, LVM_GETEDITCONTROL, 0, 0, editor) && editor; }))
    return fail("no item is being edited");
  HWND edit = reinterpret_cast<HWND>(editor);
  return setText(edit, a[2]) ? 1 : postKey(edit, VK_RETURN);
}

// The system's open-file dialog, shown: its file name box is an edit (edt1) or a combo box
// (cmb13) around one. The path is put in, the dialog confirmed and waited out.
int openFile(const char* path, DWORD ms) {
  HWND dialog = nullptr, name = nullptr;
  auto find = [&] {
    while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr)
      if (IsWindowVisible(dialog) &&
          ((name = GetDlgItem(dialog, 0x480)) || (name = GetDlgItem(dialog, 0x47C))))
        return true;
    return false;
  };
  if (!waitFor(ms, find)) return fail("no open-file dialog within the time");
  if (setText(name, path)) return 1;
  HWND ok = GetDlgItem(dialog, IDOK);
  if (!ok || post(ok, BM_CLICK, 0, 0)) return fail("the click was not taken");
  if (!waitFor(kSendTimeoutMs, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
    return fail("the dialog stayed open after the click");
  return 0;
}

int hotkey(UINT vk) {
  constexpr int kProbeId = 0x7E57;
  if (!RegisterHotKey(nullptr, kProbeId, 0, vk)) return say("taken"), 0;
  UnregisterHotKey(nullptr, kProbeId);
  return say("free");
}

// Runs fn on the control named by the first two arguments; fails when there is none.
template <int (*fn)(const Target&, const Args&)>
int on(const Args& a) {
  Target t(a);
  return t.control ? fn(t, a) : 1;
}

constexpr Command kCommands[] = {
    {"dlg-set <class> <model> <text>", "replace an edit field's text (as pasting does)",
     on<[](const Target& t, const Args& a) { return setText(t.control, a[2]); }>},
    {"dlg-type <class> <model> <text>", "type the characters into the control, one at a time",
     on<type>},
    {"dlg-key <class> <model> <vk>", "press and release a key in the control",
     on<[](const Target& t, const Args& a) { return postKey(t.control, a.key(2)); }>},
    {"dlg-click <class> <model>", "click a button, check box or radio button",
     on<[](const Target& t, const Args&) { return post(t.control, BM_CLICK, 0, 0); }>},
    {"dlg-select <class> <model> <i>", "make item i the current one of a list or combo box",
     on<select>},
    {"dlg-text <class> <model>", "the control's text", on<text>},
    {"dlg-state <class> <model>", "\"shown|hidden enabled|disabled\" and, for a check, \"checked\"",
     on<state>},
    {"dlg-items <class> <model>", "a list's or combo box's items, one a line",
     on<[](const Target& t, const Args&) { return listItems(t.control); }>},
    {"dlg-point <class> <model>", "the control's middle on the screen (for xdotool)",
     on<[](const Target& t, const Args&) { return sayScreenMiddle(t.control); }>},
    {"dlg-focus <class> <model>",
     "\"focused\" when the dialog is in front with the keyboard in the control, else \"elsewhere\"",
     on<focus>},
    {"dlg-drop <class> <model> <path>...", "files let go over a control of a dialog", on<drop>},
    {"dlg-caret <class> <model> <pos>", "put an edit field's cursor after pos characters",
     on<caret>},
    {"opt-page <class> <model> <index>", "choose a page of a tab control, as a click on its tab",
     on<page>},
    {"opt-label <class> <model> <text>", "type a new caption into the list view item being edited",
     on<label>},
    {"opt-open-file <path> <ms>", "answer the program's open-file dialog with a path",
     [](const Args& a) { return openFile(a[0], a.ms(1)); }},
    {"opt-hotkey <vk>", "\"taken\" while a program holds the key as its hotkey, else \"free\"",
     [](const Args& a) { return hotkey(a.key(0)); }},
};

}  // namespace

const std::span<const Command> driver::kDialogCommands = kCommands;
