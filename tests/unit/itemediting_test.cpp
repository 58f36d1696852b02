// Item editing in the main window: the exclusive list modes, the clipboard
// that carries links between filesets, the move buttons, Create multirun and
// deleting a fileset.
#include <gtest/gtest.h>

#include "harness.h"

namespace trovik::test {
namespace {

struct ItemEditingTest : ::testing::Test, AppHarness {
  ItemEditingTest() {
    options("[Form]\r\nCurrentFileSet=\r\n");
    putFileset("", {"A", "B", "C", "D", "E"}, {"a", "b", "c", "d", "e"});
    putFileset("Other\\", {"X", "Y"}, {"x", "y"});
    form().autobuild(kBase, -1);
    form().loadlist();
    form().addEdit = &app.AddEdit;
    form().optionsForm = &app.OptionsForm;
  }
  const Lines& names() { return form().List1.items(); }
  void pick(std::initializer_list<int> items) {
    for (int i = 0; i < form().List1.count(); ++i) form().List1.setSelected(i, false);
    for (int i : items) form().List1.setSelected(i, true);
    form().List1.setItemIndex(*std::prev(items.end()));
  }
  // Which extras and checked mode items show: the mode the window is in.
  std::string mode() {
    TForm1& f = form();
    std::string out;
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&f.delab, &f.up, &f.down, &f.ma, &f.cmrb})
      if (c->visible()) out += c->name() + (c == &f.delab ? "=" + f.delab.caption() : "") + " ";
    for (ui::MenuItem* m :
         {&f.moveitems, &f.deleteitem, &f.edititem, &f.copyitems, &f.createmultirun})
      if (m->checked()) out += "[" + m->name() + "] ";
    if (f.List1.multiSelect()) out += "multi ";
    if (f.Selectall.visible() && f.Selectall.enabled() && f.PasteItems.visible()) out += "selcmds";
    return out;
  }
};

TEST_F(ItemEditingTest, ModesAreExclusiveAndASecondUseLeavesThem) {
  TForm1& f = form();
  f.List1.setItemIndex(0);
  f.Moveitems1Click(&f.moveitems);
  EXPECT_EQ(mode(), "up down ma [moveitems] multi selcmds");
  EXPECT_TRUE(f.List1.selected(0));  // the item the user had stays picked
  f.Deleteitem1Click();  // in General/Move mode Delete deletes; with nothing asked it needs a pick
  f.Edititem1Click();
  EXPECT_EQ(mode(), "delab=EDIT [edititem] ");
  f.Deleteitem1Click();
  EXPECT_EQ(mode(), "delab=DELETE [deleteitem] ");
  f.Copy1Click();
  EXPECT_EQ(mode(), "delab=COPY [copyitems] ");
  f.CreatemultirunClick();
  EXPECT_EQ(mode(), "cmrb [createmultirun] multi ");
  f.Moveitems1Click(&f.general1);
  f.Additem1Click();
  EXPECT_EQ(mode(), "");
  EXPECT_TRUE(app.AddEdit.AddEdit.visible());
  EXPECT_TRUE(app.AddEdit.AddPending);
  EXPECT_EQ(app.AddEdit.AddEdit.caption(), "Add link");
  f.Copy1Click();
  f.Copy1Click();
  EXPECT_EQ(mode(), "");
  f.Deleteitem1Click();
  f.Deleteitem1Click();
  EXPECT_EQ(mode(), "");
}

TEST_F(ItemEditingTest, CutInOneFilesetPastesAfterTheCurrentItemOfAnother) {
  TForm1& f = form();
  f.Moveitems1Click(&f.moveitems);
  pick({1, 3});
  f.CutitemsClick();
  EXPECT_EQ(names(), (Lines{"A", "C", "E"}));
  f.Moveitems1Click(&f.moveitems);  // leaving the mode saves the cut
  EXPECT_EQ(fs().get(at("name.qdx")), "A\r\nC\r\nE\r\n");

  f.nextfileset();
  ASSERT_EQ(names(), (Lines{"X", "Y"}));
  f.Moveitems1Click(&f.moveitems);
  pick({0});
  f.PasteItemsClick();
  EXPECT_EQ(names(), (Lines{"X", "B", "D", "Y"}));
  EXPECT_EQ(fs().get(at("Other\\link.qdx")), "x\r\nb\r\nd\r\ny\r\n");
  EXPECT_EQ(f.mmlist.items(), names());
  f.PasteItemsClick();  // the clipboard stays: a second paste inserts them again
  EXPECT_EQ(names(), (Lines{"X", "B", "D", "B", "D", "Y"}));
}

