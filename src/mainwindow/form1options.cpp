// The main window's side of the options: reading them at start-up, applying
// them to the window, and writing the window's state back at close.
#include <algorithm>

#include "config/inifile.h"
#include "config/options.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame.h"

namespace trovik {

namespace {
constexpr int kHotkeyId = 1;
}  // namespace

void TForm1::loadoptions() {
  ctx_.events.run("loadoptions", [&] {
    Variables& v = ctx_.vars;
    v.forcewait = 1000;
    v.curitem = 0;
    v.commandsep = ">:";
    v.mrs = "|";
    v.condel = v.confirmfsdelete = v.savepos = v.ldirect = v.dropext = v.disflymr =
        v.useforceflymr = v.ignorebc = v.wconfirms = v.disablelocalcheck = v.wconfirmr =
            v.retainsort = v.onetimemode = v.exceptonmode = false;
    v.userlevel = 0;

    const std::string path = optionsPath(v);
    if (!ctx_.fs().fileExists(path)) {
      ctx_.message(ctx_.texts.f1nooptionsfile, ctx_.texts.maint, Buttons::Ok);
      blankset(ctx_, v.realpath);
    }
    TBigIniFile ini(ctx_.fs(), path);
    auto flag = [&](Option o) { return readFlag(ini, o); };
    auto integer = [&](Option o) { return readNumber(ini, o); };

    if (flag(Option::DisableVP)) {
      if (!v.disvp) {
        v.disvp = true;  // so that no extension hears of its own stop
        ctx_.events.stopvp(2);
      }
      v.disvp = true;
    }

    ui::Rect r = Form1.bounds();
    const bool snapbar = flag(Option::Snapbar);
    ui::MenuItem* const itemCommands[] = {&edititem,  &deleteitem,     &copyitems,
                                          &moveitems, &createmultirun, &Maximize};
    if (snapbar) {
      List1.setVisible(false);
      mmlist.setVisible(true);
      for (ui::MenuItem* m : itemCommands) m->setEnabled(false);
      for (ui::MenuItem* m : {&moveitems, &copyitems, &deleteitem, &createmultirun})
        m->setChecked(false);
      for (ui::Control* c : bottomRow()) c->setVisible(false);
    } else {
      List1.setVisible(true);
      mmlist.setVisible(false);
      r.height = integer(Option::FormHeight);
      for (ui::MenuItem* m : itemCommands) m->setEnabled(true);
    }
    r.width = std::max(integer(Option::FormWidth), kMinTrackWidth);
    Form1.setBounds(r);

    loadOptionVariables(ini, v, 8);
    loadformtext();
    loadhelptext();

    loadOptionVariables(ini, v, 10);
    hintHidePause = integer(Option::HintHidePause);
    qswitch.setHotTrack(flag(Option::EnableHotTrack));

    sortoff();
    if (flag(Option::RetainSortOrder)) {
      v.retainsort = true;
      ui::MenuItem* const keys[] = {&Linkname, &Filename, &Filepath, &Filetype};
      const int type = integer(Option::SortType);
      if (type >= 1 && type <= 4) keys[type - 1]->setChecked(true);
      if (flag(Option::ReverseSortOrder)) ReverseSort.setChecked(true);
      resort();
    }

    // Separators of another length than their own would break every entry.
    const std::string sep = readText(ini, Option::CommandSeperator);
    if (sep.size() == 2) v.commandsep = sep;
    const std::string mrs = readText(ini, Option::MRSeperator);
    if (mrs.size() == 1) v.mrs = mrs;
    snapbarDDCount = integer(Option::SnapbarDDCount);

    loadOptionVariables(ini, v, 17);

    if (flag(Option::RememberTaskEvent)) {
      ui::MenuItem* const modes[] = {&runexit, &droplaunch, &droplaunchexit, &RunMinimize,
                                     &DropLaunchMinimize};
      for (ui::MenuItem* m : modes) m->setChecked(false);
      ttitle.setCaption(modeTitle(false));
      v.remtes = true;
      const int mode = integer(Option::TaskEventMode);
      if (mode >= 1 && mode <= 5 && !modes[mode - 1]->checked()) modes[mode - 1]->click();
    } else {
      v.remtes = false;
    }

    loadOptionVariables(ini, v, 19);
    qswitch.setVisible(flag(Option::QuickSwitch));
    autobuild(v.realpath, -1);
    if (mmlist.visible()) {
      r = Form1.bounds();
      r.height = mmlist.bounds().height + (qswitch.visible() ? 54 : 38);
      Form1.setBounds(r);
    }

    if (flag(Option::RemPosition)) {
      v.savepos = true;
      r = Form1.bounds();
      r.top = integer(Option::FormTop);
      r.left = integer(Option::FormLeft);
      Form1.setBounds(r);
    } else {
      centremain();
    }
    Form1.setVisible(true);

    if (v.stray) {
      ctx_.platform.pump.processMessages();
      SysTray.setVisible(true);
      ctx_.platform.windows.setToolWindow(true);
    } else {
      SysTray.setVisible(false);
      ctx_.platform.windows.setToolWindow(false);
      ctx_.platform.pump.processMessages();
    }

    loadOptionVariables(ini, v, 26);
    qswitch.setTabWidth(integer(Option::QSTabSize));
    FormResize();
    v.usite = readText(ini, Option::UpdateSite);
    const int columns = integer(Option::Columns);
    List1.setColumns(columns == 1 ? 0 : columns);

    if (flag(Option::Maximized)) {
      setWindowState(WindowState::Maximized);
      tmaximize.setHint("Restore");
      Maximize3.setCaption("&Restore");
    } else {
      setWindowState(WindowState::Normal);
      tmaximize.setHint("Maximize");
      Maximize3.setCaption("Ma&ximize");
    }

    loadOptionVariables(ini, v, 31);

    v.slkey = "&0";
    const std::string key = readText(ini, Option::ShowOnKey);
    if (key != "&0") {
      ctx_.platform.windows.unregisterHotKey(kHotkeyId);
      v.slkey = key;
      sethotkey();
    }
    ini.Free();
  });
}

void TForm1::saveformstate() {
  ctx_.events.run("saveformstate", [&] {
    const Variables& v = ctx_.vars;
    TBigIniFile ini(ctx_.fs(), optionsPath(v));
    const ui::Rect& r = Form1.bounds();
    if (windowState != WindowState::Maximized) {
      if (!mmlist.visible()) writeNumber(ini, Option::FormHeight, r.height);
      writeNumber(ini, Option::FormWidth, r.width);
    }
    if (v.savepos) {
      writeNumber(ini, Option::FormTop, r.top);
      writeNumber(ini, Option::FormLeft, r.left);
    }
    writeNumber(ini, Option::Maximized, windowState == WindowState::Maximized ? 1 : 0);
    writeNumber(ini, Option::Snapbar, mmlist.visible() ? 1 : 0);
    if (v.remtes) {
      int mode = 0;
      const ui::MenuItem* const modes[] = {&runexit, &droplaunch, &droplaunchexit, &RunMinimize,
                                           &DropLaunchMinimize};
      for (int i = 4; i >= 0; --i)
        if (modes[i]->checked()) mode = i + 1;
      writeNumber(ini, Option::TaskEventMode, mode);
    }
    if (v.retainsort) {
      const ui::MenuItem* const keys[] = {&Linkname, &Filename, &Filepath, &Filetype};
      for (int i = 0; i < 4; ++i)
        if (keys[i]->checked()) writeNumber(ini, Option::SortType, i + 1);
      if (!v.sortbreak) writeNumber(ini, Option::ReverseSortOrder, ReverseSort.checked() ? 1 : 0);
    }
    ini.Free();
  });
}

namespace {
// The virtual-key code of a key name, or 0 for a name that names no key.
unsigned keyCode(const std::string& name) {
  for (int f = 1; f <= 12; ++f)
    if (name == "F" + std::to_string(f)) return static_cast<unsigned>(111 + f);
  if (name == "PAUSE") return 19;
  if (name == "NUMPAD0") return 96;
  if (name.empty() || name.size() > 3) return 0;
  unsigned n = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  return n >= 1 && n <= 254 ? n : 0;
}
}  // namespace

void TForm1::sethotkey() {
  ctx_.events.run("sethotkey", [&] {
    // A name that is neither a key of the list nor a key number cannot be
    // registered: the user hears about it like any refused key.
    const unsigned vk = keyCode(ctx_.vars.slkey);
    if (vk == 0 || !ctx_.platform.windows.registerHotKey(kHotkeyId, vk))
      ctx_.message(ctx_.texts.f1hotkeyfailed, ctx_.texts.errort, Buttons::Ok);
  });
}

void TForm1::centremain() {
  ctx_.events.run("centremain", [&] {
    const WindowManager::Screen screen = ctx_.platform.windows.screen();
    ui::Rect r = Form1.bounds();
    r.top = screen.height / 2 - r.height / 2;
    r.left = screen.width / 2 - r.width / 2;
    Form1.setBounds(r);
  });
}

void TForm1::loadformtext() {
  ctx_.events.run("loadformtext", [&] {
    ctx_.texts.setDefaults(Texts::Source::FormText);
    loadhelptext();
  });
}

void TForm1::loadhelptext() {
  ctx_.events.run("loadhelptext", [&] { ctx_.texts.setDefaults(Texts::Source::HelpText); });
}

}  // namespace trovik
