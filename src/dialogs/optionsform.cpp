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

// The rows of the check boxes; the places are those of the designed dialog.
using F = TOptionsForm;
using O = Option;
using R = OptionBox::Read;
using V = Variables;
constexpr OptionsPage kGeneral = OptionsPage::General, kLinks = OptionsPage::Links;
constexpr int row(int i) { return 52 + 19 * i; }

constexpr OptionBox box(ui::CheckBox F::*control, OptionsPage page, ui::Rect place,
                        const char* caption, const char* hint,
                        std::optional<Option> key = std::nullopt, R read = R::Tick,
                        bool V::*flag = nullptr, std::int32_t V::*level = nullptr,
                        void (F::*click)() = nullptr) {
  return {control, page, place, caption, hint, key, read, flag, level, click};
}

const OptionBox kBoxes[] = {
    box(&F::confirmdelc, kGeneral, {16, row(0), 200, 17}, "Confirm link deletion", "",
        O::ConfirmDelete, R::Raise, &V::condel),
    box(&F::confirmfsdeletec, kGeneral, {16, row(1), 200, 17}, "Confirm fileset deletion", "",
        O::ConfirmFSDelete, R::Raise, &V::confirmfsdelete),
    box(&F::remposc, kGeneral, {16, row(2), 200, 17}, "Remember screen position", "",
        O::RemPosition, R::Raise, &V::savepos),
    box(&F::remextc, kGeneral, {16, row(3), 200, 17}, "Remove drag/drop extensions",
        "Remove the file extensions on files dropped into the main list", O::RemoveDropExtension,
        R::Tick, &V::dropext),
    box(&F::lstartupc, kGeneral, {16, row(4), 200, 17}, "Open Trovik on startup",
        "Run Trovik when Windows starts", O::LSStart),
    box(&F::ideskc, kGeneral, {16, row(5), 200, 17}, "Icon on desktop",
        "Create a shortcut to Trovik on the desktop", O::DesktopLink),
    box(&F::istartc, kGeneral, {16, row(6), 200, 17}, "Icon on start menu",
        "Create a shortcut to Trovik on the Start menu", O::StartmenuLink),
    box(&F::iqlc, kGeneral, {16, row(7), 200, 17}, "Icon on QuickLaunch bar",
        "Create a shortcut to Trovik on the Windows QuickLaunch bar", O::QuickLaunchLink),
    box(&F::mintrayc, kGeneral, {16, row(8), 200, 17}, "Minimize to system tray", "", O::SysTray,
        R::Raise, &V::stray),
    box(&F::showhintc, kGeneral, {16, row(9), 200, 17}, "Show popup help hints", "", O::ShowHints,
        R::TickExactly, &V::sh),
    box(&F::showonc, kGeneral, {16, row(10), 120, 17}, "Show Trovik on key:", "", std::nullopt,
        R::Tick, nullptr, nullptr, &F::showoncClick),
    box(&F::confirmwr, kGeneral, {16, row(11), 200, 17}, "Confirm Windows restart", "",
        O::ConfirmRestart, R::Raise, &V::wconfirmr),
    box(&F::confirmws, kGeneral, {16, row(12), 200, 17}, "Confirm Windows shutdown", "",
        O::ConfirmShutdown, R::Raise, &V::wconfirms),
    box(&F::swoe, kGeneral, {16, row(13), 200, 17}, "Shutdown Windows on exit",
        "Shutdown Windows automatically when Trovik is closed", O::ShutdownOnExit, R::Mirror,
        &V::shutonx, nullptr, &F::swoeClick),
    box(&F::eom, kGeneral, {32, row(14), 184, 17}, "Except in exit modes",
        "Do not shutdown Windows if a mode such as Run/Exit or Drop/Launch/Exit was used",
        O::ExceptOnMode, R::Mirror, &V::exceptonmode),
    box(&F::kod, kGeneral, {226, row(0), 196, 17}, "Keep on desktop",
        "Stop Trovik from being moved off the viewable desktop area", O::KeepOnDesktop, R::Mirror,
        &V::keepod),
    box(&F::retsort, kGeneral, {226, row(1), 196, 17}, "Remember sort order",
        "Automatically re-sort the list in the selected sort order when new items are added etc.",
        O::RetainSortOrder, R::Raise, &V::retainsort),
    box(&F::useautoc, kGeneral, {226, row(2), 196, 17}, "Use auto complete",
        "Use the automatic completion list when typing file paths manually in the add/edit dialog",
        O::AutoCompleteLevel, R::Mirror, nullptr, &V::autoclevel),
    box(&F::remtesc, kGeneral, {226, row(3), 196, 17}, "Remember task/event state",
        "Remember which task/event mode was in use on shutdown/startup", O::RememberTaskEvent,
        R::Mirror, &V::remtes),
    box(&F::otm, kGeneral, {226, row(4), 196, 17}, "Use one-time modes",
        "Automatically turn off modes like Open Directory after a single use", O::OneTimeMode,
        R::Mirror, &V::onetimemode),
    box(&F::doublecc, kLinks, {16, 52, 300, 17}, "Run links on double click", "", std::nullopt,
        R::Tick, nullptr, nullptr, &F::doubleccClick),
    box(&F::singlecc, kLinks, {16, 71, 300, 17}, "Run links on single click", "", O::Click,
        R::Mirror, &V::lclick, nullptr, &F::singleccClick),
    box(&F::disflymrc, kLinks, {16, 98, 300, 17}, "Disable quick multirun", "", O::DisableFlyMR,
        R::Mirror, &V::disflymr),
    box(&F::useforceflyMRc, kLinks, {16, 117, 300, 17}, "Force order on quick multirun", "",
        O::ForceFlyMR, R::Mirror, &V::useforceflymr),
    box(&F::ldirectc, kLinks, {16, 144, 300, 17}, "Link direct to files",
        "Find and link to the files that Windows shortcuts point to instead of linking to the "
        "shortcuts themselves",
        O::DirectExe, R::Tick, &V::ldirect),
    box(&F::disableLFC, kLinks, {16, 163, 300, 17}, "Disable file exists checking",
        "Do not check that a file exists (and give a warning if it does not) when running a link",
        O::DisableLocalFileCheck, R::Mirror, &V::disablelocalcheck),
    box(&F::qswitchc, OptionsPage::FilesetManager, {260, 350, 150, 17}, "Use QuickSwitch bar", "",
        O::QuickSwitch),
    box(&F::disvpc, OptionsPage::TrovikPlus, {16, 344, 250, 17}, "Disable Trovik+ system entirely",
        "", O::DisableVP, R::Mirror, &V::disvp, nullptr, &F::disvpcClick),
};

}  // namespace

