#pragma once
// What every part of the core works with: the platform services, the event
// hook with its slots, the process variables and the interface texts.
#include <string>

#include "core/entry.h"
#include "core/events.h"
#include "core/texts.h"
#include "core/variables.h"
#include "platform/platform.h"

namespace trovik {

struct Context {
  Platform& platform;
  Events& events;
  Variables& vars;
  Texts& texts;
  EntrySyntax& syntax;
  // The main window (0 until it exists).
  WindowHandle mainWindow = 0;
  // The window whose input is being handled (0: none, the program itself is at work).
  WindowHandle asking = 0;

  FileSystem& fs() { return platform.fs; }

  // A box belongs to the window that asks: closing it hands the keyboard back
  // there, not to the main window, which would come up over a dialog.
  WindowHandle boxOwner() const { return asking ? asking : mainWindow; }
  // Every message box of the program goes through here.
  Answer message(const std::string& text, const std::string& caption, Buttons buttons,
                 Icon icon = Icon::None) {
    return platform.boxes.show(boxOwner(), text, caption, buttons, icon);
  }
  // A question with Yes and No: anything but Yes counts as No.
  bool askYes(const std::string& text, const std::string& caption) {
    return message(text, caption, Buttons::YesNo) == Answer::Yes;
  }
  // Tells the user that a file could not be read or written.
  void reportIoError(const IoError& e) { message(e.what(), texts.maint, Buttons::Ok, Icon::Error); }
};

// While it lives, window is the one that asks (a window not made yet leaves
// it to the one before); the one before asks again after.
class AskingWindow {
 public:
  AskingWindow(Context& ctx, WindowHandle window) : ctx_(ctx), before_(ctx.asking) {
    if (window) ctx.asking = window;
  }
  ~AskingWindow() { ctx_.asking = before_; }
  AskingWindow(const AskingWindow&) = delete;
  AskingWindow& operator=(const AskingWindow&) = delete;

 private:
  Context& ctx_;
  WindowHandle before_;
};

}  // namespace trovik
