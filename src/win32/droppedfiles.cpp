#include "win32/droppedfiles.h"

#include <algorithm>

namespace trovik::win32 {

DroppedFiles::DroppedFiles(HDROP drop, HWND window) : drop_(drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(static_cast<size_t>(length) + 1, '\0');
    const UINT got = DragQueryFileA(drop, i, path.data(), length + 1);
    path.resize(std::min(got, length));
    paths.push_back(std::move(path));
  }
  // A drop outside the client area has no point of its own: the cursor's is taken.
  if (!DragQueryPoint(drop, &at)) {
    GetCursorPos(&at);
    ScreenToClient(window, &at);
  }
}

}  // namespace trovik::win32
