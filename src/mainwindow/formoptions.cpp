// The main window's side of the options: reading them at start-up and
// applying them to the window.
#include <algorithm>

#include "config/inifile.h"
#include "config/options.h"
#include "mainwindow/form1.h"

namespace trovik {

namespace {
constexpr int kMinWidth = 145;
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

    ui::Rect r = Form1.bounds();
    r.height = ini.ReadInteger("Form", "FormHeight", 256);
    r.width = std::max(ini.ReadInteger("Form", "FormWidth", kMinWidth), kMinWidth);
    Form1.setBounds(r);

    v.wconfirms = flag("Options", "ConfirmShutdown");
    v.wconfirmr = flag("Options", "ConfirmRestart");
    loadformtext();
    loadhelptext();

    v.dropext = flag("Options", "RemoveDropExtension");
    v.userlevel = ini.ReadInteger("Options", "UserLevel", 0);
    v.ldirect = flag("Options", "DirectExe");
    v.disablelocalcheck = flag("Options", "DisableLocalFileCheck");
    v.disflymr = flag("Options", "DisableFlyMR");
    v.useforceflymr = flag("Options", "ForceFlyMR");
    v.onetimemode = flag("Options", "OneTimeMode");
    v.fostyle = ini.ReadInteger("Options", "ForceOrderStyle", 0);
    v.exceptonmode = flag("Options", "ExceptOnMode");
    v.autoclevel = ini.ReadInteger("Options", "AutoCompleteLevel", 0);
    qswitch.setHotTrack(ini.ReadInteger("QSOptions", "EnableHotTrack", 1) != 0);

    // Separators of another length than their own would break every entry.
    const std::string sep = ini.ReadString("Form", "CommandSeperator", ">:");
    if (sep != ">:" && sep.size() == 2) v.commandsep = sep;
    const std::string mrs = ini.ReadString("Form", "MRSeperator", "|");
    if (mrs != "|" && mrs.size() == 1) v.mrs = mrs;

    v.forcewait = ini.ReadInteger("Options", "ForceWait", 1000);
    v.ignorebc = flag("Options", "IgnoreBC");
    v.condel = flag("Options", "ConfirmDelete");
    v.confirmfsdelete = flag("Options", "ConfirmFSDelete");
    v.lclick = flag("Options", "Click");
    v.stray = flag("Options", "SysTray");
    qswitch.setVisible(flag("Options", "QuickSwitch"));
    store.autobuild(v.realpath, -1);

    v.sh = ini.ReadInteger("Options", "ShowHints", 1) != 0;
    v.shutonx = flag("Options", "ShutdownOnExit");
    v.keepod = flag("Options", "KeepOnDesktop");
    qswitch.setTabWidth(ini.ReadInteger("QSOptions", "QSTabSize", 0));
    FormResize();
    int columns = ini.ReadInteger("Options", "Columns", 0);
    List1.setColumns(columns == 1 ? 0 : columns);
    ini.Free();
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
