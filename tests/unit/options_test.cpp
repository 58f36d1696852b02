// Reading the options into the window at start, writing its state at close, the frame rules
// of the borderless window and the command table.
#include "config/options.h"

#include <set>

#include "config/dates.h"
#include "harness.h"
#include "mainwindow/commands.h"
#include "mainwindow/frame.h"

namespace trovik::test {
namespace {

struct OptionsTest : ::testing::Test, AppHarness {};

// The window's own settings, absent and then given; a hotkey that cannot be set is reported.
TEST_F(OptionsTest, TheWindowsSettingsTakeTheirDefaultsOrTheirValuesOrAreReported) {
  using H = AppHarness;
  using Get = int (*)(H&);  // -1 below: not checked
  const struct {
    const char *key, *value;  // in [Form], or after the section named
    Get get;
    int absent, given;
  } rows[] = {
      {"FormHeight", "300", [](H& t) { return t.form().Form1.bounds().height; }, 256, 300},
      {"FormWidth", "200", [](H& t) { return t.form().Form1.bounds().width; }, 145, 200},
      {"SnapbarDDCount", "12", [](H& t) { return t.form().snapbarDDCount; }, 8, 12},
      // A separator of the wrong length is ignored.
      {"CommandSeperator", "::", [](H& t) { return int(t.vars().commandsep == "::"); }, 0, 1},
      {"CommandSeperator", ">>>", [](H& t) { return int(t.vars().commandsep == ">:"); }, 1, 1},
      {"MRSeperator", ";", [](H& t) { return int(t.vars().mrs == ";"); }, 0, 1},
      {"MRSeperator", "||", [](H& t) { return int(t.vars().mrs == "|"); }, 1, 1},
      {"Maximized", "1",
       [](H& t) { return int(t.form().windowState == TForm1::WindowState::Maximized); }, 0, 1},
      {"[Options]\r\nForceWait", "0x7D0", [](H& t) { return t.vars().forcewait; }, -1, 2000},
      {"[Options]\r\nRemPosition", "1", [](H& t) { return int(t.vars().savepos); }, 0, 1},
      {"[Options]\r\nQuickSwitch", "1", [](H& t) { return int(t.form().qswitch.visible()); }, 0, 1},
      {"[Options]\r\nColumns", "3", [](H& t) { return t.form().List1.columns(); }, -1, 3},
      {"[Options]\r\nShowOnKey", "PAUSE", [](H& t) { return int(t.os.windows.hotkeys[1]); }, 0, 19},
      {"[Options]\r\nShowOnKey", "120", [](H& t) { return int(t.os.windows.hotkeys[1]); }, 0, 120},
      {"[Options]\r\nColumns", "1", [](H& t) { return t.form().List1.columns(); }, -1, 0},
      {"[QSOptions]\r\nQSTabSize", "40", [](H& t) { return t.form().qswitch.tabWidth(); }, -1, 40},
      {"[QSOptions]\r\nEnableHotTrack", "0", [](H& t) { return int(t.form().qswitch.hotTrack()); },
       1, 0},
      {"[Advanced]\r\nHintHidePause", "2500", [](H& t) { return t.form().hintHidePause; }, 6000,
       2500},
  };
  options("[Form]\r\n");  // every setting absent
  form().loadoptions();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.key);
    AppHarness given;
    given.options(std::string("[Form]\r\n") + r.key + "=" + r.value + "\r\n");
    given.form().loadoptions();
    EXPECT_TRUE(r.absent < 0 || r.get(*this) == r.absent) << r.get(*this);
    EXPECT_EQ(r.get(given), r.given);
  }
  EXPECT_EQ(vars().slkey, "&0");  // the texts the window keeps
  EXPECT_EQ(vars().usite, "http://trovik.example/update/");

  options("[Options]\r\nShowOnKey=f9\r\n");  // names are exact: lower case is no key
  boxes().expect(Answer::Ok, "Failed to set bring to foreground hotkey in Windows.");
  form().loadoptions();
  options("[Options]\r\nShowOnKey=F12\r\n");
  os.windows.hotkeyFree = false;  // another program holds it
  boxes().expect(Answer::Ok, "Failed to set bring to foreground hotkey");
  form().loadoptions();
}

