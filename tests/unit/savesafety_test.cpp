// Every save is all or nothing, whichever change to the disk fails: each save
// is run again and again with its first, second, third... change failing,
// once as a failure the program goes on from, and once as the moment the
// program stops (nothing after it reaches the disk), followed by the next
// start. The files it writes must then hold their old contents together or
// their new contents together, and no scratch, backup or journal file stays.
#include <functional>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

const std::string kNames = std::string(kBase) + "name.qdx";
const std::string kLinks = std::string(kBase) + "link.qdx";
const std::string kIni = std::string(kBase) + "Trovik.ini";
const std::string kOut = "C:\\Out\\";

struct Save {
  const char* what;
  std::vector<std::string> files;                  // written together
  std::function<void(ExtensionHarness&)> prepare;  // old files on disk, new state in memory
  std::function<void(ExtensionHarness&)> run;      // the save itself
};

std::vector<std::string> contents(ExtensionHarness& h, const std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const auto& f : files) out.push_back(h.fs().get(f));
  return out;
}

void expectNoLeftovers(ExtensionHarness& h, const std::string& context) {
  for (const auto& f : h.fs().allFiles())
    for (const char* end : {".new", ".old", ".txn"})
      EXPECT_FALSE(f.size() > 4 && f.compare(f.size() - 4, 4, end) == 0) << context << ": " << f;
}

void runEveryFailure(const Save& save) {
  std::vector<std::string> before, after;
  {
    ExtensionHarness h;
    save.prepare(h);
    before = contents(h, save.files);
    save.run(h);
    after = contents(h, save.files);
  }
  ASSERT_NE(before, after) << save.what << " changes nothing";
  for (bool crash : {false, true}) {
    for (int n = 1;; ++n) {
      ExtensionHarness h;
      save.prepare(h);
      h.fs().failChange(n, crash);
      try {
        save.run(h);
      } catch (const IoError&) {
      }
      const bool hit = h.fs().changes() >= n;
      h.fs().clearFailures();
      const std::string context = std::string(save.what) +
                                  (crash ? ", stopped at change " : ", failed change ") +
                                  std::to_string(n);
      std::vector<std::string> now = contents(h, save.files);
      if (!crash) {
        EXPECT_TRUE(now == before || now == after) << context;
      }
      recoverFilesAtomic(h.fs(), save.files);  // the next start
      now = contents(h, save.files);
      EXPECT_TRUE(now == before || now == after) << context << ", at the next start";
      expectNoLeftovers(h, context);
      if (!hit) {
        EXPECT_EQ(now, after) << context;
        break;
      }
    }
  }
}

void listPair(ExtensionHarness& h) {
  h.fs().put(kNames, "One\r\nTwo\r\nThree\r\n");
  h.fs().put(kLinks, "1\r\n2\r\n3\r\n");
  h.form().List1.setItems({"Two", "One", "Four"});
  h.form().link1.setItems({"2", "1", "4"});
}

TEST(SaveSafety, TheListPairIsOldAndOldOrNewAndNew) {
  runEveryFailure(
      {"savelist", {kNames, kLinks}, listPair, [](ExtensionHarness& h) { h.form().savelist(); }});
  // Only one of the pair changes: it is replaced on its own.
  runEveryFailure({"savelist of the names only",
                   {kNames, kLinks},
                   [](ExtensionHarness& h) {
                     listPair(h);
                     h.form().link1.setItems({"1", "2", "3"});
                   },
                   [](ExtensionHarness& h) { h.form().savelist(); }});
  // A fileset without its names file gets both at once.
  runEveryFailure({"savelist creating the names",
                   {kNames, kLinks},
                   [](ExtensionHarness& h) {
                     listPair(h);
                     h.fs().deleteFile(kNames);
                   },
                   [](ExtensionHarness& h) { h.form().savelist(); }});
}

TEST(SaveSafety, ExportReplacesTheTargetFilesetWholeOrNotAtAll) {
  runEveryFailure({"export",
                   {kOut + "link.qdx", kOut + "name.qdx"},
                   [](ExtensionHarness& h) {
                     listPair(h);
                     h.fs().put(kOut + "link.qdx", "old link\r\n");
                     h.fs().put(kOut + "name.qdx", "old name\r\n");
                     h.os.folderDialog.expect(kOut);
                     h.boxes().expect(Answer::Yes, "already exists");
                   },
                   [](ExtensionHarness& h) { h.form().Export1Click(); }});
}

TEST(SaveSafety, TheOptionsAndTheExtensionListAreWholeFiles) {
  runEveryFailure({"saveformstate",
                   {kIni},
                   [](ExtensionHarness& h) {
                     h.fs().put(kIni, "[Form]\r\nFormWidth=300\r\nMaximized=0\r\n");
                     h.form().Form1.setBounds({0, 0, 400, 300});
                   },
                   [](ExtensionHarness& h) { h.form().saveformstate(); }});
  runEveryFailure({"removing an extension",
                   {std::string(kBase) + "vp2.qdx"},
                   [](ExtensionHarness& h) {
                     h.addDll('A', extension<'A'>());
                     h.installed({ExtensionHarness::record('A', ""), "",
                                  ExtensionHarness::record('A', "x|after"), ""});
                     h.app.OptionsForm.loadvplist();
                     h.app.OptionsForm.vplist.setItemIndex(0);
                   },
                   [](ExtensionHarness& h) { h.app.OptionsForm.vpremoveClick(); }});
}

}  // namespace
}  // namespace trovik::test
