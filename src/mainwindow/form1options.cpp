// The main window's side of the options: reading them at start-up, applying
// them to the window, and writing the window's state back at close.
#include <algorithm>

#include "config/inifile.h"
#include "config/options.h"
#include "mainwindow/form1.h"
#include "mainwindow/frame.h"

namespace trovik {

namespace {
// Where the update files are looked for until the update site names another.
constexpr std::string_view kUpdateSite = "http://trovik.example/update/";
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
    auto flag = [&](std::string_view section, std::string_view key) {
      return ini.ReadInteger(section, key, 0) == 1;
    };
    auto integer = [&](std::string_view section, std::string_view key, int def) {
      return ini.ReadInteger(section, key, def);
    };

    if (flag("Options", "DisableVP")) {
      if (!v.disvp) {
        v.disvp = true;  // so that no extension hears of its own stop
        ctx_.events.stopvp(2);
      }
      v.disvp = true;
    }

    ui::Rect r = Form1.bounds();
    const bool snapbar = flag("Form", "Snapbar");
    ui::MenuItem* const itemCommands[] = {&edititem,  &deleteitem,     &copyitems,
                                          &moveitems, &createmultirun, &Maximize};
    if (snapbar) {
      List1.setVisible(false);
      mmlist.setVisible(true);
      for (ui::MenuItem* m : itemCommands) m->setEnabled(false);
      for (ui::MenuItem* m : {&moveitems, &copyitems, &deleteitem, &createmultirun})
        m->setChecked(false);
      for (ui::Control* c : {&delab, &up, &down, &ma, &cmrb}) c->setVisible(false);
    } else {
      List1.setVisible(true);
      mmlist.setVisible(false);
      r.height = integer("Form", "FormHeight", 256);
      for (ui::MenuItem* m : itemCommands) m->setEnabled(true);
    }
    r.width = std::max(integer("Form", "FormWidth", kMinTrackWidth), kMinTrackWidth);
    Form1.setBounds(r);

    v.wconfirms = flag("Options", "ConfirmShutdown");
    v.wconfirmr = flag("Options", "ConfirmRestart");
    loadformtext();
    loadhelptext();

    v.dropext = flag("Options", "RemoveDropExtension");
    v.userlevel = integer("Options", "UserLevel", 0);
    v.ldirect = flag("Options", "DirectExe");
    v.disablelocalcheck = flag("Options", "DisableLocalFileCheck");
    v.disflymr = flag("Options", "DisableFlyMR");
    v.useforceflymr = flag("Options", "ForceFlyMR");
    v.onetimemode = flag("Options", "OneTimeMode");
    v.fostyle = integer("Options", "ForceOrderStyle", 0);
    v.exceptonmode = flag("Options", "ExceptOnMode");
    v.autoclevel = integer("Options", "AutoCompleteLevel", 0);
    hintHidePause = integer("Advanced", "HintHidePause", 6000);
    qswitch.setHotTrack(integer("QSOptions", "EnableHotTrack", 1) != 0);

    sortoff();
    if (flag("Options", "RetainSortOrder")) {
      v.retainsort = true;
      ui::MenuItem* const keys[] = {&Linkname, &Filename, &Filepath, &Filetype};
      const int type = integer("Sort", "Type", 0);
      if (type >= 1 && type <= 4) keys[type - 1]->setChecked(true);
      if (flag("Sort", "ReverseSortOrder")) ReverseSort.setChecked(true);
      resort();
    }

    // Separators of another length than their own would break every entry.
    const std::string sep = ini.ReadString("Form", "CommandSeperator", ">:");
    if (sep != ">:" && sep.size() == 2) v.commandsep = sep;
    const std::string mrs = ini.ReadString("Form", "MRSeperator", "|");
    if (mrs != "|" && mrs.size() == 1) v.mrs = mrs;
    snapbarDDCount = integer("Form", "SnapbarDDCount", 8);

    v.forcewait = integer("Options", "ForceWait", 1000);
    v.ignorebc = flag("Options", "IgnoreBC");
    v.condel = flag("Options", "ConfirmDelete");
    v.confirmfsdelete = flag("Options", "ConfirmFSDelete");

