#pragma once
// What the main window's presenter asks of the window that shows it. The
// Win32 view implements it; until a view is attached, a window that is not
// there answers (no tab, no item under any point, nothing to close).
#include "ui/controls.h"

namespace trovik {

class Form1View {
 public:
  virtual ~Form1View() = default;
  // Gives a control the keyboard focus.
  virtual void focus(ui::Control& control) = 0;
  // The QuickSwitch tab under a point of the window (client coordinates), or -1.
  virtual int tabAt(int x, int y) const = 0;
  // The List1 item under a point, or the item count below the last item; -1
  // when the view cannot tell.
  virtual int itemAt(int x, int y) const = 0;
  // Asks the window to close (which then runs FormClose).
  virtual void close() = 0;
  // The window follows the mouse until the button is released (SC_MOVE + 2).
  virtual void startDrag() = 0;
  // Opens a pop-up menu at a point of the screen; a chosen item is clicked.
  virtual void popup(ui::MenuItem& menu, int x, int y) = 0;
  // Starts moving (or sizing) the window with the keyboard (SC_MOVE, SC_SIZE).
  virtual void keyboardSizing(bool move) = 0;
};

}  // namespace trovik
