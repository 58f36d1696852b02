#pragma once
// The main window's pop-up menu, built from the presenter's menu tree, with
// the shortcut keys and command numbers of its items. The command table gives
// the numbers of the named commands; the fileset items of the Switch submenu
// are numbered by their place. Menu and keys are made anew only when they are
// needed after the tree changed, never once per item added.
#include <windows.h>

#include <map>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "win32/win32platform.h"

namespace trovik {
class TForm1;
}

namespace trovik::win32 {

class FramedWindow;

inline BOOL destroyMenu(HMENU h) { return DestroyMenu(h); }
inline BOOL destroyAccelerators(HACCEL h) { return DestroyAcceleratorTable(h); }
using MenuOwner = Owned<HMENU, destroyMenu>;
using AcceleratorOwner = Owned<HACCEL, destroyAccelerators>;

class MenuPeer final : private ui::Peer {
 public:
  MenuPeer(FramedWindow& window, TForm1& form);
  ~MenuPeer() override { detach(); }
  MenuPeer(const MenuPeer&) = delete;
  MenuPeer& operator=(const MenuPeer&) = delete;

  // From attach on, changes of the menu tree reach the menu.
  void attach();
  void detach();
  // Opens the main pop-up menu (or another of the window's menus: the
  // system menu, a tab's link menu) at a point of the screen; the choice
  // comes back as a command message.
  void popup(POINT screen);
  void popup(ui::MenuItem& root, POINT screen);
  // A shortcut key becomes its command message: true when msg was one.
  bool translateKey(MSG& msg);
  // Runs the command with this number (a menu choice, a shortcut, another
  // program's message).
  void run(int id);
  // The number of the command whose item has this name; 0 when none has.
  int idOf(std::string_view name);

 private:
  void changed(ui::Control& control, ui::Aspect aspect, int index) override;
  void follow(ui::MenuItem& item);
  void unfollow(ui::MenuItem& item);
  bool isSubmenu(const ui::MenuItem& item) const;
  void ensureNumbers();
  void number(ui::MenuItem& parent, int& next);
  int idOf(const ui::MenuItem& item);
  void ensureMenu();
  void fill(HMENU menu, ui::MenuItem& parent);
  void ensureKeys();
  void collectKeys(ui::MenuItem& parent, std::vector<ACCEL>& keys);

  FramedWindow& window_;
  TForm1& form_;
  std::map<const ui::MenuItem*, int> commandIds_;  // the command table's numbers
  std::map<const ui::MenuItem*, int> ids_;         // every command of the menu, numbered
  std::map<int, ui::MenuItem*> items_;             // and back
  // The menus the window pops up, each built from its root item.
  std::vector<ui::MenuItem*> roots() const;
  std::map<const ui::MenuItem*, MenuOwner> popups_;
  AcceleratorOwner keys_;
  std::vector<ACCEL> keyList_;  // what keys_ holds
  bool numbersStale_ = true;
  bool menuStale_ = true;
  bool keysStale_ = true;
  bool tracking_ = false;    // the menu is open: it is not rebuilt under the user
  bool altCommand_ = false;  // Alt+key ran a command; Alt is still down
};

}  // namespace trovik::win32
