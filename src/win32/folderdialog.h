#pragma once
// The system's directory dialog behind the core's FolderDialog.
#include "platform/folderdialog.h"

namespace trovik::win32 {

// Needs COM initialised on the calling thread (WinMain does it once).
class Win32FolderDialog final : public FolderDialog {
 public:
  std::string chooseDirectory(WindowHandle owner, const std::string& title,
                              const std::string& initialDir) override;
};

}  // namespace trovik::win32
