#include "config/shellshortcuts.h"

#include "core/paths.h"
#include "core/product.h"

namespace trovik {

namespace {

constexpr const char* kShellFolders =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kMapGroups =
    "Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
constexpr const char* kLinkName = "Trovik.lnk";

}  // namespace

std::string ShellShortcuts::folder(ShortcutPlace place) {
  switch (place) {
    case ShortcutPlace::Startup: {
      const std::string menu = shell_.userFolder(kShellFolders, "Start Menu");
      return menu.empty() ? menu : withBackslash(menu) + "Programs\\Startup";
    }
    case ShortcutPlace::Desktop:
      return shell_.userFolder(kShellFolders, "Desktop");
    case ShortcutPlace::StartMenu:
      return shell_.userFolder(kShellFolders, "Start Menu");
    case ShortcutPlace::QuickLaunch:
      break;
  }
  return shell_.userFolder(kMapGroups, "Quick Launch");
}

std::string ShellShortcuts::legacyFile(ShortcutPlace place) {
  const std::string windows = withBackslash(shell_.windowsDirectory());
  switch (place) {
    case ShortcutPlace::Startup:
      return windows + "start menu\\programs\\StartUp\\" + kLinkName;
    case ShortcutPlace::Desktop:
      return windows + "Desktop\\" + kLinkName;
    case ShortcutPlace::StartMenu:
      return windows + "start menu\\" + kLinkName;
    case ShortcutPlace::QuickLaunch:
      break;
  }
  const std::string ql = folder(place);
  return ql.empty() ? ql : withBackslash(ql) + kLinkName;
}

void ShellShortcuts::create(ShortcutPlace place, const std::function<bool()>& createStartup) {
  FileSystem& fs = ctx_.fs();
  const std::string dir = folder(place);
  if (dir.empty()) return;
  if (place == ShortcutPlace::Startup && !fs.directoryExists(dir) && createStartup())
    fs.createDirectory(dir);
  if (!fs.directoryExists(dir)) return;
  const std::string exe = shell_.programPath();
  shell_.save(withBackslash(dir) + kLinkName, {exe, directoryPart(exe), product(), exe});
}

void ShellShortcuts::remove(ShortcutPlace place) {
  FileSystem& fs = ctx_.fs();
  const std::string exe = shell_.programPath();
  const std::string dir = folder(place);
  const std::string made = dir.empty() ? dir : withBackslash(dir) + kLinkName;
  for (const std::string& file : {made, legacyFile(place)}) {
    if (file.empty() || !fs.fileExists(file)) continue;
    if (sameText(shell_.target(file), exe)) fs.deleteFile(file);
  }
}

}  // namespace trovik