TEST_F(OptionsTest, SnapbarModeFoldsTheWindowAndDisablesTheItemCommands) {
  options("[Form]\r\nSnapbar=1\r\n");
  form().moveitems.setChecked(true);
  form().delab.setVisible(true);
  form().loadoptions();
  EXPECT_FALSE(form().List1.visible());
  EXPECT_TRUE(form().mmlist.visible());
  EXPECT_FALSE(form().edititem.enabled() || form().Maximize.enabled());
  EXPECT_FALSE(form().moveitems.checked() || form().delab.visible());
  options("[Form]\r\nSnapbar=0\r\n");
  form().loadoptions();
  EXPECT_TRUE(form().List1.visible());
  EXPECT_FALSE(form().mmlist.visible());
}

TEST_F(OptionsTest, RememberedModeAndSortAreAppliedOnlyWhenRemembered) {
  options(
      "[Options]\r\nRememberTaskEvent=1\r\nRetainSortOrder=0\r\n[TaskEvent]\r\nMode=3\r\n"
      "[Sort]\r\nType=2\r\n");
  form().loadoptions();
  EXPECT_TRUE(form().droplaunchexit.checked());
  EXPECT_FALSE(form().Filename.checked());
  options("[Options]\r\nRetainSortOrder=1\r\n[Sort]\r\nType=2\r\nReverseSortOrder=1\r\n");
  form().loadoptions();
  EXPECT_TRUE(form().Filename.checked());
  EXPECT_TRUE(form().ReverseSort.checked());
  EXPECT_FALSE(vars().remtes);

  // Every stored mode comes back as if chosen, and is written back as it was.
  for (int mode = 0; mode <= 6; ++mode) {
    AppHarness h;
    h.options("[Options]\r\nRememberTaskEvent=1\r\n[TaskEvent]\r\nMode=" + std::to_string(mode));
    h.form().loadoptions();
    h.form().saveformstate();
    EXPECT_EQ(h.option("TaskEvent", "Mode"), std::to_string(mode <= 5 ? mode : 0));
  }
}

TEST_F(OptionsTest, ClosingWritesTheWindowStateAsTheModeRequires) {
  options("[Form]\r\nFormHeight=300\r\nFormWidth=200\r\n");
  form().Form1.setBounds({5, 6, 222, 333});
  vars().savepos = true;
  form().saveformstate();
  const char* written[][2] = {{"FormHeight", "333"}, {"FormWidth", "222"}, {"FormTop", "6"},
                              {"FormLeft", "5"},     {"Maximized", "0"},   {"Snapbar", "0"}};
  for (const auto& [key, value] : written) EXPECT_EQ(option("Form", key), value) << key;
  EXPECT_EQ(option("TaskEvent", "Mode"), "<absent>");  // only while remembered

  // Maximised: the normal size stays as it was.
  form().Form1.setBounds({0, 0, 1024, 768});
  form().setWindowState(TForm1::WindowState::Maximized);
  form().saveformstate();
  EXPECT_EQ(option("Form", "FormWidth"), "222");
  EXPECT_EQ(option("Form", "Maximized"), "1");

  // Snapbar: the width is written, the height is not.
  form().setWindowState(TForm1::WindowState::Normal);
  form().mmlist.setVisible(true);
  form().Form1.setBounds({0, 0, 250, 75});
  form().saveformstate();
  EXPECT_EQ(option("Form", "FormWidth"), "250");
  EXPECT_EQ(option("Form", "FormHeight"), "333");
  EXPECT_EQ(option("Form", "Snapbar"), "1");

  vars().retainsort = true;
  form().Filetype.setChecked(true);
  form().saveformstate();
  EXPECT_EQ(option("Sort", "Type"), "4");
  EXPECT_EQ(option("Sort", "ReverseSortOrder"), "0");
  vars().sortbreak = true;  // a hand-made order keeps the old direction
  form().ReverseSort.setChecked(true);
  form().saveformstate();
  EXPECT_EQ(option("Sort", "ReverseSortOrder"), "0");
}

