#pragma once
// The operating-system services the core reaches, gathered so that one object
// can be handed around. src/win32 supplies the real ones, tests/fakes the fakes.
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/folderdialog.h"
#include "platform/libraries.h"
#include "platform/opendialog.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"

namespace trovik {

struct Platform {
  FileSystem& fs;
  MessageBoxes& boxes;
  MessagePump& pump;
  ShellLinks& shellLinks;
  Clock& clock;
  Shell& shell;
  System& system;
  WindowManager& windows;
  Libraries& libraries;
  OpenFileDialog& openDialog;
  FolderDialog& folderDialog;
  // Shortcuts to the program; none where the system has no shell links.
  Shortcuts* shortcuts = nullptr;
};

}  // namespace trovik
