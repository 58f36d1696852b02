// Item editing in the main window: the exclusive list modes, the clipboard that carries links
// between filesets, the move buttons, Create multirun and deleting a fileset. What these do to
// the files, with saves that fail, is the sequence test's.
#include "harness.h"

namespace trovik::test {
namespace {

struct ItemEditingTest : ::testing::Test, AppHarness {
  ItemEditingTest() {
    options("[Form]\r\nCurrentFileSet=\r\n");
    putFileset("", {"A", "B", "C", "D", "E"}, {"a", "b", "c", "d", "e"});
    putFileset("Other\\", {"X", "Y"}, {"x", "y"});
    open();
    form().addEdit = &app.AddEdit;
    form().optionsForm = &app.OptionsForm;
  }
  void pick(std::initializer_list<int> items) {
    for (int i = 0; i < form().List1.count(); ++i) form().List1.setSelected(i, false);
    for (int i : items) form().List1.setSelected(i, true);
    form().List1.setItemIndex(*std::prev(items.end()));
  }
  // The checked mode items.
  std::string mode() {
    std::string out;
    for (ui::MenuItem* m : {&form().moveitems, &form().deleteitem, &form().edititem,
                            &form().copyitems, &form().createmultirun})
      if (m->checked()) out += m->name();
    return out;
  }
};

TEST_F(ItemEditingTest, ModesAreExclusiveAndASecondUseLeavesThem) {
  TForm1& f = form();
  const std::pair<std::function<void()>, std::string> modes[] = {
      {[&] { f.Moveitems1Click(&f.moveitems); }, "moveitems"},
      {[&] { f.Edititem1Click(); }, "edititem"},
      {[&] { f.Deleteitem1Click(); }, "deleteitem"},
      {[&] { f.Copy1Click(); }, "copyitems"},
      {[&] { f.CreatemultirunClick(); }, "createmultirun"}};
  f.List1.setItemIndex(0);
  f.Moveitems1Click(&f.moveitems);
  EXPECT_TRUE(f.List1.selected(0));  // the item the user had stays picked
  EXPECT_TRUE(f.Selectall.visible() && f.Selectall.enabled() && f.PasteItems.visible());
  // Delete there deletes the selection, asking by name or by count, and the mode stays.
  vars().condel = true;
  pick({1});
  boxes().expect(Answer::No, "Delete B?");
  f.Deleteitem1Click();
  pick({0, 4});
  boxes().expect(Answer::Yes, "Delete 2?");
  f.Deleteitem1Click();
  EXPECT_EQ(fs().get(at("link.qdx")), "b\r\nc\r\nd\r\n");
  EXPECT_EQ(mode(), "moveitems");
  f.Moveitems1Click(&f.moveitems);
  for (const auto& [enter, name] : modes) {
    enter();
    EXPECT_EQ(mode(), name);
  }
  EXPECT_TRUE(f.cmrb.visible() && f.List1.multiSelect() && !f.delab.visible());
  f.Moveitems1Click(&f.general1);
  f.Additem1Click();
  EXPECT_EQ(mode(), "");
  EXPECT_TRUE(app.AddEdit.AddPending);
  for (const auto& [enter, name] : modes) {
    enter();
    enter();
    EXPECT_EQ(mode(), "") << name;
    EXPECT_FALSE(f.up.visible() || f.delab.visible() || f.List1.multiSelect()) << name;
  }
}

// Each row starts from A to E in General/Move mode.
TEST_F(ItemEditingTest, MoveButtonsFollowTheAmountRules) {
  const struct {
    std::vector<int> picked;  // the last is the caret, unless caret says otherwise
    int caret;
    const char* amount;
    bool up;
    const char *after, *field;
  } rows[] = {
      {{2}, -1, "x", true, "ACBDE", "1"},  // no number: one
      {{2}, -1, "5", true, "ABCDE", "2"},  // too far: the field says how far it can go
      {{3}, 1, "1", false, "ABCED", "1"},  // one picked away from the caret: that one moves
      {{1, 3}, -1, "1", true, "BADCE", "1"},
      {{0, 2}, -1, "1", true, "ABCDE", "1"},   // the walk stops at the top item
      {{2, 4}, -1, "1", false, "ABCDE", "0"},  // or the bottom one, where there is no room
      {{1, 2}, -1, "2", false, "ADEBC", "2"},
      {{}, 3, "1", true, "ABCDE", "1"},  // the caret alone is no selection
  };
  TForm1& f = form();
  f.Moveitems1Click(&f.moveitems);
  for (const auto& r : rows) {
    SCOPED_TRACE(&r - rows);
    putFileset("", {"A", "B", "C", "D", "E"}, {"a", "b", "c", "d", "e"});
    f.loadlist();
    f.SelectallClick();
    f.SelectnoneClick();
    for (int i : r.picked) f.List1.setSelected(i, true);
    f.List1.setItemIndex(r.caret >= 0 ? r.caret : r.picked.back());
    f.ma.setText(r.amount);
    r.up ? f.upClick() : f.downClick();
    std::string after, links;
    for (int i = 0; i < 5; ++i) after += names()[i], links += f.link1.item(i);
    EXPECT_EQ(after, r.after);
    EXPECT_EQ(links, lower(r.after));
    EXPECT_EQ(f.ma.text(), r.field);
    EXPECT_EQ(fs().get(at("name.qdx")), joinLines(names()));
  }
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

// A fileset goes with its list files only: what else the user kept there stays, and a list
// file that cannot be deleted stops the deletion with the fileset whole.
TEST_F(ItemEditingTest, DeletingAFilesetKeepsTheUsersFilesAndLandsOnOneThatExists) {
  TForm1& f = form();
  boxes().expect(Answer::No, "clear the whole list");  // the base fileset is only cleared
  f.DeletefilesetClick();
  EXPECT_EQ(names().size(), 5u);
  vars().confirmfsdelete = true;
  f.nextfileset();
  fs().put(at("Other\\notes.txt"), "mine");
  boxes().expect(Answer::Yes, "delete this fileset");
  boxes().expect(Answer::Ok, "Delete directory C:\\Trovik\\Other\\ failed");
  f.DeletefilesetClick();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_EQ(fs().get(at("Other\\notes.txt")), "mine");
  EXPECT_EQ(f.qswitch.tabs(), Lines{"Trovik"});

  putFileset("Kept\\", {"K"}, {"k"});
  form().autobuild(kBase, -1);
  f.nextfileset();
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
  open();
  boxes().expect(Answer::Yes, "delete this fileset");
  f.DeletefilesetClick();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_FALSE(fs().directoryExists(at("Last")));
}

}  // namespace
}  // namespace trovik::test
