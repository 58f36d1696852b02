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
  // The main window: owner of the program's message boxes (0 until it exists).
  WindowHandle mainWindow = 0;

  FileSystem& fs() { return platform.fs; }

  // Every message box of the program goes through here.
  Answer message(const std::string& text, const std::string& caption, Buttons buttons,
                 Icon icon = Icon::None) {
    return platform.boxes.show(mainWindow, text, caption, buttons, icon);
  }
  // A question with Yes and No: anything but Yes counts as No.
  bool askYes(const std::string& text, const std::string& caption) {
    return message(text, caption, Buttons::YesNo) == Answer::Yes;
  }
  // Tells the user that a file could not be read or written.
  void reportIoError(const IoError& e) { message(e.what(), texts.maint, Buttons::Ok, Icon::Error); }
};

}  // namespace trovik
