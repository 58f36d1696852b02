// Apply: the dialog's values checked, written to Trovik.ini and put into
// effect in the running program.
#include "config/inifile.h"
#include "config/options.h"
#include "config/shellshortcuts.h"
#include "core/paths.h"
#include "dialogs/optionsform.h"

namespace trovik {

namespace {

constexpr int kHotkeyId = 1;

// A whole number within [least, greatest] as the boxes take it; nothing otherwise.
std::optional<int> inRange(const std::string& text, int least, int greatest) {
  const std::optional<std::int32_t> n = parseInteger(text);
  if (!n || *n < least || *n > greatest) return std::nullopt;
  return *n;
}

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

void TOptionsForm::applyClick() {
  void* sender = &apply;
  refused_ = false;
  ctx_.events.run(
      "OptionsFormapplyclick", [&] { refused_ = !applyWork(); }, in(sender, &EventSlots::cobject));
}

void TOptionsForm::refuse(OptionsPage page, ui::Control& field, const std::string& text) {
  poptions.setTabIndex(static_cast<int>(page));
  ctx_.platform.boxes.show(owner(), text, ctx_.texts.maint, Buttons::Ok, Icon::None);
  if (view_) view_->focus(field);
}

bool TOptionsForm::validNumbers(int& tabWidth, int& columns) {
  // Every value is checked before anything is written: a refused value
  // leaves the options file and the running program as they were.
  const auto width = inRange(qsodefsizetext.text(), 0, 99999);
  if (!width) {
    refuse(OptionsPage::FilesetManager, qsodefsizetext, ctx_.texts.f4invalidtabwidth);
    return false;
  }
  const auto count = inRange(columnNumber.text(), 0, 99);
  if (!count) {
    refuse(OptionsPage::General, columnNumber, ctx_.texts.f4invalidcolumnno);
    return false;
  }
  const std::string& port = updates.pport.text();
  if (updates.proxyc.checked() && !port.empty() &&
      (port.find_first_not_of("0123456789") != std::string::npos || !inRange(port, 1, 65535))) {
    refuse(OptionsPage::Updates, updates.pport, ctx_.texts.f4invalidport);
    return false;
  }
  tabWidth = *width;
  columns = *count;
  return true;
}

bool TOptionsForm::applyWork() {
  Variables& v = ctx_.vars;
  v.applied = true;
  v.sortbreak = false;
  int tabWidth = 0, columns = 0;
  if (!validNumbers(tabWidth, columns)) return false;

  TBigIniFile ini(ctx_.fs(), optionsPath(v));
  host_->setQuickSwitch(qswitchc.checked(), tabWidth);
  writeNumber(ini, Option::QSTabSize, tabWidth);
  const int listColumns = scrollvr.checked() ? 0 : columns;
  host_->setListColumns(listColumns);

  writeNumber(ini, Option::Version, v.cvr);
  if (!host_->maximized()) {
    const ui::Rect r = host_->windowBounds();
    if (!host_->snapbarMode()) writeNumber(ini, Option::FormHeight, r.height);
    writeNumber(ini, Option::FormWidth, r.width);
  }
  host_->autobuild();

  // Extensions hear of the stop once, when the switch goes on, and while the
  // system still runs: they can hear of it, and take it over.
  if (disvpc.checked() && !v.disvp) ctx_.events.stopvp(2);
  applyBoxes(ini);
  v.userlevel = buser.checked() ? 0 : 1;
  writeNumber(ini, Option::UserLevel, v.userlevel);
  v.forcewait = fos.position() * 1000;
  writeNumber(ini, Option::ForceWait, v.forcewait);
  v.fostyle = fowait.checked() ? 1 : 0;
  writeNumber(ini, Option::ForceOrderStyle, v.fostyle);

  const std::string key =
      upper(pkey.itemIndex() >= 0 ? pkey.item(pkey.itemIndex()) : pkey.caption());
  ctx_.platform.windows.unregisterHotKey(kHotkeyId);
  if (showonc.checked() && !key.empty() && key != "NONE") {
    writeText(ini, Option::ShowOnKey, key);
    v.slkey = key;
    host_->sethotkey();
  } else {
    writeText(ini, Option::ShowOnKey, "&0");
    v.slkey = "&0";
  }

  host_->showhints();
  writeNumber(ini, Option::Columns, columnNumber.enabled() ? columns : 0);

  // The password is never written: it serves the update check only.
  v.proxuse = updates.proxyc.checked();
  writeText(ini, Option::Proxy, v.proxuse ? "1" : "0");
  writeText(ini, Option::ProxyName, v.proxuse ? updates.pname.text() : "0");
  writeText(ini, Option::ProxyUserName, v.proxuse ? updates.pun.text() : "0");
  writeText(ini, Option::ProxyPort, v.proxuse ? updates.pport.text() : "0");

  host_->sortOrder(v.retainsort, readNumber(ini, Option::SortType),
                   readFlag(ini, Option::ReverseSortOrder));

  applyShortcuts();
  host_->setTrayMode(v.stray);
  ini.Free();

  // Both, one after the other: an extension that takes "loadformtext" over
  // (and with it the nested help texts) still leaves the help texts reset.
  host_->loadformtext();
  host_->loadhelptext();
  host_->savelist();
  host_->FormResize();
  return true;
}

void TOptionsForm::applyBoxes(TBigIniFile& ini) {
  Variables& v = ctx_.vars;
  for (const OptionBox& b : optionBoxes()) {
    if (!b.key) continue;
    const bool on = (this->*b.box).checked();
    if (b.flag) v.*b.flag = on;
    if (b.level) v.*b.level = on ? 1 : 0;
    writeNumber(ini, *b.key, on ? 1 : 0);
  }
}

void TOptionsForm::applyShortcuts() {
  struct Place {
    ui::CheckBox& box;
    ShortcutPlace place;
  };
  const Place places[] = {{lstartupc, ShortcutPlace::Startup},
                          {ideskc, ShortcutPlace::Desktop},
                          {istartc, ShortcutPlace::StartMenu},
                          {iqlc, ShortcutPlace::QuickLaunch}};
  auto createStartup = [&] {
    return ctx_.platform.boxes.show(owner(), ctx_.texts.f4nostartupdir, ctx_.texts.warningt,
                                    Buttons::YesNo, Icon::None) == Answer::Yes;
  };
  for (const Place& p : places) {
    if (!ctx_.platform.shortcuts) continue;
    ShellShortcuts shortcuts(ctx_, *ctx_.platform.shortcuts);
    // A shortcut that cannot be made is reported; the other options still apply.
    try {
      if (p.box.checked())
        shortcuts.create(p.place, createStartup);
      else
        shortcuts.remove(p.place);
    } catch (const IoError& e) {
      ctx_.platform.boxes.show(owner(), e.what(), ctx_.texts.maint, Buttons::Ok, Icon::Error);
    }
  }
}

}  // namespace trovik
