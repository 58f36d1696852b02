#include "dialogs/optionsform.h"

#include <cmath>

#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "launch/launcher.h"

namespace trovik {

namespace {

// System colour indexes of the title bar and frame.
constexpr unsigned kActiveCaption = 2, kInactiveCaption = 3, kWindowFrame = 6, kCaptionText = 9,
                   kInactiveCaptionText = 19;

// The help page of each page, in tab order.
constexpr const char* kHelpPages[] = {"generaloptions.htm", "linkoptions.htm", "fsmanager.htm",
                                      "updateoptions.htm", "vpoptions.htm"};

}  // namespace

TOptionsForm::TOptionsForm(Context& ctx, ExtensionHost& extensions)
    : filesets(ctx, handle), updates(ctx, handle), ctx_(ctx), extensions_(extensions) {
  OptionsForm.setVisible(false);
  OptionsForm.setCaption("Options");
  ttitle.setCaption("Options");
  tclose.setHint("Close");
  thelp.setHint("Help");
  for (const char* page : {"General", "Links", "Fileset manager", "Updates", "Trovik+"})
    poptions.addTab(page);
  poptions.setTabIndex(0);
  okay.setCaption("&OK");
  okay.setHint("Save settings and close this window");
  apply.setCaption("&Apply");
  apply.setHint("Save settings");
  cancel.setCaption("&Cancel");
  cancel.setHint("Cancel changes");

  struct Text {
    ui::Control& control;
    const char* caption;
    const char* hint;
  };
  const Text texts[] = {
      {confirmdelc, "Confirm link deletion", ""},
      {confirmfsdeletec, "Confirm fileset deletion", ""},
      {remposc, "Remember screen position", ""},
      {remextc, "Remove drag/drop extensions",
       "Remove the file extensions on files dropped into the main list"},
      {lstartupc, "Open Trovik on startup", "Run Trovik when Windows starts"},
      {ideskc, "Icon on desktop", "Create a shortcut to Trovik on the desktop"},
      {istartc, "Icon on start menu", "Create a shortcut to Trovik on the Start menu"},
      {iqlc, "Icon on QuickLaunch bar",
       "Create a shortcut to Trovik on the Windows QuickLaunch bar"},
      {mintrayc, "Minimize to system tray", ""},
      {showhintc, "Show popup help hints", ""},
      {showonc, "Show Trovik on key:", ""},
      {pkey, "", "Select a key to bring Trovik to the foreground"},
      {smg, "Scroll method", ""},
      {scrollvr, "Vertical", ""},
      {scrollhr, "Horizontal (           )", ""},
      {columnNumber, "0", "Number of columns (takes effect only with numbers of 2 or more)"},
      {confirmwr, "Confirm Windows restart", ""},
      {confirmws, "Confirm Windows shutdown", ""},
      {swoe, "Shutdown Windows on exit", "Shutdown Windows automatically when Trovik is closed"},
      {eom, "Except in exit modes",
       "Do not shutdown Windows if a mode such as Run/Exit or Drop/Launch/Exit was used"},
      {kod, "Keep on desktop", "Stop Trovik from being moved off the viewable desktop area"},
      {retsort, "Remember sort order",
       "Automatically re-sort the list in the selected sort order when new items are added etc."},
      {useautoc, "Use auto complete",
       "Use the automatic completion list when typing file paths manually in the add/edit "
       "dialog"},
      {remtesc, "Remember task/event state",
       "Remember which task/event mode was in use on shutdown/startup"},
      {otm, "Use one-time modes",
       "Automatically turn off modes like Open Directory after a single use"},
      {userlevelg, "User level", ""},
      {buser, "Beginner", "Use this option if you have not used Trovik before"},
      {auser, "Experienced", "This will turn off many help/hint screens"},
      {doublecc, "Run links on double click", ""},
      {singlecc, "Run links on single click", ""},
      {disflymrc, "Disable quick multirun", ""},
      {useforceflyMRc, "Force order on quick multirun", ""},
      {ldirectc, "Link direct to files",
       "Find and link to the files that Windows shortcuts point to instead of linking to the "
       "shortcuts themselves"},
      {fosl, "Force order speed:", ""},
      {fosslow, "Slower computer", ""},
      {fosfast, "Faster computer", ""},
      {fos, "", "Change the amount of time Trovik waits between running each link"},
      {fostyleg, "Force order style", ""},
      {fodetect, "Adaptive", ""},
      {fowait, "Simple wait", ""},
      {disableLFC, "Disable file exists checking",
       "Do not check that a file exists (and give a warning if it does not) when running a link"},
      {qsodefsizel, "Default size of QuickSwitch tabs:", ""},
      {qsodefsizetext, "0",
       "Default width of tabs in pixels. Enter 0 for automatic sizing based on width of text in "
       "each tab."},
      {qswitchc, "Use QuickSwitch bar", ""},
      {vpinstall, "&Install...", ""},
      {vpremove, "&Remove", ""},
      {vprefresh, "Re&fresh", ""},
      {vpoptions, "&Options", ""},
      {vpabout, "&About", ""},
      {disvpc, "Disable Trovik+ system entirely", ""},
  };
  for (const Text& t : texts) {
    t.control.setCaption(t.caption);
    t.control.setHint(t.hint);
  }
  std::vector<std::string> keys;
  for (int f = 1; f <= 12; ++f) keys.push_back("F" + std::to_string(f));
  keys.push_back("NUMPAD0");
  keys.push_back("PAUSE");
  pkey.setItems(std::move(keys));
  fos.setRange(1, 10);
  fos.setPosition(1);
  resetControls();
  OptionsForm.setBounds({0, 0, 440, 440});
  // The title bar's heights and the buttons' sizes; FormResize places them.
  tbar.setBounds({2, 2, 0, 18});
  ttitle.setBounds({4, 1, 0, 16});
  tclose.setBounds({0, 2, 16, 14});
  thelp.setBounds({0, 2, 16, 14});
  tborder.setColor(kWindowFrame);
  FormDeactivate();
  FormResize();
}

void TOptionsForm::FormResize() {
  const int w = OptionsForm.bounds().width, h = OptionsForm.bounds().height;
  // Only places and widths follow the window: the heights and the buttons'
  // sizes are the designed ones, or as creation scaled them.
  const ui::Rect bar = tbar.bounds(), title = ttitle.bounds(), close = tclose.bounds(),
                 help = thelp.bounds();
  tbar.setBounds({bar.left, bar.top, w - 4, bar.height});
  ttitle.setBounds({title.left, title.top, w - 50, title.height});
  tclose.setBounds({w - close.width - 5, close.top, close.width, close.height});
  thelp.setBounds({w - close.width - 5 - help.width, help.top, help.width, help.height});
  tborder.setBounds({0, 0, w, h});
}

void TOptionsForm::rescalecontrols(int dpi) {
  FilesetManager& f = filesets;
  UpdateCheck& u = updates;
  // clang-format off
  ui::rescaleControls(dpi,
      {&tbar, &tclose, &thelp, &tborder, &poptions, &okay, &apply, &cancel,
       &confirmdelc, &confirmfsdeletec, &remposc, &remextc, &lstartupc, &ideskc, &istartc, &iqlc,
       &mintrayc, &showhintc, &showonc, &pkey, &smg, &scrollvr, &scrollhr, &columnNumber,
       &confirmwr, &confirmws, &swoe, &eom, &kod, &retsort, &useautoc, &remtesc, &otm,
       &userlevelg, &buser, &auser,
       &doublecc, &singlecc, &disflymrc, &useforceflyMRc, &ldirectc, &fos, &fostyleg, &fodetect,
       &fowait, &disableLFC,
       &qsodefsizetext, &qswitchc, &f.filesetlist, &f.contentslist, &f.newfs, &f.renamefs,
       &f.activatefs, &f.deletefs, &f.clearfilesets, &f.clearcontents, &f.cuti, &f.copyi,
       &f.pastei,
       &u.proxyc, &u.prox, &u.pname, &u.pport, &u.pun, &u.ppw, &u.cud,
       &vplist, &vpinstall, &vpremove, &vprefresh, &vpoptions, &vpabout, &disvpc},
      {&ttitle, &fosl, &fosslow, &fosfast, &qsodefsizel, &f.fss, &f.fsitems, &u.intro,
       &u.version});
  // clang-format on
}

void TOptionsForm::FormDeactivate() {
  tbar.setColor(kInactiveCaption);
  ttitle.setColor(kInactiveCaptionText);
}

void TOptionsForm::FormCreate(int dpi) {
  ctx_.events.run(
      "OptionsFormcreate",
      [&] {
        ctx_.vars.applied = false;
        ctx_.vars.cvr = 1000;
        if (dpi <= 96) return;
        // The title bar at its designed size: its height, the title's top and
        // font, the two buttons' sizes.
        auto scale = [dpi](int value) { return static_cast<int>(std::lround(value * 96.0 / dpi)); };
        ui::Rect r = tbar.bounds();
        tbar.setBounds({r.left, r.top, r.width, scale(r.height)});
        r = ttitle.bounds();
        ttitle.setBounds({r.left, scale(r.top), r.width, r.height});
        const int size = scale(ttitle.fontSize());
        ttitle.setFont(size < 8 ? "Small fonts" : ttitle.fontName(), size);
        for (ui::Control* button : {&tclose, &thelp}) {
          r = button->bounds();
          button->setBounds({r.left, r.top, scale(r.width), scale(r.height)});
        }
        FormResize();
      },
      in(self_, &EventSlots::cobject));
}

void TOptionsForm::showPage(OptionsPage page) {
  if (!OptionsForm.visible()) {
    FormShow();
    OptionsForm.setVisible(true);
  }
  poptions.setTabIndex(static_cast<int>(page));
  if (view_) view_->bringToFront();
}

void TOptionsForm::resetControls() {
  for (ui::CheckBox* box :
       {&confirmdelc, &confirmfsdeletec, &remposc,   &remextc,        &lstartupc,
        &ideskc,      &istartc,          &iqlc,      &mintrayc,       &showhintc,
        &showonc,     &confirmwr,        &confirmws, &swoe,           &eom,
        &kod,         &retsort,          &useautoc,  &remtesc,        &otm,
        &doublecc,    &singlecc,         &disflymrc, &useforceflyMRc, &ldirectc,
        &disableLFC,  &qswitchc,         &disvpc,    &updates.proxyc})
    box->setChecked(false);
  eom.setVisible(false);
  for (ui::RadioButton* r : {&auser, &scrollhr, &fowait}) r->setChecked(false);
  for (ui::RadioButton* r : {&buser, &scrollvr, &fodetect}) r->setChecked(true);
  columnNumber.setText("0");
  columnNumber.setEnabled(false);
  pkey.setItemIndex(-1);
  pkey.setCaption("");
  pkey.setEnabled(false);
  updates.proxycClick();
  for (ui::Control* c : {static_cast<ui::Control*>(&vplist), &vpinstall, &vpremove, &vprefresh,
                         &vpoptions, &vpabout})
    c->setEnabled(false);
  ctx_.vars.wconfirms = false;
  ctx_.vars.wconfirmr = false;
}

void TOptionsForm::readOptions(TBigIniFile& ini) {
  Variables& v = ctx_.vars;
  auto flag = [&](Option o) { return readFlag(ini, o); };
  // A box ticked from its key; the variable set with it, or only set by it.
  auto tick = [&](ui::CheckBox& box, Option o, bool* mirror = nullptr, bool* onlySet = nullptr) {
    const bool on = flag(o);
    box.setChecked(on);
    if (mirror) *mirror = on;
    if (onlySet && on) *onlySet = true;
  };
  tick(confirmws, Option::ConfirmShutdown, nullptr, &v.wconfirms);
  tick(confirmwr, Option::ConfirmRestart, nullptr, &v.wconfirmr);
  tick(remposc, Option::RemPosition, nullptr, &v.savepos);
  v.fostyle = readNumber(ini, Option::ForceOrderStyle);
  fowait.setChecked(v.fostyle == 1);
  fodetect.setChecked(v.fostyle != 1);
  fos.setPosition(readNumber(ini, Option::ForceWait) / 1000);
  tick(disflymrc, Option::DisableFlyMR, &v.disflymr);
  tick(disableLFC, Option::DisableLocalFileCheck, &v.disablelocalcheck);
  tick(useforceflyMRc, Option::ForceFlyMR, &v.useforceflymr);
  v.autoclevel = readNumber(ini, Option::AutoCompleteLevel);
  useautoc.setChecked(v.autoclevel == 1);
  v.userlevel = readNumber(ini, Option::UserLevel);
  auser.setChecked(v.userlevel == 1);
  buser.setChecked(v.userlevel != 1);
  tick(kod, Option::KeepOnDesktop, &v.keepod);
  tick(swoe, Option::ShutdownOnExit, &v.shutonx);
  eom.setVisible(swoe.checked());
  tick(otm, Option::OneTimeMode, &v.onetimemode);
  tick(eom, Option::ExceptOnMode, &v.exceptonmode);
  tick(disvpc, Option::DisableVP, &v.disvp);
  if (!disvpc.checked())
    for (ui::Control* c : {static_cast<ui::Control*>(&vplist), &vpinstall, &vpremove, &vprefresh})
      c->setEnabled(true);
  // Here a missing key leaves the box unticked, unlike at start-up.
  showhintc.setChecked(ini.ReadInteger("Options", "ShowHints", 0) == 1);
  tick(confirmdelc, Option::ConfirmDelete, nullptr, &v.condel);
  tick(confirmfsdeletec, Option::ConfirmFSDelete, nullptr, &v.confirmfsdelete);
  tick(qswitchc, Option::QuickSwitch);
  v.lclick = flag(Option::Click);
  singlecc.setChecked(v.lclick);
  doublecc.setChecked(!v.lclick);

  const std::string key = readText(ini, Option::ShowOnKey);
  v.slkey = key;
  showonc.setChecked(key != "&0");
  pkey.setEnabled(key != "&0");
  if (key != "&0") {
    for (int i = 0; i < pkey.count(); ++i)
      if (sameText(pkey.item(i), key)) pkey.setItemIndex(i);
    pkey.setCaption(key);
  }

  const int columns = readNumber(ini, Option::Columns);
  if (columns > 1) {
    columnNumber.setText(std::to_string(columns));
    columnNumber.setEnabled(true);
    scrollhr.setChecked(true);
    scrollvr.setChecked(false);
  }

  v.proxuse = flag(Option::Proxy);
  v.proxn = readText(ini, Option::ProxyName);
  v.proxun = readText(ini, Option::ProxyUserName);
  v.proxport = readText(ini, Option::ProxyPort);
  if (v.proxuse) {
    updates.proxyc.setChecked(true);
    updates.pname.setText(v.proxn);
    updates.pun.setText(v.proxun);
    updates.pport.setText(v.proxport);
    updates.proxycClick();
  }
  updates.ppw.setText("");  // the password is typed for each run, never kept

  tick(remextc, Option::RemoveDropExtension);
  tick(ldirectc, Option::DirectExe);
  tick(lstartupc, Option::LSStart);
  tick(ideskc, Option::DesktopLink);
  tick(istartc, Option::StartmenuLink);
  tick(iqlc, Option::QuickLaunchLink);
  tick(remtesc, Option::RememberTaskEvent, &v.remtes);
  tick(mintrayc, Option::SysTray, nullptr, &v.stray);
  tick(retsort, Option::RetainSortOrder, nullptr, &v.retainsort);
  // The tab width shows what is in effect, so that applying keeps it.
  qsodefsizetext.setText(std::to_string(readNumber(ini, Option::QSTabSize)));
}

void TOptionsForm::FormShow() {
  ctx_.events.run(
      "OptionsFormshow",
      [&] {
        resetControls();
        const std::string path = optionsPath(ctx_.vars);
        if (ctx_.fs().fileExists(path)) {
          TBigIniFile ini(ctx_.fs(), path);
          readOptions(ini);
          ini.Free();
        }
        loadvplist();
        if (host_) {
          host_->autobuild();
          filesets.fill();
        }
      },
      in(self_, &EventSlots::cobject));
}

void TOptionsForm::FormActivate() {
  ctx_.events.run(
      "OptionsFormactivate",
      [&] {
        tbar.setColor(kActiveCaption);
        ttitle.setColor(kCaptionText);
      },
      in(self_, &EventSlots::cobject));
}

void TOptionsForm::okayClick() {
  applyClick();
  // A refused value stays on screen to be put right; closing would lose every change.
  if (!refused_) FormClose();
}

void TOptionsForm::cancelClick() {
  void* sender = &cancel;
  bool close = false;
  ctx_.events.run(
      "OptionsFormcancelclick",
      [&] {
        ctx_.vars.applied = true;
        close = true;
      },
      in(sender, &EventSlots::cobject));
  if (close) FormClose();
}

void TOptionsForm::FormClose() {
  if (!OptionsForm.visible()) return;
  filesets.FormClose();
  if (host_) {
    const int index = host_->listIndex();
    host_->refreshlist();
    host_->selectListIndex(index);
  }
  OptionsForm.setVisible(false);
}

void TOptionsForm::thelpClick() {
  void* sender = &thelp;
  ctx_.events.runNamed(
      "optionsformthelpclick", "OptionsFormthelpclick",
      [&] {
        const int page = poptions.tabIndex();
        if (host_ && page >= 0 && page < static_cast<int>(std::size(kHelpPages)))
          host_->launcher().openHelp(kHelpPages[page], ctx_.texts.maint);
      },
      in(sender, &EventSlots::cobject));
}

void TOptionsForm::scrollvrClick() {
  scrollvr.setChecked(true);
  scrollhr.setChecked(false);
  columnNumber.setEnabled(false);
}

void TOptionsForm::scrollhrClick() {
  scrollhr.setChecked(true);
  scrollvr.setChecked(false);
  columnNumber.setEnabled(true);
}

void TOptionsForm::doubleccClick() { singlecc.setChecked(!doublecc.checked()); }

void TOptionsForm::singleccClick() {
  if (singlecc.checked())
    doublecc.setChecked(false);
  else if (!doublecc.checked())
    singlecc.setChecked(true);
}

void TOptionsForm::showoncClick() { pkey.setEnabled(showonc.checked()); }

void TOptionsForm::swoeClick() { eom.setVisible(!eom.visible()); }

}  // namespace trovik
