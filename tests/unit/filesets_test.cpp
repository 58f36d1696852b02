// Moving between filesets, making new ones, importing and exporting them.
#include <gtest/gtest.h>

#include "config/inifile.h"
#include "core/textlines.h"
#include "dialogs/optionsform.h"
#include "harness.h"
#include "ui/input.h"

namespace trovik::test {
namespace {

struct FilesetTest : ::testing::Test, AppHarness {
  std::string remembered() { return option("Form", "CurrentFileSet"); }
  // BaseDirectory with its options and two more filesets, A and B.
  void threeFilesets() {
    options("[Form]\r\nCurrentFileSet=Old\r\n");
    putFileset("", {"base"}, {"C:\\base.exe"});
    putFileset("A\\", {"a"}, {"C:\\a.exe"});
    putFileset("B\\", {"b"}, {"C:\\b.exe"});
  }
  void openAt(const std::string& dir) {
    vars().apppath = at(dir);
    form().autobuild(kBase, -1);
    form().loadlist();
  }
  std::vector<bool> checks() {
    std::vector<bool> out;
    for (int i = 0; i < form().Switch.childCount(); ++i)
      out.push_back(form().Switch.child(i).checked());
    return out;
  }
  const Lines& names() { return form().List1.items(); }
  const Lines& links() { return form().link1.items(); }
  FakeFolderDialog& dialog() { return os.folderDialog; }
};

// Space steps on and Backspace back, each wrapping round at the ends; neither saves the list
// (that is the callers' choice). Where no fileset is listed, or only the base one, nothing moves.
TEST_F(FilesetTest, SpaceAndBackspaceCycleThroughTheFilesets) {
  const struct {
    bool next;
    const char* dir;  // where it lands, with that fileset's first name
    int tab;
    const char* name;
  } steps[] = {{true, "", 0, "base"},
               {false, "B\\", 2, "b"},
               {false, "A\\", 1, "a"},
               {false, "", 0, "base"},
               {true, "A\\", 1, "a"}};
  threeFilesets();
  openAt("B\\");
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.next ? "next to " : "previous to ") + s.dir);
    s.next ? form().nextfileset() : form().previousfileset();
    EXPECT_EQ(vars().apppath, at(s.dir));
    EXPECT_EQ(names(), Lines{s.name});
    EXPECT_EQ(links(), Lines{"C:\\" + std::string(s.name) + ".exe"});
    std::vector<bool> marks(3, false);
    marks[static_cast<size_t>(s.tab)] = true;
    EXPECT_EQ(checks(), marks);
    EXPECT_EQ(form().qswitch.tabIndex(), s.tab);
    EXPECT_EQ(form().ctabi, s.tab);
    EXPECT_EQ(remembered(), std::string(s.dir).substr(0, std::string(s.dir).find('\\')));
  }
  EXPECT_EQ(fs().writeCount(at("A\\name.qdx")), 0);

  openAt("Elsewhere\\");
  form().nextfileset();
  form().previousfileset();
  EXPECT_EQ(vars().apppath, at("Elsewhere\\"));
  EXPECT_EQ(remembered(), "A");  // as the last step left it

  AppHarness alone;
  alone.options("[Form]\r\nCurrentFileSet=Gone\r\n");
  alone.putFileset("", {"only"}, {"C:\\only.exe"});
  alone.vars().apppath = kBase;
  alone.form().autobuild(kBase, -1);
  alone.form().loadlist();
  alone.form().previousfileset();
  alone.form().nextfileset();
  EXPECT_EQ(alone.vars().apppath, kBase);
  EXPECT_EQ(alone.form().qswitch.tabIndex(), 0);
  EXPECT_EQ(alone.option("Form", "CurrentFileSet"), "");
  EXPECT_EQ(alone.form().List1.items(), Lines{"only"});
}

