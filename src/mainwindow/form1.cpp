#include "mainwindow/form1.h"

#include "config/inifile.h"
#include "config/options.h"
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
  Switch.setCaption("&Switch");
  Form1.setBounds({0, 0, kMinWidth, 256});
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
  });
}

void TForm1::HistHandler(ui::MenuItem& sender) {
  // Switching to the chosen fileset arrives with fileset switching.
  handle("form1.histhandler", &sender, [] {});
}

}  // namespace trovik
