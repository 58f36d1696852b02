#include "mainwindow/form1.h"

#include <algorithm>
#include <cmath>

#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "core/product.h"
#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "mainwindow/commands.h"
#include "mainwindow/frame.h"

namespace trovik {

namespace {
constexpr int kMinWidth = 145;
constexpr int kTabBarHeight = 22;
}  // namespace

TForm1::TForm1(Context& ctx) : store(ctx), launcher(ctx, *this), ctx_(ctx) {
  Form1.setCaption(std::string(kProduct));
  ttitle.setCaption(std::string(kProduct));
  tclose.setHint("Close");
  link1.setVisible(false);
  mmlist.setVisible(false);
  status.setCaption("LAUNCHING");
  status.setVisible(false);
  SysTray.setVisible(false);  // no tray icon until the options ask for one
  tminimize.setHint("Minimize");
  tmaximize.setHint("Maximize");
  thelp.setHint("Help");
  tmlm.setHint("Snapbar");
  for (ui::Control* c : bottomRow()) c->setVisible(false);
  bindCommands(*this);
  for (ui::MenuItem* m : {&general1, &Maximize, &Minimize, &tosnapbar}) m->setVisible(false);
  for (ui::MenuItem* m : {&Selectall, &Selectnone, &Invertselection, &PasteItems, &Cutitems}) {
    m->setVisible(false);
    m->setEnabled(false);
  }
  ticon.setHint("System menu");
  ma.setText("1");
  up.setCaption("&U");
  down.setCaption("&D");
  cmrb.setCaption("Create");
  Form1.setBounds({0, 0, kMinWidth, 256});
  mmlist.setBounds({6, 21, kMinWidth - 13, 21});  // a one-line drop-down list
}

void TForm1::tcloseClick() {
  handle("form1tcloseclick", &tclose, [&] { view().close(); });
}

void TForm1::FormClose(CloseAction& action) {
  void* sender = this;
  ctx_.events.run(
      "form1close",
      [&] {
        savelist();
        saveformstate();
        rememberCurrentFileset();
        const Variables& v = ctx_.vars;
        ctx_.platform.windows.unregisterHotKey(1);
        if (v.shutonx)
          requestEndOfSession(v.wconfirms, ctx_.texts.f1shutdownconfirm, ewxShutdown,
                              ctx_.texts.f1shutdownfail);
      },
      in(sender, &EventSlots::cobject), inout(action, &EventSlots::closeaction));
}

void TForm1::rememberCurrentFileset() {
  // The fileset to open next time: its directory name, empty for the base.
  const Variables& v = ctx_.vars;
  TBigIniFile ini(ctx_.fs(), optionsPath(v));
  writeText(ini, Option::CurrentFileSet,
            sameText(v.apppath, v.realpath) ? "" : ctx_.syntax.extractleafdir(v.apppath));
  ini.Free();
}

void TForm1::FormResize() {
  handle("form1resize", this, [&] {
    const int w = Form1.bounds().width;
    const int h = Form1.bounds().height;
    const bool bar = qswitch.visible();
    const bool snapbar = mmlist.visible();
    const int listTop = bar ? kTabBarHeight + 20 : 21;
    tbar.setBounds({2, 2, w - 4, 16});
    ticon.setBounds({2, 1, 14, 14});
    // The title runs up to the Snapbar button.
    ttitle.setBounds({19, 1, snapbar ? w - 93 : w - 111, 14});
    tclose.setBounds({w - 21, 1, 16, 14});
    tmaximize.setVisible(!snapbar);
    Maximize3.setEnabled(!snapbar);
    const int minimizeAt = snapbar ? w - 37 : w - 53;
    tmaximize.setBounds({w - 37, 1, 16, 14});
    tminimize.setBounds({minimizeAt, 1, 16, 14});
    thelp.setBounds({snapbar ? w - 53 : w - 70, 1, 16, 14});
    tmlm.setBounds({snapbar ? w - 72 : w - 90, 1, 16, 14});
    tborder.setBounds({0, 0, w, h});
    qswitch.setBounds({6, 20, w - 14, kTabBarHeight});
    List1.setBounds({6, listTop, w - 13, bar && !snapbar ? h - 66 : h - 42});
    mmlist.setBounds({6, listTop, w - 13, 21});
    delab.setBounds({6, h - 18, 60, 14});
    status.setBounds({6, h - 18, w - 12, 14});
    up.setBounds({70, h - 20, 22, 18});
    down.setBounds({94, h - 20, 22, 18});
    cmrb.setBounds({70, h - 20, 50, 18});
    ma.setBounds({118, h - 21, 22, 18});
  });
}

void TForm1::FormActivate() {
  handle("form1activate", this, [&] {
    ctx_.vars.maxed = windowState == WindowState::Maximized;
    showHints = ctx_.vars.sh;
    tbar.setColor(clActiveCaption);
    ttitle.setColor(clCaptionText);
    view().focus(mmlist.visible() ? mmlist : List1);
  });
}

void TForm1::FormDeactivate() {
  handle("form1deactivate", this, [&] {
    tbar.setColor(clInactiveCaption);
    ttitle.setColor(clInactiveCaptionText);
  });
}

void TForm1::wmendsession(bool ending) {
  ctx_.events.run("wmendsession", [&] {
    // The session end closes the window the usual way, so everything is saved.
    if (ending) view().close();
  });
}

void TForm1::adjustForLargeFonts(int dpi) {
  ui::rescaleControls(dpi,
                      {&tbar, &tclose, &tminimize, &tmaximize, &thelp, &tmlm, &tborder, &List1,
                       &mmlist, &qswitch, &up, &down, &ma, &cmrb},
                      {&ttitle, &delab, &status});
}

bool TForm1::forceforegroundwindow(WindowHandle window) {
  return ctx_.events.call(
      "forceforegroundwindow", &EventSlots::cboolean,
      [&] { return ctx_.platform.windows.forceForegroundWindow(window); },
      in(window, &EventSlots::chandle));
}

Form1View& TForm1::noView() {
  // A window that is not there: nothing under any point, nothing to focus or close.
  struct NoView final : Form1View {
    void focus(ui::Control&) override {}
    int tabAt(int, int) const override { return -1; }
    int itemAt(int, int) const override { return -1; }
    void close() override {}
    void startDrag() override {}
    void popup(ui::MenuItem&, int, int) override {}
    void keyboardSizing(bool) override {}
  };
  static NoView none;
  return none;
}

bool TForm1::addEditOpen() const { return addEdit && addEdit->AddEdit.visible(); }

bool TForm1::dialogOpen() const {
  return addEditOpen() || (optionsForm && optionsForm->OptionsForm.visible());
}

}  // namespace trovik
