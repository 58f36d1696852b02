// Sorting the main list: the keys, the order, the check marks and Reverse.
#include "harness.h"
#include "mainwindow/sorting.h"

namespace trovik::test {
namespace {

struct SortTest : ::testing::Test, AppHarness {
  // Items as name and link pairs; the link defaults to a marker of the name,
  // so the test can see that each link stayed with its name.
  void fill(const Lines& names, Lines links = {}) {
    if (links.empty())
      for (const auto& n : names) links.push_back("C:\\" + n + ".exe");
    setList(names, links);
  }
  std::string key(SortKey k, const std::string& link, const std::string& name = "n") {
    return sortKeyOf(k, name, link, app.syntax, app.vars);
  }
  void expectPaired() {
    ASSERT_EQ(names().size(), links().size());
    for (size_t i = 0; i < names().size(); ++i) EXPECT_EQ(links()[i], "C:\\" + names()[i] + ".exe");
    EXPECT_EQ(form().mmlist.items(), names());
  }
};

TEST_F(SortTest, KeysOfFilesFoldersAddressesAndMultiruns) {
  using K = SortKey;
  const std::string app = "C:\\Tools\\app.exe+lrma";
  const std::string group = "+fC:\\Zed\\b.exe>:-x+lrmi|C:\\Abc\\a.txt|";
  const struct {
    SortKey k;
    std::string link, expected;
  } cases[] = {
      {K::FileName, app, "app.exe"},
      {K::FilePath, app, "C:\\Tools\\"},
      {K::FileType, app, ".exe"},
      {K::FileName, "C:\\Tools\\edit.exe>:C:\\a.txt", "edit.exe"},  // not the parameter's
      // Only one run mode goes from a plain link; a group member loses both.
      {K::FileType, "C:\\x.exe+lrmi+lrma", ".exe+lrmi"},
      {K::FileType, "C:\\x.exe+lrmi+lrma|", ".exe"},
      // A folder is known by its own name.
      {K::FileName, "D:\\Music\\", "Music"},
      {K::FilePath, "D:\\Music\\", "D:\\Music\\"},
      {K::FileType, "D:\\Music\\", ""},
      {K::FileType, "D:\\My.Music\\track", ""},  // the dot is in a directory
      // An address splits at the scheme's colon.
      {K::FileName, "http://example.com/page", "//example.com/page"},
      {K::FilePath, "http://example.com/page", "http:"},
      {K::FileName, "mailto:x@y", "x@y"},
      {K::FileType, "www.b.org", ".org"},
      // A multirun by its first member, without its forced-order mark and run mode.
      {K::FileName, group, "b.exe"},
      {K::FilePath, group, "C:\\Zed\\"},
      {K::FileType, group, ".exe"},
      // When the target has neither, the drive of the entry stands in.
      {K::FileName, "C:\\\\", "C:"},
      {K::FileName, "C:", "C:"},
      {K::FileName, "\\\\server\\share\\\\", "\\\\server\\share"},
      {K::FilePath, "notes.txt", ""},
      {K::FilePath, "tool.exe|C:\\x.exe|", ""},  // the drive of the whole entry
      // A group without a first member: the entry's leaf directory.
      {K::FileName, "+f|C:\\a.exe|", "\\a.exe|"},
      {K::FileName, "|", "|"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(key(c.k, c.link), c.expected) << static_cast<int>(c.k) << " " << c.link;
  EXPECT_EQ(key(K::LinkName, app, "My App"), "My App");

  // The drive: a letter, a share (server and share name) or nothing.
  const std::pair<std::string, std::string> drives[] = {
      {"C:\\x\\y", "C:"},
      {"z:", "z:"},
      {"\\\\srv\\share\\dir\\f.txt", "\\\\srv\\share"},
      {"\\\\srv\\share", "\\\\srv\\share"},
      {"\\\\srv", "\\\\srv"},
      {"\\x\\y", ""},
      {"http://a", ""},
      {"", ""}};
  for (const auto& [path, drive] : drives) EXPECT_EQ(driveOf(path), drive) << path;
}

// Only A to Z fold, bytes above 127 come after all of ASCII, a prefix comes first and equal keys
// keep their order; the check marks and resort follow the chosen key only with RetainSortOrder.
TEST_F(SortTest, LinkNamesSortWithTheirLinksAndTheMarksFollowOnlyARetainedOrder) {
  fill({"beta", "b", "\xE9t\xE9", "Alpha", "_x", "\xC9t\xE9", "B", "Zed", "alpha2"});
  form().List1.setItemIndex(0);  // beta
  form().Linkname1Click(&form().Linkname);
  EXPECT_EQ(names(),
            (Lines{"_x", "Alpha", "alpha2", "b", "B", "beta", "Zed", "\xC9t\xE9", "\xE9t\xE9"}));
  expectPaired();
  // The current item stays the one the user had, here and in the Snapbar list.
  EXPECT_EQ(form().List1.itemIndex(), 5);
  EXPECT_EQ(form().mmlist.itemIndex(), 5);
  // Without RetainSortOrder the click sorts once and remembers nothing.
  EXPECT_FALSE(form().Linkname.checked());
  // Nothing is saved until the next save.
  EXPECT_EQ(fs().get(std::string(kBase) + "link.qdx"), "<missing>");

  form().Filename.setChecked(true);
  fill({"b", "a"});
  form().resort();
  EXPECT_EQ(names(), (Lines{"b", "a"}));

  vars().retainsort = true;
  form().Filepath.click();
  form().Filename.click();
  for (auto* m : {&form().Linkname, &form().Filename, &form().Filepath, &form().Filetype})
    EXPECT_EQ(m->checked(), m == &form().Filename) << m->name();
  EXPECT_EQ(names(), (Lines{"a", "b"}));
  // resort's calls come without a Sender and leave the marks alone.
  fill({"d", "c"});
  form().resort();
  EXPECT_EQ(names(), (Lines{"c", "d"}));
  EXPECT_TRUE(form().Filename.checked());
  // Clicking the checked item unchecks it and still sorts by it once.
  fill({"d", "c"});
  form().Filename.click();
  EXPECT_FALSE(form().Filename.checked());
  EXPECT_EQ(names(), (Lines{"c", "d"}));

  // sortoff clears every mark, Reverse too.
  form().Filetype.setChecked(true);
  form().ReverseSort.setChecked(true);
  form().sortoff();
  for (auto* m : {&form().Linkname, &form().Filename, &form().Filepath, &form().Filetype,
                  &form().ReverseSort})
    EXPECT_FALSE(m->checked()) << m->name();
}

TEST_F(SortTest, ReverseTurnsTheListOverOrTogglesTheDirection) {
  // Lists out of step are never reordered.
  fill({"b", "a", "c"}, {"C:\\b.exe", "C:\\a.exe"});
  form().Linkname1Click(nullptr);
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"b", "a", "c"}));
  EXPECT_EQ(links(), (Lines{"C:\\b.exe", "C:\\a.exe"}));

  fill({"a", "c", "b"});
  vars().sortbreak = true;
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"b", "c", "a"}));
  expectPaired();
  EXPECT_FALSE(form().ReverseSort.checked());
  EXPECT_FALSE(vars().sortbreak);
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"a", "c", "b"}));

  // Remembered order and no key: only the mark changes.
  vars().retainsort = true;
  form().ReverseSort.click();
  EXPECT_TRUE(form().ReverseSort.checked());
  EXPECT_EQ(names(), (Lines{"a", "c", "b"}));
  // With a key the list follows the new direction at once.
  form().Linkname.setChecked(true);
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"a", "b", "c"}));
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"c", "b", "a"}));
  expectPaired();
}

}  // namespace
}  // namespace trovik::test
