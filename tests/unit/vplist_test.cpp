// The "Trovik+" page: listing, installing and removing extensions in
// vp2.qdx, and their options and about boxes.
#include "extensions_dll.h"

namespace trovik::test {
namespace {

using namespace std::string_literals;

struct VpListTest : ::testing::Test, ExtensionHarness {
  TOptionsForm& page() { return app.OptionsForm; }
  std::string txtPath(char dll) { return at("ext\\" + std::string(1, dll) + ".txt"); }
  Calls fileLines() { return splitLines(fs().get(listPath())); }
  void install(char dll) {
    os.openDialog.expect(dllPath(dll));
    page().vpinstallClick();
  }
  void select(int row) {
    page().vplist.setItemIndex(row);
    page().vplistClick();
  }
};

TEST_F(VpListTest, RowsNameEachBlockAndTheButtonsFollowTheSelectedRecord) {
  addDll('A', extension<'A'>());
  installed({record('A', "", "TRUE|yes"), "About A", "", "C:\\Gone\\b.dll|Bee|true|false|", "",
             "no bar in this record", "", record('A', "", "no|True"), "",
             record('A', "", "false|false")});
  page().vpoptions.setEnabled(true);
  page().loadvplist();
  EXPECT_EQ(page().vplist.items(),
            (Calls{"Extension A", "Bee (Error: File not found)",
                   "no bar in this record (Error: File not found)", "Extension A", "Extension A"}));
  EXPECT_FALSE(page().vpoptions.enabled());
  select(0);
  EXPECT_TRUE(page().vpoptions.enabled());
  EXPECT_FALSE(page().vpabout.enabled());
  select(3);
  EXPECT_FALSE(page().vpoptions.enabled());
  EXPECT_TRUE(page().vpabout.enabled());
  // A double click opens what there is: here only the about box.
  page().vplistDblClick();
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:showabout"}));
  select(4);
  page().vplistDblClick();
  EXPECT_EQ(rec.calls.size(), 2u);
  select(0);
  page().vplistDblClick();
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:showabout", "A:showoptions"}));

  // Switched off, the whole page is locked.
  for (bool off : {true, false}) {
    page().disvpc.setChecked(off);
    page().disvpcClick();
    for (ui::Control* c : {static_cast<ui::Control*>(&page().vplist), &page().vpinstall,
                           &page().vpremove, &page().vprefresh, &page().vpabout, &page().vpoptions})
      EXPECT_EQ(c->enabled(), !off && c != &page().vpabout) << c->name();  // A has no about
  }
  // Without vp2.qdx the list stays as it was.
  fs().deleteFile(listPath());
  page().vprefreshClick();
  EXPECT_EQ(page().vplist.count(), 5);
}

TEST_F(VpListTest, InstallingAppendsTheBlockAndStartsTheExtension) {
  installed({record('A', "x|before"), "", ""});
  page().loadvplist();
  addDll('B', extension<'B', "loadlist">());
  fs().put(txtPath('B'),
           "Bee|true|false|v1|LoadList|After\r\nA line\r\nAnother line\r\n\r\nnot copied\r\n");
  vars().apppath = at("Games\\");
  install('B');
  ASSERT_EQ(os.openDialog.shown.size(), 1u);
  const OpenDialogSettings& shown = os.openDialog.shown[0].settings;
  EXPECT_EQ(std::tie(shown.initialDir, shown.fileName, shown.filter),
            std::make_tuple(vars().apppath, "", "Trovik+ dlls|*.dll"));

  EXPECT_EQ(fileLines(), (Calls{record('A', "x|before"), "", "",
                                dllPath('B') + "|Bee|true|false|v1|LoadList|After", "A line",
                                "Another line", ""}));
  EXPECT_EQ(page().vplist.items().back(), "Bee");
  EXPECT_EQ(host().ExtensionList(), fileLines());
  EXPECT_EQ(rec.calls, (Calls{"B:dllinfo2", "B:vpstartup"}));
  EXPECT_EQ(host().isloaded(dllPath('B')), 0);
  EXPECT_EQ(host().kn(), 1);
  // Its events reach it at once, without a second announcement.
  app.events.FireExtensionEvent("loadlist", false, false, true);
  EXPECT_EQ(rec.calls, (Calls{"B:dllinfo2", "B:vpstartup", "B:loadlist"}));
}

// What the block of a new extension looks like, whatever the list before it.
TEST_F(VpListTest, ANewBlockIsTheTextFilesFirstBlockOnALineOfItsOwn) {
  const struct {
    std::string list, text, written;
  } rows[] = {
      // A last block without its empty line is never joined.
      {"C:\\old.dll|Old|false|false||x|before\r\nold description", "Bee|false|false||",
       "C:\\old.dll|Old|false|false||x|before\r\nold description\r\n\r\n" + dllPath('B') +
           "|Bee|false|false||\r\n"},
      // A text file that starts with an empty line gives the record alone.
      {"", "\r\nBee|false|false||\r\ndescription\r\n\r\n", dllPath('B') + "|\r\n"},
      // A NUL is one more character of a description, in the list and in the text file.
      {joinLines({record('A', "x|before"), "Made by \0 somebody"s, ""}),
       "Bee|false|false||\r\nwith \0 inside\r\n\r\nnot copied\r\n"s,
       joinLines({record('A', "x|before"), "Made by \0 somebody"s, "",
                  dllPath('B') + "|Bee|false|false||", "with \0 inside"s, ""})},
  };
  addDll('A', extension<'A'>());
  addDll('B', extension<'B'>());
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.list));
    fs().put(listPath(), row.list);
    host().loadList();
    fs().put(txtPath('B'), row.text);
    install('B');
    EXPECT_EQ(fs().get(listPath()), row.written);
    EXPECT_EQ(host().ExtensionList(), splitLines(row.written, Nul::IsText));
    host().stopvp(1);  // and written back as it was
    EXPECT_EQ(fs().get(listPath()), row.written);
  }
  page().loadvplist();
  EXPECT_EQ(page().vplist.items(), (Calls{"Extension A", "Bee"}));
}

