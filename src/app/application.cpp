#include "app/application.h"

#include "config/dates.h"
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "extensions/records.h"
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
  void* sender = &form1;  // the object getform1 hands out
  events.run(
      "form1create",
      [&] {
        FileSystem& fs = ctx.fs();
        vars.maxnfix = vars.norun = false;
        texts.maint = std::string(kProduct);
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
          if (readNumber(options, Option::Version) == 800) {
            // Options of an older release remembered filesets differently.
            writeNumber(options, Option::Version, 1000);
            writeText(options, Option::CurrentFileSet, "");
          } else {
            const std::string current = readText(options, Option::CurrentFileSet);
            if (!current.empty()) vars.apppath = vars.realpath + current + "\\";
          }
          remindOfUpdates(options);
          options.Free();
        }
        if (!fs.directoryExists(vars.apppath)) {
          vars.apppath = vars.realpath;
          ctx.message(texts.f1nodirstart, texts.maint, Buttons::Ok);
        }
        // Before anything looks at the list files, a save that a stop cut
        // short is brought to its end: otherwise a fileset half saved would
        // pass for a missing link file or a first run.
        const bool current = recoverFilesets();
        const std::string list = extensions.listPath();
        if (fs.fileExists(list) || guarded([&] { writeFileAtomic(fs, list, ""); }))
          loadExtensionList();
        else
          extensions.freeList();

        offerToDeleteObsoleteFiles();

        vars.forcewait = 1000;
        vars.curitem = 0;
        vars.commandsep = ">:";

        LinkStore& store = form1.store;
        if (current && !store.hasNames(vars.apppath) && !store.hasLinks(vars.apppath)) {
          store.write(vars.apppath, {}, {});
          if (sameText(vars.apppath, vars.realpath) && !fs.fileExists(ini))
            blankset(ctx, vars.realpath);
          ctx.message(texts.f1welcome, texts.maint, Buttons::Ok);
        }
        if (current && store.hasNames(vars.apppath) && !store.hasLinks(vars.apppath))
          ctx.message(texts.f1nolinkfile, texts.maint, Buttons::Ok);

        form1.adjustForLargeFonts(ctx.platform.windows.screen().dpi);
        form1.loadoptions();
        // A fileset that could not be put in order is not read, and so
        // nothing is ever saved over it.
        if (current)
          form1.loadlist();
        else
          form1.listsUnreadable();
        form1.FormActivate();
      },
      in(sender, &EventSlots::cobject));
}

bool Application::recoverFilesets() {
  FileSystem& fs = ctx.fs();
  // Scratch copies of single-file saves that a stop left behind: only files
  // of this program's own names go.
  for (const std::string& scratch :
       {scratchPathFor(optionsPath(vars)), scratchPathFor(extensions.listPath()),
        vars.realpath + std::string(kExtensionScratchFile)})
    if (fs.fileExists(scratch)) fs.deleteFile(scratch);
  const bool base = guarded([&] { form1.store.recover(vars.realpath); });
  if (sameText(vars.apppath, vars.realpath)) return base;
  return guarded([&] { form1.store.recover(vars.apppath); });
}

void Application::remindOfUpdates(TBigIniFile& options) {
  Clock& clock = ctx.platform.clock;
  const Date today = clock.today();
  const std::string checked = readText(options, Option::UpdateChecked);
  // A date that no longer reads in the user's date format (the format was
  // changed) cannot tell how long ago the check was: it starts counting anew
  // rather than nagging or failing.
  const std::optional<Date> last = parseShortDate(checked, clock.shortDatePattern());
  if (!checked.empty() && last) {
    if (dayNumber(today) - dayNumber(*last) < 60) return;
    ctx.message(texts.f1updatereminder, texts.maint, Buttons::Ok);
  }
  writeText(options, Option::UpdateChecked, clock.formatShortDate(today));
}

void Application::offerToDeleteObsoleteFiles() {
  FileSystem& fs = ctx.fs();
  TBigIniFile options(fs, optionsPath(vars));
  const char* const obsolete[] = {"vp.qdx", "Morvath.dll", "qslist.qdx", "fshist.txt"};
  bool any = false;
  for (const char* f : obsolete) any = any || fs.fileExists(vars.realpath + f);
  if (!readFlag(options, Option::DeleteOldFiles) && any) {
    if (ctx.askYes(texts.f1obsoletefiles1 + vars.realpath + texts.f1obsoletefiles2, texts.maint)) {
      for (const char* f : {"vp.qdx", "qslist.qdx", "Morvath.dll", "fshist.txt"})
        if (fs.fileExists(vars.realpath + f)) fs.deleteFile(vars.realpath + f);
    } else {
      writeNumber(options, Option::DeleteOldFiles, 1);
    }
  }
  // Without a taskbar button from the very first moment.
  if (readFlag(options, Option::SysTray)) ctx.platform.windows.setToolWindow(true);
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
    if (ctx.message(std::string(e.what()) + "\r\n\r\n" + texts.f1closeanyway, texts.maint,
                    Buttons::YesNo, Icon::Error) != Answer::Yes)
      return false;
  }
  // Last, the extensions are told and unloaded, and vp2.qdx is written back.
  guarded([&] { extensions.stopvp(1); });
  if (closes) extensions.freeList();
  return closes;
}

}  // namespace trovik
