// Sorting the main list: the keys, the order, the check marks, Reverse, and
// the order compared with inserting the items one by one.
#include <gtest/gtest.h>

#include <random>

#include "core/entry.h"
#include "harness.h"
#include "mainwindow/sorting.h"

namespace trovik::test {
namespace {

using Lines = std::vector<std::string>;

struct SortTest : ::testing::Test, AppHarness {
  // Items as name and link pairs; the link defaults to a marker of the name,
  // so the test can see that each link stayed with its name.
  void fill(const Lines& names, Lines links = {}) {
    if (links.empty())
      for (const auto& n : names) links.push_back("C:\\" + n + ".exe");
    form().List1.setItems(names);
    form().link1.setItems(links);
  }
  const Lines& names() { return form().List1.items(); }
  const Lines& links() { return form().link1.items(); }
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
  const std::string app = "C:\\Tools\\app.exe+lrma";
  EXPECT_EQ(key(SortKey::FileName, app), "app.exe");
  EXPECT_EQ(key(SortKey::FilePath, app), "C:\\Tools\\");
  EXPECT_EQ(key(SortKey::FileType, app), ".exe");
  EXPECT_EQ(key(SortKey::FileName, "C:\\Tools\\edit.exe>:C:\\a.txt"),
            "edit.exe");  // not the parameter's
  EXPECT_EQ(key(SortKey::LinkName, app, "My App"), "My App");

  // A folder is known by its own name.
  EXPECT_EQ(key(SortKey::FileName, "D:\\Music\\"), "Music");
  EXPECT_EQ(key(SortKey::FilePath, "D:\\Music\\"), "D:\\Music\\");
  EXPECT_EQ(key(SortKey::FileType, "D:\\Music\\"), "");
  EXPECT_EQ(key(SortKey::FileType, "D:\\My.Music\\track"), "");  // the dot is in a directory

  // An address splits at the scheme's colon.
  EXPECT_EQ(key(SortKey::FileName, "http://example.com/page"), "//example.com/page");
  EXPECT_EQ(key(SortKey::FilePath, "http://example.com/page"), "http:");

  // A multirun by its first member, without its forced-order mark and run mode.
  const std::string group = "+fC:\\Zed\\b.exe>:-x+lrmi|C:\\Abc\\a.txt|";
  EXPECT_EQ(key(SortKey::FileName, group), "b.exe");
  EXPECT_EQ(key(SortKey::FilePath, group), "C:\\Zed\\");
  EXPECT_EQ(key(SortKey::FileType, group), ".exe");

