#pragma once
// The fake operating system the unit tests run the core on.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "fakefs.h"
#include "platform/platform.h"

namespace trovik::test {

// Message boxes answered from a script. A box nobody expected fails the test.
class ScriptedBoxes : public MessageBoxes {
 public:
  struct Shown {
    WindowHandle owner;
    std::string text, caption;
    Buttons buttons;
    Icon icon;
  };
  ~ScriptedBoxes() override;

  // The next box must contain textPart (when given) and gets this answer.
  void expect(Answer answer, std::string textPart = "") {
    script_.push_back({answer, std::move(textPart)});
  }
  Answer show(WindowHandle owner, const std::string& text, const std::string& caption,
              Buttons buttons, Icon icon) override;

  const std::vector<Shown>& shown() const { return shown_; }
  bool allAnswered() const { return script_.empty(); }

 private:
  struct Step {
    Answer answer;
    std::string textPart;
  };
  std::deque<Step> script_;
  std::vector<Shown> shown_;
};

class FakePump : public MessagePump {
 public:
  void processMessages() override { ++calls; }
  int calls = 0;
};

class FakeShellLinks : public ShellLinks {
 public:
  std::string resolveTarget(const std::string& lnkPath) override {
    auto it = targets.find(lnkPath);
    return it == targets.end() ? std::string() : it->second;
  }
  std::map<std::string, std::string> targets;
};

class FakeClock : public Clock {
 public:
  Date today() override { return now; }
  std::string formatShortDate(const Date& d) override;  // dd/mm/yyyy
  Date now{2026, 12, 6};
};

struct FakePlatform {
  FakeFileSystem fs;
  ScriptedBoxes boxes;
  FakePump pump;
  FakeShellLinks shellLinks;
  FakeClock clock;
  Platform platform{fs, boxes, pump, shellLinks, clock};
};

}  // namespace trovik::test