// Every way out of a fileset: the list on show is saved first, a failed save
// keeps the window where it is, and a fileset without its link file is
// reported instead of loaded (its names would otherwise stay on show, to be
// saved over it).
TEST_F(FilesetTest, EveryWayOutSavesFirstAndChecksWhereItGoes) {
  struct Way {
    const char* name;
    const char* to;  // from A
    std::function<void(FilesetTest&)> leave;
  };
  auto key = [](std::uint16_t k, bool snapbar) {
    return [=](FilesetTest& t) {
      std::uint16_t code = k;
      if (snapbar)
        t.form().mmlistKeyDown(code, {});
      else
        t.form().List1KeyDown(code, {});
    };
  };
  const Way ways[] = {
      {"Space", "B\\", key(vkSpace, false)},
      {"Backspace", "", key(vkBack, false)},
      {"Snapbar Space", "B\\", key(vkSpace, true)},
      {"tab", "B\\",
       [](FilesetTest& t) {
         t.form().qswitch.setTabIndex(2);
         t.form().qswitchChange();
       }},
      {"Switch menu", "B\\", [](FilesetTest& t) { t.form().Switch.child(2).click(); }},
      {"manager Activate", "B\\",
       [](FilesetTest& t) {
         FilesetManager& fm = t.app.OptionsForm.filesets;
         t.app.OptionsForm.showPage(OptionsPage::FilesetManager);
         fm.filesetlist.setItemIndex(2);
         fm.activatefsClick();
       }},
  };
  boxes().otherwise = Answer::Ok;  // the one-time tips
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    fs().clearFailures();
    threeFilesets();
    openAt("A\\");
    // An edit not yet saved goes with the list when it leaves.
    form().List1.setItem(0, "renamed");
    way.leave(*this);
    EXPECT_EQ(fs().get(at("A\\name.qdx")), "renamed\r\n");
    EXPECT_EQ(vars().apppath, at(way.to));

    // A save that fails keeps the window, its list and its tab where they were.
    openAt("A\\");
    form().List1.setItem(0, "unsaved");
    fs().makeReadOnly(at("A"));
    EXPECT_THROW(way.leave(*this), IoError);
    EXPECT_EQ(vars().apppath, at("A\\"));
    EXPECT_EQ(names(), Lines{"unsaved"});
    EXPECT_EQ(form().qswitch.tabIndex(), 1);
    fs().clearFailures();

    // A fileset whose link file went is reported, and A's names stay A's.
    openAt("A\\");
    fs().deleteFile(at(std::string(way.to) + "link.qdx"));
    const size_t before = boxes().shown().size();
    way.leave(*this);
    ASSERT_GT(boxes().shown().size(), before);
    EXPECT_NE(boxes().shown()[before].text.find("File set not found in specified location: "),
              std::string::npos);
    EXPECT_EQ(vars().apppath, at("A\\"));
    EXPECT_EQ(names(), Lines{"renamed"});
    EXPECT_EQ(form().qswitch.tabIndex(), 1);
  }
}

TEST_F(FilesetTest, SwitchLoadsRemembersAndAppliesTheHintSetting) {
  threeFilesets();
  vars().sh = false;
  vars().apppath = at("A\\");
  form().switchfileset();
  EXPECT_EQ(names(), Lines{"a"});
  EXPECT_EQ(remembered(), "A");
  EXPECT_FALSE(form().showHints);
}

TEST_F(FilesetTest, ANewFilesetTakesTheFirstFreeNumberWhateverTheCase) {
  fs().mkdirs(at("NewFileSet1"));
  fs().mkdirs(at("NEWFILESET2"));
  const std::string made = form().createnewfileset();
  EXPECT_EQ(made, at("NewFileSet3"));
  EXPECT_EQ(fs().get(at("NewFileSet3\\link.qdx")), "");
  EXPECT_EQ(fs().get(at("NewFileSet3\\name.qdx")), "");
  EXPECT_EQ(app.events.slots.cstring, made);  // where extensions read the result
  // The menus learn of it at the next scan, not now.
  EXPECT_EQ(form().Switch.childCount(), 0);

  // A fileset that cannot be written is reported, and leaves no empty directory behind.
  fs().failWrites("NewFileSet4\\name");
  EXPECT_THROW(form().createnewfileset(), IoError);
  EXPECT_FALSE(fs().directoryExists(at("NewFileSet4")));
}

