#pragma once
// The options file's vocabulary, one row per key: its section and key, how
// its value reads, the value assumed when it is missing, what a fresh file
// holds, and the variable the options loader sets from it. The fresh options
// file, the loader's plain reads and the window-state writer walk this table;
// everything else that reads or writes a key names its row.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/inifile.h"
#include "core/context.h"
#include "core/product.h"

namespace trovik {

// The rows, in the order a fresh file is written, then the keys a fresh file
// leaves out.
enum class Option {
  FormHeight,
  FormWidth,
  FormTop,
  FormLeft,
  Maximized,
  Snapbar,
  CurrentFileSet,
  UpdateChecked,
  UserLevel,
  ConfirmDelete,
  ConfirmFSDelete,
  Click,
  RemPosition,
  Columns,
  Proxy,
  ProxyName,
  ProxyUserName,
  ProxyPort,
  RemoveDropExtension,
  DirectExe,
  LSStart,
  DesktopLink,
  StartmenuLink,
  QuickLaunchLink,
  SysTray,
  ShowHints,
  ShowOnKey,
  QuickSwitch,
  ConfirmShutdown,
  ConfirmRestart,
  ShutdownOnExit,
  KeepOnDesktop,
  RetainSortOrder,
  AutoCompleteLevel,
  DisableFlyMR,
  ForceFlyMR,
  DisableLocalFileCheck,
  RememberTaskEvent,
  OneTimeMode,
  ExceptOnMode,
  SortType,
  ReverseSortOrder,
  TaskEventMode,
  // Not in a fresh file.
  Version,
  CommandSeperator,
  MRSeperator,
  SnapbarDDCount,
  IgnoreBC,
  UpdateSite,
  DisableVP,
  ForceOrderStyle,
  ForceWait,
  EnableHotTrack,
  QSTabSize,
  HintHidePause,
  BringToFore,
  SwitchTip,
  SwitchViewTip,
  DeleteOldFiles,
};

enum class OptionKind {
  Flag,    // set when exactly 1
  FlagOn,  // set unless 0 (the flags whose missing value is 1)
  Integer,
  Text,
  ZeroEmpty,  // text where "0" stands for empty
};

struct OptionRow {
  Option id;
  std::string_view section, key;
  OptionKind kind;
  std::string_view absent;  // the value assumed when the key is missing
  // What a fresh file holds; null: a fresh file leaves the key out. "CurrentFileSet"
  // and "UpdateChecked" are filled in when the file is made.
  const char* fresh = nullptr;
  // The variable the options loader sets from the key, and the step of the
  // loader that does it (0: the loader gives the key its own treatment).
  bool Variables::*flag = nullptr;
  std::int32_t Variables::*number = nullptr;
  std::string Variables::*text = nullptr;
  int loadStep = 0;
};

std::span<const OptionRow> optionTable();
const OptionRow& optionRow(Option id);

// One option of an open options file, read as its row says (a missing key
// gives the row's absent value) or written.
bool readFlag(TBigIniFile& ini, Option id);
std::int32_t readNumber(TBigIniFile& ini, Option id);
std::string readText(TBigIniFile& ini, Option id);
void writeNumber(TBigIniFile& ini, Option id, std::int32_t value);
void writeText(TBigIniFile& ini, Option id, std::string_view value);

// Sets the variables of the plain options that the loader reads at this step.
void loadOptionVariables(TBigIniFile& ini, Variables& vars, int step);

// The options file of BaseDirectory.
inline std::string optionsPath(const Variables& v) {
  return v.realpath + std::string(kOptionsFile);
}

// Writes directory + "Trovik.ini" with every default, unless it exists.
void blankset(Context& ctx, std::string directory);

}  // namespace trovik
