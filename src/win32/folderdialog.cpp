#include "win32/folderdialog.h"

#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "win32/wide.h"

namespace trovik::win32 {

namespace {

// The item list the dialog hands back belongs to the caller, who frees it
// with the COM allocator.
struct ItemListFree {
  void operator()(ITEMIDLIST* p) const noexcept { CoTaskMemFree(p); }
};
using ItemListOwner = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// Opens the dialog on the starting directory once it exists.
int CALLBACK selectStart(HWND dialog, UINT msg, LPARAM, LPARAM start) {
  if (msg == BFFM_INITIALIZED && start) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

}  // namespace

std::string Win32FolderDialog::chooseDirectory(WindowHandle owner, const std::string& title,
                                               const std::string& initialDir) {
  // The dialog selects "C:\Trovik", not "C:\Trovik\"; a drive's root keeps its backslash.
  std::string start = initialDir;
  if (start.size() > 3 && start.back() == '\\') start.pop_back();

  const std::wstring wideTitle = wide(title);
  const std::wstring wideStart = wide(start);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = reinterpret_cast<HWND>(owner);
  info.pszDisplayName = display;
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = selectStart;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(wideStart.c_str());
  ItemListOwner chosen(SHBrowseForFolderW(&info));
  if (!chosen) return {};

  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return {};  // a place that is no directory
  return narrow(path);
}

}  // namespace trovik::win32