// However a fileset is made, its tab shows at once, and once, even when a
// rebuild (the release of Shift+Insert) runs while the scan serves messages.
TEST_F(FilesetTest, ANewFilesetFromTheMenuIsOneTabAtOnce) {
  options("");
  putFileset("", {"base"}, {"C:\\base.exe"});
  fs().mkdirs(at("newfileset1"));
  openAt("");
  bool inner = false;
  os.pump.onProcess = [&] {
    if (inner) return;
    inner = true;
    form().autobuild(kBase, -1);
  };
  form().Newfileset.click();
  EXPECT_EQ(form().qswitch.tabs(), (Lines{"Trovik", "NewFileSet2"}));
  EXPECT_EQ(form().Switch.childCount(), 2);
}

TEST_F(FilesetTest, ImportIntoAnEmptyListAppendsAndSavesWithoutAsking) {
  putFileset("", {}, {});
  form().loadlist();
  putFileset("Other\\", {"Zed", "Ann"}, {"C:\\z.exe", "C:\\a.exe"});
  vars().retainsort = true;
  form().Linkname.setChecked(true);
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), (Lines{"Ann", "Zed"}));  // the remembered order applies
  EXPECT_EQ(links(), (Lines{"C:\\a.exe", "C:\\z.exe"}));
  EXPECT_EQ(form().mmlist.items(), names());
  EXPECT_EQ(fs().get(at("name.qdx")), "Ann\r\nZed\r\n");
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\a.exe\r\nC:\\z.exe\r\n");
  EXPECT_TRUE(boxes().shown().empty());
  EXPECT_EQ(dialog().shown[0].initialDir, kBase);  // Import and Export start at BaseDirectory
}

TEST_F(FilesetTest, ImportIntoAFullListAppendsOnYesAndOverwritesOnNo) {
  putFileset("", {"mine"}, {"C:\\mine.exe"});
  form().loadlist();
  form().List1.setItemIndex(0);
  putFileset("Other\\", {"theirs"}, {"C:\\theirs.exe"});

  boxes().expect(Answer::Yes, "add the selected fileset's links");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), (Lines{"mine", "theirs"}));
  EXPECT_EQ(links(), (Lines{"C:\\mine.exe", "C:\\theirs.exe"}));
  EXPECT_EQ(boxes().shown()[0].buttons, Buttons::YesNo);
  // The item the user had stays selected, in the Snapbar list as well.
  EXPECT_EQ(form().List1.itemIndex(), 0);
  EXPECT_EQ(form().mmlist.itemIndex(), 0);

  boxes().expect(Answer::No, "overwrite all links");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), Lines{"theirs"});
  EXPECT_EQ(fs().get(at("name.qdx")), "theirs\r\n");
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\theirs.exe\r\n");
}

TEST_F(FilesetTest, ImportWithoutNamesWarnsAndNamesEachLinkByItsRule) {
  putFileset("", {"mine"}, {"C:\\mine.exe"});
  form().loadlist();
  fs().put(at("Other\\link.qdx"), joinLines({"C:\\Tools\\edit.exe>:-n+lrma", "D:\\Games\\"}));

  // Appended: the target alone.
  boxes().expect(Answer::Ok, "Your name file was not found");
  boxes().expect(Answer::Yes, "add the selected fileset's links");
  dialog().expect(at("Other\\"));
  form().Import1Click();
  EXPECT_EQ(boxes().shown()[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(names(), (Lines{"mine", "C:\\Tools\\edit.exe", "D:\\Games\\"}));

  // Overwritten: the whole entry, parameters and run mode included.
  boxes().expect(Answer::Ok, "Your name file was not found");
  boxes().expect(Answer::No, "overwrite all links");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), (Lines{"C:\\Tools\\edit.exe>:-n+lrma", "D:\\Games\\"}));
  EXPECT_EQ(links(), (Lines{"C:\\Tools\\edit.exe>:-n+lrma", "D:\\Games\\"}));
  EXPECT_EQ(fs().get(at("name.qdx")), "C:\\Tools\\edit.exe>:-n+lrma\r\nD:\\Games\\\r\n");

  // Cancel on the warning changes nothing.
  boxes().expect(Answer::Cancel, "Your name file was not found");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names().size(), 2u);
}

