#pragma once
// The core on the fake platform: what most unit tests start from.
#include <functional>

#include "app/application.h"
#include "fakeplatform.h"

namespace trovik::test {

// The main window as the tests lay it out: what lies under a point, and
// what the presenter asked of it.
struct FakeForm1View final : Form1View {
  std::function<int(int x, int y)> tab = [](int, int) { return -1; };
  std::function<int(int x, int y)> item = [](int, int) { return -1; };
  ui::Control* focused = nullptr;
  int closes = 0;
  int drags = 0;
  ui::MenuItem* popped = nullptr;  // the last pop-up menu opened, and where
  int popX = 0, popY = 0;
  int keyboardMoves = 0, keyboardSizes = 0;
  void focus(ui::Control& control) override { focused = &control; }
  int tabAt(int x, int y) const override { return tab(x, y); }
  int itemAt(int x, int y) const override { return item(x, y); }
  void close() override { ++closes; }
  void startDrag() override { ++drags; }
  void popup(ui::MenuItem& menu, int x, int y) override {
    popped = &menu;
    popX = x;
    popY = y;
  }
  void keyboardSizing(bool move) override { ++(move ? keyboardMoves : keyboardSizes); }
};

inline constexpr const char* kBase = "C:\\Trovik\\";

struct AppHarness {
  FakePlatform os;
  Application app{os.platform, kBase};
  FakeForm1View view;

  AppHarness() {
    app.form1.attachView(&view);
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
