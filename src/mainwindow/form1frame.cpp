// The main window's own frame: the title bar with its buttons and system
// menu, help, centring, the tray icon's clicks and the bring-to-front hotkey.
#include "config/inifile.h"
#include "config/options.h"
#include "dialogs/optionsform.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame.h"

namespace trovik {

namespace {
constexpr int kHotkeyId = 1;
}  // namespace

void TForm1::tbarMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1tbarmousedown", &tbar,
      [&] {
        if (button == MouseButton::Left) view().startDrag();
        if (button == MouseButton::Middle) tminimizeClick(&tbar);
      },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::ttitleMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1ttitlemousedown", &ttitle,
      [&] {
        if (button == MouseButton::Left) view().startDrag();
        if (button == MouseButton::Middle) Options1Click();
      },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::tborderMouseDown(MouseButton button) {
  if (button == MouseButton::Left && !dialogOpen()) view().startDrag();
  if (button == MouseButton::Middle) Additem1Click();
}

void TForm1::titleDoubleClick(std::string_view event, ui::Control& sender) {
  handle(event, &sender, [&] {
    if (tbar.color() == clActiveCaption && tmaximize.visible()) tmaximizeClick();
  });
}

void TForm1::tbarDblClick() { titleDoubleClick("form1tbardoubleclick", tbar); }
void TForm1::ttitleDblClick() { titleDoubleClick("form1ttitledoubleclick", ttitle); }

void TForm1::ticonClick() {
  handle("form1ticonclick", &ticon, [&] {
    const ui::Rect& w = Form1.bounds();
    const ui::Rect& i = ticon.bounds();
    view().popup(tmenu, w.left + i.left, w.top + i.top + i.height);
  });
}

void TForm1::ticonDblClick() {
  handle("form1ticondoubleclick", &ticon, [&] { view().close(); });
}

void TForm1::tminimizeClick(void* sender) {
  handle("form1tminimizeclick", sender, [&] {
    endFlyMultirun();
    ctx_.platform.windows.minimizeApplication();
  });
}

void TForm1::toggleMaximized() {
  // Kept inside the work area while it changes, so the maximised window
  // fills the desktop without covering the taskbar.
  bool& keep = ctx_.vars.keepod;
  const bool saved = keep;
  keep = true;
  if (windowState == WindowState::Maximized) {
    setWindowState(WindowState::Normal);
    tmaximize.setHint("Maximize");
    Maximize3.setCaption("Ma&ximize");
  } else {
    setWindowState(WindowState::Maximized);
    tmaximize.setHint("Restore");
    Maximize3.setCaption("&Restore");
  }
  keep = saved;
}

void TForm1::tmaximizeClick() {
  handle("form1tmaximizeclick", &tmaximize, [&] {
    toggleMaximized();
    focusList();
  });
}

void TForm1::thelpClick() {
  handle("form1thelpclick", &thelp, [&] { Help.click(); });
}

void TForm1::HelpClick() {
  handle("form1helpclick", &Help, [&] { launcher.openHelp("mainwindow.htm", ctx_.texts.errort); });
}

void TForm1::tosnapbarClick() {
  handle("form1tosnapbarclick", &tosnapbar, [&] { qmClick(&tosnapbar); });
}

void TForm1::titleButtonMouse(ui::Checkable& button, bool down, MouseButton mouse, ShiftState shift,
                              int x, int y) {
  const std::string event = "form1" + button.name() + (down ? "mousedown" : "mouseup");
  handle(
      event, &button,
      [&] {
        if (!down)
          button.setChecked(false);
        else if (mouse == MouseButton::Left)
          button.setChecked(true);
      },
      in(mouse, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::Centremain2Click() {
  handle("form1centremainclick", &Centremain2, [&] {
    endFlyMultirun();
    centremain();
  });
}

void TForm1::Maximize3Click() {
  handle("form1maximize3click", &Maximize3, [&] {
    if (tmaximize.visible()) tmaximizeClick();
  });
}

void TForm1::Size1Click() {
  handle("form1sizeclick", &Size1, [&] { view().keyboardSizing(false); });
}

void TForm1::Move1Click() {
  handle("form1moveclick", &Move1, [&] { view().keyboardSizing(true); });
}

void TForm1::Minimize3Click() {
  handle("form1minimize3click", &Minimize3, [&] { tminimizeClick(&Minimize3); });
}

void TForm1::Close1Click() {
  handle("form1closeclick", &Close1, [&] { view().close(); });
}

void TForm1::trayToFront() {
  Form1.setVisible(true);
  forceforegroundwindow(ctx_.mainWindow);
  if (windowState == WindowState::Minimized)
    setWindowState(ctx_.vars.maxed ? WindowState::Maximized : WindowState::Normal);
  if (!dialogOpen()) FormActivate();
}

void TForm1::SysTrayClick() {
  handle("form1systrayclick", &SysTray, [&] {
    trayToFront();
    if (firstTime(Option::BringToFore))
      ctx_.message(ctx_.texts.f1bringtofore + ctx_.vars.slkey, product(), Buttons::Ok);
  });
}

void TForm1::SysTrayDblClick() {
  handle("form1systraydoubleclick", &SysTray, [&] { trayToFront(); });
}

void TForm1::SysTrayRightClick(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1systrayrightclick", &SysTray, [&] { trayToFront(); },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::wmhotkey(int id) {
  if (id != kHotkeyId) return;
  Form1.setVisible(true);
  if (windowState == WindowState::Minimized)
    setWindowState(ctx_.vars.maxed ? WindowState::Maximized : WindowState::Normal);
  forceforegroundwindow(ctx_.mainWindow);
  FormActivate();
  // Whoever has used the key needs no tip about it.
  firstTime(Option::BringToFore);
}

}  // namespace trovik
