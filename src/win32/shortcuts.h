#pragma once
// Shell shortcuts to the program: the shell-link object saved and read through
// IShellLinkA and IPersistFile, and the shell's folders from the user's registry.
// Needs COM initialised on the calling thread (WinMain does it once).
#include "platform/shortcuts.h"

namespace trovik::win32 {

class Win32Shortcuts final : public Shortcuts {
 public:
  std::string programPath() override;
  std::string windowsDirectory() override;
  std::string userFolder(const std::string& key, const std::string& value) override;
  void save(const std::string& lnkPath, const ShortcutProperties& link) override;
  std::string target(const std::string& lnkPath) override;
};

}  // namespace trovik::win32
