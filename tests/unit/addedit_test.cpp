// The Add/Edit dialog: reading a link entry into it, and its handlers as the
// user reaches them.
#include <gtest/gtest.h>

#include "core/paths.h"
#include "dialogharness.h"

namespace trovik::test {
namespace {

TEST(AddEditReading, MaddSplitsAGroupIntoMembersWithTheirRunStyles) {
  AppHarness h;
  TAddEdit& d = h.app.AddEdit;
  h.form().link1.setItems({"single", "+fC:\\a.exe+lrma||D:\\b.exe>:-x+lrmi|trailing"});
  d.madd(1);
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\a.exe", "", "D:\\b.exe>:-x"}));
  EXPECT_EQ(d.MemberRunStyles, (Lines{"+lrma", "", "+lrmi"}));
  EXPECT_TRUE(d.foc.checked());

  // Members are added to those already listed; out-of-range indexes add nothing.
  d.madd(7);
  h.form().link1.setItems({"x+lrmi+lrma|"});
  d.madd(0);
  EXPECT_EQ(d.mrl.items().back(), "x");
  EXPECT_EQ(d.MemberRunStyles.back(), "+lrmi");  // the inner suffix is moved last and wins
  EXPECT_EQ(d.mrl.count(), static_cast<int>(d.MemberRunStyles.size()));
}

TEST(AddEditReading, Clcommedit2MovesTheRunModeIntoTheChoice) {
  AppHarness h;
  TAddEdit& d = h.app.AddEdit;
  const struct {
    const char *path, *left;
    ui::RadioButton& mode;
  } cases[] = {{"C:\\x.exe>:-a+lrmi", "C:\\x.exe>:-a", d.runmin},
               {"C:\\x.exe+lrma", "C:\\x.exe", d.runmax},
               {"C:\\x.exe+LRMA", "C:\\x.exe+LRMA", d.runnormal}};  // only lower case marks
  for (const auto& c : cases) {
    d.path.setText(c.path);
    d.clcommedit2();
    EXPECT_EQ(d.path.text(), c.left);
    for (const ui::RadioButton* m : {&d.runmin, &d.runmax, &d.runnormal})
      EXPECT_EQ(m->checked(), m == &c.mode) << c.path << " " << m->name();
  }
}

const std::string kBaseDir = kBase;

TEST(AddEditConfirm, StoresTheEntryWithItsRunStylesAndSaves) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.list({"One"}, {"C:\\one.exe"});
  h.openAdd();
  d.lfc.setChecked(false);
  d.itemLabel.setText("Two");
  h.type("C:\\two.exe>:-a");
  d.runmaxClick();
  d.addlinkClick();
  EXPECT_EQ(h.form().link1.items(), (Lines{"C:\\one.exe", "C:\\two.exe>:-a+lrma"}));
  EXPECT_EQ(h.form().mmlist.items(), (Lines{"One", "Two"}));
  EXPECT_EQ(h.fs().get(kBaseDir + "name.qdx"), "One\r\nTwo\r\n");
  EXPECT_FALSE(d.isOpen());
  EXPECT_FALSE(d.AddPending);

  // A group: each member's run style before its separator, "+f" in front.
  h.openAdd();
  d.lfc.setChecked(false);
  h.type("C:\\a.exe|C:\\b.exe|");
  EXPECT_TRUE(d.mr.checked());
  EXPECT_TRUE(d.mrl.visible());
  h.pick(1);
  d.runminClick();
  d.foc.setChecked(true);
  d.addlinkClick();
  EXPECT_EQ(h.form().link1.items().back(), "+fC:\\a.exe|C:\\b.exe+lrmi|");

