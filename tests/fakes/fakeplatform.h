#pragma once
// The fake operating system the unit tests run the core on.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakefs.h"
#include "fakelibraries.h"
#include "platform/opendialog.h"
#include "platform/platform.h"

namespace trovik::test {

// Answers given in the order a test expects the questions; a question nobody expected, or an
// answer never asked for, fails the test.
template <class T>
class Script {
 public:
  explicit Script(const char* what) : what_(what) {}
  ~Script() {
    if (!answers_.empty())
      ADD_FAILURE() << answers_.size() << " expected " << what_ << " never came";
  }
  void expect(T answer) { answers_.push_back(std::move(answer)); }
  // The next answer; none, having failed the test, when no question was expected.
  std::optional<T> next(const std::string& question) {
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected " << what_ << ": " << question;
      return std::nullopt;
    }
    T answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }
  bool empty() const { return answers_.empty(); }

 private:
  const char* what_;
  std::deque<T> answers_;
};

// Message boxes answered from a script: the next box must contain textPart (when given).
class ScriptedBoxes : public MessageBoxes {
 public:
  struct Shown {
    WindowHandle owner;
    std::string text, caption;
    Buttons buttons;
    Icon icon;
  };
  void expect(Answer answer, std::string textPart = "") {
    script_.expect({answer, std::move(textPart)});
  }
  Answer show(WindowHandle owner, const std::string& text, const std::string& caption,
              Buttons buttons, Icon icon) override;

  const std::vector<Shown>& shown() const { return shown_; }
  bool allAnswered() const { return script_.empty(); }
  // Boxes beyond the script get this answer instead of failing the test.
  std::optional<Answer> otherwise;

 private:
  struct Step {
    Answer answer;
    std::string textPart;
  };
  Script<Step> script_{"message box"};
  std::vector<Shown> shown_;
};

class FakePump : public MessagePump {
 public:
  void processMessages() override {
    if (onProcess) onProcess();
  }
  std::function<void()> onProcess;  // what arrives while messages are served
};

class FakeShellLinks : public ShellLinks {
 public:
  std::string resolveTarget(const std::string& lnkPath) override {
    auto it = targets.find(lnkPath);
    return it == targets.end() ? std::string() : it->second;
  }
  std::map<std::string, std::string> targets;
};

// A virtual clock: sleeping advances it.
class FakeClock : public Clock {
 public:
  Date today() override { return now; }
  std::string formatShortDate(const Date& d) override;  // dd/mm/yyyy
  std::string shortDatePattern() override { return "dd/MM/yyyy"; }
  void sleep(int ms) override {
    sleeps.push_back(ms);
    elapsedMs += ms;
  }
  Date now{2026, 12, 6};
  long long elapsedMs = 0;
  std::vector<int> sleeps;
};

// What the shell was asked to start.
struct ShellCall {
  WindowHandle owner;
  std::string file, parameters, directory;
  int show;
};

