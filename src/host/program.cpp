#include "host/program.h"

namespace trovik {

Program::Program(Platform& platform) : ctx{platform, events, vars, texts, syntax} {
  form1.addEdit = &AddEdit;
  form1.optionsForm = &OptionsForm;
  OptionsForm.attach(&optionsHost);
  AddEdit.acf = &acf;
  AddEdit.openFileDir = &OpenFileDir;
  events.setHook([this](std::string_view name, bool before, bool override, bool after) {
    return extensions.FireExtensionEvent(name, before, override, after);
  });
  events.setStopper([this](std::int32_t reason) { extensions.stopvp(reason); });
  extensions.setEntryPoints(hostapi.entryPoints());
}

}  // namespace trovik