TEST_F(ItemEditingTest, MoveButtonsFollowTheAmountRules) {
  TForm1& f = form();
  f.Moveitems1Click(&f.moveitems);
  pick({2});
  f.ma.setText("x");
  f.upClick();
  EXPECT_EQ(f.ma.text(), "1");
  EXPECT_EQ(names(), (Lines{"A", "C", "B", "D", "E"}));
  EXPECT_EQ(f.List1.itemIndex(), 1);
  EXPECT_EQ(fs().get(at("name.qdx")), "A\r\nC\r\nB\r\nD\r\nE\r\n");

  pick({2});
  f.ma.setText("5");
  f.upClick();  // too far: the field says how far it can go, nothing moves
  EXPECT_EQ(f.ma.text(), "2");
  EXPECT_EQ(names(), (Lines{"A", "C", "B", "D", "E"}));
  f.upClick();
  EXPECT_EQ(names(), (Lines{"B", "A", "C", "D", "E"}));

  // One item picked away from the caret: the picked one moves.
  f.ma.setText("1");
  pick({3});
  f.List1.setItemIndex(1);
  f.downClick();
  EXPECT_EQ(names(), (Lines{"B", "A", "C", "E", "D"}));
  pick({4});
  f.upClick();

  pick({1, 3});
  f.upClick();
  EXPECT_EQ(names(), (Lines{"A", "B", "D", "C", "E"}));
  EXPECT_TRUE(f.List1.selected(0) && f.List1.selected(2));
  pick({0, 2});  // the walk stops at the top item, before anything moves
  f.upClick();
  EXPECT_EQ(names(), (Lines{"A", "B", "D", "C", "E"}));
  pick({2, 4});  // downwards it stops at the bottom item the same way
  f.downClick();
  EXPECT_EQ(names(), (Lines{"A", "B", "D", "C", "E"}));
  pick({1, 2});
  f.ma.setText("2");
  f.downClick();
  EXPECT_EQ(names(), (Lines{"A", "C", "E", "B", "D"}));
  EXPECT_EQ(form().link1.items(), (Lines{"a", "c", "e", "b", "d"}));
  EXPECT_TRUE(vars().sortbreak);

  // After Select none the caret item is no selection: nothing moves, nothing is saved.
  f.SelectnoneClick();
  f.ma.setText("1");
  f.List1.setItemIndex(3);
  const int writes = fs().writeCount(at("name.qdx"));
  f.upClick();
  EXPECT_EQ(names(), (Lines{"A", "C", "E", "B", "D"}));
  EXPECT_EQ(fs().writeCount(at("name.qdx")), writes);
}

TEST_F(ItemEditingTest, DeletingInGeneralMoveModeAsksByNameOrCount) {
  TForm1& f = form();
  vars().condel = true;
  f.Moveitems1Click(&f.moveitems);
  pick({1});
  boxes().expect(Answer::No, "Delete B?");
  f.Deleteitem1Click();
  EXPECT_EQ(names().size(), 5u);
  pick({0, 4});
  boxes().expect(Answer::Yes, "Delete 2?");
  f.Deleteitem1Click();
  EXPECT_EQ(names(), (Lines{"B", "C", "D"}));
  EXPECT_EQ(fs().get(at("link.qdx")), "b\r\nc\r\nd\r\n");
  f.SelectallClick();
  boxes().expect(Answer::Yes, "Delete 3?");
  f.Deleteitem1Click();
  EXPECT_TRUE(names().empty());
}

TEST_F(ItemEditingTest, CreateMultirunHandsTheMembersToTheAddEditDialog) {
  TForm1& f = form();
  f.link1.setItem(1, "m1|m2+lrma|");
  f.CreatemultirunClick();
  pick({1, 3});
  app.AddEdit.itemLabel.setText("from before");
  f.cmrbClick();
  const TAddEdit& d = app.AddEdit;
  EXPECT_EQ(d.itemLabel.text(), "");
  EXPECT_EQ(d.path.text(), "m1|m2|d|");
  EXPECT_EQ(d.MemberRunStyles, (Lines{"", "+lrma", ""}));
  EXPECT_TRUE(d.AddEdit.visible() && d.mr.checked() && d.ctl.visible() && d.AddPending);
  EXPECT_EQ(mode(), "");
}

TEST_F(ItemEditingTest, DeletingAFilesetLeavesTheWindowOnOneThatExists) {
  TForm1& f = form();
  boxes().expect(Answer::No, "clear the whole list");  // the base fileset is only cleared
  f.DeletefilesetClick();

  vars().confirmfsdelete = true;
  f.nextfileset();
  ASSERT_EQ(vars().apppath, at("Other\\"));
  fs().put(at("Other\\notes.txt"), "mine");
  boxes().expect(Answer::Yes, "delete this fileset");
  boxes().expect(Answer::Ok, "Delete directory C:\\Trovik\\Other\\ failed");
  f.DeletefilesetClick();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_EQ(names().size(), 5u);
  EXPECT_EQ(fs().get(at("Other\\link.qdx")), "<missing>");
  EXPECT_EQ(fs().get(at("Other\\notes.txt")), "mine");
  EXPECT_EQ(f.qswitch.tabs(), Lines{"Trovik"});

  // A list file that cannot be deleted stops the deletion: the fileset stays whole.
  putFileset("Kept\\", {"K"}, {"k"});
  form().autobuild(kBase, -1);
  f.nextfileset();
  ASSERT_EQ(vars().apppath, at("Kept\\"));
  fs().makeReadOnly(at("Kept"));
  boxes().expect(Answer::Yes, "delete this fileset");
  boxes().expect(Answer::Ok, "cannot be deleted: C:\\Trovik\\Kept\\name.qdx");
  f.DeletefilesetClick();
  EXPECT_EQ(fs().get(at("Kept\\name.qdx")), "K\r\n");
  EXPECT_EQ(f.qswitch.tabs(), (Lines{"Trovik", "Kept"}));
  fs().clearFailures();
  fs().deleteFile(at("Kept\\link.qdx"));

  // Alone in the Switch menu (no base fileset listed), it still lands on the base.
  putFileset("Last\\", {"L"}, {"l"});
  fs().deleteFile(at("Trovik.ini"));
  vars().apppath = at("Last\\");
  form().autobuild(kBase, -1);
  form().loadlist();
  boxes().expect(Answer::Yes, "delete this fileset");
  f.DeletefilesetClick();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_FALSE(fs().directoryExists(at("Last")));
  boxes().expect(Answer::Yes, "clear the whole list");  // and now the base one is cleared
  f.DeletefilesetClick();
  EXPECT_EQ(fs().get(at("name.qdx")), "");
}

}  // namespace
}  // namespace trovik::test