class FakeShell : public Shell {
 public:
  std::intptr_t execute(WindowHandle owner, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override {
    calls.push_back({owner, file, parameters, directory, show});
    if (onExecute) onExecute();
    return result;
  }
  std::vector<ShellCall> calls;
  std::intptr_t result = 42;
  std::function<void()> onExecute;
};

class FakeSystem : public System {
 public:
  int driveType(const std::string& root) override {
    auto it = drives.find(root);
    return it == drives.end() ? dtFixed : it->second;
  }
  bool setCurrentDirectory(const std::string& dir) override {
    currentDirectory = dir;
    return true;
  }
  bool exitWindows(unsigned flags) override {
    exitRequests.push_back(flags);
    return acceptExit;
  }
  std::map<std::string, int> drives;  // root -> type; others are fixed
  std::string currentDirectory;
  std::vector<unsigned> exitRequests;
  bool acceptExit = true;
};

class FakeWindows : public WindowManager {
 public:
  WindowHandle foregroundWindow() override { return current ? current() : 100; }
  bool forceForegroundWindow(WindowHandle w) override {
    forced.push_back(w);
    return true;
  }
  void minimizeApplication() override { ++minimized; }
  Screen screen() override { return screenInfo; }
  Area workArea() override { return area; }
  bool registerHotKey(int id, unsigned vk) override {
    if (!hotkeyFree) return false;
    hotkeys[id] = vk;
    return true;
  }
  void unregisterHotKey(int id) override { hotkeys.erase(id); }
  void setToolWindow(bool tool) override { toolWindow = tool; }
  Screen screenInfo;
  Area area{0, 0, 1024, 738};
  std::map<int, unsigned> hotkeys;
  bool hotkeyFree = true;
  bool toolWindow = false;
  std::function<WindowHandle()> current;  // when set, decides the window in front
  std::vector<WindowHandle> forced;
  int minimized = 0;
};

// Directory and file dialogs answered from a script: a path, or nothing for Cancel.
class FakeFolderDialog : public FolderDialog {
 public:
  void expect(std::optional<std::string> answer) { script_.expect(std::move(answer)); }
  std::string chooseDirectory(WindowHandle, const std::string& title, const std::string&) override {
    return script_.next(title).value_or(std::nullopt).value_or("");
  }

 private:
  Script<std::optional<std::string>> script_{"directory dialog"};
};

class FakeOpenDialog : public OpenFileDialog {
 public:
  void expect(std::optional<std::string> answer) { script_.expect(std::move(answer)); }
  bool execute(WindowHandle owner, OpenDialogSettings& settings) override {
    shown.push_back({owner, settings});
    const auto answer = script_.next(settings.filter).value_or(std::nullopt);
    if (answer) settings.fileName = *answer;
    return answer.has_value();
  }
  struct Shown {
    WindowHandle owner;
    OpenDialogSettings settings;  // as the dialog was opened
  };
  std::vector<Shown> shown;

 private:
  Script<std::optional<std::string>> script_{"file dialog"};
};

// Shortcuts kept as small files in the fake file system ("lnk" and the
// target on the first line), with a registry of the shell's folders.
class FakeShortcuts : public Shortcuts {
 public:
  explicit FakeShortcuts(FileSystem& fs) : fs_(fs) {}
  std::string programPath() override { return "C:\\Trovik\\Trovik.exe"; }
  std::string windowsDirectory() override { return "C:\\WINDOWS"; }
  std::string userFolder(const std::string& key, const std::string& value) override {
    auto it = registry.find(key + "|" + value);
    return it == registry.end() ? std::string() : it->second;
  }
  void save(const std::string& lnkPath, const ShortcutProperties& link) override {
    saved.push_back({lnkPath, link});
    fs_.writeFile(lnkPath, "lnk\r\n" + link.target);
  }
  std::string target(const std::string& lnkPath) override {
    const std::string text = fs_.fileExists(lnkPath) ? fs_.readFile(lnkPath) : std::string();
    return text.rfind("lnk\r\n", 0) == 0 ? text.substr(5) : std::string();
  }
  struct Saved {
    std::string path;
    ShortcutProperties link;
  };
  std::vector<Saved> saved;
  std::map<std::string, std::string> registry;  // "key|value" -> folder

 private:
  FileSystem& fs_;
};

struct FakePlatform {
  FakeFileSystem fs;
  ScriptedBoxes boxes;
  FakePump pump;
  FakeShellLinks shellLinks;
  FakeClock clock;
  FakeShell shell;
  FakeSystem system;
  FakeWindows windows;
  FakeLibraries libraries;
  FakeOpenDialog openDialog;
  FakeFolderDialog folderDialog;
  FakeShortcuts shortcuts{fs};
  Platform platform{fs,     boxes,   pump,      shellLinks, clock,       shell,
                    system, windows, libraries, openDialog, folderDialog};
  FakePlatform() { platform.shortcuts = &shortcuts; }
};

}  // namespace trovik::test
