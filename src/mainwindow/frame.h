#pragma once
// The borderless main window's own frame rules: how far it may be sized,
// where its resize borders are, and how it keeps inside the work area.
#include "platform/shell.h"

namespace trovik {

// System colour indexes the title bar takes its colours from.
enum SystemColor : unsigned {
  clActiveCaption = 2,
  clInactiveCaption = 3,
  clWindowFrame = 6,
  clCaptionText = 9,
  clInactiveCaptionText = 19
};

inline constexpr int kMinTrackWidth = 145;
inline constexpr int kResizeBorder = 5;

struct TrackingSize {
  int minWidth = kMinTrackWidth;
  int minHeight = 0;
  int maxHeight = 0;  // the maximum width is left as the system gives it
};
// Normal mode may be sized from 100 pixels to well past the screen; the
// one-line Snapbar mode only to its own height.
TrackingSize trackingSize(bool snapbar, bool quickSwitchVisible, int screenHeight);

enum class HitZone { Default, TopLeft, BottomLeft, TopRight, BottomRight, Left, Top, Right, Bottom };
// The resize border under a point in window coordinates (width w, height h).
HitZone resizeBorderAt(int x, int y, int w, int h);

struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};
// Moves (and if need be narrows or shortens) a window into the work area.
Placement keepOnDesktop(Placement p, const WindowManager::Area& work);

}  // namespace trovik
