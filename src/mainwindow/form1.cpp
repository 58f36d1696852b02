#include "mainwindow/form1.h"

#include "config/inifile.h"
#include "config/options.h"
#include "launch/launcher.h"
#include "linkstore/paths.h"

namespace trovik {

namespace {
constexpr int kMinWidth = 145;
constexpr int kTabBarHeight = 22;
}  // namespace

TForm1::TForm1(Context& ctx)
    : store(ctx, LinkPair{List1, link1, mmlist},
            FilesetMenus{qswitch, Switch, ctabi, [this](ui::MenuItem& m) { HistHandler(m); }}),
      ctx_(ctx) {
  Form1.setCaption("Trovik");
  ttitle.setCaption("Trovik");
  tclose.setHint("Close");
  link1.setVisible(false);
  mmlist.setVisible(false);
  status.setCaption("LAUNCHING");
  status.setVisible(false);
  tminimize.setHint("Minimize");
  tmaximize.setHint("Maximize");
  thelp.setHint("Help");
  tmlm.setHint("Snapbar");
  for (ui::Control* c : {&delab, &up, &down, &ma, &cmrb}) c->setVisible(false);
  Maximize.setVisible(false);
  tmenu.addChild(Maximize3);
  Form1.setBounds({0, 0, kMinWidth, 256});

  splitmenu.addChild(FileSets);
  FileSets.addChild(Switch);
  FileSets.addChild(Import1);
  FileSets.addChild(Export1);
  splitmenu.addChild(TaskEvent);
  for (ui::MenuItem* m : {&runexit, &droplaunch, &droplaunchexit, &RunMinimize, &DropLaunchMinimize})
    TaskEvent.addChild(*m);
  splitmenu.addChild(SortListBy);
  for (ui::MenuItem* m : {&Linkname, &Filename, &Filepath, &Filetype, &ReverseSort})
    SortListBy.addChild(*m);
  splitmenu.addChild(Opendirectory);
  splitmenu.addChild(WindowsMenu);
  for (ui::MenuItem* m : {&swindows, &rwindows, &lwindows}) WindowsMenu.addChild(*m);
  runexit.onClick = [this](ui::MenuItem&) { RunExit1Click(); };
  droplaunch.onClick = [this](ui::MenuItem&) { DropLaunchClick(); };
  droplaunchexit.onClick = [this](ui::MenuItem&) { DropLaunchExitClick(); };
  RunMinimize.onClick = [this](ui::MenuItem&) { RunMinimizeClick(); };
  DropLaunchMinimize.onClick = [this](ui::MenuItem&) { DropLaunchMinimize1Click(); };
  Opendirectory.onClick = [this](ui::MenuItem&) { Opendirectory1Click(); };
  swindows.onClick = [this](ui::MenuItem&) { SWindows1Click(); };
  rwindows.onClick = [this](ui::MenuItem&) { RWindows1Click(); };
  lwindows.onClick = [this](ui::MenuItem&) { lwindowsClick(); };
  Linkname.onClick = [this](ui::MenuItem& m) { Linkname1Click(&m); };
  Filename.onClick = [this](ui::MenuItem& m) { Filename1Click(&m); };
  Filepath.onClick = [this](ui::MenuItem& m) { filepath1Click(&m); };
  Filetype.onClick = [this](ui::MenuItem& m) { Filetype1Click(&m); };
  ReverseSort.onClick = [this](ui::MenuItem&) { Reverse1Click(); };
  Import1.onClick = [this](ui::MenuItem&) { Import1Click(); };
  Export1.onClick = [this](ui::MenuItem&) { Export1Click(); };
}

void TForm1::tcloseClick() {
  handle("form1tcloseclick", &tclose, [&] {
    if (closeWindow) closeWindow();
  });
}

void TForm1::FormClose(CloseAction& action) {
  void* sender = &Form1;
  ctx_.events.run(
      "form1close",
      [&] {
        store.savelist();
        // The fileset to open next time: its directory name, empty for the base.
        const Variables& v = ctx_.vars;
        TBigIniFile ini(ctx_.fs(), optionsPath(v));
        ini.WriteString("Form", "CurrentFileSet",
                        sameText(v.apppath, v.realpath) ? "" : ctx_.syntax.extractleafdir(v.apppath));
        ini.Free();
        if (v.shutonx)
          requestEndOfSession(v.wconfirms, ctx_.texts.f1shutdownconfirm, ewxShutdown,
                              ctx_.texts.f1shutdownfail);
      },
      in(sender, &EventSlots::cobject),
      inout(action, &EventSlots::closeaction));
}

void TForm1::FormResize() {
  handle("form1resize", &Form1, [&] {
    const int w = Form1.bounds().width;
    const int h = Form1.bounds().height;
    const bool bar = qswitch.visible();
    const int listTop = bar ? kTabBarHeight + 20 : 21;
    tbar.setBounds({2, 2, w - 4, 16});
    ttitle.setBounds({4, 1, w - 30, 14});
    tclose.setBounds({w - 21, 1, 16, 14});
    tborder.setBounds({0, 0, w, h});
    qswitch.setBounds({6, 20, w - 14, kTabBarHeight});
    List1.setBounds({6, listTop, w - 13, bar && !mmlist.visible() ? h - 66 : h - 42});
    mmlist.setBounds({6, listTop, w - 13, 21});
    status.setBounds({6, h - 18, w - 12, 14});
  });
}

bool TForm1::forceforegroundwindow(WindowHandle window) {
  return ctx_.events.call(
      "forceforegroundwindow", &EventSlots::cboolean,
      [&] { return ctx_.platform.windows.forceForegroundWindow(window); },
      in(window, &EventSlots::chandle));
}

bool TForm1::mayRun(int i) const {
  return i >= 0 && i < link1.count() && !launcherAddEditOpen() &&
         !endsWith(ttitle.caption(), ctx_.texts.f1flymrtag);
}

void TForm1::List1Click() {
  handle("form1list1click", &List1, [&] {
    const int i = List1.itemIndex();
    if (ctx_.vars.lclick && !ctx_.vars.norun && mayRun(i)) launcher->runlink(link1.item(i));
    ctx_.vars.norun = false;
  });
}

void TForm1::List1DblClick() {
  handle("form1list1doubleclick", &List1, [&] {
    const int i = List1.itemIndex();
    if (!ctx_.vars.lclick && mayRun(i)) launcher->runlink(link1.item(i));
  });
}

void TForm1::HistHandler(ui::MenuItem& sender) {
  // Switching to the chosen fileset arrives with fileset switching.
  handle("form1.histhandler", &sender, [] {});
}

}  // namespace trovik
