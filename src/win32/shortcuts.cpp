#include "win32/shortcuts.h"

#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "platform/filesystem.h"
#include "win32/wide.h"
#include "win32/win32platform.h"

namespace trovik::win32 {

namespace {

struct ComRelease {
  void operator()(IUnknown* p) const noexcept { p->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

inline LSTATUS closeKey(HKEY k) { return RegCloseKey(k); }
using KeyOwner = Owned<HKEY, closeKey>;

// A shell-link object and its file side; both null when COM refuses.
struct Link {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  HRESULT result = S_OK;
};

Link makeLink() {
  Link made;
  IShellLinkW* rawLink = nullptr;
  made.result =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IShellLinkW, reinterpret_cast<void**>(&rawLink));
  if (FAILED(made.result)) return made;
  made.link.reset(rawLink);
  IPersistFile* rawFile = nullptr;
  made.result = rawLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile));
  if (SUCCEEDED(made.result)) made.file.reset(rawFile);
  return made;
}

}  // namespace

std::string Win32Shortcuts::programPath() { return modulePath(); }

std::string Win32Shortcuts::windowsDirectory() {
  wchar_t dir[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
  return n > 0 && n <= MAX_PATH ? narrow(std::wstring_view(dir, n)) : std::string();
}

std::string Win32Shortcuts::userFolder(const std::string& key, const std::string& value) {
  // Only read: a key that is not there names no folder, and is not made.
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(key).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
      ERROR_SUCCESS)
    return {};
  KeyOwner k{raw};
  const std::wstring name = wide(value);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
    return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &size) != ERROR_SUCCESS)
    return {};
  text.resize(std::min<size_t>(size / sizeof(wchar_t), text.size()));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  if (type == REG_EXPAND_SZ) {
    wchar_t expanded[MAX_PATH + 1] = {};
    const DWORD n = ExpandEnvironmentStringsW(text.c_str(), expanded, MAX_PATH + 1);
    if (n > 0 && n <= MAX_PATH + 1) text = expanded;
  }
  return narrow(text);
}

void Win32Shortcuts::save(const std::string& lnkPath, const ShortcutProperties& props) {
  Link made = makeLink();
  auto check = [&](HRESULT hr) {
    if (FAILED(hr))
      throw IoError(IoError::Op::Write, lnkPath, systemReason(static_cast<DWORD>(hr)));
  };
  check(made.result);
  IShellLinkW& link = *made.link;
  // No relative path: the shell finds a moved program by its full path alone,
  // and Wine writes a broken file when one is set.
  check(link.SetWorkingDirectory(wide(props.workingDirectory).c_str()));
  check(link.SetDescription(wide(props.description).c_str()));
  check(link.SetIconLocation(wide(props.iconPath).c_str(), 0));
  check(link.SetPath(wide(props.target).c_str()));
  check(made.file->Save(wide(lnkPath).c_str(), FALSE));
}

std::string Win32Shortcuts::target(const std::string& lnkPath) {
  Link made = makeLink();
  if (FAILED(made.result) || FAILED(made.file->Load(wide(lnkPath).c_str(), STGM_READ))) return {};
  wchar_t path[MAX_PATH + 1] = {};
  if (made.link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return {};
  return narrow(path);
}

}  // namespace trovik::win32
