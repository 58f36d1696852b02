// The QuickSwitch tabs (changing, the link pop-up of a right-click), Snapbar
// mode, and the frame: title bar, tray icon and hotkey.
#include <gtest/gtest.h>

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
    form().autobuild(kBase, -1);
    form().loadlist();
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
  std::vector<std::string> started() {
    std::vector<std::string> files;
    for (const auto& c : os.shell.calls) files.push_back(c.file);
    return files;
  }
};

TEST_F(QuickSwitchTest, ATabChangeSavesSwitchesAndRefusesAVanishedFileset) {
  form().List1.add("Unsaved");
  form().link1.add("C:\\new.exe");
  boxes().expect(Answer::Ok, "You can also right click on a tab");  // the tip, once
  clickTab(1);
  EXPECT_EQ(fs().get(at("name.qdx")), "Base\r\nUnsaved\r\n");
  EXPECT_EQ(form().List1.items(), (Lines{"Chess", "Mines", "Solitaire"}));
  EXPECT_EQ(option("Form", "CurrentFileSet"), "Games");
  EXPECT_EQ(form().ctabi, 1);
  EXPECT_EQ(view.focused, &form().List1);

  fs().deleteFile(at("Tools\\link.qdx"));
  boxes().expect(Answer::Ok, "File set not found in specified location: C:\\Trovik\\Tools\\");
  clickTab(2);
  EXPECT_EQ(form().qswitch.tabIndex(), 1);
  EXPECT_EQ(vars().apppath, at("Games\\"));

  putFileset("Tools\\", {"Edit"}, {"C:\\edit.exe"});
  fs().deleteFile(at("Tools\\name.qdx"));
  boxes().expect(Answer::Cancel, "No valid name file");
  clickTab(2);
  EXPECT_EQ(form().qswitch.tabIndex(), 1);
  EXPECT_EQ(form().List1.items(), (Lines{"Chess", "Mines", "Solitaire"}));
  clickTab(0);  // no second tip
  EXPECT_EQ(form().List1.items(), (Lines{"Base", "Unsaved"}));

  // A tab an extension added stands for its caption's directory.
  putFileset("Extra\\", {"X"}, {"C:\\x.exe"});
  form().qswitch.addTab("Extra");
  clickTab(form().qswitch.count() - 1);
  EXPECT_EQ(vars().apppath, at("Extra\\"));
}

TEST_F(QuickSwitchTest, RightClickOnATabRunsOneOfItsSavedLinksWithoutSwitching) {
  rightClickTab(1);
  ASSERT_EQ(form().fscmenu.childCount(), 3);
  EXPECT_EQ(form().fscmenu.child(0).caption(), "&Chess");
  form().fscmenu.child(2).click();
  EXPECT_EQ(started(), Lines{"sol.exe"});
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_EQ(form().List1.items(), Lines{"Base"});

  // Beyond the last tab counts as the last tab; the next pop-up replaces the last.
  putFileset("Tools\\", {"One", "Two", "Three"}, {"C:\\one.exe"});
  rightClickTab(-1);
  ASSERT_EQ(form().fscmenu.childCount(), 3);
  EXPECT_TRUE(form().fscmenu.child(0).enabled());
  EXPECT_FALSE(form().fscmenu.child(2).enabled());  // a name without a link runs nothing
  form().fscmenu.child(2).click();
  EXPECT_EQ(started().size(), 1u);

  rightClickTab(0);  // the current fileset's tab: the fileset manager, no pop-up
  EXPECT_EQ(form().fscmenu.childCount(), 0);
  EXPECT_TRUE(app.OptionsForm.OptionsForm.visible());
  EXPECT_EQ(app.OptionsForm.page(), OptionsPage::FilesetManager);
}

TEST_F(QuickSwitchTest, SwitchMenuItemOutlivesItsOwnClick) {
  // An extension reads the Sender of the closing event: it must still be there.
  std::string seen;
  app.events.setHook([&](std::string_view name, bool, bool, bool after) {
    if (after && name == "form1.histhandler")
      seen = static_cast<ui::MenuItem*>(app.events.slots.cobject)->caption();
    return false;
  });
  boxes().expect(Answer::Ok, "space bar");
  form().Switch.child(1).click();
  EXPECT_EQ(seen, "Games");
  EXPECT_EQ(form().List1.items(), (Lines{"Chess", "Mines", "Solitaire"}));
}

