#pragma once
// The application object: creates every part of the program in order and is
// the single context the windows and extensions reach.
#include <memory>
#include <string>

#include "config/variables.h"
#include "core/context.h"
#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "dialogs/texts.h"
#include "extensions/events.h"
#include "extensions/extensionhost.h"
#include "extensions/hostapi.h"
#include "launch/launcher.h"
#include "linkstore/entry.h"
#include "mainwindow/form1.h"
#include "platform/platform.h"

namespace trovik {

class TBigIniFile;

class Application {
 public:
  // exeDir: the directory of the executable, BaseDirectory.
  Application(Platform& platform, std::string exeDir);

  Events events;
  Variables vars;
  Texts texts;
  EntrySyntax syntax{events, vars};
  Context ctx;
  TForm1 form1{ctx};
  TAddEdit AddEdit{ctx, form1.link1};
  Launcher launcher{ctx, form1, AddEdit};
  // The extension system: the hook behind events, and what extensions call.
  ExtensionHost extensions{ctx};
  HostApi hostapi{*this};
  TOptionsForm OptionsForm{ctx, extensions};

  // The main window's creation: directories, first run, options, the list.
  void FormCreate();
  // Closing the main window. Returns false when the window must stay open.
  bool close();

  // Runs a handler; a file that cannot be read or written is reported to the
  // user instead of escaping. Returns false when the handler failed.
  template <class Work>
  bool guarded(Work&& work) {
    try {
      work();
      return true;
    } catch (const IoError& e) {
      ctx.reportIoError(e);
      return false;
    }
  }

 private:
  void loadExtensionList();
  // Start-up questions: the update reminder, and files an older release left.
  void remindOfUpdates(TBigIniFile& options);
  void offerToDeleteObsoleteFiles();
  std::string exeDir_;
};

}  // namespace trovik