  // However many members there are, none loses its style.
  h.openAdd();
  d.lfc.setChecked(false);
  std::string group;
  for (int i = 0; i < 14; ++i) group += "C:\\m" + std::to_string(i) + ".exe|";
  h.type(group);
  h.pick(13);
  d.runmaxClick();
  d.addlinkClick();
  EXPECT_TRUE(endsWith(h.form().link1.items().back(), "|C:\\m13.exe+lrma|"));
}

TEST(AddEditConfirm, AnEntryThatRunsNothingIsRefusedWithTheDialogOpen) {
  struct Case {
    const char* what;
    bool localCheck, multirun;
    std::string path;
  } cases[] = {{"an empty path, unchecked", false, false, ""},
               {"blanks and a command", false, false, "  >:-x+lrma"},
               {"a group without members", true, true, ""}};
  for (const Case& c : cases) {
    DialogHarness h;
    TAddEdit& d = h.d;
    h.vars().userlevel = 0;  // not even a beginner's tip comes first
    h.openAdd();
    d.itemLabel.setText("Label");
    d.lfc.setChecked(c.localCheck);
    h.type(c.path);
    if (c.multirun && !d.mr.checked()) {
      d.mr.setChecked(true);
      d.mrClick();
    }
    h.boxes().expect(Answer::Ok, "This link has nothing to run.");
    d.addlinkClick();
    EXPECT_TRUE(h.boxes().allAnswered()) << c.what;
    EXPECT_TRUE(d.isOpen()) << c.what;
    EXPECT_EQ(h.form().link1.count(), 0) << c.what;
    EXPECT_EQ(h.view.focused, &d.path) << c.what;
  }
}

TEST(AddEditConfirm, LocalCheckTakesFoldersWithoutBackslashAndNamesAMissingMember) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.fs().mkdirs("C:\\Games");
  h.fs().put("C:\\Tools\\a.exe", "");
  h.openAdd();
  h.type("C:\\GAMES");
  d.addlinkClick();
  EXPECT_EQ(h.form().link1.items(), (Lines{"C:\\GAMES"}));

  h.openAdd();
  h.type("C:\\Tools\\a.exe>:-x|C:\\Tools\\gone.exe|");
  h.boxes().expect(Answer::Ok, "Error: Local file \"C:\\Tools\\gone.exe\" not found");
  d.addlinkClick();
  EXPECT_TRUE(d.isOpen());
  EXPECT_EQ(h.form().link1.count(), 1);
}

TEST(AddEditConfirm, BeginnersAreOfferedAFreeAccessCharacterAndANewFileset) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.vars().userlevel = 0;
  h.list({"Alpha", "!bang", "beta"}, {"a", "b", "c"});
  h.openAdd();
  d.lfc.setChecked(false);
  d.itemLabel.setText("Apple");
  h.type("x");
  // "A" clashes; "A", "a", "!", "b" and "B" are taken, so the quote is free.
  h.boxes().expect(Answer::Yes, "pressing the \" key. Would you like");
  d.addlinkClick();
  EXPECT_EQ(h.form().List1.items().back(), "\" Apple");

  // Only the case differs from "beta": no clash, just the tip.
  h.openAdd();
  d.itemLabel.setText("Bravo");
  h.type("y");
  h.boxes().expect(Answer::Ok, "You can run this link by pressing the B key.");
  d.addlinkClick();

  std::vector<std::string> many(51, "x");
  h.list(many, many);
  h.openAdd();
  d.itemLabel.setText("z");
  h.type("z");
  h.boxes().expect(Answer::Ok, "pressing the z key");
  h.boxes().expect(Answer::Yes, "over 50 links");
  d.addlinkClick();
  EXPECT_TRUE(h.fs().directoryExists(kBaseDir + "NewFileSet1"));
}

