#pragma once
// What a Windows input message says, in the presenters' terms: the button of
// a press, the keys and buttons held, the point.
#include <windows.h>

#include "ui/input.h"

namespace trovik::win32 {

// The modifier keys held while a key message is handled, as the system has
// them for that message.
inline ShiftState keyShift() {
  ShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  return s;
}

// The keys and buttons a mouse message says were held.
inline ShiftState mouseShift(WPARAM keys, bool doubleClick) {
  ShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;  // the message does not carry Alt
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (doubleClick) s |= ssDouble;
  return s;
}

// The button of a press, and whether it was the second press of a double
// click; false for any other message.
inline bool mousePress(UINT msg, MouseButton& button, bool& doubleClick) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = MouseButton::Left;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = MouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = MouseButton::Middle;
      break;
    default:
      return false;
  }
  doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  return true;
}

inline POINT pointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace trovik::win32