    if (flag("Options", "RememberTaskEvent")) {
      ui::MenuItem* const modes[] = {&runexit, &droplaunch, &droplaunchexit, &RunMinimize,
                                     &DropLaunchMinimize};
      for (ui::MenuItem* m : modes) m->setChecked(false);
      ttitle.setCaption(modeTitle(false));
      v.remtes = true;
      const int mode = integer("TaskEvent", "Mode", 0);
      if (mode >= 1 && mode <= 5 && !modes[mode - 1]->checked()) modes[mode - 1]->click();
    } else {
      v.remtes = false;
    }

    v.lclick = flag("Options", "Click");
    v.stray = flag("Options", "SysTray");
    qswitch.setVisible(flag("Options", "QuickSwitch"));
    store.autobuild(v.realpath, -1);
    if (mmlist.visible()) {
      r = Form1.bounds();
      r.height = mmlist.bounds().height + (qswitch.visible() ? 54 : 38);
      Form1.setBounds(r);
    }

    if (flag("Options", "RemPosition")) {
      v.savepos = true;
      r = Form1.bounds();
      r.top = integer("Form", "FormTop", 0);
      r.left = integer("Form", "FormLeft", 0);
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

    v.sh = integer("Options", "ShowHints", 1) != 0;
    v.shutonx = flag("Options", "ShutdownOnExit");
    v.keepod = flag("Options", "KeepOnDesktop");
    qswitch.setTabWidth(integer("QSOptions", "QSTabSize", 0));
    FormResize();
    v.usite = ini.ReadString("Form", "UpdateSite", kUpdateSite);
    const int columns = integer("Options", "Columns", 0);
    List1.setColumns(columns == 1 ? 0 : columns);

    if (flag("Form", "Maximized")) {
      setWindowState(WindowState::Maximized);
      tmaximize.setHint("Restore");
      Maximize3.setCaption("&Restore");
    } else {
      setWindowState(WindowState::Normal);
      tmaximize.setHint("Maximize");
      Maximize3.setCaption("Ma&ximize");
    }

    v.proxuse = flag("Options", "Proxy");
    auto proxy = [&](std::string_view key) {
      std::string value = ini.ReadString("Options", key, "0");
      return value == "0" ? std::string() : value;  // "0" stands for empty
    };
    v.proxn = proxy("ProxyName");
    v.proxun = proxy("ProxyUserName");
    v.proxport = proxy("ProxyPort");

    v.slkey = "&0";
    const std::string key = ini.ReadString("Options", "ShowOnKey", "&0");
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
      if (!mmlist.visible()) ini.WriteInteger("Form", "FormHeight", r.height);
      ini.WriteInteger("Form", "FormWidth", r.width);
    }
    if (v.savepos) {
      ini.WriteInteger("Form", "FormTop", r.top);
      ini.WriteInteger("Form", "FormLeft", r.left);
    }
    ini.WriteInteger("Form", "Maximized", windowState == WindowState::Maximized ? 1 : 0);
    ini.WriteInteger("Form", "Snapbar", mmlist.visible() ? 1 : 0);
    if (v.remtes) {
      int mode = 0;
      const ui::MenuItem* const modes[] = {&runexit, &droplaunch, &droplaunchexit, &RunMinimize,
                                           &DropLaunchMinimize};
      for (int i = 4; i >= 0; --i)
        if (modes[i]->checked()) mode = i + 1;
      ini.WriteInteger("TaskEvent", "Mode", mode);
    }
    if (v.retainsort) {
      const ui::MenuItem* const keys[] = {&Linkname, &Filename, &Filepath, &Filetype};
      for (int i = 0; i < 4; ++i)
        if (keys[i]->checked()) ini.WriteInteger("Sort", "Type", i + 1);
      if (!v.sortbreak) ini.WriteInteger("Sort", "ReverseSortOrder", ReverseSort.checked() ? 1 : 0);
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
      ctx_.message("Failed to set bring to foreground hotkey in Windows.", "Error", Buttons::Ok);
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
