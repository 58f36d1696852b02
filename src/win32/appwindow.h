#pragma once
// The program's hidden application window. It owns the main window and keeps
// the application title as its text for the whole run, which the main window
// cannot do (its text follows the task/event mode). That fixed pair of class
// name and text is how a second copy of the program recognises the first.
#include <windows.h>

#include "win32/window.h"

namespace trovik::win32 {

class ApplicationWindow final : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TApplication";

  ApplicationWindow();

  // Creates the window, never shown, with the application title as its text.
  void create();
};

// Looks through the top-level windows for another copy's application window.
// When there is one, brings that copy's last active window to the front
// (restored when it is minimised) and returns true: this copy must then end
// before it creates anything else.
bool bringOtherCopyForward(HWND ownApplicationWindow);

}  // namespace trovik::win32