  // When the target has neither, the drive of the entry stands in.
  EXPECT_EQ(key(SortKey::FileName, "C:\\\\"), "C:");
  EXPECT_EQ(key(SortKey::FileName, "\\\\server\\share\\\\"), "\\\\server\\share");
  EXPECT_EQ(key(SortKey::FilePath, "notes.txt"), "");
  EXPECT_EQ(key(SortKey::FilePath, "tool.exe|C:\\x.exe|"), "");  // the drive of the whole entry
}

TEST(SortDrive, LetterShareOrNothing) {
  EXPECT_EQ(driveOf("C:\\x\\y"), "C:");
  EXPECT_EQ(driveOf("z:"), "z:");
  EXPECT_EQ(driveOf("\\\\srv\\share\\dir\\f.txt"), "\\\\srv\\share");
  EXPECT_EQ(driveOf("\\\\srv\\share"), "\\\\srv\\share");
  EXPECT_EQ(driveOf("\\\\srv"), "\\\\srv");
  EXPECT_EQ(driveOf("\\x\\y"), "");
  EXPECT_EQ(driveOf("http://a"), "");
  EXPECT_EQ(driveOf(""), "");
}

TEST(SortOrder, OnlyPlainLettersFoldAndBytesCompareUnsigned) {
  auto sorted = [](Lines keys, bool descending = false) {
    Lines out;
    for (int i : sortedOrder(keys, descending)) out.push_back(keys[static_cast<size_t>(i)]);
    return out;
  };
  EXPECT_EQ(sorted({"beta", "Alpha", "alpha2"}), (Lines{"Alpha", "alpha2", "beta"}));
  // "Z" folds to "z", which comes after "_"; unfolded it would come before.
  EXPECT_EQ(sorted({"Zed", "_x", "abc"}), (Lines{"_x", "abc", "Zed"}));
  // Letters beyond A to Z keep their case, and bytes above 127 come after all of ASCII.
  EXPECT_EQ(sorted({"\xE9t\xE9", "\xC9t\xE9", "zoo"}), (Lines{"zoo", "\xC9t\xE9", "\xE9t\xE9"}));
  // A prefix comes first, and last when reversed.
  EXPECT_EQ(sorted({"abc", "ab", "abd"}), (Lines{"ab", "abc", "abd"}));
  EXPECT_EQ(sorted({"abc", "ab", "abd"}, true), (Lines{"abd", "abc", "ab"}));
  // Equal keys keep their order either way.
  EXPECT_EQ(sortedOrder({"b", "B", "a", "b"}, false), (std::vector<int>{2, 0, 1, 3}));
  EXPECT_EQ(sortedOrder({"b", "B", "a", "b"}, true), (std::vector<int>{0, 1, 3, 2}));
  EXPECT_TRUE(sortedOrder({}, false).empty());
}

TEST_F(SortTest, LinkNamesSortWithTheirLinksAndTheSnapbarCopy) {
  fill({"beta", "b", "Alpha", "B", "alpha2"});
  form().List1.setItemIndex(0);  // beta
  form().Linkname1Click(&form().Linkname);
  EXPECT_EQ(names(), (Lines{"Alpha", "alpha2", "b", "B", "beta"}));
  expectPaired();
  // The current item stays the one the user had, here and in the Snapbar list.
  EXPECT_EQ(form().List1.itemIndex(), 4);
  EXPECT_EQ(form().mmlist.itemIndex(), 4);
  // Without RetainSortOrder the click sorts once and remembers nothing.
  EXPECT_FALSE(form().Linkname.checked());
  // Nothing is saved until the next save.
  EXPECT_EQ(fs().get(std::string(kBase) + "link.qdx"), "<missing>");
}

TEST_F(SortTest, FileTypePutsEntriesWithoutExtensionFirstAndReversedLast) {
  fill({"doc", "folder", "tool", "site"},
       {"C:\\a\\doc.txt", "D:\\Music\\", "C:\\bin\\tool", "http://example.com/index.htm"});
  form().Filetype1Click(nullptr);
  EXPECT_EQ(names(), (Lines{"folder", "tool", "site", "doc"}));
  EXPECT_EQ(links()[0], "D:\\Music\\");

  form().ReverseSort.setChecked(true);
  form().Filetype1Click(nullptr);
  EXPECT_EQ(names(), (Lines{"doc", "site", "folder", "tool"}));
  EXPECT_EQ(links()[3], "C:\\bin\\tool");
}

TEST_F(SortTest, CheckMarksFollowMenuClicksOnlyWithRetainSortOrder) {
  vars().retainsort = true;
  fill({"b", "a"});
  form().Filepath.click();
  EXPECT_TRUE(form().Filepath.checked());
  form().Filename.click();
  EXPECT_TRUE(form().Filename.checked());
  EXPECT_FALSE(form().Filepath.checked());
  EXPECT_FALSE(form().Linkname.checked());
  EXPECT_FALSE(form().Filetype.checked());
  EXPECT_EQ(names(), (Lines{"a", "b"}));

  // Clicking the checked item unchecks it and still sorts by it once.
  fill({"d", "c"});
  form().Filename.click();
  EXPECT_FALSE(form().Filename.checked());
  EXPECT_EQ(names(), (Lines{"c", "d"}));

  // resort's calls come without a Sender and leave the marks alone.
  form().Linkname.setChecked(true);
  fill({"y", "x"});
  form().resort();
  EXPECT_EQ(names(), (Lines{"x", "y"}));
  EXPECT_TRUE(form().Linkname.checked());

  // Reverse is never touched by the key items.
  form().ReverseSort.setChecked(true);
  form().Filetype.click();
  EXPECT_TRUE(form().ReverseSort.checked());
}

TEST_F(SortTest, ResortAppliesTheRememberedKeyOnlyWithRetainSortOrder) {
  form().Filename.setChecked(true);
  fill({"b", "a"});
  form().resort();
  EXPECT_EQ(names(), (Lines{"b", "a"}));

  vars().retainsort = true;
  form().resort();
  EXPECT_EQ(names(), (Lines{"a", "b"}));

  form().sortoff();
  for (auto* m : {&form().Linkname, &form().Filename, &form().Filepath, &form().Filetype,
                  &form().ReverseSort})
    EXPECT_FALSE(m->checked()) << m->name();
  fill({"b", "a"});
  form().resort();
  EXPECT_EQ(names(), (Lines{"b", "a"}));
}

TEST_F(SortTest, ReverseTurnsTheListOverOrTogglesTheDirection) {
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

TEST_F(SortTest, ListsOutOfStepAreNeverReordered) {
  fill({"b", "a", "c"}, {"C:\\b.exe", "C:\\a.exe"});
  form().Linkname1Click(nullptr);
  form().ReverseSort.click();
  EXPECT_EQ(names(), (Lines{"b", "a", "c"}));
  EXPECT_EQ(links(), (Lines{"C:\\b.exe", "C:\\a.exe"}));
}

TEST_F(SortTest, ExtensionsSeeTheSenderAndCanReplaceTheSort) {
  std::vector<std::pair<std::string, void*>> seen;
  bool overrideSort = false;
  app.events.setHook([&](std::string_view name, bool before, bool over, bool) {
    if (before && name.substr(0, 5) == "form1")
      seen.push_back({std::string(name), app.events.slots.cobject});
    return over && overrideSort && name == "form1filenameclick";
  });
  vars().retainsort = true;
  form().Filename.setChecked(true);
  fill({"b", "a"});
  form().resort();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, "form1filenameclick");
  EXPECT_EQ(seen[0].second, nullptr);
  form().Filename.click();
  EXPECT_EQ(seen.back().second, &form().Filename);

  overrideSort = true;
  fill({"b", "a"});
  form().Filename.click();
  EXPECT_EQ(names(), (Lines{"b", "a"}));
  EXPECT_FALSE(form().Filename.checked());  // the marks are the handler's own work too
}

TEST_F(SortTest, EachItemsKeyIsWorkedOutOnce) {
  int ismr = 0;
  app.events.setHook([&](std::string_view name, bool before, bool, bool) {
    if (before && name == "ismr") ++ismr;
    return false;
  });
  Lines many;
  for (int i = 0; i < 200; ++i) many.push_back("n" + std::to_string((i * 7919) % 200));
  fill(many);
  form().Filename1Click(nullptr);
  EXPECT_EQ(ismr, 200);
  expectPaired();
}

// ---- the order compared with the one-by-one insertion it stands for -------

// The comparison as the list describes it: A to Z lowered, character codes,
// a prefix before the longer text.
int compareKeys(const std::string& a, const std::string& b) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int x = fold(static_cast<unsigned char>(a[i]));
    const int y = fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string afterLastSeparator(const std::string& s) {
  const size_t p = s.find_last_of("\\:");
  return p == std::string::npos ? s : s.substr(p + 1);
}
std::string upToLastSeparator(const std::string& s) {
  const size_t p = s.find_last_of("\\:");
  return p == std::string::npos ? "" : s.substr(0, p + 1);
}
std::string referenceDrive(const std::string& s) {
  if (s.size() >= 2 && s[1] == ':') return s.substr(0, 2);
  if (s.rfind("\\\\", 0) != 0) return "";
  size_t p = s.find('\\', 2);
  if (p != std::string::npos) p = s.find('\\', p + 1);
  return p == std::string::npos ? s : s.substr(0, p);
}

// A key straight from its description, computed afresh for every comparison.
std::string referenceKey(SortKey k, const std::string& name, const std::string& e) {
  if (k == SortKey::LinkName) return name;
  std::string t = e;
  if (e.find('|') != std::string::npos) {
    // The first member as the Add/Edit dialog lists it.
    const size_t end = e.find('|');
    std::string m = e.substr(0, end);
    if (m.rfind("+f", 0) == 0) m.erase(0, 2);
    auto cut = [&m](const std::string& suffix) {
      if (m.size() >= suffix.size() &&
          m.compare(m.size() - suffix.size(), suffix.size(), suffix) == 0)
        m.erase(m.size() - suffix.size());
    };
    cut("+lrma");
    cut("+lrmi");
    t = m;
  }
  t = entry::removecommands(t, ">:");
  if (k == SortKey::FileName) {
    std::string n = afterLastSeparator(t);
    if (n.empty()) n = entry::extractleafdir(e, ">:");
    if (n.empty()) n = referenceDrive(e);
    return n;
  }
  if (k == SortKey::FilePath) {
    const std::string p = upToLastSeparator(t);
    return p.empty() ? referenceDrive(e) : p;
  }
  const std::string n = afterLastSeparator(t);
  const size_t dot = n.rfind('.');
  return dot == std::string::npos ? "" : n.substr(dot);
}

// For n = 1 up to the last item, item n moves in front of the first earlier
// item it belongs before, in both lists alike.
void insertionSort(Lines& names, Lines& links, SortKey k, bool descending) {
  for (size_t n = 1; n < names.size(); ++n) {
    for (size_t j = 0; j < n; ++j) {
      const int c =
          compareKeys(referenceKey(k, names[n], links[n]), referenceKey(k, names[j], links[j]));
      if (descending ? c > 0 : c < 0) {
        const std::string name = names[n], link = links[n];
        names.erase(names.begin() + static_cast<long>(n));
        links.erase(links.begin() + static_cast<long>(n));
        names.insert(names.begin() + static_cast<long>(j), name);
        links.insert(links.begin() + static_cast<long>(j), link);
        break;
      }
    }
  }
}

// Entries of every shape, drawn from small pools so that keys often tie.
std::string randomEntry(std::mt19937& rng) {
  auto pick = [&rng](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
  };
  const std::vector<std::string> dirs = {"C:\\Tools\\",      "c:\\tools\\",  "D:\\Music\\", "E:\\",
                                         "\\\\srv\\share\\", "C:\\My.Dir\\", "C:\\a\\\\",   ""};
  const std::vector<std::string> files = {"app.exe", "App.EXE",       "notes.txt", "readme", "z",
                                          "_x.bat",  "\xE9t\xE9.doc", "",          "Music"};
  const std::vector<std::string> tails = {
      "", "", "+lrma", "+lrmi", ">:-n", ">:C:\\a.txt+lrma", "+lrmi+lrma"};
  auto single = [&] {
    switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
      case 0:
        return pick({"http://example.com/page", "www.b.org", "mailto:x@y", "ftp://h/f.zip"});
      case 1:
        return pick(dirs);
      case 2:
        return pick({"+lrma", "C:", "\\\\srv\\share", "", "tool"});
      default:
        return pick(dirs) + pick(files) + pick(tails);
    }
  };
  if (std::uniform_int_distribution<int>(0, 3)(rng) != 0) return single();
  std::string group = std::uniform_int_distribution<int>(0, 1)(rng) ? "+f" : "";
  const int members = std::uniform_int_distribution<int>(0, 3)(rng);
  for (int i = 0; i < members; ++i) group += single() + "|";
  if (members == 0) group += "|";
  if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) group += single();  // no member
  return group;
}