TEST(AddEditConfirm, EditingAnItemOfAnotherFilesetWritesThatFilesetOrNothing) {
  DialogHarness h;
  TAddEdit& d = h.d;
  const std::string other = kBaseDir + "Other\\";
  h.list({"Cur"}, {"C:\\cur.exe"});
  h.fs().put(other + "link.qdx", "C:\\o0.exe\r\nC:\\o1.exe\r\n");
  h.fs().put(other + "name.qdx", "O0\r\nO1\r\n");
  auto edit = [&](const std::string& home, int item) {
    d.EditHome = home;
    d.EditPending = true;
    h.vars().curitem = item;
    d.showDialog();
    d.lfc.setChecked(false);
    d.itemLabel.setText("New");
    h.type("C:\\new.exe");
    d.addlinkClick();
  };
  edit(other, 1);
  EXPECT_EQ(h.fs().get(other + "link.qdx"), "C:\\o0.exe\r\nC:\\new.exe\r\n");
  EXPECT_EQ(h.fs().get(other + "name.qdx"), "O0\r\nNew\r\n");
  EXPECT_EQ(h.form().List1.items(), (Lines{"Cur"}));
  EXPECT_FALSE(d.isOpen());

  // Refused, nothing written, and the dialog stays open for Copy to list.
  const std::string links = h.fs().get(other + "link.qdx");
  h.boxes().expect(Answer::Ok, "no longer in its fileset");
  edit(other, 2);
  EXPECT_TRUE(d.isOpen());
  h.fs().failWrites("Other");
  h.boxes().expect(Answer::Ok, "Other\\name.qdx");
  edit(other, 0);
  h.fs().clearFailures();
  h.boxes().expect(Answer::Ok, "The fileset that this link belongs to cannot be found.");
  edit(kBaseDir + "Gone\\", 0);
  EXPECT_TRUE(d.isOpen());
  EXPECT_TRUE(d.EditPending);
  EXPECT_EQ(h.fs().get(other + "link.qdx"), links);
  EXPECT_EQ(h.fs().get(other + "name.qdx"), "O0\r\nNew\r\n");
}

TEST(AddEditLifecycle, EveryWayOfClosingEndsTheOpenStateSoLinksRunAgain) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.list({"A", "B"}, {"C:\\a.exe", "C:\\b.exe"});
  h.fs().put("C:\\a.exe", "");
  for (void (TAddEdit::*close)() : {&TAddEdit::cancelClick, &TAddEdit::tcloseClick,
                                    &TAddEdit::closeDialog, &TAddEdit::addlinkClick}) {
    h.openAdd();
    d.lfc.setChecked(false);
    h.type("C:\\a.exe|C:\\b.exe|");
    d.foc.setChecked(true);
    h.form().List1.setItemIndex(1);
    (d.*close)();
    EXPECT_FALSE(d.isOpen());
    // What the group left behind does not join the next link.
    EXPECT_EQ(d.mrl.count(), 0);
    EXPECT_TRUE(d.MemberRunStyles.empty());
    EXPECT_FALSE(d.foc.checked());
    EXPECT_EQ(h.form().mmlist.items(), h.form().List1.items());
    EXPECT_EQ(h.form().mmlist.itemIndex(), 1);
  }
  h.form().List1.setItemIndex(0);
  h.form().List1DblClick();
  EXPECT_EQ(h.os.shell.calls.size(), 1u);
}

TEST(AddEditMultirun, TickingAndUntickingMoveThePathInAndOutAndGrowTheDialog) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.openAdd();
  const int single = d.AddEdit.bounds().height;
  d.path.setText("C:\\a.exe");
  d.runmaxClick();
  d.mr.setChecked(true);
  d.mrClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe|");
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\a.exe"}));
  EXPECT_EQ(d.MemberRunStyles, (Lines{"+lrma"}));
  EXPECT_TRUE(d.foc.visible());
  EXPECT_FALSE(d.browse.visible());
  EXPECT_GT(d.AddEdit.bounds().height, single);

  h.type("C:\\a.exe|C:\\b.exe|");
  d.mr.setChecked(false);
  h.boxes().expect(Answer::No, "switching to manual");
  d.mrClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe");
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\a.exe"}));
  EXPECT_FALSE(d.mrl.visible());
  EXPECT_EQ(d.AddEdit.bounds().height, single);

  // The main window hands over a group by ticking mr and laying the dialog out.
  d.mr.setChecked(true);
  d.autosize();
  EXPECT_TRUE(d.mrl.visible());
  EXPECT_TRUE(d.foc.visible());
}

