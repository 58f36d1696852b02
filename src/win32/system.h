#pragma once
// The shell, the drives and session, and other programs' windows, for real.
#include <windows.h>

#include "platform/shell.h"

namespace trovik::win32 {

class Win32Shell final : public Shell {
 public:
  std::intptr_t execute(WindowHandle owner, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override;
};

class Win32System final : public System {
 public:
  int driveType(const std::string& root) override;
  bool setCurrentDirectory(const std::string& dir) override;
  bool exitWindows(unsigned flags) override;
};

class Win32WindowManager final : public WindowManager {
 public:
  WindowHandle foregroundWindow() override;
  bool forceForegroundWindow(WindowHandle window) override;
  void minimizeApplication() override;
  Screen screen() override;
  Area workArea() override;
  bool registerHotKey(int id, unsigned vk) override;
  void unregisterHotKey(int id) override;
  void setToolWindow(bool tool) override;
  // The program's own top-level window, which minimising, hotkeys and the
  // taskbar button apply to.
  void setMainWindow(HWND hwnd) { main_ = hwnd; }

 private:
  HWND main_ = nullptr;
};

}  // namespace trovik::win32
