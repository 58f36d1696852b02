#pragma once
// What extensions call back into: the named variables (getvar, setvar), the
// event slots (getvpvar, setvpvar), the table of host functions
// (getfunction), the two conversions and the window refreshers. Each routine
// raises its own event as every other routine does.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "extensions/extensionhost.h"

namespace trovik {

class Program;

class HostApi {
 public:
  // The application that the C entry points of extensions reach: there is
  // one per process, and it is this one from now until it is destroyed.
  explicit HostApi(Program& app);
  ~HostApi();
  HostApi(const HostApi&) = delete;
  HostApi& operator=(const HostApi&) = delete;

  // The address of the host function of that name (any case), or null.
  void* getfunction(std::string name);
  // A variable's value as text; "?!?!" for an unknown or write-only name.
  std::string getvar(std::string name);
  // Sets a variable from text. False, with nothing changed, for an unknown
  // name or an integer variable given a text that is not a decimal 32-bit
  // number: that conversion error is the calling extension's to hear of.
  bool setvar(std::string name, std::string value);

  // A slot's value: its text, or for cobject, cobject2 and cobject3 the
  // object itself, which crosses the boundary in place of the text.
  struct SlotValue {
    std::string text;
    void* object = nullptr;
    bool isObject = false;
  };
  SlotValue getvpvar(std::string_view name);
  // Sets a slot from text (the object slots take the pointer itself). False
  // for an unknown name or a value the slot cannot take.
  bool setvpvar(std::string_view name, const char* value);

  bool strtobool(std::string text);
  std::string booltostr(bool value);

  // Bring a window up to date after an extension changed its controls.
  void updateform1();
  void updateaddedit();
  void updateoptions();
  void updateacf();
  void updateopenfiledir();
  // Repaints a window at once; set by the window's view once it exists.
  std::function<void()> repaintForm1, repaintAddEdit, repaintOptionsForm;
  std::function<void()> repaintAcf, repaintOpenFileDir;

  // The five functions and the application object every extension receives.
  HostEntryPoints entryPoints();

  // Text a host function returns stays valid until the same function is
  // called again: each function keeps its last answer here.
  const char* keep(const void* function, std::string text);

 private:
  Program& app_;
  std::unordered_map<const void*, std::string> kept_;
};

// The application behind the C entry points.
Program& hostProgram();

// getfunction's own work: the entry of the table under this lower-case
// name, or null.
void* hostFunction(std::string_view lowerName);
// The typed entries of the five functions handed out in "dllinfo2".
HostEntryPoints hostEntryPoints();

}  // namespace trovik
