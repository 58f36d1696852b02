#include "host/hostapi.h"

#include "core/paths.h"
#include "host/program.h"

namespace trovik {

namespace {
// Extensions call plain C functions that carry no context: this is how those
// functions find the program. Nothing else in the program is global.
Program* theProgram = nullptr;
}  // namespace

Program& hostProgram() { return *theProgram; }

HostApi::HostApi(Program& app) : app_(app) { theProgram = &app; }

HostApi::~HostApi() {
  if (theProgram == &app_) theProgram = nullptr;
}

HostEntryPoints HostApi::entryPoints() {
  HostEntryPoints e = hostEntryPoints();
  e.application = &app_;
  return e;
}

const char* HostApi::keep(const void* function, std::string text) {
  std::string& slot = kept_[function];
  slot = std::move(text);
  return slot.c_str();
}

void* HostApi::getfunction(std::string name) {
  return app_.events.call(
      "getfunction", &EventSlots::cfarproc, [&] { return hostFunction(lower(name)); },
      in(name, &EventSlots::cstring));
}

bool HostApi::strtobool(std::string text) {
  return app_.events.call(
      "strtobool", &EventSlots::cboolean,
      [&] {
        text = lower(text);
        return text == "true";
      },
      in(text, &EventSlots::cstring));
}

std::string HostApi::booltostr(bool value) {
  return app_.events.call(
      "booltostr", &EventSlots::cstring, [&] { return std::string(value ? "true" : "false"); },
      in(value, &EventSlots::cboolean));
}

// While the system is disabled the hook calls nothing, so the refreshers
// still do their work without anyone hearing of it.
void HostApi::updateform1() {
  app_.events.run("updateform1", [&] {
    if (repaintForm1) repaintForm1();
  });
}

void HostApi::updateaddedit() {
  app_.events.run("updateaddedit", [&] {
    if (repaintAddEdit) repaintAddEdit();
  });
}

void HostApi::updateacf() {
  app_.events.run("updateacf", [&] {
    if (repaintAcf) repaintAcf();
  });
}

void HostApi::updateopenfiledir() {
  app_.events.run("updateopenfiledir", [&] {
    if (repaintOpenFileDir) repaintOpenFileDir();
  });
}

void HostApi::updateoptions() {
  app_.events.run("updateOptionsForm", [&] {
    if (repaintOptionsForm) repaintOptionsForm();
  });
}

}  // namespace trovik
