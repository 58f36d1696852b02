#pragma once
// Every part of the running program, made in order: the process variables and
// texts, the event hook, the windows' presenters, the launcher and the
// extension system. It is the one object that extensions reach through the
// host functions and variables.
#include <utility>

#include "core/barrier.h"
#include "core/context.h"
#include "core/entry.h"
#include "core/events.h"
#include "core/texts.h"
#include "core/variables.h"
#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "extensions/extensionhost.h"
#include "host/hostapi.h"
#include "launch/launcher.h"
#include "mainwindow/form1.h"
#include "mainwindow/form1optionshost.h"
#include "platform/platform.h"

namespace trovik {

class Program {
 public:
  explicit Program(Platform& platform);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Events events;
  Variables vars;
  Texts texts;
  EntrySyntax syntax{events, vars};
  Context ctx;
  TForm1 form1{ctx};
  TAddEdit AddEdit{ctx, form1.link1};
  Launcher& launcher = form1.launcher;
  // The extension system: the hook behind events, and what extensions call.
  ExtensionHost extensions{ctx};
  HostApi hostapi{*this};
  TOptionsForm OptionsForm{ctx, extensions};
  Form1OptionsHost optionsHost{ctx, form1};

  // Runs a handler behind the error barrier. False when it failed.
  template <class Work>
  bool guarded(Work&& work) {
    return barrier(ctx, std::forward<Work>(work));
  }
};

}  // namespace trovik
