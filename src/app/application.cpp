#include "app/application.h"

#include "config/inifile.h"
#include "config/options.h"
#include "linkstore/paths.h"

namespace trovik {

Application::Application(Platform& platform, std::string exeDir)
    : ctx{platform, events, vars, texts, syntax}, exeDir_(withBackslash(exeDir)) {
  form1.launcher = &launcher;
  form1.addEditOpen = [this] { return AddEdit.AddEdit.visible(); };
}

void Application::FormCreate() {
  vars.realpath = exeDir_;
  vars.apppath = vars.realpath;
  vars.disvp = false;
  void* sender = &form1.Form1;
  events.run(
      "form1create",
      [&] {
        FileSystem& fs = ctx.fs();
        vars.maxnfix = vars.norun = false;
        texts.maint = "Trovik";
        form1.ttitle.setCaption(texts.maint);
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
          options.Free();
        }
        if (!fs.directoryExists(vars.apppath)) {
          vars.apppath = vars.realpath;
          ctx.message(texts.f1nodirstart, texts.maint, Buttons::Ok);
        }

        vars.forcewait = 1000;
        vars.curitem = 0;
        vars.commandsep = ">:";

        const std::string names = vars.apppath + std::string(kNameFile);
        const std::string links = vars.apppath + std::string(kLinkFile);
        if (!fs.fileExists(names) && !fs.fileExists(links)) {
          writeFilesAtomic(fs, {{names, ""}, {links, ""}});
          if (sameText(vars.apppath, vars.realpath) && !fs.fileExists(ini)) blankset(ctx, vars.realpath);
          ctx.message(texts.f1welcome, texts.maint, Buttons::Ok);
        }
        if (fs.fileExists(names) && !fs.fileExists(links))
          ctx.message(texts.f1nolinkfile, texts.maint, Buttons::Ok);

        form1.loadoptions();
        form1.store.loadlist();
      },
      in(sender, &EventSlots::cobject));
}

bool Application::close() {
  CloseAction action = CloseAction::Free;
  try {
    form1.FormClose(action);
  } catch (const IoError& e) {
    // Nothing on disk was harmed, but what could not be saved would be lost.
    return ctx.message(std::string(e.what()) +
                           "\r\n\r\nClose Trovik anyway? Changes that could not be saved will be lost.",
                       texts.maint, Buttons::YesNo, Icon::Error) == Answer::Yes;
  }
  return action != CloseAction::None;
}

}  // namespace trovik
