#pragma once
// The system's dialog for choosing a directory.
#include <string>

#include "platform/dialogs.h"

namespace trovik {

class FolderDialog {
 public:
  virtual ~FolderDialog() = default;
  // SHBrowseForFolderA(owner, title), opened with initialDir selected when it
  // names a directory, then SHGetPathFromIDListA: the chosen directory's path
  // (a trailing backslash only on a drive's root, as the system gives it), or
  // the empty text when the user cancels or chooses something that is no
  // directory on disk.
  virtual std::string chooseDirectory(WindowHandle owner, const std::string& title,
                                      const std::string& initialDir) = 0;
};

}  // namespace trovik
