#pragma once
// Extension DLLs written in the tests: each is a set of C functions with the
// signatures of the SDK header, registered with the fake loader under a path.
// They record every call in order ("B:form1upclick") and run whatever the
// test asks them to do there, through the very functions the host handed
// them in "dllinfo2".
#include <algorithm>
#include <cstdint>

#include "extensions/abi.h"
#include "harness.h"

namespace trovik::test {

// What one DLL received when it was announced.
struct Announced {
  TrovikGetFunction getfunction = nullptr;
  TrovikGetVar getvar = nullptr;
  TrovikSetVar setvar = nullptr;
  TrovikGetVpVar getvpvar = nullptr;
  TrovikSetVpVar setvpvar = nullptr;
  TrovikObject application = nullptr;
  std::string path;
};

// Calls as the DLLs record them ("B:form1upclick"), in order.
using Calls = std::vector<std::string>;

struct Recorder {
  Calls calls;
  std::map<char, Announced> dlls;  // by the DLL's letter
  // What an export does besides being recorded, by "B:form1upclick".
  std::map<std::string, std::function<void()>> actions;

  static Recorder*& current() {
    static Recorder* r = nullptr;
    return r;
  }
  void seen(char dll, const std::string& what) {
    const std::string key = std::string(1, dll) + ":" + what;
    calls.push_back(key);
    auto it = actions.find(key);
    if (it != actions.end()) it->second();
  }
};

// A name as a template argument, so that each export is a function of its own.
template <size_t N>
struct Name {
  constexpr Name(const char (&s)[N]) { std::copy_n(s, N, text); }
  char text[N];
};

template <char Dll>
void TROVIK_CALL dllinfo2(TrovikGetFunction gf, TrovikGetVar gv, TrovikSetVar sv,
                          TrovikGetVpVar gvp, TrovikSetVpVar svp, TrovikObject app,
                          const char* path) {
  Recorder& r = *Recorder::current();
  r.dlls[Dll] = {gf, gv, sv, gvp, svp, app, path ? path : "<null>"};
  r.seen(Dll, "dllinfo2");
}

template <char Dll, Name Export>
void TROVIK_CALL exported() {
  Recorder::current()->seen(Dll, Export.text);
}

template <char Dll>
void TROVIK_CALL onclose(std::int32_t reason) {
  Recorder::current()->seen(Dll, "onclose " + std::to_string(reason));
}

// The exports of DLL `Dll`: "dllinfo2", "onclose", "vpstartup", "onremove",
// "showoptions", "showabout" and one export per name given.
template <char Dll, Name... Events>
FakeLibraries::Exports extension() {
  FakeLibraries::Exports e{
      {"dllinfo2", exportOf(&dllinfo2<Dll>)},
      {"onclose", exportOf(&onclose<Dll>)},
      {"vpstartup", exportOf(&exported<Dll, "vpstartup">)},
      {"onremove", exportOf(&exported<Dll, "onremove">)},
      {"showoptions", exportOf(&exported<Dll, "showoptions">)},
      {"showabout", exportOf(&exported<Dll, "showabout">)},
  };
  (e.emplace(Events.text, exportOf(&exported<Dll, Events>)), ...);
  return e;
}

// The core on the fake platform with the extension DLLs of a test.
struct ExtensionHarness : AppHarness {
  Recorder rec;
  ExtensionHarness() { Recorder::current() = &rec; }
  ~ExtensionHarness() { Recorder::current() = nullptr; }

  static std::string dllPath(char dll) { return at("ext\\") + dll + ".dll"; }
  // A DLL file on disk with these exports.
  void addDll(char dll, FakeLibraries::Exports exports) {
    fs().put(dllPath(dll), "MZ");
    os.libraries.add(dllPath(dll), std::move(exports));
  }
  std::string listPath() const { return at("vp2.qdx"); }
  // vp2.qdx holds these lines and ExtensionList is read from it.
  void installed(const std::vector<std::string>& lines) {
    fs().put(listPath(), joinLines(lines));
    app.extensions.loadList();
  }
  // A record line for DLL `dll` with these event pairs ("form1upclick|before").
  static std::string record(char dll, const std::string& pairs,
                            const std::string& flags = "false|false") {
    return dllPath(dll) + "|Extension " + dll + "|" + flags + "|x|" + pairs;
  }
  ExtensionHost& host() { return app.extensions; }
  Announced& got(char dll) { return rec.dlls[dll]; }
};

}  // namespace trovik::test
