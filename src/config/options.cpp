#include "config/options.h"

#include <array>
#include <charconv>

#include "core/paths.h"

namespace trovik {

namespace {

using K = OptionKind;
using O = Option;
using V = Variables;

// Where the update files are looked for until the update site names another.
constexpr const char* kUpdateSite = "http://trovik.example/update/";

// Rows with their variables; loadStep numbers the options loader's steps.
constexpr OptionRow flagVar(O id, std::string_view s, std::string_view k, const char* fresh,
                            bool V::*var, int step, K kind = K::Flag) {
  return {id, s, k, kind, kind == K::FlagOn ? "1" : "0", fresh, var, nullptr, nullptr, step};
}
constexpr OptionRow numberVar(O id, std::string_view s, std::string_view k, std::string_view absent,
                              const char* fresh, std::int32_t V::*var, int step) {
  return {id, s, k, K::Integer, absent, fresh, nullptr, var, nullptr, step};
}
constexpr OptionRow textVar(O id, std::string_view s, std::string_view k, const char* fresh,
                            std::string V::*var, int step) {
  return {id, s, k, K::ZeroEmpty, "0", fresh, nullptr, nullptr, var, step};
}
constexpr OptionRow plain(O id, std::string_view s, std::string_view k, K kind,
                          std::string_view absent, const char* fresh = nullptr) {
  return {id, s, k, kind, absent, fresh};
}

constexpr std::array kRows = {
    plain(O::FormHeight, "Form", "FormHeight", K::Integer, "256", "256"),
    plain(O::FormWidth, "Form", "FormWidth", K::Integer, "145", "128"),
    plain(O::FormTop, "Form", "FormTop", K::Integer, "0", "0"),
    plain(O::FormLeft, "Form", "FormLeft", K::Integer, "0", "0"),
    plain(O::Maximized, "Form", "Maximized", K::Flag, "0", "0"),
    plain(O::Snapbar, "Form", "Snapbar", K::Flag, "0", "0"),
    plain(O::CurrentFileSet, "Form", "CurrentFileSet", K::Text, "", ""),
    plain(O::UpdateChecked, "Form", "UpdateChecked", K::Text, "", ""),
    numberVar(O::UserLevel, "Options", "UserLevel", "0", "0", &V::userlevel, 10),
    flagVar(O::ConfirmDelete, "Options", "ConfirmDelete", "1", &V::condel, 17),
    flagVar(O::ConfirmFSDelete, "Options", "ConfirmFSDelete", "1", &V::confirmfsdelete, 17),
    flagVar(O::Click, "Options", "Click", "1", &V::lclick, 19),
    plain(O::RemPosition, "Options", "RemPosition", K::Flag, "0", "0"),
    plain(O::Columns, "Options", "Columns", K::Integer, "0", "1"),
    flagVar(O::Proxy, "Options", "Proxy", "0", &V::proxuse, 31),
    textVar(O::ProxyName, "Options", "ProxyName", "0", &V::proxn, 31),
    textVar(O::ProxyUserName, "Options", "ProxyUserName", "0", &V::proxun, 31),
    textVar(O::ProxyPort, "Options", "ProxyPort", "0", &V::proxport, 31),
    flagVar(O::RemoveDropExtension, "Options", "RemoveDropExtension", "1", &V::dropext, 10),
    flagVar(O::DirectExe, "Options", "DirectExe", "0", &V::ldirect, 10),
    plain(O::LSStart, "Options", "LSStart", K::Flag, "0", "0"),
    plain(O::DesktopLink, "Options", "DesktopLink", K::Flag, "0", "0"),
    plain(O::StartmenuLink, "Options", "StartmenuLink", K::Flag, "0", "0"),
    plain(O::QuickLaunchLink, "Options", "QuickLaunchLink", K::Flag, "0", "0"),
    flagVar(O::SysTray, "Options", "SysTray", "0", &V::stray, 19),
    flagVar(O::ShowHints, "Options", "ShowHints", "1", &V::sh, 26, K::FlagOn),
    plain(O::ShowOnKey, "Options", "ShowOnKey", K::Text, "&0", "F9"),
    plain(O::QuickSwitch, "Options", "QuickSwitch", K::Flag, "0", "1"),
    flagVar(O::ConfirmShutdown, "Options", "ConfirmShutdown", "1", &V::wconfirms, 8),
    flagVar(O::ConfirmRestart, "Options", "ConfirmRestart", "1", &V::wconfirmr, 8),
    flagVar(O::ShutdownOnExit, "Options", "ShutdownOnExit", "0", &V::shutonx, 26),
    flagVar(O::KeepOnDesktop, "Options", "KeepOnDesktop", "0", &V::keepod, 26),
    plain(O::RetainSortOrder, "Options", "RetainSortOrder", K::Flag, "0", "0"),
    numberVar(O::AutoCompleteLevel, "Options", "AutoCompleteLevel", "0", "0", &V::autoclevel, 10),
    flagVar(O::DisableFlyMR, "Options", "DisableFlyMR", "1", &V::disflymr, 10),
    flagVar(O::ForceFlyMR, "Options", "ForceFlyMR", "0", &V::useforceflymr, 10),
    flagVar(O::DisableLocalFileCheck, "Options", "DisableLocalFileCheck", "0",
            &V::disablelocalcheck, 10),
    plain(O::RememberTaskEvent, "Options", "RememberTaskEvent", K::Flag, "0", "0"),
    flagVar(O::OneTimeMode, "Options", "OneTimeMode", "1", &V::onetimemode, 10),
    flagVar(O::ExceptOnMode, "Options", "ExceptOnMode", "1", &V::exceptonmode, 10),
    plain(O::SortType, "Sort", "Type", K::Integer, "0", "0"),
    plain(O::ReverseSortOrder, "Sort", "ReverseSortOrder", K::Flag, "0", "0"),
    plain(O::TaskEventMode, "TaskEvent", "Mode", K::Integer, "0", "0"),
    plain(O::Version, "Form", "Version", K::Integer, "1000"),
    plain(O::CommandSeperator, "Form", "CommandSeperator", K::Text, ">:"),
    plain(O::MRSeperator, "Form", "MRSeperator", K::Text, "|"),
    plain(O::SnapbarDDCount, "Form", "SnapbarDDCount", K::Integer, "8"),
    flagVar(O::IgnoreBC, "Form", "IgnoreBC", nullptr, &V::ignorebc, 17),
    plain(O::UpdateSite, "Form", "UpdateSite", K::Text, kUpdateSite),
    plain(O::DisableVP, "Options", "DisableVP", K::Flag, "0"),
    numberVar(O::ForceOrderStyle, "Options", "ForceOrderStyle", "0", nullptr, &V::fostyle, 10),
    numberVar(O::ForceWait, "Options", "ForceWait", "1000", nullptr, &V::forcewait, 17),
    plain(O::EnableHotTrack, "QSOptions", "EnableHotTrack", K::FlagOn, "1"),
    plain(O::QSTabSize, "QSOptions", "QSTabSize", K::Integer, "0"),
    plain(O::HintHidePause, "Advanced", "HintHidePause", K::Integer, "6000"),
    plain(O::BringToFore, "Help", "BringToFore", K::Flag, "0"),
    plain(O::SwitchTip, "Help", "Switch", K::Flag, "0"),
    plain(O::SwitchViewTip, "Help", "SwitchView", K::Flag, "0"),
    plain(O::DeleteOldFiles, "Help", "DeleteOldFiles", K::Flag, "0"),
};

constexpr bool rowsInOrder() {
  for (std::size_t i = 0; i < kRows.size(); ++i)
    if (static_cast<std::size_t>(kRows[i].id) != i) return false;
  return true;
}
static_assert(rowsInOrder(), "the option rows stand in the order of Option");

std::int32_t toNumber(std::string_view text) {
  std::int32_t n = 0;
  std::from_chars(text.data(), text.data() + text.size(), n);
  return n;
}

}  // namespace

std::span<const OptionRow> optionTable() { return kRows; }
const OptionRow& optionRow(Option id) { return kRows[static_cast<std::size_t>(id)]; }

bool readFlag(TBigIniFile& ini, Option id) {
  const OptionRow& r = optionRow(id);
  const std::int32_t value = ini.ReadInteger(r.section, r.key, toNumber(r.absent));
  return r.kind == OptionKind::FlagOn ? value != 0 : value == 1;
}

std::int32_t readNumber(TBigIniFile& ini, Option id) {
  const OptionRow& r = optionRow(id);
  return ini.ReadInteger(r.section, r.key, toNumber(r.absent));
}

std::string readText(TBigIniFile& ini, Option id) {
  const OptionRow& r = optionRow(id);
  std::string value = ini.ReadString(r.section, r.key, r.absent);
  if (r.kind == OptionKind::ZeroEmpty && value == "0") value.clear();
  return value;
}

void writeNumber(TBigIniFile& ini, Option id, std::int32_t value) {
  const OptionRow& r = optionRow(id);
  ini.WriteInteger(r.section, r.key, value);
}

void writeText(TBigIniFile& ini, Option id, std::string_view value) {
  const OptionRow& r = optionRow(id);
  ini.WriteString(r.section, r.key, value);
}

void loadOptionVariables(TBigIniFile& ini, Variables& vars, int step) {
  for (const OptionRow& r : kRows) {
    if (r.loadStep != step) continue;
    if (r.flag) vars.*r.flag = readFlag(ini, r.id);
    if (r.number) vars.*r.number = readNumber(ini, r.id);
    if (r.text) vars.*r.text = readText(ini, r.id);
  }
}

void blankset(Context& ctx, std::string directory) {
  ctx.events.run(
      "blankset",
      [&] {
        const std::string path = directory + std::string(kOptionsFile);
        if (ctx.fs().fileExists(path)) return;  // an existing file is never touched
        TBigIniFile ini(ctx.fs(), path);
        for (const OptionRow& r : kRows) {
          if (!r.fresh) continue;
          std::string value(r.fresh);
          if (r.id == Option::CurrentFileSet && !sameText(directory, ctx.vars.realpath))
            value = ctx.syntax.extractleafdir(directory);
          else if (r.id == Option::UpdateChecked)
            value = ctx.platform.clock.formatShortDate(ctx.platform.clock.today());
          ini.WriteString(r.section, r.key, value);
        }
        ini.Free();
      },
      inout(directory, &EventSlots::cstring));
}

}  // namespace trovik
