#pragma once
// Files dragged from the shell and let go on a window: the shell's block read
// whole, and released only when its reader goes, so that a handler (or an
// extension that looks at the message) can still use it.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/win32platform.h"

namespace trovik::win32 {

class DroppedFiles {
 public:
  // Reads the block the window was given with WM_DROPFILES.
  DroppedFiles(HDROP drop, HWND window);

  std::vector<std::string> paths;  // each path whole, however long
  POINT at{};                      // where they were let go, in the window's client coordinates

 private:
  static void finish(HDROP h) { DragFinish(h); }
  Owned<HDROP, finish> drop_;
};

}  // namespace trovik::win32