TEST_F(SortTest, EveryKeyAndDirectionGivesTheOrderOfOneByOneInsertion) {
  std::mt19937 rng(20261206);
  const std::vector<std::string> namePool = {"alpha", "Alpha", "beta",   "b",         "B",
                                             "",      "zeta",  "_under", "\xC9t\xE9", "alpha2"};
  for (int round = 0; round < 150; ++round) {
    const size_t n = std::uniform_int_distribution<size_t>(0, 40)(rng);
    Lines names, links;
    for (size_t i = 0; i < n; ++i) {
      // A numbered suffix on some names tells equal keys apart in the result.
      names.push_back(namePool[rng() % namePool.size()] + (rng() % 2 ? "" : std::to_string(i)));
      links.push_back(randomEntry(rng));
    }
    for (SortKey k : {SortKey::LinkName, SortKey::FileName, SortKey::FilePath, SortKey::FileType}) {
      for (bool descending : {false, true}) {
        Lines expectedNames = names, expectedLinks = links;
        insertionSort(expectedNames, expectedLinks, k, descending);
        form().List1.setItems(names);
        form().link1.setItems(links);
        form().ReverseSort.setChecked(descending);
        switch (k) {
          case SortKey::LinkName:
            form().Linkname1Click(nullptr);
            break;
          case SortKey::FileName:
            form().Filename1Click(nullptr);
            break;
          case SortKey::FilePath:
            form().filepath1Click(nullptr);
            break;
          case SortKey::FileType:
            form().Filetype1Click(nullptr);
            break;
        }
        ASSERT_EQ(form().List1.items(), expectedNames)
            << "round " << round << " key " << static_cast<int>(k)
            << (descending ? " reversed" : "");
        ASSERT_EQ(form().link1.items(), expectedLinks) << "round " << round;
      }
    }
  }
}

}  // namespace
}  // namespace trovik::test
