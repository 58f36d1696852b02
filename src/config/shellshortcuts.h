#pragma once
// Shortcuts to the program in the four places the shell offers: the Startup
// folder, the desktop, the Start menu and the Quick Launch bar. Each is a
// Trovik.lnk in the folder the user's registry names for the place.
#include <functional>
#include <string>

#include "core/context.h"
#include "platform/shortcuts.h"

namespace trovik {

enum class ShortcutPlace { Startup, Desktop, StartMenu, QuickLaunch };

class ShellShortcuts {
 public:
  ShellShortcuts(Context& ctx, Shortcuts& shell) : ctx_(ctx), shell_(shell) {}

  // The folder the registry names for a place now; empty when it names none.
  std::string folder(ShortcutPlace place);
  // Where older versions of Windows kept the place's shortcut, under the
  // Windows directory.
  std::string legacyFile(ShortcutPlace place);

  // Makes (or remakes) the place's shortcut. When the Startup folder is
  // missing, createStartup decides whether it is made. Nothing is made where
  // the registry names no folder or the folder does not exist. Throws IoError.
  void create(ShortcutPlace place, const std::function<bool()>& createStartup);
  // Deletes the place's shortcut where this program made it and where older
  // versions of Windows kept it; a shortcut to another program is left alone.
  void remove(ShortcutPlace place);

 private:
  Context& ctx_;
  Shortcuts& shell_;
};

}  // namespace trovik
