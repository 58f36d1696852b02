#include "app/application.h"

#include "config/dates.h"
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "mainwindow/frame.h"

namespace trovik {

Application::Application(Platform& platform, std::string exeDir)
    : Program(platform), exeDir_(withBackslash(exeDir)) {}

void Application::FormCreate() {
  extensions.kn() = 0;
  extensions.createList();
  vars.realpath = exeDir_;
  vars.apppath = vars.realpath;
  vars.disvp = false;
  // Extensions hear the very first event.
  if (ctx.fs().fileExists(extensions.listPath())) loadExtensionList();
  void* sender = &form1.Form1;
  events.run(
      "form1create",
      [&] {
        FileSystem& fs = ctx.fs();
        vars.maxnfix = vars.norun = false;
        texts.maint = "Trovik";
        form1.ttitle.setCaption(texts.maint);
        form1.tbar.setColor(clActiveCaption);
        form1.ttitle.setColor(clCaptionText);
        form1.tborder.setColor(clWindowFrame);
        texts.warningt = "Warning";
        texts.confirmt = "Confirm";
        vars.noconfirmsave = vars.remtes = vars.sortbreak = false;
        texts.setDefaults(Texts::Source::Creation);

        const std::string ini = optionsPath(vars);
        if (fs.fileExists(ini)) {
          TBigIniFile options(fs, ini);
          if (options.ReadInteger("Form", "Version", 1000) == 800) {
            // Options of an older release remembered filesets differently.
            options.WriteInteger("Form", "Version", 1000);
            options.WriteString("Form", "CurrentFileSet", "");
          } else {
            const std::string current = options.ReadString("Form", "CurrentFileSet", "");
            if (!current.empty()) vars.apppath = vars.realpath + current + "\\";
          }
          remindOfUpdates(options);
          options.Free();
        }
        if (!fs.directoryExists(vars.apppath)) {
          vars.apppath = vars.realpath;
          ctx.message(texts.f1nodirstart, texts.maint, Buttons::Ok);
        }
        const std::string list = extensions.listPath();
        if (fs.fileExists(list) || guarded([&] { writeFileAtomic(fs, list, ""); }))
          loadExtensionList();
        else
          extensions.freeList();

        offerToDeleteObsoleteFiles();

        vars.forcewait = 1000;
        vars.curitem = 0;
        vars.commandsep = ">:";

        const std::string names = vars.apppath + std::string(kNameFile);
        const std::string links = vars.apppath + std::string(kLinkFile);
        if (!fs.fileExists(names) && !fs.fileExists(links)) {
          writeFilesAtomic(fs, {{names, ""}, {links, ""}});
          if (sameText(vars.apppath, vars.realpath) && !fs.fileExists(ini))
            blankset(ctx, vars.realpath);
          ctx.message(texts.f1welcome, texts.maint, Buttons::Ok);
        }
        if (fs.fileExists(names) && !fs.fileExists(links))
          ctx.message(texts.f1nolinkfile, texts.maint, Buttons::Ok);

        form1.adjustForLargeFonts(ctx.platform.windows.screen().dpi);
        form1.loadoptions();
        form1.store.loadlist();
        form1.FormActivate();
      },
      in(sender, &EventSlots::cobject));
}

void Application::remindOfUpdates(TBigIniFile& options) {
  Clock& clock = ctx.platform.clock;
  const Date today = clock.today();
  const std::string checked = options.ReadString("Form", "UpdateChecked", "");
  // A date that no longer reads in the user's date format (the format was
  // changed) cannot tell how long ago the check was: it starts counting anew
  // rather than nagging or failing.
  const std::optional<Date> last = parseShortDate(checked, clock.shortDatePattern());
  if (!checked.empty() && last) {
    if (dayNumber(today) - dayNumber(*last) < 60) return;
    ctx.message(
        "You have not checked for an update for over 2 months, and there may be one available. If "
        "you have an internet connection, you should go to Options, Updates, and click Check for "
        "update.",
        texts.maint, Buttons::Ok);
  }
  options.WriteString("Form", "UpdateChecked", clock.formatShortDate(today));
}

void Application::offerToDeleteObsoleteFiles() {
  FileSystem& fs = ctx.fs();
  TBigIniFile options(fs, optionsPath(vars));
  const char* const obsolete[] = {"vp.qdx", "Morvath.dll", "qslist.qdx", "fshist.txt"};
  bool any = false;
  for (const char* f : obsolete) any = any || fs.fileExists(vars.realpath + f);
  if (options.ReadInteger("Help", "DeleteOldFiles", 0) == 0 && any) {
    if (ctx.askYes("One or more of the following files exists in the directory " + vars.realpath +
                       ": qslist.qdx, Morvath.dll, vp.qdx, fshist.txt. None of these files are "
                       "required by this version of Trovik. Would you like Trovik to delete them "
                       "for you now?",
                   texts.maint)) {
      for (const char* f : {"vp.qdx", "qslist.qdx", "Morvath.dll", "fshist.txt"})
        if (fs.fileExists(vars.realpath + f)) fs.deleteFile(vars.realpath + f);
    } else {
      options.WriteInteger("Help", "DeleteOldFiles", 1);
    }
  }
  // Without a taskbar button from the very first moment.
  if (options.ReadInteger("Options", "SysTray", 0) == 1) ctx.platform.windows.setToolWindow(true);
  options.Free();
}

// A list that cannot be read is reported and left alone: no extension runs
// this time, and nothing writes over the file when the window closes.
void Application::loadExtensionList() {
  if (!guarded([&] { extensions.loadList(); })) extensions.freeList();
}

bool Application::close() {
  CloseAction action = CloseAction::Free;
  bool closes = true;
  try {
    form1.FormClose(action);
    closes = action != CloseAction::None;
  } catch (const IoError& e) {
    // Nothing on disk was harmed, but what could not be saved would be lost.
    if (ctx.message(
            std::string(e.what()) +
                "\r\n\r\nClose Trovik anyway? Changes that could not be saved will be lost.",
            texts.maint, Buttons::YesNo, Icon::Error) != Answer::Yes)
      return false;
  }
  // Last, the extensions are told and unloaded, and vp2.qdx is written back.
  guarded([&] { extensions.stopvp(1); });
  if (closes) extensions.freeList();
  return closes;
}

}  // namespace trovik
