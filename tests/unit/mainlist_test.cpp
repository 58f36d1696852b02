// Clicks and keys on the main list.
#include "harness.h"

namespace trovik::test {
namespace {

constexpr std::uint16_t kEnter = 13, kDown = 40, kCtrl = 17, kSpace = 32, kS = 'S';

struct MainListTest : ::testing::Test, AppHarness {
  MainListTest() {
    for (const char* f : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) fs().put(f, "");
    options("[Options]\r\nClick=1\r\n");
    putFileset("", {"Apple", "Banana", "Cherry"}, {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"});
    form().loadlist();
    form().autobuild(kBase, -1);
    vars().lclick = true;
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
  void mode(const char* caption) {
    form().delab.setCaption(caption);
    form().delab.setVisible(true);
  }
};

TEST_F(MainListTest, SingleClickRunsOnClickButNotAfterAnArrowKeyAndDoubleClickOnlyOnDouble) {
  select(0);
  EXPECT_EQ(started(), Lines{"a.exe"});
  key(kDown);  // the selection change an arrow causes runs nothing
  select(1);
  EXPECT_EQ(started().size(), 1u);
  select(1);  // a following click on the same item runs it
  EXPECT_EQ(started().back(), "b.exe");
  key(kEnter);
  form().List1DblClick();
  EXPECT_EQ(started().size(), 3u);

  vars().lclick = false;
  select(2);
  key(kEnter);
  EXPECT_EQ(started().size(), 3u);
  form().List1DblClick();
  EXPECT_EQ(started().back(), "c.exe");
  form().List1.setItemIndex(-1);
  form().List1DblClick();
  EXPECT_EQ(started().size(), 4u);
}

TEST_F(MainListTest, DeleteModeAsksAndSavesAndCopyModeAppendsACopy) {
  vars().condel = true;
  mode("DELETE");
  boxes().expect(Answer::No, "Delete Banana?");
  select(1);
  EXPECT_EQ(form().List1.count(), 3);
  boxes().expect(Answer::Yes, "Delete Banana?");
  select(1);
  EXPECT_EQ(links(), (Lines{"C:\\a.exe", "C:\\c.exe"}));
  EXPECT_EQ(form().mmlist.items(), names());
  EXPECT_EQ(fs().get(at("name.qdx")), "Apple\r\nCherry\r\n");

  mode("COPY");
  select(0);
  EXPECT_EQ(names(), (Lines{"Apple", "Cherry", "Apple"}));
  EXPECT_EQ(links(), (Lines{"C:\\a.exe", "C:\\c.exe", "C:\\a.exe"}));
  EXPECT_TRUE(started().empty());
}

TEST_F(MainListTest, HoldingCtrlPicksSeveralLinksAndRunsThemAsOneGroup) {
  key(kCtrl, ssCtrl);
  EXPECT_TRUE(form().List1.multiSelect());
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Run...");
  for (int i : {0, 1, 2}) {
    form().List1.setSelected(i, true);
    select(i);
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

// Where the steps lead is the sequence test's; a directory without its names is no fileset of
// the menu. An extension reads the item clicked after the switch: it is still there.
TEST_F(MainListTest, TheSwitchMenuListsOnlyWholeFilesetsAndTipsBeginnersOnce) {
  putFileset("Games\\", {"Go"}, {"C:\\g.exe"});
  form().autobuild(kBase, -1);
  std::string sender;
  app.events.setHook([&](std::string_view name, bool, bool, bool after) {
    if (after && name == "form1.histhandler")
      sender = static_cast<ui::MenuItem*>(app.events.slots.cobject)->caption();
    return false;
  });
  boxes().expect(Answer::Ok, "You can switch between filesets quickly using the space bar");
  form().Switch.child(1).click();
  EXPECT_EQ(sender, "Games");
  EXPECT_EQ(names(), Lines{"Go"});
  form().Switch.child(0).click();  // no tip the second time
  vars().userlevel = 1;
  key(kSpace);  // the keys' tip is a flag set silently, for beginners only
  EXPECT_EQ(option("Help", "SwitchView"), "<absent>");
  vars().userlevel = 0;
  key(kSpace);
  EXPECT_EQ(option("Help", "SwitchView"), "1");
  fs().deleteFile(at("Games\\name.qdx"));
  form().autobuild(kBase, -1);
  EXPECT_EQ(form().Switch.childCount(), 1);
}

}  // namespace
}  // namespace trovik::test
