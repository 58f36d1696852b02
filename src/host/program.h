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
#include "dialogs/acf.h"
#include "dialogs/addedit.h"
#include "dialogs/openfiledir.h"
#include "dialogs/optionsform.h"
#include "extensions/extensionhost.h"
#include "host/dialogowner.h"
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
  // The options dialog is made after the Add/Edit dialog, which reaches it
  // only once both exist.
  Form1ForDialogs dialogOwner{form1, OptionsForm};
  TAddEdit AddEdit{ctx, dialogOwner, form1.launcher};
  Launcher& launcher = form1.launcher;
  // The extension system: the hook behind events, and what extensions call.
  ExtensionHost extensions{ctx};
  HostApi hostapi{*this};
  TOptionsForm OptionsForm{ctx, extensions};
  Form1OptionsHost optionsHost{ctx, form1};
  Tacf acf{ctx, AddEdit, form1.launcher};
  TOpenFileDir OpenFileDir{ctx, AddEdit, form1.launcher};

  // Runs a handler behind the error barrier. False when it failed.
  template <class Work>
  bool guarded(Work&& work) {
    return barrier(ctx, std::forward<Work>(work));
  }
};

}  // namespace trovik
