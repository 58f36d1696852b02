#pragma once
// Shell shortcuts to the program itself, and the places the shell keeps them.
#include <string>

namespace trovik {

// What a shortcut to the program holds.
struct ShortcutProperties {
  std::string target;            // the executable's full path
  std::string workingDirectory;  // its directory, with a trailing backslash
  std::string description;
  std::string iconPath;  // icon index 0 of this file
};

class Shortcuts {
 public:
  virtual ~Shortcuts() = default;
  // GetModuleFileNameA(NULL): the full path of the running executable.
  virtual std::string programPath() = 0;
  // GetWindowsDirectoryA, without a trailing backslash.
  virtual std::string windowsDirectory() = 0;
  // RegOpenKeyExA(HKEY_CURRENT_USER, key) + RegQueryValueExA(value): a text
  // value; empty when the key or the value is missing.
  virtual std::string userFolder(const std::string& key, const std::string& value) = 0;
  // CoCreateInstance(CLSID_ShellLink) for IShellLinkA: SetPath,
  // SetWorkingDirectory, SetDescription, SetIconLocation(icon, 0); then
  // IPersistFile::Save(path, FALSE), replacing an existing file. Throws
  // IoError naming the file and the system's reason.
  virtual void save(const std::string& lnkPath, const ShortcutProperties& link) = 0;
  // IPersistFile::Load + IShellLinkA::GetPath, without resolving: the target
  // the shortcut names; empty when it cannot be read.
  virtual std::string target(const std::string& lnkPath) = 0;
};

}  // namespace trovik
