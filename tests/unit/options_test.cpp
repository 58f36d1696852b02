// Reading the options into the window at start, writing its state at close,
// and the frame rules of the borderless window.
#include "config/options.h"

#include <gtest/gtest.h>

#include <map>

#include "config/dates.h"
#include "harness.h"
#include "mainwindow/frame.h"

namespace trovik::test {
namespace {

struct OptionsTest : ::testing::Test, AppHarness {};

TEST_F(OptionsTest, AMissingFileIsCreatedWithTheDefaultsAndApplied) {
  putFileset("", {}, {});
  boxes().expect(Answer::Ok,
                 "Warning: An options file was not found. Trovik has created a new one.");
  form().loadoptions();
  EXPECT_EQ(option("Options", "ShowOnKey"), "F9");
  const ui::Rect r = form().Form1.bounds();
  EXPECT_EQ(r.width, 145);  // 128 in the file, raised to the least width
  EXPECT_EQ(r.height, 256);
  EXPECT_EQ(r.left, 1024 / 2 - 145 / 2);  // centred
  EXPECT_EQ(r.top, 768 / 2 - 256 / 2);
  EXPECT_TRUE(form().qswitch.visible());
  EXPECT_TRUE(vars().lclick);
  EXPECT_EQ(os.windows.hotkeys.at(1), 120u);  // F9
  EXPECT_EQ(form().List1.columns(), 0);       // Columns 1 means one column
  EXPECT_EQ(form().qswitch.tabs(), std::vector<std::string>{"Trovik"});
}

TEST_F(OptionsTest, AbsentKeysTakeTheirDefaults) {
  options("[Form]\r\n");
  form().loadoptions();
  EXPECT_EQ(form().Form1.bounds().width, 145);
  EXPECT_EQ(form().Form1.bounds().height, 256);
  EXPECT_FALSE(form().qswitch.visible());
  EXPECT_EQ(vars().slkey, "&0");
  EXPECT_TRUE(os.windows.hotkeys.empty());
  EXPECT_EQ(form().snapbarDDCount, 8);
  EXPECT_EQ(form().hintHidePause, 6000);
  EXPECT_TRUE(form().qswitch.hotTrack());
  EXPECT_EQ(vars().usite, "http://trovik.example/update/");
  EXPECT_EQ(form().windowState, TForm1::WindowState::Normal);
  EXPECT_EQ(form().Maximize3.caption(), "Ma&ximize");
}

TEST_F(OptionsTest, ValuesAreTakenOver) {
  options(
      "[Form]\r\nFormHeight=300\r\nFormWidth=200\r\nFormTop=10\r\nFormLeft=20\r\nMaximized=1\r\n"
      "SnapbarDDCount=12\r\n[Options]\r\nRemPosition=1\r\nForceWait=0x7D0\r\nColumns=3\r\n"
      "ShowOnKey=PAUSE\r\n[QSOptions]\r\nEnableHotTrack=0\r\nQSTabSize=40\r\n[Advanced]\r\n"
      "HintHidePause=2500\r\n");
  form().loadoptions();
  EXPECT_EQ(form().Form1.bounds().top, 10);
  EXPECT_EQ(form().Form1.bounds().left, 20);
  EXPECT_EQ(form().Form1.bounds().width, 200);
  EXPECT_TRUE(vars().savepos);
  EXPECT_EQ(vars().forcewait, 2000);
  EXPECT_EQ(form().List1.columns(), 3);
  EXPECT_EQ(os.windows.hotkeys.at(1), 19u);
  EXPECT_EQ(form().qswitch.tabWidth(), 40);
  EXPECT_FALSE(form().qswitch.hotTrack());
  EXPECT_EQ(form().hintHidePause, 2500);
  EXPECT_EQ(form().snapbarDDCount, 12);
  EXPECT_EQ(form().windowState, TForm1::WindowState::Maximized);
  EXPECT_EQ(form().tmaximize.hint(), "Restore");
  EXPECT_EQ(form().Maximize3.caption(), "&Restore");
}

// Every key the loader sets a variable from, given (a flag turned over, a
// number raised by two, a text "x") and then as its missing value ("0" for
// an empty text): the variable follows.
TEST_F(OptionsTest, EveryKeyWithAVariableIsTakenOver) {
  for (const bool given : {true, false}) {
    auto number = [&](const OptionRow& r) {
      const int n = r.text ? 0 : std::stoi(std::string(r.absent));
      return !given ? n : r.flag ? 1 - n : n + 2;
    };
    std::map<std::string_view, std::string> sections;
    for (const OptionRow& r : optionTable())
      if (r.loadStep > 0)
        sections[r.section] +=
            std::string(r.key) + "=" + (r.text && given ? "x" : std::to_string(number(r))) + "\r\n";
    std::string text;
    for (const auto& [section, lines] : sections)
      text += "[" + std::string(section) + "]\r\n" + lines;
    options(text);
    form().loadoptions();
    for (const OptionRow& r : optionTable()) {
      EXPECT_TRUE(!r.flag || vars().*r.flag == (number(r) == 1)) << r.key;
      EXPECT_TRUE(!r.number || vars().*r.number == number(r)) << r.key;
      EXPECT_TRUE(!r.text || vars().*r.text == (given ? "x" : "")) << r.key;
    }
  }
}

TEST_F(OptionsTest, HotkeyNamesNumbersAndFailures) {
  options("[Options]\r\nShowOnKey=120\r\n");
  form().loadoptions();
  EXPECT_EQ(os.windows.hotkeys.at(1), 120u);

  options("[Options]\r\nShowOnKey=f9\r\n");  // names are exact: lower case is no key
  boxes().expect(Answer::Ok, "Failed to set bring to foreground hotkey in Windows.");
  form().loadoptions();
  EXPECT_EQ(boxes().shown().back().caption, "Error");

  options("[Options]\r\nShowOnKey=F12\r\n");
  os.windows.hotkeyFree = false;  // another program holds it
  boxes().expect(Answer::Ok, "Failed to set bring to foreground hotkey");
  form().loadoptions();
}

TEST_F(OptionsTest, SnapbarModeFoldsTheWindowAndDisablesTheItemCommands) {
  options("[Form]\r\nSnapbar=1\r\nFormHeight=400\r\n[Options]\r\nQuickSwitch=1\r\n");
  form().moveitems.setChecked(true);
  form().delab.setVisible(true);
  form().loadoptions();
  EXPECT_FALSE(form().List1.visible());
  EXPECT_TRUE(form().mmlist.visible());
  EXPECT_FALSE(form().edititem.enabled());
  EXPECT_FALSE(form().Maximize.enabled());
  EXPECT_FALSE(form().moveitems.checked());
  EXPECT_FALSE(form().delab.visible());
  EXPECT_EQ(form().Form1.bounds().height, 21 + 54);
  EXPECT_FALSE(form().tmaximize.visible());

  options("[Form]\r\nSnapbar=1\r\n");
  form().loadoptions();
  EXPECT_EQ(form().Form1.bounds().height, 21 + 38);
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
  EXPECT_TRUE(form().droplaunchexit.checked());  // its title is the table's below
  EXPECT_TRUE(vars().remtes);
  EXPECT_FALSE(form().Filename.checked());
  EXPECT_FALSE(vars().retainsort);

  options("[Options]\r\nRetainSortOrder=1\r\n[Sort]\r\nType=2\r\nReverseSortOrder=1\r\n");
  form().loadoptions();
  EXPECT_TRUE(form().Filename.checked());
  EXPECT_TRUE(form().ReverseSort.checked());
  EXPECT_FALSE(vars().remtes);
}

TEST_F(OptionsTest, ClosingWritesTheWindowStateAsTheModeRequires) {
  options("[Form]\r\nFormHeight=300\r\nFormWidth=200\r\n");
  form().Form1.setBounds({5, 6, 222, 333});
  vars().savepos = true;
  form().saveformstate();
  EXPECT_EQ(option("Form", "FormHeight"), "333");
  EXPECT_EQ(option("Form", "FormWidth"), "222");
  EXPECT_EQ(option("Form", "FormTop"), "6");
  EXPECT_EQ(option("Form", "FormLeft"), "5");
  EXPECT_EQ(option("Form", "Maximized"), "0");
  EXPECT_EQ(option("Form", "Snapbar"), "0");
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

  vars().remtes = true;
  vars().retainsort = true;
  form().DropLaunchMinimize1Click();
  form().Filetype.setChecked(true);
  form().saveformstate();
  EXPECT_EQ(option("TaskEvent", "Mode"), "5");
  EXPECT_EQ(option("Sort", "Type"), "4");
  EXPECT_EQ(option("Sort", "ReverseSortOrder"), "0");
  vars().sortbreak = true;  // a hand-made order keeps the old direction
  form().ReverseSort.setChecked(true);
  form().saveformstate();
  EXPECT_EQ(option("Sort", "ReverseSortOrder"), "0");
}

// The title bar's colours are the end-to-end test's, where the screen shows them.
TEST_F(OptionsTest, ActivationFocusesTheListAndTheEndOfTheSessionCloses) {
  form().FormActivate();
  EXPECT_EQ(view.focused, &form().List1);
  form().mmlist.setVisible(true);
  form().FormActivate();
  EXPECT_EQ(view.focused, &form().mmlist);

  form().wmendsession(false);
  EXPECT_EQ(view.closes, 0);
  form().wmendsession(true);
  EXPECT_EQ(view.closes, 1);
}

TEST_F(OptionsTest, LargeFontsScaleTheControlsBack) {
  form().Form1.setBounds({0, 0, 145, 256});
  form().FormResize();
  form().List1.setBounds({10, 100, 100, 100});
  form().ttitle.setFont("MS Sans Serif", 9);
  form().adjustForLargeFonts(96);
  EXPECT_EQ(form().List1.bounds().height, 100);
  form().adjustForLargeFonts(120);
  EXPECT_EQ(form().List1.bounds().height, 80);
  EXPECT_EQ(form().List1.bounds().width, 80);
  EXPECT_EQ(form().List1.bounds().left, 8);
  EXPECT_EQ(form().ttitle.fontSize(), 7);
  EXPECT_EQ(form().ttitle.fontName(), "Small fonts");
}

TEST(Frame, TrackingSizesResizeBordersAndTheWorkArea) {
  TrackingSize t = trackingSize(false, true, 768);
  EXPECT_EQ(t.minWidth, 145);
  EXPECT_EQ(t.minHeight, 100);
  EXPECT_EQ(t.maxHeight, 1268);
  t = trackingSize(true, true, 768);
  EXPECT_EQ(t.minHeight, 75);
  EXPECT_EQ(t.maxHeight, 75);
  EXPECT_EQ(trackingSize(true, false, 768).maxHeight, 59);

  // Borders 5 pixels wide, the corners where two meet.
  EXPECT_EQ(resizeBorderAt(4, 195, 100, 200), HitZone::BottomLeft);
  EXPECT_EQ(resizeBorderAt(95, 4, 100, 200), HitZone::TopRight);
  EXPECT_EQ(resizeBorderAt(2, 100, 100, 200), HitZone::Left);
  EXPECT_EQ(resizeBorderAt(50, 3, 100, 200), HitZone::Top);
  EXPECT_EQ(resizeBorderAt(95, 100, 100, 200), HitZone::Right);
  EXPECT_EQ(resizeBorderAt(50, 195, 100, 200), HitZone::Bottom);
  EXPECT_EQ(resizeBorderAt(5, 5, 100, 200), HitZone::Default);
  EXPECT_EQ(resizeBorderAt(94, 194, 100, 200), HitZone::Default);

  const WindowManager::Area work{0, 0, 1024, 738};
  Placement p = keepOnDesktop({1000, 700, 145, 256}, work);  // past the right and bottom
  EXPECT_EQ(p.x, 1024 - 145);
  EXPECT_EQ(p.y, 738 - 256);
  p = keepOnDesktop({-20, -5, 2000, 100}, work);  // wider than the work area
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.width, 1024);
  EXPECT_EQ(p.y, 0);
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

TEST(RememberedMode, EveryStoredModeComesBackAsIfChosen) {
  // clang-format off
  const char* titles[] = {"", " - Run/Exit", " - Drop/Launch", " - Drop/Launch/Exit",
                          " - Run/Minimize", " - Drop/Launch/Minimize", ""};
  // clang-format on
  for (int mode = 0; mode <= 6; ++mode) {
    AppHarness h;
    h.options("[Options]\r\nRememberTaskEvent=1\r\n[TaskEvent]\r\nMode=" + std::to_string(mode));
    h.form().loadoptions();
    EXPECT_EQ(h.form().ttitle.caption(), std::string("Trovik") + titles[mode]) << "mode " << mode;
    // And it is written back as it was chosen.
    h.form().saveformstate();
    EXPECT_EQ(h.option("TaskEvent", "Mode"), std::to_string(mode <= 5 ? mode : 0));
  }
}

}  // namespace
}  // namespace trovik::test
