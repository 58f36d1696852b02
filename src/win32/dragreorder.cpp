#include "win32/dragreorder.h"

#include <cstdlib>

namespace trovik::win32 {

void DragReorder::press(HWND capture, POINT at) {
  held_ = true;
  dragging_ = false;
  from_ = at;
  SetCapture(capture);
}

bool DragReorder::move(POINT at) {
  if (!held_ || dragging_) return false;
  dragging_ = std::abs(at.x - from_.x) > GetSystemMetrics(SM_CXDRAG) ||
              std::abs(at.y - from_.y) > GetSystemMetrics(SM_CYDRAG);
  return dragging_;
}

DragReorder::End DragReorder::release() {
  if (!held_) return End::None;
  const bool dropped = dragging_;
  held_ = dragging_ = false;
  ReleaseCapture();
  return dropped ? End::Drop : End::Click;
}

}  // namespace trovik::win32
