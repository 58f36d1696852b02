// The task/event modes of the main window and the title that shows them.
#include "core/paths.h"
#include "dialogs/addedit.h"
#include "mainwindow/form1.h"

namespace trovik {

const std::string* TForm1::modeTag(const ui::MenuItem& mode) const {
  const Texts& t = ctx_.texts;
  if (&mode == &runexit) return &t.f1runexittag;
  if (&mode == &droplaunch) return &t.f1droplaunchtag;
  if (&mode == &droplaunchexit) return &t.f1droplaunchexittag;
  if (&mode == &RunMinimize) return &t.f1runminimizetag;
  if (&mode == &DropLaunchMinimize) return &t.f1droplaunchminimizetag;
  return nullptr;
}

std::string TForm1::modeTitle(bool withTaskEvent) const {
  std::string title = ctx_.texts.maint;
  if (Opendirectory.checked()) title += ctx_.texts.f1opendirtag;
  if (withTaskEvent) {
    for (const ui::MenuItem* m :
         {&runexit, &droplaunch, &droplaunchexit, &RunMinimize, &DropLaunchMinimize})
      if (m->checked()) return title + *modeTag(*m);
  }
  return title;
}

void TForm1::selectMode(std::string_view event, ui::MenuItem& mode) {
  handle(event, &mode, [&] {
    if (!mode.checked()) {
      for (ui::MenuItem* m :
           {&runexit, &droplaunch, &droplaunchexit, &RunMinimize, &DropLaunchMinimize})
        m->setChecked(m == &mode);
      ttitle.setCaption(modeTitle(false) + *modeTag(mode));
    } else {
      mode.setChecked(false);
      ttitle.setCaption(modeTitle(false));
    }
  });
}

void TForm1::RunExit1Click() { selectMode("form1runexitclick", runexit); }
void TForm1::DropLaunchClick() { selectMode("form1droplaunchclick", droplaunch); }
void TForm1::DropLaunchExitClick() { selectMode("form1droplaunchexitclick", droplaunchexit); }
void TForm1::RunMinimizeClick() { selectMode("form1runminimizeclick", RunMinimize); }
void TForm1::DropLaunchMinimize1Click() {
  selectMode("form1droplaunchminimizeclick", DropLaunchMinimize);
}

void TForm1::Opendirectory1Click() {
  handle("form1opendirectoryclick", &Opendirectory, [&] {
    endFlyMultirun();
    if (!Opendirectory.checked()) {
      Opendirectory.setChecked(true);
      ttitle.setCaption(ttitle.caption() + ctx_.texts.f1opendirtag);
    } else {
      Opendirectory.setChecked(false);
      ttitle.setCaption(modeTitle(true));
    }
  });
}

void TForm1::modesoff() {
  ctx_.events.run("modesoff", [&] {
    for (ui::MenuItem* m : {&runexit, &droplaunch, &droplaunchexit, &RunMinimize,
                            &DropLaunchMinimize, &Opendirectory})
      m->setChecked(false);
    ttitle.setCaption(ctx_.texts.maint);
  });
}

void TForm1::endFlyMultirun() {
  const std::string& tag = ctx_.texts.f1flymrtag;
  if (tag.empty() || !endsWith(ttitle.caption(), tag)) return;
  const std::string& title = ttitle.caption();
  ttitle.setCaption(title.substr(0, title.size() - tag.size()));
  List1.setMultiSelect(false);
}

void TForm1::launchBegins() {
  if (addEdit) addEdit->path.setText("");
}

void TForm1::launchProgress(int remaining) {
  if (remaining > 0) status.setCaption("LAUNCHING (" + std::to_string(remaining) + ")");
  status.setVisible(remaining > 0);
}

bool TForm1::memberLaunched() {
  bool close = false;
  if (exitModeChecked()) {
    // The program that was just started is what the user wants to see once
    // this window has gone: leave whatever came to the front there.
    forceforegroundwindow(ctx_.platform.windows.foregroundWindow());
    resort();
    if (ctx_.vars.exceptonmode) ctx_.vars.shutonx = false;
    close = true;
  }
  if (minimizeModeChecked()) ctx_.platform.windows.minimizeApplication();
  if (ctx_.vars.onetimemode && ttitle.caption() != ctx_.texts.maint) modesoff();
  return close;
}

}  // namespace trovik
