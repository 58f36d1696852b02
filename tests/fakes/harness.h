#pragma once
// The core on the fake platform: what most unit tests start from.
#include "app/application.h"
#include "fakeplatform.h"

namespace trovik::test {

inline constexpr const char* kBase = "C:\\Trovik\\";

struct AppHarness {
  FakePlatform os;
  Application app{os.platform, kBase};

  AppHarness() {
    app.vars.realpath = kBase;
    app.vars.apppath = kBase;
    app.texts.setDefaults(Texts::Source::Creation);
    app.texts.setDefaults(Texts::Source::FormText);
    app.texts.setDefaults(Texts::Source::HelpText);
    os.fs.mkdirs(kBase);
  }
  FakeFileSystem& fs() { return os.fs; }
  ScriptedBoxes& boxes() { return os.boxes; }
  Variables& vars() { return app.vars; }
  TForm1& form() { return app.form1; }
  LinkStore& store() { return app.form1.store; }
};

}  // namespace trovik::test
