// Trovik.exe: makes sure it is the only copy running, builds the real
// platform, the application and its main window, and runs the message loop
// until the window is closed.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <exception>
#include <string>

#include "app/application.h"
#include "platform/platform.h"
#include "win32/addeditwindow.h"
#include "win32/appwindow.h"
#include "win32/folderdialog.h"
#include "win32/mainview.h"
#include "win32/optionswindow.h"
#include "win32/shortcuts.h"
#include "win32/smalldialogs.h"
#include "win32/system.h"
#include "win32/systemlibrary.h"
#include "win32/wide.h"
#include "win32/win32platform.h"
#include "win32/wininethttp.h"

namespace {

using namespace trovik;
using namespace trovik::win32;

// BaseDirectory: the executable's own directory, with its trailing backslash.
std::string exeDirectory() {
  const std::string path = modulePath();
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int run() {
  restrictLibrarySearch();
  // Before anything else: a second copy only brings the first one forward.
  ApplicationWindow application;
  application.create();
  if (bringOtherCopyForward(application.hwnd())) return 0;

  ComApartment com;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  Win32FileSystem fs;
  Win32MessageBoxes boxes;
  Win32MessagePump pump;
  Win32ShellLinks shellLinks;
  Win32Clock clock;
  Win32Shell shell;
  Win32System system;
  Win32WindowManager windows;
  Win32Libraries libraries;
  Win32OpenDialog openDialog;
  Win32FolderDialog folderDialog;
  Platform platform{fs,     boxes,   pump,      shellLinks, clock,       shell,
                    system, windows, libraries, openDialog, folderDialog};
  Win32Shortcuts shortcuts;
  platform.shortcuts = &shortcuts;
  WinInetHttp http(pump);
  Application app(platform, exeDirectory());
  app.OptionsForm.updates.http = &http;

  MainView view(app);
  view.create(application.hwnd());
  AddEditWindow addEdit(app);
  addEdit.prepare(view.hwnd());
  OptionsWindow options(app.ctx, app.OptionsForm, app.hostapi.repaintOptionsForm);
  options.prepare(view.hwnd());
  AcfWindow acf(app);
  acf.prepare(view.hwnd());
  OpenFileDirWindow openFileDir(app);
  openFileDir.prepare(view.hwnd());
  // Messages pumped while a link starts see the same shortcuts and window
  // keys as the main loop's.
  pump.preTranslate = &Window::preTranslateMessage;
  app.ctx.mainWindow = reinterpret_cast<WindowHandle>(view.hwnd());
  // The shell's owner window for everything a link starts: the main window's
  // hidden owner, as extensions also know it.
  app.vars.masterhandle = reinterpret_cast<std::uintptr_t>(application.hwnd());
  windows.setMainWindow(view.hwnd());
  // An extension's updateform1 paints at once whatever waits to be painted.
  app.hostapi.repaintForm1 = [&view] {
    if (view.hwnd()) UpdateWindow(view.hwnd());
  };
  app.guarded([&] { app.FormCreate(); });
  if (!view.hwnd()) return 0;  // closed while it was being created
  view.show();

  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    if (Window::preTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The application reports what fails once it exists; this catches what
  // fails before it does, or after it has gone.
  try {
    return run();
  } catch (const std::exception& e) {
    showUnexpected(nullptr, e.what());
  } catch (...) {
    showUnexpected(nullptr, "an unknown exception");
  }
  return 1;
}
