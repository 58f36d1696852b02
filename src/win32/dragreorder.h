#pragma once
// Dragging the selected items of a list to another place, as the main list,
// the fileset manager's contents and the Add/Edit members allow it: a press
// on a selected item (Shift or Ctrl make it an ordinary click) keeps the
// selection and takes the mouse; once the mouse has moved past the system's
// drag distance the release drops the items, before that it is a click
// after all; losing the capture ends the drag.
#include <windows.h>

namespace trovik::win32 {

class DragReorder {
 public:
  enum class End { None, Click, Drop };

  // Whether a press with these key flags may start a drag.
  static bool mayStart(WPARAM keys) { return (keys & (MK_SHIFT | MK_CONTROL)) == 0; }
  // A press at a point (any one coordinate space for the whole drag) on a
  // selected item; capture takes the mouse until the release.
  void press(HWND capture, POINT at);
  bool held() const { return held_; }
  // The mouse moved to at: true when this move starts the drag.
  bool move(POINT at);
  // The release: what the press turned out to be. Gives the mouse back.
  End release();
  // The mouse was taken away.
  void lost() { held_ = dragging_ = false; }
  POINT pressedAt() const { return from_; }

 private:
  bool held_ = false;      // the button went down on a selected item
  bool dragging_ = false;  // and the mouse has since moved far enough
  POINT from_{};
};

}  // namespace trovik::win32