TEST(AddEditMembers, ReorderingDroppingRemovingAndClearingKeepPathAndStylesInStep) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.openAdd();
  h.type("a|b|c|");
  h.pick(2);
  d.runminClick();
  d.mrlDragDrop(0);
  EXPECT_EQ(d.path.text(), "c|a|b|");
  EXPECT_TRUE(d.mrl.selected(0));  // the moved member stays picked
  EXPECT_EQ(d.MemberRunStyles, (Lines{"+lrmi", "", ""}));
  h.pick(1);
  EXPECT_TRUE(d.runnormal.checked());
  h.pick(0);
  EXPECT_TRUE(d.runmin.checked());
  EXPECT_EQ(h.view.cursor, 1);  // at the separator that ends the member

  h.vars().ldirect = true;
  h.os.shellLinks.targets["C:\\x.lnk"] = "C:\\x.exe";
  const std::string longPath = "C:\\" + std::string(300, 'n') + ".exe";
  d.mrlDropFiles({"C:\\x.lnk", longPath}, 3);
  EXPECT_EQ(d.path.text(), "c|a|b|C:\\x.exe|" + longPath + "|");
  EXPECT_EQ(d.MemberRunStyles.size(), 5u);

  d.rfClick();  // member 0 is still selected
  EXPECT_EQ(d.path.text(), "a|b|C:\\x.exe|" + longPath + "|");
  EXPECT_EQ(d.MemberRunStyles, (Lines{"", "", "", ""}));
  h.boxes().expect(Answer::Yes, "clear the whole multiple run list");
  d.clClick();
  EXPECT_EQ(d.mrl.count(), 0);
  EXPECT_EQ(d.path.text(), "");
}

TEST(AddEditPath, CompletionOffersTheTypedDirectorysEntries) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.vars().autoclevel = 1;
  h.fs().put("C:\\Tools\\Alpha.exe", "");
  h.fs().put("C:\\Tools\\alps.txt", "");
  h.fs().put("C:\\Tools\\beta.exe", "");
  h.fs().mkdirs("C:\\Tools\\ALbum");
  h.openAdd();
  EXPECT_TRUE(d.autoclist.enabled());
  h.type("c:\\tools\\al");
  EXPECT_EQ(d.autoclist.items(),
            (Lines{"c:\\tools\\ALbum\\", "c:\\tools\\Alpha.exe", "c:\\tools\\alps.txt"}));
  EXPECT_TRUE(h.view.dropped);
  h.type("c:\\tools\\alps.txt");  // the whole name is no completion
  EXPECT_TRUE(d.autoclist.items().empty());
  EXPECT_FALSE(h.view.dropped);

  // Escape closes the list until it is opened by hand.
  h.type("c:\\tools\\al");
  EXPECT_TRUE(d.pathEscape());
  h.type("c:\\tools\\alp");
  EXPECT_EQ(d.autoclist.count(), 2);
  EXPECT_FALSE(h.view.dropped);
  d.autoclistDropDown();
  EXPECT_FALSE(h.vars().nolist);

  // A group completes its last member; a choice replaces the member at the cursor.
  h.type("c:\\tools\\beta.exe|c:\\tools\\al");
  EXPECT_EQ(d.autoclist.count(), 3);
  d.path.setText("c:\\tools\\al|x|");
  h.view.cursor = 3;
  d.autoclist.setItemIndex(1);
  d.autoclistClick();
  EXPECT_EQ(d.path.text(), "c:\\tools\\Alpha.exe|x|");
  EXPECT_EQ(d.mrl.items(), (Lines{"c:\\tools\\Alpha.exe", "x"}));
  EXPECT_EQ(h.view.cursor, 18);
}