TEST_F(QuickSwitchTest, SnapbarFoldsTheWindowAndRestoresTheStoredHeight) {
  TForm1& f = form();
  f.Moveitems1Click(&f.moveitems);
  f.qmClick(&f.tmlm);
  EXPECT_EQ(f.Form1.bounds().height, f.mmlist.bounds().height + 54);
  EXPECT_EQ(option("Form", "FormHeight"), "300");
  EXPECT_FALSE(f.List1.visible() || f.up.visible() || f.moveitems.enabled() ||
               f.Maximize.enabled());
  EXPECT_FALSE(f.tmaximize.visible());  // the layout follows at once
  EXPECT_EQ(view.focused, &f.mmlist);
  f.tosnapbarClick();
  EXPECT_EQ(f.Form1.bounds().height, 300);
  EXPECT_TRUE(f.List1.visible() && f.moveitems.enabled());
  EXPECT_EQ(view.focused, &f.List1);

  // Without a stored height: 247.
  options("");
  f.qswitch.setVisible(false);
  f.setWindowState(TForm1::WindowState::Maximized);
  f.qmClick(&f.tmlm);
  EXPECT_EQ(f.Form1.bounds().height, f.mmlist.bounds().height + 38);
  EXPECT_EQ(option("Form", "FormHeight"), "<absent>");  // a maximised height is no normal height
  f.qmClick(&f.tmlm);  // left while maximised: the full screen, and the fix-up once restored
  EXPECT_EQ(f.Form1.bounds().height, os.windows.screenInfo.height);
  f.FormPaint();
  f.setWindowState(TForm1::WindowState::Normal);
  f.FormPaint();
  EXPECT_EQ(f.Form1.bounds().height, 247);
  f.Form1.setBounds({0, 0, 200, 400});
  f.FormPaint();
  EXPECT_EQ(f.Form1.bounds().height, 400);
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

TEST_F(QuickSwitchTest, HotkeyAndTrayBringTheWindowBackAndTheTipShowsOnlyOnce) {
  TForm1& f = form();
  app.ctx.mainWindow = 77;
  vars().slkey = "F9";
  vars().maxed = true;
  f.setWindowState(TForm1::WindowState::Minimized);
  f.wmhotkey(2);  // not ours
  EXPECT_TRUE(os.windows.forced.empty());
  f.wmhotkey(1);
  EXPECT_EQ(f.windowState, TForm1::WindowState::Maximized);
  EXPECT_EQ(os.windows.forced, std::vector<WindowHandle>{77});
  EXPECT_EQ(option("Help", "BringToFore"), "1");
  f.SysTrayClick();  // the key was used: no tip about it
  EXPECT_EQ(os.windows.forced.size(), 2u);

  options("");
  f.Form1.setVisible(false);
  boxes().expect(Answer::Ok, "You can bring Trovik to the foreground by pressing F9");
  f.SysTrayClick();
  EXPECT_TRUE(f.Form1.visible());
  f.SysTrayDblClick();
  f.SysTrayRightClick(MouseButton::Right, 0, 5, 5);
  EXPECT_EQ(os.windows.forced.size(), 5u);
}

TEST_F(QuickSwitchTest, TitleBarButtonsAndMenus) {
  TForm1& f = form();
  f.FormResize();
  f.titleButtonMouse(f.tclose, true, MouseButton::Left, 0, 3, 3);
  EXPECT_TRUE(f.tclose.checked());  // the pressed picture
  f.titleButtonMouse(f.tclose, false, MouseButton::Right, 0, 3, 3);
  EXPECT_FALSE(f.tclose.checked());

  f.tbar.setColor(clActiveCaption);
  f.ttitleDblClick();
  EXPECT_EQ(f.windowState, TForm1::WindowState::Maximized);
  EXPECT_EQ(f.Maximize3.caption(), "&Restore");
  f.Maximize3Click();
  EXPECT_EQ(f.windowState, TForm1::WindowState::Normal);
  EXPECT_EQ(f.Maximize3.caption(), "Ma&ximize");
  f.qmClick(&f.tmlm);
  f.tbarDblClick();  // no maximise button in Snapbar mode
  EXPECT_EQ(f.windowState, TForm1::WindowState::Normal);

  f.ticonClick();
  EXPECT_EQ(view.popped, &f.tmenu);
  f.tbarMouseDown(MouseButton::Middle, 0, 1, 1);
  EXPECT_EQ(os.windows.minimized, 1);
  f.Close1Click();
  EXPECT_EQ(view.closes, 1);
}

}  // namespace
}  // namespace trovik::test
