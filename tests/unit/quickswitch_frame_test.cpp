// The QuickSwitch tabs (changing, the link pop-up of a right-click), Snapbar
// mode, and the frame's title bar (the tray icon and the hotkey are the end-to-end test's).
#include "harness.h"
#include "mainwindow/frame.h"

namespace trovik::test {
namespace {

struct QuickSwitchTest : ::testing::Test, AppHarness {
  QuickSwitchTest() {
    options("[Form]\r\nCurrentFileSet=\r\n");
    putFileset("", {"Base"}, {"C:\\base.exe"});
    putFileset("Games\\", {"Chess", "Mines", "Solitaire"},
               {"C:\\chess.exe", "C:\\mines.exe", "C:\\sol.exe"});
    putFileset("Tools\\", {"Edit"}, {"C:\\edit.exe"});
    open();
    form().optionsForm = &app.OptionsForm;
    form().qswitch.setVisible(true);
    form().Form1.setBounds({0, 0, 200, 300});
    for (const char* exe : {"chess", "mines", "sol", "one"})
      fs().put("C:\\" + std::string(exe) + ".exe", "");
  }
  void clickTab(int tab) {
    form().qswitchChanging();
    form().qswitch.setTabIndex(tab);
    form().qswitchChange();
  }
  void rightClickTab(int tab) {
    view.tab = [tab](int, int) { return tab; };
    form().qswitchMouseDown(MouseButton::Right, 0, 10, 10);
  }
};

// What a tab change saves and where it leads is the sequence test's and the filesets'.
TEST_F(QuickSwitchTest, ATabChangeTipsOnceAndRefusesAFilesetWithoutNames) {
  boxes().expect(Answer::Ok, "You can also right click on a tab");  // the tip, once
  clickTab(1);
  EXPECT_EQ(form().ctabi, 1);
  EXPECT_EQ(view.focused, &form().List1);
  fs().deleteFile(at("Tools\\name.qdx"));
  boxes().expect(Answer::Cancel, "No valid name file");
  clickTab(2);
  EXPECT_EQ(form().qswitch.tabIndex(), 1);
  EXPECT_EQ(names(), (Lines{"Chess", "Mines", "Solitaire"}));

  // A tab an extension added stands for its caption's directory.
  putFileset("Extra\\", {"X"}, {"C:\\x.exe"});
  form().qswitch.addTab("Extra");
  clickTab(form().qswitch.count() - 1);
  EXPECT_EQ(vars().apppath, at("Extra\\"));
}

// A right-click on a tab runs one of its fileset's saved links without switching; beyond the
// last tab counts as the last tab, a name without a link runs nothing, and the current
// fileset's tab opens the fileset manager instead.
TEST_F(QuickSwitchTest, RightClickOnATabRunsOneOfItsSavedLinksWithoutSwitching) {
  putFileset("Tools\\", {"One", "Two", "Three"}, {"C:\\one.exe"});
  rightClickTab(-1);
  ASSERT_EQ(form().fscmenu.childCount(), 3);
  EXPECT_EQ(form().fscmenu.child(0).caption(), "&One");
  EXPECT_FALSE(form().fscmenu.child(2).enabled());
  form().fscmenu.child(2).click();
  form().fscmenu.child(0).click();
  EXPECT_EQ(started(), Lines{"one.exe"});
  EXPECT_EQ(vars().apppath, kBase);

  rightClickTab(0);
  EXPECT_EQ(form().fscmenu.childCount(), 0);
  EXPECT_EQ(app.OptionsForm.page(), OptionsPage::FilesetManager);
}

TEST_F(QuickSwitchTest, SnapbarFoldsTheWindowAndRestoresTheStoredHeight) {
  TForm1& f = form();
  f.Moveitems1Click(&f.moveitems);
  f.qmClick(&f.tmlm);
  EXPECT_EQ(option("Form", "FormHeight"), "300");
  EXPECT_FALSE(f.List1.visible() || f.up.visible() || f.moveitems.enabled());
  EXPECT_EQ(view.focused, &f.mmlist);
  f.tosnapbarClick();
  EXPECT_EQ(f.Form1.bounds().height, 300);
  EXPECT_TRUE(f.List1.visible() && f.moveitems.enabled());
  EXPECT_EQ(view.focused, &f.List1);

  // Left while maximised: the full screen, and the stored height once restored.
  f.setWindowState(TForm1::WindowState::Maximized);
  f.qmClick(&f.tmlm);
  EXPECT_EQ(option("Form", "FormHeight"), "300");  // a maximised height is no normal height
  f.qmClick(&f.tmlm);
  EXPECT_EQ(f.Form1.bounds().height, os.windows.screenInfo.height);
  f.FormPaint();
  f.setWindowState(TForm1::WindowState::Normal);
  f.FormPaint();
  EXPECT_EQ(f.Form1.bounds().height, 300);
}

TEST_F(QuickSwitchTest, SnapbarListRunsOnClickOrEnterButNotWhileBrowsing) {
  TForm1& f = form();
  vars().apppath = at("Games\\");
  form().loadlist();
  f.qmClick(&f.tmlm);
  std::uint16_t down = 40, enter = 13;
  f.mmlistDropped = true;
  f.mmlistKeyDown(down, 0);
  f.mmlist.setItemIndex(1);
  f.mmlistClick();  // moving through the open list
  f.mmlistKeyUp(down, 0);
  f.mmlistKeyDown(down, 0);
  f.mmlist.setItemIndex(2);
  f.mmlistClick();
  f.mmlistKeyUp(down, 0);
  EXPECT_TRUE(started().empty());
  f.mmlist.setItemIndex(0);
  f.mmlistKeyDown(enter, 0);
  EXPECT_EQ(started(), Lines{"chess.exe"});
  f.mmlistDropped = false;
  vars().norun = false;
  f.mmlist.setItemIndex(2);
  f.mmlistClick();
  EXPECT_EQ(started().back(), "sol.exe");
  EXPECT_EQ(f.List1.itemIndex(), 2);
}

// A double click on the title maximises and Restore restores, but not in Snapbar mode; the icon
// opens the window menu, a middle click on the bar minimises, the hotkey (and no other) brings the
// window back maximised when it was, Close closes.
TEST_F(QuickSwitchTest, TitleBarButtonsAndMenus) {
  TForm1& f = form();
  f.FormResize();
  f.tbar.setColor(clActiveCaption);  // the window is active
  f.ttitleDblClick();
  EXPECT_EQ(f.windowState, TForm1::WindowState::Maximized);
  f.Maximize3Click();
  EXPECT_EQ(f.windowState, TForm1::WindowState::Normal);
  f.qmClick(&f.tmlm);
  f.tbarDblClick();
  EXPECT_EQ(f.windowState, TForm1::WindowState::Normal);
  f.ticonClick();
  EXPECT_EQ(view.popped, &f.tmenu);
  f.tbarMouseDown(MouseButton::Middle, 0, 1, 1);
  EXPECT_EQ(os.windows.minimized, 1);
  f.setWindowState(TForm1::WindowState::Minimized);
  vars().maxed = true;
  f.wmhotkey(2);
  EXPECT_TRUE(os.windows.forced.empty());
  f.wmhotkey(1);
  EXPECT_EQ(f.windowState, TForm1::WindowState::Maximized);
  EXPECT_EQ(os.windows.forced.size(), 1u);
  f.Close1Click();
  EXPECT_EQ(view.closes, 1);
}

}  // namespace
}  // namespace trovik::test