std::span<const OptionBox> optionBoxes() { return kBoxes; }

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
      {pkey, "", "Select a key to bring Trovik to the foreground"},
      {smg, "Scroll method", ""},
      {scrollvr, "Vertical", ""},
      {scrollhr, "Horizontal (           )", ""},
      {columnNumber, "0", "Number of columns (takes effect only with numbers of 2 or more)"},
      {userlevelg, "User level", ""},
      {buser, "Beginner", "Use this option if you have not used Trovik before"},
      {auser, "Experienced", "This will turn off many help/hint screens"},
      {fosl, "Force order speed:", ""},
      {fosslow, "Slower computer", ""},
      {fosfast, "Faster computer", ""},
      {fos, "", "Change the amount of time Trovik waits between running each link"},
      {fostyleg, "Force order style", ""},
      {fodetect, "Adaptive", ""},
      {fowait, "Simple wait", ""},
      {qsodefsizel, "Default size of QuickSwitch tabs:", ""},
      {qsodefsizetext, "0",
       "Default width of tabs in pixels. Enter 0 for automatic sizing based on width of text in "
       "each tab."},
      {vpinstall, "&Install...", ""},
      {vpremove, "&Remove", ""},
      {vprefresh, "Re&fresh", ""},
      {vpoptions, "&Options", ""},
      {vpabout, "&About", ""},
  };
  for (const Text& t : texts) {
    t.control.setCaption(t.caption);
    t.control.setHint(t.hint);
  }
  for (const OptionBox& b : kBoxes) {
    (this->*b.box).setCaption(b.caption);
    (this->*b.box).setHint(b.hint);
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
       &pkey, &smg, &scrollvr, &scrollhr, &columnNumber, &userlevelg, &buser, &auser,
       &fos, &fostyleg, &fodetect, &fowait,
       &qsodefsizetext, &f.filesetlist, &f.contentslist, &f.newfs, &f.renamefs,
       &f.activatefs, &f.deletefs, &f.clearfilesets, &f.clearcontents, &f.cuti, &f.copyi,
       &f.pastei,
       &u.proxyc, &u.prox, &u.pname, &u.pport, &u.pun, &u.ppw, &u.cud,
       &vplist, &vpinstall, &vpremove, &vprefresh, &vpoptions, &vpabout},
      {&ttitle, &fosl, &fosslow, &fosfast, &qsodefsizel, &f.fss, &f.fsitems, &u.intro,
       &u.version});
  // clang-format on
  for (const OptionBox& b : kBoxes) ui::rescaleControls(dpi, {&(this->*b.box)}, {});
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
  for (const OptionBox& b : kBoxes) (this->*b.box).setChecked(false);
  updates.proxyc.setChecked(false);
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

void TOptionsForm::readBoxes(TBigIniFile& ini) {
  Variables& v = ctx_.vars;
  for (const OptionBox& b : kBoxes) {
    if (!b.key) continue;
    const OptionRow& r = optionRow(*b.key);
    const bool on = b.read == R::TickExactly ? ini.ReadInteger(r.section, r.key, 0) == 1
                                             : readFlag(ini, *b.key);
    (this->*b.box).setChecked(on);
    if (b.read == R::Mirror && b.level) v.*b.level = readNumber(ini, *b.key);
    if (b.flag && (b.read == R::Mirror || (b.read == R::Raise && on))) v.*b.flag = on;
  }
}

void TOptionsForm::readOptions(TBigIniFile& ini) {
  Variables& v = ctx_.vars;
  readBoxes(ini);
  v.fostyle = readNumber(ini, Option::ForceOrderStyle);
  fowait.setChecked(v.fostyle == 1);
  fodetect.setChecked(v.fostyle != 1);
  fos.setPosition(readNumber(ini, Option::ForceWait) / 1000);
  v.userlevel = readNumber(ini, Option::UserLevel);
  auser.setChecked(v.userlevel == 1);
  buser.setChecked(v.userlevel != 1);
  eom.setVisible(swoe.checked());
  if (!disvpc.checked())
    for (ui::Control* c : {static_cast<ui::Control*>(&vplist), &vpinstall, &vpremove, &vprefresh})
      c->setEnabled(true);
  doublecc.setChecked(!singlecc.checked());

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

  v.proxuse = readFlag(ini, Option::Proxy);
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
