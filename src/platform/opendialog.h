#pragma once
// The system's dialog for choosing a file to open.
#include <string>

#include "platform/dialogs.h"

namespace trovik {

// What a form keeps about one of its file dialogs, as it hands it to the system.
struct OpenDialogSettings {
  std::string filter;      // pairs of description and pattern, all separated by "|"
  std::string defaultExt;  // added to a name typed without one ("*.dll" and "dll" alike)
  std::string initialDir;
  std::string fileName;  // proposed before, the chosen path after a successful run
};

class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;
  // GetOpenFileNameA(owner, settings). Returns false when the user cancels;
  // otherwise settings.fileName holds the chosen file's full path.
  virtual bool execute(WindowHandle owner, OpenDialogSettings& settings) = 0;
};

}  // namespace trovik
