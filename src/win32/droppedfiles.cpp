#include "win32/droppedfiles.h"

#include <algorithm>

#include "win32/wide.h"

namespace trovik::win32 {

DroppedFiles::DroppedFiles(HDROP drop, HWND window) : drop_(drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    const UINT got = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(std::min(got, length));
    paths.push_back(narrow(path));
  }
  // A drop outside the client area has no point of its own: the cursor's is taken.
  if (!DragQueryPoint(drop, &at)) {
    GetCursorPos(&at);
    ScreenToClient(window, &at);
  }
}

}  // namespace trovik::win32
