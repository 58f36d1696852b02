#pragma once
// The real operating-system services behind the core's platform interfaces,
// and the small owners that give every Win32 handle exactly one closer.
#include <windows.h>
// after windows.h, which it needs
#include <objbase.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/libraries.h"
#include "platform/opendialog.h"

namespace trovik::win32 {

// A handle closed by Close when its owner goes: Owned<HFONT, DeleteObject>.
template <class H, auto Close>
struct HandleCloser {
  using pointer = H;
  void operator()(H h) const noexcept { Close(h); }
};
template <class H, auto Close>
using Owned = std::unique_ptr<std::remove_pointer_t<H>, HandleCloser<H, Close>>;

inline BOOL destroyWindow(HWND h) { return DestroyWindow(h); }
inline BOOL deleteGdiObject(HGDIOBJ h) { return DeleteObject(h); }
inline BOOL closeKernelHandle(HANDLE h) { return CloseHandle(h); }
inline BOOL closeFind(HANDLE h) { return FindClose(h); }

using WindowOwner = Owned<HWND, destroyWindow>;
using FontOwner = Owned<HFONT, deleteGdiObject>;
using FileOwner = Owned<HANDLE, closeKernelHandle>;
using FindOwner = Owned<HANDLE, closeFind>;

// The system's own words for an error code, without the trailing line break
// and full stop, so they read well after "Could not read the file X: ".
// from: a module whose own table holds the code (WinINet's), else the system.
std::string systemReason(DWORD code, HMODULE from = nullptr);

class Win32FileSystem final : public FileSystem {
 public:
  bool fileExists(const std::string& path) const override;
  bool directoryExists(const std::string& path) const override;
  std::optional<FileStamp> stamp(const std::string& path) const override;
  std::string readFile(const std::string& path) const override;
  void writeFile(const std::string& path, const std::string& bytes) override;
  void replaceFile(const std::string& from, const std::string& to) override;
  bool deleteFile(const std::string& path) override;
  std::vector<DirEntry> listDirectory(const std::string& dir) const override;
  void visitDirectory(const std::string& dir, const std::string& namePrefix,
                      const Visit& visit) const override;
  std::vector<std::string> drives() const override;
  void createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  void renameDirectory(const std::string& from, const std::string& to) override;
  std::string ansiToUtf8(std::string_view bytes) const override;
  std::string utf8ToAnsi(std::string_view text, bool* exact) const override;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  Answer show(WindowHandle owner, const std::string& text, const std::string& caption,
              Buttons buttons, Icon icon) override;
};

class Win32MessagePump final : public MessagePump {
 public:
  void processMessages() override;
  // Sees every message before it is dispatched, here as in the main loop
  // (shortcut keys, the keys the main window looks at first); true means the
  // message was used up.
  std::function<bool(MSG&)> preTranslate;
};

// Needs COM initialised on the calling thread (WinMain does it once).
class Win32ShellLinks final : public ShellLinks {
 public:
  std::string resolveTarget(const std::string& lnkPath) override;
};

class Win32Clock final : public Clock {
 public:
  Date today() override;
  std::string formatShortDate(const Date& d) override;
  void sleep(int ms) override { Sleep(static_cast<DWORD>(ms < 0 ? 0 : ms)); }
  std::string shortDatePattern() override;
};

class Win32Libraries final : public Libraries {
 public:
  LibraryHandle load(const std::string& path) override;
  void* symbol(LibraryHandle library, const std::string& name) override;
  void free(LibraryHandle library) override;
};

class Win32OpenDialog final : public OpenFileDialog {
 public:
  bool execute(WindowHandle owner, OpenDialogSettings& settings) override;
};

// COM for the lifetime of WinMain.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

}  // namespace trovik::win32
