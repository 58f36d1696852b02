#pragma once
// The main window's menu commands, one row each: the menu item, the submenu it
// sits in, the number its command message carries, its caption, its shortcut
// and its handler. The presenter binds its menu items from the rows; the
// window builds its menus, shortcut keys and command numbers from them.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/controls.h"
#include "ui/input.h"

namespace trovik {

class TForm1;

struct Command {
  ui::MenuItem TForm1::*item;
  ui::MenuItem TForm1::*parent;  // null: in no menu (yet)
  // The number of its command message, fixed because other programs send it;
  // 0 for a submenu.
  int id;
  const char* caption;
  const char* shortcut;  // as the menu shows it; "" for none
  // Null for a submenu and for a command whose handler is still to come.
  void (*run)(TForm1& form, ui::MenuItem& sender);
};

// Every row, each submenu before its items and the items of a menu in menu order.
std::span<const Command> commands();

// The fileset items of the Switch submenu carry kSwitchFirstId + their place;
// items that are no command of the table, numbers from kOtherFirstId on.
inline constexpr int kSwitchFirstId = 300;
inline constexpr int kOtherFirstId = 1000;

// Gives the form's menu items their captions and shortcuts, puts each into its
// submenu and binds its handler.
void bindCommands(TForm1& form);

// A key with the modifiers held with it (ssShift, ssCtrl, ssAlt).
struct Shortcut {
  std::uint16_t key = 0;  // virtual-key code
  ShiftState modifiers = 0;
};
// A shortcut as a menu shows it ("F3", "Ctrl+D", "Shift+Del"); nothing when
// the text names no key this program knows.
std::optional<Shortcut> parseShortcut(std::string_view text);

}  // namespace trovik