// Large fonts scale the controls back; a window is kept on the work area, shrunk to it when
// larger; its borders are 5 pixels wide, the corners where two meet.
TEST(Frame, LargeFontsTheWorkAreaAndTheResizeBorders) {
  AppHarness h;
  h.form().List1.setBounds({10, 100, 100, 100});
  h.form().adjustForLargeFonts(120);
  EXPECT_EQ(h.form().List1.bounds().left, 8);
  EXPECT_EQ(h.form().List1.bounds().height, 80);

  const WindowManager::Area work{0, 0, 1024, 738};
  Placement p = keepOnDesktop({1000, 700, 145, 256}, work);
  EXPECT_EQ(p.x, 1024 - 145);
  p = keepOnDesktop({-20, -5, 2000, 100}, work);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.width, 1024);
  const struct {
    int x, y;
    HitZone zone;
  } zones[] = {{0, 0, HitZone::TopLeft},
               {4, 195, HitZone::BottomLeft},
               {2, 100, HitZone::Left},
               {95, 100, HitZone::Right},
               {5, 5, HitZone::Default}};
  for (const auto& z : zones) EXPECT_EQ(resizeBorderAt(z.x, z.y, 100, 200), z.zone) << z.x;
}

TEST(Dates, ShortDatesInTheLocalesOrder) {
  EXPECT_EQ(dayNumber({1970, 1, 1}), 0);
  EXPECT_EQ(dayNumber({2026, 12, 6}) - dayNumber({2026, 10, 7}), 60);
  EXPECT_EQ(dayNumber({2024, 3, 1}) - dayNumber({2024, 2, 28}), 2);  // a leap year
  const std::pair<const char*, const char*> dec6[] = {{"06/12/2026", "dd/MM/yyyy"},
                                                      {"12/6/2026", "M/d/yyyy"},
                                                      {"2026-12-06", "yyyy-MM-dd"},
                                                      {"6.12.26", "d.M.yy"}};
  for (const auto& [text, format] : dec6)
    EXPECT_EQ(dayNumber(parseShortDate(text, format).value_or(Date{})), dayNumber({2026, 12, 6}))
        << text;
  for (const char* refused : {"31/02/2026", "12/31/2026", "yesterday", "1/2", ""})
    EXPECT_FALSE(parseShortDate(refused, "dd/MM/yyyy")) << refused;
}

// The main window's command table: shortcuts as the menu shows them, and the rules the window
// relies on when it builds menus and keys from the rows.
TEST(CommandTableTest, ShortcutsParseAndEveryCommandHasItsOwnNumberNameAndAKnownKey) {
  const struct {
    const char* text;
    std::uint16_t key;
    ShiftState modifiers;
  } keys[] = {{"F3", 114, 0},
              {"F24", 135, 0},
              {"f5", 116, 0},
              {"Ctrl+D", 'D', ssCtrl},
              {"ctrl+d", 'D', ssCtrl},
              {"Ctrl+F12", 123, ssCtrl},
              {"Shift+Del", 46, ssShift},
              {"Alt+M", 'M', ssAlt},
              {"Ctrl+Shift+7", '7', ssCtrl | ssShift},
              {"BkSp", 8, 0}};
  for (const auto& k : keys) {
    const Shortcut s = parseShortcut(k.text).value_or(Shortcut{});  // key 0: none
    EXPECT_EQ(std::tie(s.key, s.modifiers), std::tie(k.key, k.modifiers)) << k.text;
  }
  for (const char* wrong : {"", "F0", "F25", "F1x", "Ctrl+", "Hyper+X", "Ctrl+Plus", "DD"})
    EXPECT_FALSE(parseShortcut(wrong)) << wrong;

  AppHarness h;
  std::set<int> ids;
  std::set<std::string> names;
  for (const Command& c : commands()) {
    const ui::MenuItem& item = h.form().*c.item;
    EXPECT_TRUE(names.insert(item.name()).second) << item.name();
    // Below the fileset items' numbers, which would otherwise take it.
    EXPECT_TRUE(c.id == 0 || (ids.insert(c.id).second && c.id < kSwitchFirstId)) << item.name();
    EXPECT_TRUE(!*c.shortcut || parseShortcut(c.shortcut)) << item.name() << " " << c.shortcut;
  }
}

}  // namespace
}  // namespace trovik::test
