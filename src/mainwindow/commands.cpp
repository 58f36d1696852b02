#include "mainwindow/commands.h"

#include <cctype>

#include "mainwindow/form1.h"

namespace trovik {

namespace {

using F = TForm1;
using M = ui::MenuItem;

constexpr Command kCommands[] = {
    // The main pop-up menu.
    {&F::Management, &F::splitmenu, 0, "Management", "", nullptr},
    {&F::moveitems, &F::Management, 244, "General/&Move", "Ctrl+M",
     [](F& f, M& m) { f.Moveitems1Click(&m); }},
    {&F::additem, &F::Management, 246, "&Add item", "Ins", [](F& f, M&) { f.Additem1Click(); }},
    {&F::deleteitem, &F::Management, 242, "&Delete item", "Del",
     [](F& f, M&) { f.Deleteitem1Click(); }},
    {&F::edititem, &F::Management, 241, "&Edit item", "F2", [](F& f, M&) { f.Edititem1Click(); }},
    {&F::Cutitems, &F::Management, 247, "Cut items", "Ctrl+X", [](F& f, M&) { f.CutitemsClick(); }},
    {&F::copyitems, &F::Management, 243, "Copy items", "Ctrl+C", [](F& f, M&) { f.Copy1Click(); }},
    {&F::PasteItems, &F::Management, 248, "Paste items", "Ctrl+V",
     [](F& f, M&) { f.PasteItemsClick(); }},
    {&F::clearlist, &F::Management, 249, "&Clear list", "", [](F& f, M&) { f.Clearlist1Click(); }},
    {&F::createmultirun, &F::splitmenu, 245, "Create mu&ltirun", "F7",
     [](F& f, M&) { f.CreatemultirunClick(); }},
    {&F::Selectall, &F::splitmenu, 253, "Select all", "Ctrl+A",
     [](F& f, M&) { f.SelectallClick(); }},
    {&F::Selectnone, &F::splitmenu, 254, "Select none", "Ctrl+N",
     [](F& f, M&) { f.SelectnoneClick(); }},
    {&F::Invertselection, &F::splitmenu, 255, "Invert selection", "Ctrl+I",
     [](F& f, M&) { f.InvertselectionClick(); }},
    {&F::savemainlist, &F::splitmenu, 256, "&Save list", "Ctrl+S",
     [](F& f, M&) { f.Savelist1Click(); }},
    {&F::refreshlist, &F::splitmenu, 257, "Re&fresh list", "F5",
     [](F& f, M&) { f.Refreshlist1Click(); }},
    {&F::FileSets, &F::splitmenu, 0, "File sets", "", nullptr},
    {&F::Switch, &F::FileSets, 0, "Switch", "", nullptr},
    {&F::Newfileset, &F::FileSets, 258, "&New fileset", "Shift+Ins",
     [](F& f, M&) { f.NewfilesetClick(); }},
    {&F::Deletefileset, &F::FileSets, 259, "&Delete fileset", "Shift+Del",
     [](F& f, M&) { f.DeletefilesetClick(); }},
    {&F::Import1, &F::FileSets, 221, "Import...", "Ctrl+R", [](F& f, M&) { f.Import1Click(); }},
    {&F::Export1, &F::FileSets, 222, "Export...", "Ctrl+E", [](F& f, M&) { f.Export1Click(); }},
    {&F::TaskEvent, &F::splitmenu, 0, "Task/Event", "", nullptr},
    {&F::runexit, &F::TaskEvent, 201, "&Run/Exit", "F3", [](F& f, M&) { f.RunExit1Click(); }},
    {&F::droplaunch, &F::TaskEvent, 202, "Dro&p/Launch", "F4",
     [](F& f, M&) { f.DropLaunchClick(); }},
    {&F::droplaunchexit, &F::TaskEvent, 203, "Drop/Launch/Exit", "F6",
     [](F& f, M&) { f.DropLaunchExitClick(); }},
    {&F::RunMinimize, &F::TaskEvent, 204, "Run/Minimize", "F8",
     [](F& f, M&) { f.RunMinimizeClick(); }},
    {&F::DropLaunchMinimize, &F::TaskEvent, 205, "Drop/Launch/Minimize", "F10",
     [](F& f, M&) { f.DropLaunchMinimize1Click(); }},
    {&F::SortListBy, &F::splitmenu, 0, "Sort list by", "", nullptr},
    {&F::Linkname, &F::SortListBy, 231, "Link name", "", [](F& f, M& m) { f.Linkname1Click(&m); }},
    {&F::Filename, &F::SortListBy, 232, "File name", "", [](F& f, M& m) { f.Filename1Click(&m); }},
    {&F::Filepath, &F::SortListBy, 233, "File path", "", [](F& f, M& m) { f.filepath1Click(&m); }},
    {&F::Filetype, &F::SortListBy, 234, "File type", "", [](F& f, M& m) { f.Filetype1Click(&m); }},
    {&F::ReverseSort, &F::SortListBy, 235, "Reverse", "", [](F& f, M&) { f.Reverse1Click(); }},
    {&F::Opendirectory, &F::splitmenu, 206, "Open director&y", "Ctrl+D",
     [](F& f, M&) { f.Opendirectory1Click(); }},
    {&F::WindowsMenu, &F::splitmenu, 0, "Windows", "", nullptr},
    {&F::swindows, &F::WindowsMenu, 211, "Shutdown", "Ctrl+F12",
     [](F& f, M&) { f.SWindows1Click(); }},
    {&F::rwindows, &F::WindowsMenu, 212, "Res&tart", "Ctrl+F11",
     [](F& f, M&) { f.RWindows1Click(); }},
    {&F::lwindows, &F::WindowsMenu, 213, "Log off", "Ctrl+F10",
     [](F& f, M&) { f.lwindowsClick(); }},
    {&F::options, &F::splitmenu, 260, "&Options", "F12", [](F& f, M&) { f.Options1Click(); }},
    {&F::Centremain2, &F::splitmenu, 261, "Centralise main window", "Ctrl+F1",
     [](F& f, M&) { f.Centremain2Click(); }},
    {&F::Help, &F::splitmenu, 262, "Help", "F1", [](F& f, M&) { f.HelpClick(); }},
    // Hidden: only their keys are used.
    {&F::general1, &F::splitmenu, 263, "General manager", "Ctrl+G",
     [](F& f, M& m) { f.Moveitems1Click(&m); }},
    {&F::Maximize, &F::splitmenu, 251, "Maximize", "Alt+M", [](F& f, M&) { f.tmaximizeClick(); }},
    {&F::Minimize, &F::splitmenu, 264, "Minimize", "Alt+N",
     [](F& f, M& m) { f.tminimizeClick(&m); }},
    {&F::tosnapbar, &F::splitmenu, 265, "Snapbar", "Alt+I", [](F& f, M&) { f.tosnapbarClick(); }},
    // The title bar's system menu.
    {&F::Maximize3, &F::tmenu, 252, "Ma&ximize", "Alt+M", [](F& f, M&) { f.Maximize3Click(); }},
    {&F::Size1, &F::tmenu, 266, "&Size", "", [](F& f, M&) { f.Size1Click(); }},
    {&F::Move1, &F::tmenu, 267, "&Move", "", [](F& f, M&) { f.Move1Click(); }},
    {&F::Minimize3, &F::tmenu, 268, "Mi&nimize", "Alt+N", [](F& f, M&) { f.Minimize3Click(); }},
    {&F::N1, &F::tmenu, 0, "-", "", nullptr},
    {&F::Close1, &F::tmenu, 269, "&Close", "Alt+F4", [](F& f, M&) { f.Close1Click(); }},
};

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Virtual-key codes of the keys a shortcut may name in words.
struct NamedKey {
  const char* name;
  std::uint16_t key;
};
constexpr NamedKey kNamedKeys[] = {{"BkSp", 8},   {"Backspace", 8}, {"Tab", 9},   {"Enter", 13},
                                   {"Esc", 27},   {"Space", 32},    {"PgUp", 33}, {"PgDn", 34},
                                   {"End", 35},   {"Home", 36},     {"Left", 37}, {"Up", 38},
                                   {"Right", 39}, {"Down", 40},     {"Ins", 45},  {"Del", 46}};
constexpr std::uint16_t kF1 = 112;

std::optional<std::uint16_t> keyNamed(std::string_view name) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<std::uint16_t>(std::toupper(static_cast<unsigned char>(name[0])));
  if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    for (char c : name.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n < 1 || n > 24) return std::nullopt;
    return static_cast<std::uint16_t>(kF1 + n - 1);
  }
  for (const NamedKey& k : kNamedKeys)
    if (sameWord(name, k.name)) return k.key;
  return std::nullopt;
}

}  // namespace

std::span<const Command> commands() { return kCommands; }

void bindCommands(TForm1& form) {
  for (const Command& c : kCommands) {
    ui::MenuItem& item = form.*c.item;
    item.setCaption(c.caption);
    item.setShortcut(c.shortcut);
    if (c.parent) (form.*c.parent).addChild(item);
    if (auto run = c.run) item.onClick = [&form, run](ui::MenuItem& sender) { run(form, sender); };
  }
}

std::optional<Shortcut> parseShortcut(std::string_view text) {
  Shortcut out;
  for (size_t plus; (plus = text.find('+')) != std::string_view::npos;) {
    const std::string_view modifier = text.substr(0, plus);
    if (sameWord(modifier, "Ctrl"))
      out.modifiers |= ssCtrl;
    else if (sameWord(modifier, "Shift"))
      out.modifiers |= ssShift;
    else if (sameWord(modifier, "Alt"))
      out.modifiers |= ssAlt;
    else
      return std::nullopt;
    text.remove_prefix(plus + 1);
  }
  const auto key = keyNamed(text);
  if (!key) return std::nullopt;
  out.key = *key;
  return out;
}

}  // namespace trovik
