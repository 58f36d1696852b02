// Moving between filesets, making new ones, importing and exporting them. The sequence test
// walks every way between filesets with saves that fail; here are the rules it does not see.
#include "harness.h"

namespace trovik::test {
namespace {

struct FilesetTest : ::testing::Test, AppHarness {
  std::string remembered() { return option("Form", "CurrentFileSet"); }
  void openAt(const std::string& dir) {
    vars().apppath = at(dir);
    open();
  }
  // Imports Other, answering the questions asked on the way.
  void import(std::initializer_list<std::pair<Answer, const char*>> answers) {
    for (const auto& [answer, text] : answers) boxes().expect(answer, text);
    os.folderDialog.expect(at("Other"));
    form().Import1Click();
  }
};

// Space and Backspace step between the tabs, their marks following (the sequence test's, with
// every other way); a step remembers the fileset, applies the hint setting and saves nothing
// (that is the callers' choice). With the base fileset alone, or from a fileset no tab
// stands for, nothing moves.
TEST_F(FilesetTest, SpaceAndBackspaceApplyTheHintsSaveNothingAndMoveOnlyBetweenTabs) {
  options("[Form]\r\nCurrentFileSet=Gone\r\n");
  putFileset("", {"base"}, {"C:\\base.exe"});
  openAt("");
  form().previousfileset();
  form().nextfileset();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_EQ(remembered(), "");

  putFileset("A\\", {"a"}, {"C:\\a.exe"});
  putFileset("B\\", {"b"}, {"C:\\b.exe"});
  openAt("B\\");
  vars().sh = false;
  form().previousfileset();
  EXPECT_FALSE(form().showHints);
  EXPECT_EQ(vars().apppath, at("A\\"));
  EXPECT_EQ(remembered(), "A");
  EXPECT_EQ(fs().writeCount(at("B\\name.qdx")), 0);

  openAt("Elsewhere\\");
  form().nextfileset();
  form().previousfileset();
  EXPECT_EQ(vars().apppath, at("Elsewhere\\"));
}

TEST_F(FilesetTest, ANewFilesetTakesTheFirstFreeNumberOrLeavesNothingBehind) {
  fs().mkdirs(at("NewFileSet1"));
  fs().mkdirs(at("NEWFILESET2"));
  const std::string made = form().createnewfileset();
  EXPECT_EQ(made, at("NewFileSet3"));
  EXPECT_EQ(app.events.slots.cstring, made);  // where extensions read the result

  fs().failWrites("NewFileSet4\\name");
  EXPECT_THROW(form().createnewfileset(), IoError);
  EXPECT_FALSE(fs().directoryExists(at("NewFileSet4")));
}

// Without names each link is named by its target when appended, by the whole entry when it
// overwrites; a name file of another length is brought into step with the links.
TEST_F(FilesetTest, ImportRepairsTheNamesOrChangesNothing) {
  putFileset("", {"mine"}, {"C:\\mine.exe"});
  form().loadlist();
  fs().put(at("Other\\link.qdx"), joinLines({"C:\\Tools\\edit.exe>:-n+lrma", "D:\\Games\\"}));
  const auto warning = std::pair(Answer::Ok, "Your name file was not found");
  import({warning, { Answer::Yes, "add the selected fileset's links" }});
  EXPECT_EQ(boxes().shown()[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(names(), (Lines{"mine", "C:\\Tools\\edit.exe", "D:\\Games\\"}));
  import({warning, { Answer::No, "overwrite all links" }});
  EXPECT_EQ(fs().get(at("name.qdx")), "C:\\Tools\\edit.exe>:-n+lrma\r\nD:\\Games\\\r\n");
  import({{ Answer::Cancel, "Your name file was not found" }});
  EXPECT_EQ(names().size(), 2u);

  putFileset("Other\\", {"one", "two", "three"}, {"C:\\1.exe", "C:\\2.exe"});
  import({{Answer::Yes, "add the selected"},
          { Answer::Yes,
            "(This will remove 1 unlinked items" }});
  EXPECT_EQ(links().back(), "C:\\2.exe");
  EXPECT_EQ(fs().get(at("name.qdx")),
            "C:\\Tools\\edit.exe>:-n+lrma\r\nD:\\Games\\\r\none\r\ntwo\r\n");

  // No fileset there, or the dialog cancelled: nothing changes, and a fly multirun ends.
  fs().deleteFile(at("Other\\link.qdx"));
  import({{ Answer::Ok, "There is no valid fileset in the selected directory." }});
  form().List1.setMultiSelect(true);
  form().ttitle.setCaption("Trovik" + app.texts.f1flymrtag);
  os.folderDialog.expect(std::nullopt);
  form().Import1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
  EXPECT_FALSE(form().List1.multiSelect());
  EXPECT_EQ(names().size(), 4u);
}

// That Yes replaces it with the state last saved, not the list on show, is the sequence test's.
TEST_F(FilesetTest, ExportCopiesTheSavedFilesAndAsksBeforeReplacingAFileset) {
  options("");
  putFileset("", {"saved"}, {"C:\\saved.exe"});
  openAt("");
  putFileset("Old\\", {"old"}, {"C:\\old.exe"});
  boxes().expect(Answer::No, "A fileset already exists in the selected location.");
  os.folderDialog.expect(at("Old"));
  form().Export1Click();
  EXPECT_EQ(fs().get(at("Old\\name.qdx")), "old\r\n");

  // A directory with a link file alone holds no fileset: no question. One under
  // BaseDirectory is listed at once.
  fs().put(at("Copy\\link.qdx"), "C:\\stale.exe\r\n");
  os.folderDialog.expect(at("Copy"));
  form().Export1Click();
  EXPECT_EQ(fs().get(at("Copy\\name.qdx")), "saved\r\n");
  EXPECT_EQ(form().qswitch.tabs(), (Lines{"Trovik", "Copy", "Old"}));

  // Names never saved leave no whole fileset to give.
  fs().deleteFile(at("name.qdx"));
  fs().mkdirs("D:\\Backup");
  os.folderDialog.expect("D:\\Backup");
  EXPECT_THROW(form().Export1Click(), IoError);
  EXPECT_EQ(fs().get("D:\\Backup\\link.qdx"), "<missing>");
}

}  // namespace
}  // namespace trovik::test
