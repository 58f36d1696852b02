#pragma once
// Starting programs, the machine's drives and session, and the windows of
// other programs.
#include <cstdint>
#include <string>

#include "platform/dialogs.h"

namespace trovik {

// ShowWindow values handed to started programs.
enum ShowCommand : int { swMaximize = 3, swShow = 5, swShowMinimized = 2, swMinimize = 6 };

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA(owner, NULL, file, parameters, directory, show): the
  // default action; empty texts are passed as NULL. Returns the shell's code
  // (above 32 on success).
  virtual std::intptr_t execute(WindowHandle owner, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int show) = 0;
};

// Drive types as GetDriveTypeA reports them.
enum DriveType : int { dtUnknown = 0, dtNoRoot = 1, dtRemovable = 2, dtFixed = 3, dtRemote = 4,
                       dtCdRom = 5, dtRamDisk = 6 };

class System {
 public:
  virtual ~System() = default;
  // GetDriveTypeA(root), root ending in a backslash.
  virtual int driveType(const std::string& root) = 0;
  // SetCurrentDirectoryA.
  virtual bool setCurrentDirectory(const std::string& dir) = 0;
  // On the NT family enables SeShutdownPrivilege (OpenProcessToken,
  // LookupPrivilegeValueA, AdjustTokenPrivileges), then ExitWindowsEx(flags, 0).
  virtual bool exitWindows(unsigned flags) = 0;
};

class WindowManager {
 public:
  virtual ~WindowManager() = default;
  // GetForegroundWindow.
  virtual WindowHandle foregroundWindow() = 0;
  // Brings a window to the foreground against the system's focus-stealing
  // rules (restore if minimised; AttachThreadInput; the lock time-out
  // fallback). Returns whether it ended up in front.
  virtual bool forceForegroundWindow(WindowHandle window) = 0;
  // Application.Minimize: minimises the program.
  virtual void minimizeApplication() = 0;

  // GetSystemMetrics(SM_CXSCREEN, SM_CYSCREEN) and GetDeviceCaps(LOGPIXELSY).
  struct Screen {
    int width = 1024, height = 768, dpi = 96;
  };
  virtual Screen screen() = 0;
  // SystemParametersInfoA(SPI_GETWORKAREA): the desktop without the taskbar.
  struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  virtual Area workArea() = 0;
  // RegisterHotKey(main window, id, no modifiers, vk) / UnregisterHotKey.
  virtual bool registerHotKey(int id, unsigned vk) = 0;
  virtual void unregisterHotKey(int id) = 0;
  // The program's taskbar button: the application window's extended style
  // WS_EX_TOOLWINDOW (no button) or WS_EX_APPWINDOW.
  virtual void setToolWindow(bool tool) = 0;
};

}  // namespace trovik