TEST_F(FilesetTest, ImportFromNoFilesetOrACancelledDialogChangesNothing) {
  putFileset("", {"mine"}, {"C:\\mine.exe"});
  form().loadlist();
  fs().put(at("Other\\name.qdx"), "orphan\r\n");
  boxes().expect(Answer::Ok, "There is no valid fileset in the selected directory.");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), Lines{"mine"});

  // A fly multirun in progress ends either way.
  form().List1.setMultiSelect(true);
  form().ttitle.setCaption("Trovik" + app.texts.f1flymrtag);
  dialog().expect(std::nullopt);
  form().Import1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
  EXPECT_FALSE(form().List1.multiSelect());
  EXPECT_EQ(names(), Lines{"mine"});
  EXPECT_EQ(fs().writeCount(at("name.qdx")), 0);
}

TEST_F(FilesetTest, AnImportedNameFileOfAnotherLengthIsBroughtIntoStep) {
  putFileset("", {"mine"}, {"C:\\mine.exe"});
  form().loadlist();
  putFileset("Other\\", {"one", "two", "three"}, {"C:\\1.exe", "C:\\2.exe"});
  boxes().expect(Answer::Yes, "add the selected fileset's links");
  boxes().expect(Answer::Yes, "(This will remove 1 unlinked items");
  dialog().expect(at("Other"));
  form().Import1Click();
  EXPECT_EQ(names(), (Lines{"mine", "one", "two"}));
  EXPECT_EQ(links(), (Lines{"C:\\mine.exe", "C:\\1.exe", "C:\\2.exe"}));
  EXPECT_EQ(fs().get(at("name.qdx")), "mine\r\none\r\ntwo\r\n");
}

TEST_F(FilesetTest, ExportCopiesTheSavedFilesAndAsksBeforeReplacingAFileset) {
  putFileset("", {"saved"}, {"C:\\saved.exe"});
  form().loadlist();
  form().List1.setItem(0, "unsaved");  // what is exported is the state last saved
  fs().mkdirs("D:\\Backup");
  putFileset("Old\\", {"old"}, {"C:\\old.exe"});

  boxes().expect(Answer::No, "A fileset already exists in the selected location.");
  dialog().expect(at("Old"));
  form().Export1Click();
  EXPECT_EQ(fs().get(at("Old\\name.qdx")), "old\r\n");
  EXPECT_EQ(dialog().shown[0].initialDir, kBase);

  boxes().expect(Answer::Yes, "Do you want to overwrite it?");
  dialog().expect(at("Old"));
  form().Export1Click();
  EXPECT_EQ(fs().get(at("Old\\name.qdx")), "saved\r\n");
  EXPECT_EQ(fs().get(at("Old\\link.qdx")), "C:\\saved.exe\r\n");
  EXPECT_EQ(names(), Lines{"unsaved"});

  // A directory with a link file alone holds no fileset: no question.
  fs().put("D:\\Backup\\link.qdx", "C:\\stale.exe\r\n");
  dialog().expect("D:\\Backup");
  form().Export1Click();
  EXPECT_EQ(fs().get("D:\\Backup\\link.qdx"), "C:\\saved.exe\r\n");
  EXPECT_EQ(fs().get("D:\\Backup\\name.qdx"), "saved\r\n");
}

TEST_F(FilesetTest, AnExportUnderTheBaseDirectoryIsListedAtOnce) {
  options("");
  putFileset("", {"base"}, {"C:\\base.exe"});
  openAt("");
  ASSERT_EQ(form().Switch.childCount(), 1);
  fs().mkdirs(at("Copy"));
  dialog().expect(at("Copy"));
  form().Export1Click();
  ASSERT_EQ(form().Switch.childCount(), 2);
  EXPECT_EQ(form().Switch.child(1).caption(), "Copy");
  EXPECT_EQ(form().qswitch.tabs().size(), 2u);
}

// A current fileset whose names were never saved has no whole fileset to give.
TEST_F(FilesetTest, AnExportWithoutSavedNamesWritesNothing) {
  putFileset("", {"saved"}, {"C:\\saved.exe"});
  fs().deleteFile(at("name.qdx"));
  fs().mkdirs("D:\\Backup");
  dialog().expect("D:\\Backup");
  EXPECT_THROW(form().Export1Click(), IoError);
  EXPECT_EQ(fs().get("D:\\Backup\\link.qdx"), "<missing>");
}

}  // namespace
}  // namespace trovik::test
