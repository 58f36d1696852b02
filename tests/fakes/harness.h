#pragma once
// The core on the fake platform, with gtest and the core's text and path helpers: what most unit
// tests start from.
#include <functional>

#include "app/application.h"
#include "config/inifile.h"
#include "core/paths.h"
#include "core/textlines.h"
#include "fakeplatform.h"

namespace trovik::test {

using Lines = std::vector<std::string>;

// The main window as the tests lay it out: what lies under a point, and
// what the presenter asked of it.
struct FakeForm1View final : Form1View {
  std::function<int(int x, int y)> tab = [](int, int) { return -1; };
  std::function<int(int x, int y)> item = [](int, int) { return -1; };
  ui::Control* focused = nullptr;
  int closes = 0;
  ui::MenuItem* popped = nullptr;  // the last pop-up menu opened
  void focus(ui::Control& control) override { focused = &control; }
  int tabAt(int x, int y) const override { return tab(x, y); }
  int itemAt(int x, int y) const override { return item(x, y); }
  void close() override { ++closes; }
  void startDrag() override {}
  void popup(ui::MenuItem& menu, int, int) override { popped = &menu; }
  void keyboardSizing(bool) override {}
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
  // A file of the base directory.
  static std::string at(const std::string& file) { return std::string(kBase) + file; }
  // Trovik.ini's text, and one of its values as the program reads it ("<absent>" when missing).
  void options(const std::string& text) { os.fs.put(at("Trovik.ini"), text); }
  std::string option(const std::string& section, const std::string& key) {
    TBigIniFile ini(os.fs, at("Trovik.ini"));
    return ini.ReadString(section, key, "<absent>");
  }
  // A fileset in dir ("" for the base one, else "Name\\") holding these names and links.
  void putFileset(const std::string& dir, const Lines& names, const Lines& links) {
    os.fs.put(at(dir + "name.qdx"), joinLines(names));
    os.fs.put(at(dir + "link.qdx"), joinLines(links));
  }
  // A fileset's names or links as its files on disk hold them.
  Lines namesIn(const std::string& dir) { return splitLines(os.fs.get(at(dir + "name.qdx"))); }
  Lines linksIn(const std::string& dir) { return splitLines(os.fs.get(at(dir + "link.qdx"))); }
  // Builds the tabs from the base directory and loads the current fileset.
  void open() {
    app.form1.autobuild(kBase, -1);
    app.form1.loadlist();
  }
  // Puts these names and links in the main list, as a change in memory only.
  void setList(const Lines& names, const Lines& links) {
    app.form1.List1.setItems(names);
    app.form1.link1.setItems(links);
  }
  // The main list's names and links.
  const Lines& names() { return app.form1.List1.items(); }
  const Lines& links() { return app.form1.link1.items(); }
  // The files the shell was asked to start, in order, each with its parameters after a blank.
  Lines started() const {
    Lines files;
    for (const ShellCall& c : os.shell.calls)
      files.push_back(c.file + (c.parameters.empty() ? "" : " " + c.parameters));
    return files;
  }
  FakeFileSystem& fs() { return os.fs; }
  ScriptedBoxes& boxes() { return os.boxes; }
  Variables& vars() { return app.vars; }
  TForm1& form() { return app.form1; }
  LinkStore& store() { return app.form1.store; }
};

}  // namespace trovik::test