TEST(AddEditPath, AKeystrokeServedDuringCompletionLeavesTheListToTheNewerOne) {
  DialogHarness h;
  for (int i = 0; i < 600; ++i) h.fs().put("C:\\Big\\f" + std::to_string(1000 + i), "");
  bool nested = false;
  h.os.pump.onProcess = [&] {
    if (nested) return;
    nested = true;
    h.d.autocomplete("C:\\Big\\f15");
  };
  h.d.autocomplete("C:\\Big\\f");
  EXPECT_EQ(h.d.autoclist.count(), 100);  // f1500 to f1599, not the 600 of the outer run
}

TEST(AddEditPath, CopyToLabelDirectLinkAndLowerCase) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.openAdd();
  d.path.setText("C:\\Apps\\Tool.exe>:-x");
  d.cppClick();
  EXPECT_EQ(d.itemLabel.text(), "Tool.exe");
  d.cppeClick();
  EXPECT_EQ(d.itemLabel.text(), "Tool");
  d.cpClick();
  EXPECT_EQ(d.itemLabel.text(), "C:\\Apps\\Tool.exe>:-x");
  d.path.setText("C:\\Games\\");
  d.cppClick();
  EXPECT_EQ(d.itemLabel.text(), "C:\\Games");

  h.type("C:\\a.exe|D:\\b.txt|");
  h.boxes().expect(Answer::No, "add only the selected item");
  d.cppeClick();
  EXPECT_EQ(d.itemLabel.text(), "a, b");
  h.pick(1);
  h.boxes().expect(Answer::Yes, "add only the selected item");
  d.cppClick();
  EXPECT_EQ(d.itemLabel.text(), "b.txt");

  h.fs().put("C:\\s.lnk", "");
  h.os.shellLinks.targets["C:\\s.lnk"] = "C:\\target.exe";
  h.type("C:\\s.lnk");
  d.deClick();
  EXPECT_EQ(d.path.text(), "C:\\target.exe");
  h.type("C:\\gone.lnk");
  h.boxes().expect(Answer::Ok, "Selected .lnk file does not exist");
  d.deClick();
  EXPECT_EQ(d.path.text(), "C:\\gone.lnk");
  h.type("C:\\a.exe|C:\\s.lnk|");  // in a group, the picked member
  d.deClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\s.lnk|");
  h.pick(1);
  d.deClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\target.exe|");

  d.path.setText("C:\\A|B|");
  d.lcaseClick();
  EXPECT_EQ(d.mrl.items(), (Lines{"c:\\a", "b"}));
}

TEST(AddEditCopyToList, CopiesMembersTheWholeGroupOrTheLinkAndSaves) {
  DialogHarness h;
  TAddEdit& d = h.d;
  h.openAdd();
  h.type("C:\\a.exe|C:\\b.txt|");
  h.pick(1);
  d.runminClick();
  h.vars().dropext = true;
  d.ctlClick();
  EXPECT_EQ(h.form().List1.items(), (Lines{"b"}));
  EXPECT_EQ(h.form().link1.items(), (Lines{"C:\\b.txt+lrmi"}));

  d.mrl.setSelected(1, false);
  d.itemLabel.setText("Both");
  h.boxes().expect(Answer::Yes, "copy the entire multirun item");
  d.ctlClick();
  EXPECT_EQ(h.form().link1.items().back(), "C:\\a.exe|C:\\b.txt+lrmi|");

  h.type("C:\\c.exe");
  d.runmaxClick();
  d.itemLabel.setText("C");
  d.ctlClick();
  EXPECT_EQ(h.form().link1.items().back(), "C:\\c.exe+lrma");
  EXPECT_EQ(h.fs().get(kBaseDir + "name.qdx"), "b\r\nBoth\r\nC\r\n");
  EXPECT_TRUE(d.isOpen());
}

}  // namespace
}  // namespace trovik::test
