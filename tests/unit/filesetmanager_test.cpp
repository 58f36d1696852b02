// The fileset manager page: renaming, activating and deleting filesets, and
// moving items between filesets with the page's own clipboard. How each change keeps the
// files and the main window in step, a fileset saved elsewhere meanwhile included, is the
// sequence test's; here what it does not see.
#include <utility>

#include "harness.h"

namespace trovik::test {
namespace {

struct FilesetManagerTest : ::testing::Test, AppHarness {
  FilesetManagerTest() {
    options("[Options]\r\n");
    putFileset("", {"a", "b"}, {"C:\\a.exe", "C:\\b.exe"});
    putFileset("Games\\", {"g1", "g2", "g3", "g4"},
               {"C:\\g1.exe", "C:\\g2.exe", "C:\\g3.exe", "C:\\g4.exe"});
    putFileset("Work\\", {}, {});
    form().loadlist();
    app.OptionsForm.showPage(OptionsPage::FilesetManager);
  }
  FilesetManager& fm() { return app.OptionsForm.filesets; }
};

TEST_F(FilesetManagerTest, RenamingRefusesNamesThatCannotBeFilesets) {
  const std::pair<const char*, const char*> refused[] = {
      {"", "at least one character"},
      {"a?b", "must not contain the characters: \" * | : < > ? / \\"},
      {"..", "end in a dot or a blank"},
      {"Games ", "end in a dot or a blank"},
      {"com3.txt", "device name"},
      {"NUL", "device name"},
      {"COM0", "device name"},
      {"lpt0.log", "device name"},
      {"COM\xC2\xB9", "device name"},  // superscript one
      {"Lpt\xC2\xB3.txt", "device name"},
      {"work", "must be unique - a fileset named work already exists."},
      {"Games", "must be unique"},                               // its own name counts too
      {"Taken", "The fileset could not be renamed to Taken: "},  // a file's name
  };
  fs().put(at("Taken"), "");
  for (const auto& [name, why] : refused) {
    boxes().expect(Answer::Ok, why);
    fm().filesetlistEdited(1, name);
    EXPECT_EQ(fm().filesetlist.item(1), "Games") << name;
  }
  boxes().expect(Answer::Ok, "too long");
  fm().filesetlistEdited(1, std::string(250, 'x'));
  EXPECT_TRUE(fs().directoryExists(at("Games")));

  boxes().expect(Answer::Ok, "Trovik cannot change the name of its base directory itself.");
  EXPECT_FALSE(fm().filesetlistEditing(0));
}

// Deleting asks by count, cutting or copying nothing says so. Where a paste lands is the
// sequence test's.
TEST_F(FilesetManagerTest, ItemCommandsAskOrSayWhyNotAndADoubleClickShowsTheLink) {
  fm().filesetlist.setItemIndex(1);  // Games
  fm().filesetlistClick();
  boxes().expect(Answer::Ok, "There is nothing selected to copy.");
  fm().copyiClick();
  boxes().expect(Answer::Ok, "There is nothing selected to cut.");
  fm().cutiClick();
  fm().contentslist.setSelected(1, true);
  fm().contentslist.setSelected(2, true);
  vars().condel = true;
  boxes().expect(Answer::No, "Delete these 2 items?");
  fm().Delete1Click();
  boxes().expect(Answer::Yes);
  fm().Delete1Click();
  EXPECT_EQ(namesIn("Games\\"), (Lines{"g1", "g4"}));
  fm().contentslist.setItemIndex(1);
  boxes().expect(Answer::Ok, "Link associated with this item: C:\\g4.exe");
  fm().contentslistDblClick();
}

// What the user kept in a fileset's directory stays; the backups of its list files go.
TEST_F(FilesetManagerTest, DeletingAFilesetKeepsTheUsersFilesAndClearingKeepsTheBase) {
  fs().put(at("Games\\notes.txt"), "mine");
  fs().put(at("Games\\link.qdx.old"), "a backup an earlier save left");
  vars().confirmfsdelete = true;
  fm().filesetlist.setItemIndex(1);  // Games
  fm().filesetlistClick();
  boxes().expect(Answer::Yes, "delete the selected fileset and all of its contents?");
  boxes().expect(Answer::Ok, "Delete directory " + at("Games\\") + " failed.");
  fm().deletefsClick();
  EXPECT_EQ(fs().get(at("Games\\notes.txt")), "mine");
  EXPECT_EQ(fs().get(at("Games\\link.qdx.old")), "<missing>");
  EXPECT_EQ(fm().filesetlist.items(), (Lines{"Trovik", "Work"}));
  EXPECT_EQ(fm().shown(), 0);  // the item before it is shown

  vars().apppath = at("Work\\");
  form().switchfileset();
  boxes().expect(Answer::Yes, "delete ALL filesets");
  fm().clearfilesetsClick();
  EXPECT_EQ(vars().apppath, at(""));
  EXPECT_FALSE(fs().directoryExists(at("Work")));
  EXPECT_EQ(fm().filesetlist.items(), (Lines{"Trovik"}));
  EXPECT_EQ(fm().contentslist.items(), (Lines{"a", "b"}));
  EXPECT_EQ(form().qswitch.tabs(), (Lines{"Trovik"}));
}

}  // namespace
}  // namespace trovik::test
