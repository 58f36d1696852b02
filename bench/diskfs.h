#pragma once
// The real disk under Linux, for measuring the core against true I/O. Windows
// paths are mapped by turning backslashes into slashes; names are compared
// as the host compares them, which is fine for the benchmarks' own files.
#include "platform/clock.h"
#include "platform/filesystem.h"

namespace trovik::bench {

class DiskFileSystem : public FileSystem {
 public:
  bool fileExists(const std::string& path) const override;
  bool directoryExists(const std::string& path) const override;
  std::optional<FileStamp> stamp(const std::string& path) const override;
  std::string readFile(const std::string& path) const override;
  void writeFile(const std::string& path, const std::string& bytes) override;
  void replaceFile(const std::string& from, const std::string& to) override;
  bool deleteFile(const std::string& path) override;
  std::vector<DirEntry> listDirectory(const std::string& dir) const override;
  void createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  void renameDirectory(const std::string& from, const std::string& to) override;
};

}  // namespace trovik::bench

#include "platform/dialogs.h"
#include "platform/folderdialog.h"
#include "platform/libraries.h"
#include "platform/opendialog.h"
#include "platform/shell.h"

namespace trovik::bench {

// The other services, for measurements that must not stop to ask anything.
class QuietServices : public MessageBoxes,
                      public MessagePump,
                      public ShellLinks,
                      public Clock,
                      public Shell,
                      public System,
                      public WindowManager,
                      public Libraries,
                      public OpenFileDialog,
                      public FolderDialog {
 public:
  Answer show(WindowHandle, const std::string&, const std::string&, Buttons, Icon) override {
    return Answer::Yes;
  }
  void processMessages() override {}
  std::string resolveTarget(const std::string&) override { return {}; }
  Date today() override { return {2026, 1, 1}; }
  std::string formatShortDate(const Date&) override { return "01/01/2026"; }
  void sleep(int) override {}
  std::intptr_t execute(WindowHandle, const std::string&, const std::string&, const std::string&,
                        int) override {
    return 42;
  }
  int driveType(const std::string&) override { return dtFixed; }
  bool setCurrentDirectory(const std::string&) override { return true; }
  bool exitWindows(unsigned) override { return false; }
  WindowHandle foregroundWindow() override { return 0; }
  bool forceForegroundWindow(WindowHandle) override { return true; }
  void minimizeApplication() override {}
  Screen screen() override { return {}; }
  Area workArea() override { return {0, 0, 1024, 768}; }
  bool registerHotKey(int, unsigned) override { return true; }
  void unregisterHotKey(int) override {}
  void setToolWindow(bool) override {}
  std::string shortDatePattern() override { return "dd/MM/yyyy"; }
  LibraryHandle load(const std::string&) override { return 0; }
  void* symbol(LibraryHandle, const std::string&) override { return nullptr; }
  void free(LibraryHandle) override {}
  bool execute(WindowHandle, OpenDialogSettings&) override { return false; }
  std::string chooseDirectory(WindowHandle, const std::string&, const std::string&) override {
    return {};
  }
};

}  // namespace trovik::bench
