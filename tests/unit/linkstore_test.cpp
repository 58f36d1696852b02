// Loading, repairing and saving filesets, and finding them on disk.
#include "harness.h"

namespace trovik::test {
namespace {

struct LinkStoreTest : ::testing::Test, AppHarness {};

// Both files load in step whatever their line ends; empty lines keep their
// places, a NUL ends the text and a missing link file empties the links only.
TEST_F(LinkStoreTest, LoadsBothListsInStepAndFillsTheSnapbarCopy) {
  const std::string huge(100000, 'x');
  const struct {
    std::string names, links;  // "<missing>": no such file
    Lines loadedNames, loadedLinks;
  } rows[] = {
      {"One\rTwo\r", "C:\\1.exe\nC:\\2.exe\n", {"One", "Two"}, {"C:\\1.exe", "C:\\2.exe"}},
      {"x\r\n\r\n\r\n", "C:\\x.exe\r\n\r\n\r\n", {"x", "", ""}, {"C:\\x.exe", "", ""}},
      {"", "", {}, {}},
      {huge + "\r\nname\r\n", huge + "\r\n" + std::string("a\0b", 3), {huge, "name"}, {huge, "a"}},
      {std::string(1, '\0'), "", {}, {}},
      {"kept\r\n", "C:\\k.exe\r\n", {"kept"}, {"C:\\k.exe"}},
      {"kept\r\n", "<missing>", {"kept"}, {}},
      // Old headings go only when the counts differ: in step, "Move items" is a real name.
      {"Move items\r\na\r\nb\r\n", "1\r\n2\r\n", {"a", "b"}, {"1", "2"}},
      {"Move items\nAdd item\nDelete item\nEdit item\nClear list\na\n", "1", {"a"}, {"1"}},
      {"Move items\r\n", "1\r\n", {"Move items"}, {"1"}},
  };
  for (const auto& row : rows) {
    fs().put(at("name.qdx"), row.names);
    fs().put(at("link.qdx"), row.links);
    if (row.links == "<missing>") fs().deleteFile(at("link.qdx"));
    form().loadlist();
    EXPECT_EQ(names(), row.loadedNames) << row.names.substr(0, 10);
    EXPECT_EQ(links(), row.loadedLinks) << row.names.substr(0, 10);
    EXPECT_EQ(form().mmlist.items(), names());
    EXPECT_EQ(form().mmlist.itemIndex(), names().empty() ? -1 : 0);
  }
  EXPECT_TRUE(boxes().shown().empty());
}

// A shortcut is named by its target when linking directly; ".LNK" is not
// ".lnk", so that one names the link itself.
TEST_F(LinkStoreTest, MissingNameFileRebuildsNamesFromTheLinksWithoutWriting) {
  vars().dropext = vars().ldirect = true;
  os.shellLinks.targets["C:\\Desk\\Editor.lnk"] = "C:\\Apps\\editor.exe";
  fs().put(at("link.qdx"), joinLines({"C:\\Games\\", "C:\\", "D:\\Doc\\report.final.txt+lrma",
                                      "C:\\Tools\\edit.exe>:-n", "http://example.com/",
                                      "C:\\Desk\\Editor.lnk", "C:\\Desk\\Other.LNK"}));
  form().loadlist();
  EXPECT_EQ(names(),
            (Lines{"Games", "\\", "report.final", "edit", "//example", "editor", "Other"}));
  EXPECT_FALSE(fs().fileExists(at("name.qdx")));

  // Without dropext the whole target stands, parameters and suffix gone.
  vars().dropext = false;
  form().loadlist();
  EXPECT_EQ(names()[3], "C:\\Tools\\edit.exe");
  EXPECT_EQ(names()[2], "D:\\Doc\\report.final.txt");
}

TEST_F(LinkStoreTest, ListsOutOfStepAskAndNoNamesTheLinksByTheirFiles) {
  vars().dropext = true;
  putFileset("", {"a", "b", "c"},
             {"C:\\1.exe", "C:\\2.exe", "C:\\3.exe", "D:\\Doc\\four.txt+lrmi", "E:\\Five\\"});
  boxes().expect(Answer::No,
                 "(This will remove 2 unassigned link(s)). Clicking No will re-assign the links "
                 "as their file names.");
  form().loadlist();
  // The repair takes the file name only: a folder link gets an empty name.
  EXPECT_EQ(names(), (Lines{"a", "b", "c", "four", ""}));

  boxes().expect(Answer::Cancel);  // anything but Yes counts as No
  form().loadlist();
  EXPECT_EQ(names().size(), 5u);

  boxes().expect(Answer::Yes);
  form().loadlist();
  EXPECT_EQ(links(), (Lines{"C:\\1.exe", "C:\\2.exe", "C:\\3.exe"}));

  // More names than links, old headings out of order: only the leading ones go, and the
  // question repairs the rest.
  putFileset("", {"Add item", "Move items", "a"}, {"1"});
  boxes().expect(Answer::Yes, "(This will remove 1 unlinked items");
  form().loadlist();
  EXPECT_EQ(names(), Lines{"Move items"});
  // No keeps every name, each one beyond the links beside an empty link.
  putFileset("", {"a", "b", "c"}, {"C:\\1.exe"});
  boxes().expect(Answer::No, "(This will remove 2 unlinked items");
  form().loadlist();
  EXPECT_EQ(names(), (Lines{"a", "b", "c"}));
  EXPECT_EQ(links(), (Lines{"C:\\1.exe", "", ""}));
}

TEST_F(LinkStoreTest, RuleCRemovesTheSuffixesOnceEachInOrder) {
  vars().dropext = false;
  EXPECT_EQ(form().nameRuleC("C:\\a\\x.exe+lrmi+lrma"), "x.exe");
  EXPECT_EQ(form().nameRuleC("C:\\a\\x.exe+lrma+lrmi"), "x.exe+lrma");
  EXPECT_EQ(form().nameRuleC("C:\\a\\x.exe>:c:\\doc\\y.txt"), "y.txt");
  EXPECT_EQ(form().nameRuleB("C:\\a\\x.exe>:-y"), "C:\\a\\x.exe>:-y");
  vars().dropext = true;
  // The file name starts after the last backslash or colon, the separator's included.
  EXPECT_EQ(form().nameRuleB("C:\\a\\x.exe>:-y.z"), "-y");
  EXPECT_EQ(form().nameRuleA("+lrma"), "");
}

TEST_F(LinkStoreTest, SavingWritesCrLfAndOnlyTheFilesThatChanged) {
  fs().put(at("name.qdx"), "One\rTwo\r");
  fs().put(at("link.qdx"), "C:\\1.exe\rC:\\2.exe\r");
  form().loadlist();
  form().List1.add("Three");
  form().link1.add("C:\\3.exe");
  form().savelist();
  EXPECT_EQ(fs().get(at("name.qdx")), "One\r\nTwo\r\nThree\r\n");
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\1.exe\r\nC:\\2.exe\r\nC:\\3.exe\r\n");
  // Unchanged files are not written, so a read-only folder saves without complaint.
  const int writes = fs().writeCount(at("name.qdx"));
  fs().makeReadOnly(kBase);
  form().savelist();
  fs().clearFailures();
  // What the list was loaded from is known without reading it again, until
  // another program changes the file: then the list is written over it.
  fs().put(at("link.qdx"), "C:\\b.exe\r\n");
  form().savelist();
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\1.exe\r\nC:\\2.exe\r\nC:\\3.exe\r\n");
  EXPECT_EQ(fs().writeCount(at("name.qdx")), writes);
}

TEST_F(LinkStoreTest, AListMuchSmallerThanTheSavedOneAsksBeforeOverwriting) {
  Lines many;
  for (int i = 0; i < 12; ++i) many.push_back("x" + std::to_string(i));
  putFileset("", many, many);
  form().loadlist();
  setList({"only"}, {"only"});

  boxes().expect(Answer::No, "Your saved fileset is much smaller than your active list.");
  form().savelist();
  EXPECT_EQ(linksIn("").size(), 12u);

  boxes().expect(Answer::Yes);
  form().savelist();
  EXPECT_EQ(fs().get(at("link.qdx")), "only\r\n");

  // After deleting or clearing, the save does not ask; ten fewer never asks.
  putFileset("", many, many);
  setList({}, {});
  vars().noconfirmsave = true;
  form().savelist();
  EXPECT_EQ(fs().get(at("link.qdx")), "");
  EXPECT_FALSE(vars().noconfirmsave);  // it covers exactly one save
  putFileset("", many, many);
  setList({"a", "b"}, {"a", "b"});
  form().savelist();
  EXPECT_EQ(fs().get(at("name.qdx")), "a\r\nb\r\n");
}

}  // namespace
}  // namespace trovik::test
