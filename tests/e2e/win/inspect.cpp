// The driver's commands that read back what the release carries: an executable's version
// information, icon groups and manifest, and which common controls the running program was given
// (version 6 comes from the side-by-side store only when the manifest asks for it). The release
// test compares what they print with what the build put in.

// clang-format off
#include <windows.h>
// clang-format on
#include "inspect.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ModuleCloser {
  void operator()(HMODULE m) const {
    if (m) FreeLibrary(m);
  }
};

void say(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int fail(const std::string& why) {
  std::fflush(stdout);
  std::fprintf(stderr, "trovik-driver: %s\n", why.c_str());
  return 1;
}

std::string number(DWORD value) { return std::to_string(value); }

std::string dotted(DWORD high, DWORD low) {
  return number(HIWORD(high)) + "." + number(LOWORD(high)) + "." + number(HIWORD(low)) + "." +
         number(LOWORD(low));
}

// As data only: the file may be built for the other architecture, and nothing of it may run.
std::unique_ptr<HINSTANCE__, ModuleCloser> openAsData(const char* path) {
  return std::unique_ptr<HINSTANCE__, ModuleCloser>(
      LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// version-info <exe>: the fixed version numbers, then every text of the first translation.
int versionInfo(const char* path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return fail(std::string("no version information in ") + path);
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data()))
    return fail(std::string("cannot read the version information of ") + path);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    return fail("no fixed version block");
  say("FileVersion# " + dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
  say("ProductVersion# " + dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
  say(std::string("FileType# ") + (fixed->dwFileType == VFT_APP ? "application" : "other"));

  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof *translation)
    return fail("no translation table");
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation->language,
                translation->codePage);
  say(std::string("Translation ") + std::string(prefix + 16, 8));
  for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                          "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"}) {
    char* text = nullptr;
    if (VerQueryValueA(block.data(), (std::string(prefix) + key).c_str(),
                       reinterpret_cast<void**>(&text), &length) &&
        text)
      say(std::string(key) + " " + text);
  }
  return 0;
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
struct GroupHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
  auto* names = reinterpret_cast<std::vector<std::string>*>(out);
  names->push_back(IS_INTRESOURCE(name)
                       ? "#" + number(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(name)))
                       : std::string(name));
  return TRUE;
}

LPCSTR resourceName(const std::string& name) {
  if (name[0] != '#') return name.c_str();
  return MAKEINTRESOURCEA(std::stoi(name.substr(1)));
}

// icons <exe>: each icon group in resource order with the sizes it holds, and whether the
// system can make an icon of each size from it.
int icons(const char* path) {
  auto module = openAsData(path);
  if (!module) return fail(std::string("cannot open ") + path + " as data");
  std::vector<std::string> groups;
  EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, &collectName,
                     reinterpret_cast<LONG_PTR>(&groups));
  for (const std::string& group : groups) {
    HRSRC found = FindResourceA(module.get(), resourceName(group), MAKEINTRESOURCEA(14));
    const auto* header =
        found ? static_cast<const GroupHeader*>(LockResource(LoadResource(module.get(), found)))
              : nullptr;
    if (!header) return fail("cannot read the icon group " + group);
    say("group " + group);
    const auto* entry = reinterpret_cast<const GroupEntry*>(header + 1);
    for (WORD i = 0; i < header->count; ++i, ++entry) {
      const int width = entry->width ? entry->width : 256;
      const int height = entry->height ? entry->height : 256;
      HICON icon = static_cast<HICON>(
          LoadImageA(module.get(), resourceName(group), IMAGE_ICON, width, height, 0));
      std::string loads = "no";
      ICONINFO info{};
      if (icon && GetIconInfo(icon, &info)) {
        BITMAP bitmap{};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap))
          loads = number(static_cast<DWORD>(bitmap.bmWidth)) + "x" +
                  number(static_cast<DWORD>(bitmap.bmHeight));
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
      }
      if (icon) DestroyIcon(icon);
      say("icon " + number(static_cast<DWORD>(width)) + "x" + number(static_cast<DWORD>(height)) +
          " " + number(entry->bits) + "bpp loads " + loads);
    }
  }
  return 0;
}

// manifest <exe>: the text of the manifest the loader reads when the program starts.
int manifest(const char* path) {
  auto module = openAsData(path);
  if (!module) return fail(std::string("cannot open ") + path + " as data");
  HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  if (!found) return fail("no manifest resource 1");
  const char* text = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
  if (!text) return fail("cannot read the manifest");
  std::fwrite(text, 1, SizeofResource(module.get(), found), stdout);
  std::fflush(stdout);
  return 0;
}

HWND mainWindow() { return FindWindowA("TForm1", nullptr); }

// module <name>: the full path of every module of that file name in the program's process.
int modulePaths(const char* name) {
  HWND window = mainWindow();
  if (!window) return fail("no main window");
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return fail("cannot open the program's process");
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  const BOOL listed = EnumProcessModulesEx(process, modules.data(),
                                           static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                           &needed, LIST_MODULES_ALL);
  modules.resize(listed ? std::min<size_t>(needed / sizeof(HMODULE), modules.size()) : 0);
  const std::string wanted = std::string("\\") + name;
  for (HMODULE m : modules) {
    char file[MAX_PATH] = {};
    if (!GetModuleFileNameExA(process, m, file, MAX_PATH)) continue;
    std::string path = file;
    if (path.size() >= wanted.size() &&
        lstrcmpiA(path.c_str() + path.size() - wanted.size(), wanted.c_str()) == 0)
      say(path);
  }
  CloseHandle(process);
  return listed ? 0 : fail("cannot list the program's modules");
}

}  // namespace

int inspectCommand(const std::string& command, int args, char** arg) {
  if (command == "version-info" && args == 1) return versionInfo(arg[0]);
  if (command == "icons" && args == 1) return icons(arg[0]);
  if (command == "manifest" && args == 1) return manifest(arg[0]);
  if (command == "module" && args == 1) return modulePaths(arg[0]);
  return -1;
}
