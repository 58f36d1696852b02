#include "win32/systemlibrary.h"

#include <stdexcept>
#include <string>

#include "win32/win32platform.h"

namespace trovik::win32 {

namespace {
// A system library from the system folder and nowhere else: a file of the
// same name beside the program (a Downloads folder) or in the current
// directory is never loaded in its place.
HMODULE loadSystemLibrary(const std::wstring& name) {
  HMODULE module = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Systems without the search flags: the full path in the system folder.
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryExW((std::wstring(dir, n) + L"\\" + name).c_str(), nullptr, 0);
}
}  // namespace

void restrictLibrarySearch() {
  // The current directory leaves the search of every later load.
  SetDllDirectoryW(L"");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
    if (auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
      set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC systemFunction(const char* library, const char* name) {
  const std::wstring wide(library, library + std::char_traits<char>::length(library));
  HMODULE module = GetModuleHandleW(wide.c_str());
  if (!module) module = loadSystemLibrary(wide);
  FARPROC fn = module ? GetProcAddress(module, name) : nullptr;
  if (!fn)
    throw std::runtime_error(std::string("Cannot load ") + name + " from " + library + ": " +
                             systemReason(GetLastError()));
  return fn;
}

}  // namespace trovik::win32
