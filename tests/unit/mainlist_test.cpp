// Clicks and keys on the main list.
#include <gtest/gtest.h>

#include "dialogharness.h"
#include "harness.h"

namespace trovik::test {
namespace {

constexpr std::uint16_t kEnter = 13, kDown = 40, kCtrl = 17, kSpace = 32, kBack = 8, kS = 'S';

struct MainListTest : ::testing::Test, AppHarness {
  MainListTest() {
    for (const char* f : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) fs().put(f, "");
    options("[Options]\r\nClick=1\r\n");
    fs().put(at("link.qdx"), "C:\\a.exe\r\nC:\\b.exe\r\nC:\\c.exe\r\n");
    fs().put(at("name.qdx"), "Apple\r\nBanana\r\nCherry\r\n");
    form().loadlist();
    form().autobuild(kBase, -1);
    vars().lclick = true;
  }
  std::vector<std::string> started() {
    std::vector<std::string> files;
    for (const auto& c : os.shell.calls)
      files.push_back(c.file + (c.parameters.empty() ? "" : " " + c.parameters));
    return files;
  }
  void select(int i) {
    form().List1.setItemIndex(i);
    form().List1Click();
  }
  void key(std::uint16_t k, ShiftState shift = 0) {
    form().FormKeyDown(k, shift);
    form().List1KeyDown(k, shift);
  }
  void release(std::uint16_t k, ShiftState shift = 0) {
    form().FormKeyUp(k, shift);
    form().List1KeyUp(k, shift);
  }
};

TEST_F(MainListTest, SingleClickRunsOnClickButNotAfterAnArrowKey) {
  select(0);
  EXPECT_EQ(started(), Lines{"a.exe"});
  key(kDown);  // the selection change an arrow causes runs nothing
  select(1);
  EXPECT_EQ(started().size(), 1u);
  select(1);  // a following click on the same item runs it
  EXPECT_EQ(started().back(), "b.exe");
  key(kEnter);
  EXPECT_EQ(started().size(), 3u);
  form().List1DblClick();
  EXPECT_EQ(started().size(), 3u);
}

TEST_F(MainListTest, DoubleClickModeRunsOnlyOnDoubleClick) {
  vars().lclick = false;
  select(2);
  key(kEnter);
  EXPECT_TRUE(started().empty());
  form().List1DblClick();
  EXPECT_EQ(started(), Lines{"c.exe"});
  form().List1.setItemIndex(-1);
  form().List1DblClick();
  EXPECT_EQ(started().size(), 1u);
}

TEST_F(MainListTest, DeleteModeAsksAndSaves) {
  vars().condel = true;
  form().delab.setCaption("DELETE");
  form().delab.setVisible(true);
  boxes().expect(Answer::No, "Delete Banana?");
  select(1);
  EXPECT_EQ(form().List1.count(), 3);
  EXPECT_EQ(boxes().shown().back().caption, "Confirm");
  boxes().expect(Answer::Yes, "Delete Banana?");
  select(1);
  EXPECT_EQ(form().List1.items(), (Lines{"Apple", "Cherry"}));
  EXPECT_EQ(form().link1.items(), (Lines{"C:\\a.exe", "C:\\c.exe"}));
  EXPECT_EQ(form().mmlist.items(), form().List1.items());
  EXPECT_EQ(fs().get(at("name.qdx")), "Apple\r\nCherry\r\n");
  EXPECT_TRUE(started().empty());
}

TEST_F(MainListTest, CopyModeAppendsACopyAndResorts) {
  form().delab.setCaption("COPY");
  form().delab.setVisible(true);
  vars().retainsort = true;
  form().Linkname.setChecked(true);
  form().ReverseSort.setChecked(true);
  select(0);
  EXPECT_EQ(form().List1.items(), (Lines{"Cherry", "Banana", "Apple", "Apple"}));
  EXPECT_EQ(form().link1.items(), (Lines{"C:\\c.exe", "C:\\b.exe", "C:\\a.exe", "C:\\a.exe"}));
  EXPECT_EQ(fs().get(at("name.qdx")), "Apple\r\nBanana\r\nCherry\r\n");  // not saved here
  EXPECT_TRUE(started().empty());
}

TEST_F(MainListTest, HoldingCtrlPicksSeveralLinksAndRunsThemAsOneGroup) {
  key(kCtrl, ssCtrl);
  EXPECT_TRUE(form().List1.multiSelect());
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Run...");
  for (int i : {0, 1, 2}) {
    form().List1.setSelected(i, true);
    form().List1.setItemIndex(i);
    form().List1Click();
  }
  EXPECT_TRUE(started().empty());  // picking runs nothing
  release(kCtrl);
  EXPECT_EQ(started(), (Lines{"a.exe", "b.exe", "c.exe"}));
  EXPECT_FALSE(form().List1.multiSelect());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");

  // Ctrl+S with nothing picked: nothing runs, the title is plain again.
  key(kCtrl, ssCtrl);
  key(kS, ssCtrl);
  release(kS, ssCtrl);
  release(kCtrl);
  EXPECT_EQ(started().size(), 3u);
  EXPECT_EQ(form().ttitle.caption(), "Trovik");

  // Ctrl+Alt leaves it without running.
  key(kCtrl, ssCtrl);
  form().List1.setSelected(0, true);
  std::uint16_t k = kCtrl;
  form().List1KeyDown(k, ssCtrl | ssAlt);
  EXPECT_FALSE(form().List1.multiSelect());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");

  vars().disflymr = true;
  key(kCtrl, ssCtrl);
  EXPECT_FALSE(form().List1.multiSelect());
}

TEST_F(MainListTest, ForceFlyMrRunsTheGroupInOrderWhenTwoOrMoreArePicked) {
  vars().useforceflymr = true;
  vars().fostyle = 1;
  key(kCtrl, ssCtrl);
  form().List1.setSelected(0, true);
  form().List1.setSelected(2, true);
  form().List1.setItemIndex(2);
  release(kCtrl);
  EXPECT_EQ(started(), (Lines{"a.exe", "c.exe"}));
  EXPECT_EQ(os.clock.sleeps, std::vector<int>{1000});  // forced order waits between them
  EXPECT_EQ(form().List1.itemIndex(), 2);
}

TEST_F(MainListTest, ItemsClickedWhileTheDialogIsOpenGoToIt) {
  TAddEdit& d = app.AddEdit;
  d.showDialog();
  d.mr.setChecked(true);
  select(0);
  EXPECT_EQ(d.path.text(), "C:\\a.exe");
  EXPECT_EQ(d.itemLabel.text(), "Apple");
  select(1);
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\a.exe", "C:\\b.exe"}));
  EXPECT_EQ(d.MemberRunStyles.size(), 2u);
  EXPECT_TRUE(started().empty());

  // A single link over a path without multirun asks before overwriting; a No keeps the path,
  // and the dialog comes forward either way.
  FakeDialogView view;
  d.attachView(&view);
  d.mr.setChecked(false);
  boxes().expect(Answer::No, "This will overwrite the existing item path, proceed?");
  select(2);
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(view.fronts, 1);
  boxes().expect(Answer::Yes,
                 "This will overwrite the existing item path, proceed? Click >More> and");
  select(2);
  EXPECT_EQ(d.path.text(), "C:\\c.exe");
  EXPECT_EQ(d.itemLabel.text(), "Cherry");
  EXPECT_EQ(view.fronts, 2);

  // A multirun link over a single path makes a group of them all.
  d.mrl.clear();
  form().link1.setItem(0, "C:\\a.exe|C:\\b.exe|");
  boxes().expect(Answer::Yes, "Do you want to make your new item a multirun item?");
  select(0);
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\c.exe", "C:\\a.exe", "C:\\b.exe"}));
}

TEST_F(MainListTest, EditModeOpensTheDialogOnTheItem) {
  form().link1.setItem(1, "+fC:\\a.exe+lrma|C:\\b.exe|");
  form().delab.setCaption("EDIT");
  form().delab.setVisible(true);
  select(1);
  TAddEdit& d = app.AddEdit;
  EXPECT_TRUE(d.AddEdit.visible());
  EXPECT_TRUE(d.EditPending);
  EXPECT_EQ(d.EditHome, kBase);
  EXPECT_EQ(vars().curitem, 1);
  EXPECT_TRUE(d.mr.checked());
  EXPECT_TRUE(d.foc.checked());
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(d.MemberRunStyles, (Lines{"+lrma", ""}));
  EXPECT_EQ(d.lfc.caption(), "Local files");
  EXPECT_EQ(d.AddEdit.caption(), "Edit link");
  EXPECT_EQ(d.addlink.caption(), "&OK");
  EXPECT_EQ(d.itemLabel.text(), "Banana");
}

TEST_F(MainListTest, TheSwitchMenuSwitchesAndTipsOnceForBeginners) {
  fs().put(at("Games\\link.qdx"), "C:\\g.exe\r\n");
  fs().put(at("Games\\name.qdx"), "Go\r\n");
  form().autobuild(kBase, -1);
  boxes().expect(Answer::Ok, "You can switch between filesets quickly using the space bar");
  form().Switch.child(1).click();
  EXPECT_EQ(vars().apppath, at("Games\\"));
  EXPECT_EQ(form().List1.items(), Lines{"Go"});
  EXPECT_TRUE(form().Switch.child(1).checked());
  form().Switch.child(0).click();  // no tip the second time
  EXPECT_EQ(vars().apppath, kBase);

  // Without its names a directory is no fileset of the menu.
  fs().deleteFile(at("Games\\name.qdx"));
  form().autobuild(kBase, -1);
  EXPECT_EQ(form().Switch.childCount(), 1);
}

// Where the steps lead is the filesets' test; here the keys that take them, in the list and in
// the Snapbar list alike, and the tip flag they set silently, for beginners only.
TEST_F(MainListTest, SpaceAndBackspaceSetTheTipFlagForBeginnersOnly) {
  putFileset("Games\\", {"Games"}, {"C:\\x.exe"});
  form().autobuild(kBase, -1);
  for (int level : {0, 1}) {
    vars().userlevel = level;
    key(kSpace);
    EXPECT_EQ(vars().apppath, at("Games\\"));
    EXPECT_TRUE(vars().norun);
    std::uint16_t back = kBack;
    form().mmlistKeyDown(back, 0);
    EXPECT_EQ(vars().apppath, kBase);
    EXPECT_EQ(option("Help", "SwitchView"), level == 0 ? "1" : "<absent>");
    options("[Options]\r\nClick=1\r\n");
  }
  form().Switch.child(1).click();
  EXPECT_EQ(option("Help", "Switch"), "<absent>");
  EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
}  // namespace trovik::test
