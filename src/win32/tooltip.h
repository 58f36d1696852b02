#pragma once
// The pop-up hints of a window's controls. The controls keep their own window
// procedures: nothing is put in front of them (under Wine every layer in front
// of a list box makes each of its messages a round trip to the server).
// Instead the message loop hands the tip the mouse messages it needs.
#include <windows.h>

#include <string>

#include "win32/win32platform.h"

namespace trovik::win32 {

class Tooltip {
 public:
  // Creates the tip for the controls of owner.
  void create(HWND owner);
  void reset() { window_.reset(); }

  // The hint shown over a control; empty: none.
  void setHint(HWND control, const std::string& hint);
  // Tells the tip about a mouse message of the window's controls.
  void relay(const MSG& msg);
  // Hints shown at all, and how long one stays (ms).
  void setActive(bool active);
  void setHidePause(int ms);

 private:
  WindowOwner window_;
  HWND owner_ = nullptr;
  // What the tip has now; it is only told about changes.
  bool active_ = true;
  int hidePause_ = -1;
};

}  // namespace trovik::win32
