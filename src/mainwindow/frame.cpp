#include "mainwindow/frame.h"

namespace trovik {

TrackingSize trackingSize(bool snapbar, bool quickSwitchVisible, int screenHeight) {
  TrackingSize t;
  if (!snapbar) {
    t.minHeight = 100;
    t.maxHeight = screenHeight + 500;
  } else {
    t.minHeight = t.maxHeight = quickSwitchVisible ? 75 : 59;
  }
  return t;
}

HitZone resizeBorderAt(int x, int y, int w, int h) {
  const int b = kResizeBorder;
  if (x < b && y < b) return HitZone::TopLeft;
  if (x < b && y >= h - b) return HitZone::BottomLeft;
  if (x >= w - b && y < b) return HitZone::TopRight;
  if (x >= w - b && y >= h - b) return HitZone::BottomRight;
  if (x < b) return HitZone::Left;
  if (y < b) return HitZone::Top;
  if (x >= w - b) return HitZone::Right;
  if (y >= h - b) return HitZone::Bottom;
  return HitZone::Default;
}

namespace {
void fit(int& pos, int& size, int low, int high) {
  if (pos < low) pos = low;
  if (pos + size > high) {
    pos = high - size;
    if (pos < low) {
      size = high - low;
      pos = low;
    }
  }
}
}  // namespace

Placement keepOnDesktop(Placement p, const WindowManager::Area& work) {
  fit(p.x, p.width, work.left, work.right);
  fit(p.y, p.height, work.top, work.bottom);
  return p;
}

}  // namespace trovik