TEST_F(VpListTest, AnInstallOrRemovalThatCannotBeDoneOrWrittenChangesNothing) {
  addDll('A', extension<'A', "ismr">());
  installed({record('A', "ismr|before"), ""});
  app.syntax.ismr("x");
  const std::string before = fs().get(listPath());
  page().loadvplist();
  rec.calls.clear();
  addDll('B', extension<'B'>());
  boxes().expect(Answer::Ok, "text file \"" + txtPath('B') + "\"");
  install('B');
  addDll('C', {{"vpstartup", exportOf(&exported<'C', "vpstartup">)}});
  fs().put(txtPath('C'), "See|false|false||");
  boxes().expect(Answer::Ok, "\"DLLInfo2\" does not exist");
  install('C');
  os.openDialog.expect(std::nullopt);  // the dialog cancelled
  page().vpinstallClick();
  fs().put(txtPath('B'), "Bee|false|false||");
  fs().failWrites("vp2.qdx");
  boxes().expect(Answer::Ok, "vp2.qdx");
  EXPECT_FALSE(app.guarded([&] { install('B'); }));
  fs().clearFailures();
  select(0);
  fs().failWrites("trovik+1.qdx");
  boxes().expect(Answer::Ok, "trovik+1.qdx");
  EXPECT_FALSE(app.guarded([&] { page().vpremoveClick(); }));
  EXPECT_TRUE(boxes().allAnswered());
  EXPECT_EQ(fs().get(listPath()), before);
  EXPECT_EQ(fs().get(at("trovik+1.qdx")), "<missing>");
  EXPECT_EQ(page().vplist.count(), 1);
  EXPECT_EQ(host().ExtensionList().size(), 2u);
  EXPECT_TRUE(rec.calls.empty());  // neither started nor told of a removal
  EXPECT_EQ(host().isloaded(dllPath('A')), 0);
  EXPECT_EQ(os.libraries.references(dllPath('B')) + os.libraries.references(dllPath('C')), 0);
}

