#include "config/options.h"

#include "config/inifile.h"
#include "core/paths.h"

namespace trovik {

namespace {
struct FreshValue {
  std::string_view section, key, value;
};
// A fresh options file, in the order it is written. "CurrentFileSet" and
// "UpdateChecked" depend on the directory and the day and are filled in.
constexpr FreshValue kFresh[] = {
    {"Form", "FormHeight", "256"},
    {"Form", "FormWidth", "128"},
    {"Form", "FormTop", "0"},
    {"Form", "FormLeft", "0"},
    {"Form", "Maximized", "0"},
    {"Form", "Snapbar", "0"},
    {"Form", "CurrentFileSet", ""},
    {"Form", "UpdateChecked", ""},
    {"Options", "UserLevel", "0"},
    {"Options", "ConfirmDelete", "1"},
    {"Options", "ConfirmFSDelete", "1"},
    {"Options", "Click", "1"},
    {"Options", "RemPosition", "0"},
    {"Options", "Columns", "1"},
    {"Options", "Proxy", "0"},
    {"Options", "ProxyName", "0"},
    {"Options", "ProxyUserName", "0"},
    {"Options", "ProxyPort", "0"},
    {"Options", "RemoveDropExtension", "1"},
    {"Options", "DirectExe", "0"},
    {"Options", "LSStart", "0"},
    {"Options", "DesktopLink", "0"},
    {"Options", "StartmenuLink", "0"},
    {"Options", "QuickLaunchLink", "0"},
    {"Options", "SysTray", "0"},
    {"Options", "ShowHints", "1"},
    {"Options", "ShowOnKey", "F9"},
    {"Options", "QuickSwitch", "1"},
    {"Options", "ConfirmShutdown", "1"},
    {"Options", "ConfirmRestart", "1"},
    {"Options", "ShutdownOnExit", "0"},
    {"Options", "KeepOnDesktop", "0"},
    {"Options", "RetainSortOrder", "0"},
    {"Options", "AutoCompleteLevel", "0"},
    {"Options", "DisableFlyMR", "1"},
    {"Options", "ForceFlyMR", "0"},
    {"Options", "DisableLocalFileCheck", "0"},
    {"Options", "RememberTaskEvent", "0"},
    {"Options", "OneTimeMode", "1"},
    {"Options", "ExceptOnMode", "1"},
    {"Sort", "Type", "0"},
    {"Sort", "ReverseSortOrder", "0"},
    {"TaskEvent", "Mode", "0"},
};
}  // namespace

void blankset(Context& ctx, std::string directory) {
  ctx.events.run(
      "blankset",
      [&] {
        const std::string path = directory + std::string(kOptionsFile);
        if (ctx.fs().fileExists(path)) return;  // an existing file is never touched
        TBigIniFile ini(ctx.fs(), path);
        for (const auto& f : kFresh) {
          std::string value(f.value);
          if (f.key == "CurrentFileSet" && !sameText(directory, ctx.vars.realpath))
            value = ctx.syntax.extractleafdir(directory);
          else if (f.key == "UpdateChecked")
            value = ctx.platform.clock.formatShortDate(ctx.platform.clock.today());
          ini.WriteString(f.section, f.key, value);
        }
        ini.Free();
      },
      inout(directory, &EventSlots::cstring));
}

}  // namespace trovik