TEST_F(VpListTest, RemovingTheMiddleOfThreeLoadedLeavesTheOthersWorking) {
  addDll('A', extension<'A', "ismr">());
  addDll('B', extension<'B', "ismr">());
  addDll('C', extension<'C', "ismr">());
  installed({record('A', "ismr|before"), "a", "", record('B', "ismr|before"), "b1", "b2", "",
             record('C', "ismr|before"), "c"});
  app.syntax.ismr("x");
  page().loadvplist();
  rec.calls.clear();
  select(1);
  page().vpremoveClick();
  EXPECT_EQ(fileLines(),
            (Calls{record('A', "ismr|before"), "a", "", record('C', "ismr|before"), "c"}));
  EXPECT_EQ(fs().get(at("trovik+1.qdx")), "<missing>");
  EXPECT_EQ(page().vplist.items(), (Calls{"Extension A", "Extension C"}));
  EXPECT_EQ(rec.calls, (Calls{"B:onclose 3"}));
  EXPECT_EQ(os.libraries.references(dllPath('B')), 0);
  EXPECT_EQ(host().isloaded(dllPath('B')), -1);
  EXPECT_EQ(host().kn(), 2);
  rec.calls.clear();
  app.syntax.ismr("x");
  EXPECT_EQ(rec.calls, (Calls{"A:ismr", "C:ismr"}));

  select(1);
  page().vpremoveClick();
  EXPECT_EQ(rec.calls, (Calls{"A:ismr", "C:ismr", "C:onclose 3"}));
  // One not loaded is announced for its goodbye.
  host().stopvp(1);
  rec.calls.clear();
  select(0);
  page().vpremoveClick();
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:onremove"}));
  EXPECT_TRUE(os.libraries.noneLoaded());
  EXPECT_TRUE(host().loaded().empty());
  EXPECT_EQ(fs().get(listPath()), "");
  EXPECT_FALSE(page().vpabout.enabled());
  page().vpremoveClick();  // nothing is selected: nothing happens
}

TEST_F(VpListTest, TheOptionsDialogSwitchesTheSystemOffAndOnWithExtensionsHearing) {
  addDll('A', extension<'A', "ismr", "stopvp", "loadformtext">());
  installed({record('A', "ismr|before|stopvp|before|loadformtext|override")});
  options("[Options]\r\nDisableVP=0\r\n");
  putFileset("", {}, {});
  bool disvpWhenStopped = true;
  rec.actions["A:stopvp"] = [&] { disvpWhenStopped = vars().disvp; };
  // Apply resets the help texts even when an extension takes the form texts over.
  app.texts.f1delabd = app.texts.f2usekey1 = "changed";
  page().showPage(OptionsPage::TrovikPlus);
  page().applyClick();
  EXPECT_EQ(app.texts.f1delabd, "changed");
  EXPECT_EQ(app.texts.f2usekey1, "You can run this link by pressing the ");

  rec.calls.clear();
  page().disvpc.setChecked(true);
  page().disvpcClick();
  page().applyClick();
  page().applyClick();  // already off: no second stop
  EXPECT_EQ(rec.calls, (Calls{"A:stopvp", "A:onclose 2"}));
  EXPECT_FALSE(disvpWhenStopped) << "the stop is heard while the system still runs";
  EXPECT_TRUE(vars().disvp);
  EXPECT_TRUE(os.libraries.noneLoaded());

  // Showing the dialog takes the switch from the file, as Apply wrote it.
  vars().disvp = false;
  page().FormClose();
  page().showPage(OptionsPage::TrovikPlus);
  EXPECT_TRUE(vars().disvp);
  EXPECT_FALSE(page().vplist.enabled());
  // Switched on again, the next event loads the DLL and announces it anew.
  page().disvpc.setChecked(false);
  page().applyClick();
  EXPECT_FALSE(vars().disvp);
  app.syntax.ismr("x");
  EXPECT_EQ(rec.calls,
            (Calls{"A:stopvp", "A:onclose 2", "A:dllinfo2", "A:loadformtext", "A:ismr"}));
}

}  // namespace
}  // namespace trovik::test
