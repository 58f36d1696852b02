// Saves that survive any failure. Every save that writes a fileset's pair of
// files runs in a program started the real way, with each of its changes to
// the disk in turn failing alone, stopping the program there, stopping it
// halfway through a write, or taking the disk away while the program goes on.
// Then comes what follows in life: the next start (itself failed and stopped
// at each of its own changes, then started again), or, in the program that
// went on once the disk is back, each other way into that fileset. After all
// of it the pair is old and old or new and new, nothing outside it changed,
// nothing is left beside it, and no start took it for missing or new.
#include <algorithm>
#include <functional>
#include <set>

#include "harness.h"

namespace trovik::test {
namespace {

using Disk = std::map<std::string, std::string>;
using Fault = FakeFileSystem::Fault;

const std::string kWork = AppHarness::at("Work\\");
const std::string kOther = AppHarness::at("Other\\");
const std::string kNew = AppHarness::at("NewFileSet1\\");
const std::string kVictim = "C:\\Outside\\victim.txt";

// A program on a disk: started the way the executable starts it, every box
// answered Yes, drops landing on the tab under x.
struct Program {
  AppHarness h;
  explicit Program(const Disk& disk) {
    h.fs().restore(disk);
    h.boxes().otherwise = Answer::Yes;
    h.view.tab = [](int x, int) { return x / 100; };
  }
  void start() {
    h.app.guarded([&] { h.app.FormCreate(); });
    h.form().qswitch.setBounds({0, 20, 1000, 20});
  }
  TForm1& form() { return h.form(); }
  FilesetManager& manager() { return h.app.OptionsForm.filesets; }
  // The fileset manager with dir shown.
  void show(const std::string& dir) {
    h.app.OptionsForm.showPage(OptionsPage::FilesetManager);
    for (int i = 0; i < manager().filesetlist.count(); ++i)
      if (sameText(h.at(i == 0 ? "" : manager().filesetlist.item(i) + "\\"), dir))
        manager().filesetlist.setItemIndex(i);
    manager().filesetlistClick();
  }
  int tabOf(const std::string& dir) {
    const auto& dirs = form().tabDirectories();
    for (size_t i = 0; i < dirs.size(); ++i)
      if (sameText(dirs[i], dir)) return static_cast<int>(i);
    return -1;
  }
  // Runs a handler as the window runs it: a failure is reported, and stops there.
  void run(const std::function<void()>& work) { h.app.guarded(work); }
};

// The program started, w3 added to the current list and saved with the disk going away at the
// given change.
void stopSavingW3(Program& p, int change) {
  p.start();
  p.form().List1.add("w3");
  p.form().link1.add("C:\\w3.exe");
  p.h.fs().failChange(change, Fault::Stop);
  p.run([&] { p.form().savelist(); });
  p.h.fs().clearFailures();
}

Disk world() {
  AppHarness h;
  const std::string today = h.os.clock.formatShortDate(h.os.clock.today());
  h.options("[Form]\r\nCurrentFileSet=Work\r\nUpdateChecked=" + today +
            "\r\n[Options]\r\nUserLevel=2\r\nQuickSwitch=1\r\nConfirmFSDelete=0\r\n"
            "ConfirmDelete=0\r\n");
  h.fs().put(h.at("vp2.qdx"), "");
  h.putFileset("", {"b0"}, {"C:\\b0.exe"});
  h.putFileset("Work\\", {"w0", "w1", "w2"}, {"C:\\w0.exe", "C:\\w1.exe", "C:\\w2.exe"});
  h.putFileset("Other\\", {"o0", "o1"}, {"C:\\o0.exe", "C:\\o1.exe"});
  h.fs().put(kVictim, "not Trovik's");
  return h.fs().snapshot();
}

// A save into the fileset target.
struct Save {
  const char* what;
  std::string target;
  std::function<void(Program&)> run;
  // How far each fault is followed. Saves that write the same way as one
  // followed fully meet every fault, and then only a whole next start.
  enum Depth {
    Light,
    Starts,     // the next start also fails and stops at each of its changes
    Everything  // and every other way into the fileset follows a disk gone
                // (not for the current one, whose unsaved list then differs)
  } depth = Light;
};

// Each other way into the fileset dir, in a program that goes on.
struct FollowUp {
  const char* what;
  std::function<void(Program&, const std::string& dir)> run;
};

const std::vector<FollowUp>& followUps() {
  static const std::vector<FollowUp> table = {
      {"switching to it",
       [](Program& p, const std::string& dir) {
         p.form().qswitch.setTabIndex(p.tabOf(dir));
         p.form().qswitchChange();
       }},
      {"renaming it",
       [](Program& p, const std::string& dir) {
         p.show(dir);
         p.run([&] {
           p.manager().filesetlistEdited(p.manager().filesetlist.itemIndex(), "Renamed");
         });
       }},
      {"deleting it",
       [](Program& p, const std::string& dir) {
         p.show(dir);
         p.run([&] { p.manager().deletefsClick(); });
       }},
      {"a drop on its tab",
       [](Program& p, const std::string& dir) {
         p.form().form1wmdropfiles({0x233, 1, 0, 0}, {"C:\\late.txt"}, p.tabOf(dir) * 100 + 10, 25);
       }},
      {"an edit saved into it",
       [](Program& p, const std::string& dir) {
         TAddEdit& d = p.h.app.AddEdit;
         d.EditHome = dir;
         d.EditPending = true;
         p.h.vars().curitem = 0;
         d.lfc.setChecked(false);
         d.itemLabel.setText("edited");
         d.path.setText("C:\\edited.exe");
         d.addlinkClick();
       }},
      {"the manager pasting into it",
       [](Program& p, const std::string& dir) {
         p.show(kBase);
         p.manager().contentslist.setSelected(0, true);
         p.manager().copyiClick();
         p.show(dir);
         p.run([&] { p.manager().pasteiClick(); });
       }},
      {"an export onto it",
       [](Program& p, const std::string& dir) {
         p.h.os.folderDialog.expect(dir.substr(0, dir.size() - 1));
         p.form().Export1Click();
       }},
      {"an import from it",
       [](Program& p, const std::string& dir) {
         p.h.os.folderDialog.expect(dir.substr(0, dir.size() - 1));
         p.form().Import1Click();
       }},
  };
  return table;
}

// A way into another fileset, used as the save into kOther it also is.
Save through(size_t way, const std::string& target = kOther, Save::Depth depth = Save::Light) {
  return {followUps()[way].what, target, [way](Program& p) { followUps()[way].run(p, kOther); },
          depth};
}

const std::vector<Save>& saves() {
  static const std::vector<Save> table = {
      {"the close saving the current list", kWork,
       [](Program& p) {
         p.form().List1.add("w3");
         p.form().link1.add("C:\\w3.exe");
         p.h.app.close();
       },
       Save::Starts},
      through(4, kOther, Save::Everything),  // an edit into the fileset it came from
      through(3),                            // a drop on its tab
      through(5),                            // the fileset manager's paste
      through(6),                            // an export onto it
      through(7, kWork),                     // an import from it into the current one
      {"a new fileset", kNew, [](Program& p) { p.form().NewfilesetClick(); }, Save::Everything},
  };
  return table;
}

std::string pairOf(const Disk& disk, const std::string& dir) {
  std::string pair;
  for (const char* file : {"name.qdx", "link.qdx"}) {
    auto it = disk.find(lower(dir + file));
    pair += it == disk.end() ? "<missing>|" : it->second + "|";
  }
  return pair;
}

// Problems with a disk that should hold the target pair old or new.
std::string problems(const Disk& disk, const std::string& target, const std::string& oldPair,
                     const std::string& newPair, const Disk& before) {
  std::string found;
  const std::string pair = pairOf(disk, target);
  if (pair != oldPair && pair != newPair) found += " mixed pair " + pair + ";";
  for (const auto& [path, content] : disk) {
    for (const char* end : {".new", ".old", ".txn"})
      if (endsWith(path, end)) found += " leftover " + path + ";";
    if (!startsWith(path, lower(target)) && !endsWith(path, "trovik.ini") &&
        (!before.count(path) || before.at(path) != content))
      found += " changed outside " + path + ";";
  }
  for (const auto& [path, content] : before)
    if (!disk.count(path) && !startsWith(path, lower(target))) found += " lost " + path + ";";
  return found;
}

// What tells disk from expected, for the failure message.
std::string difference(const Disk& disk, const Disk& expected) {
  std::string found;
  for (const auto& [path, content] : disk)
    if (!expected.count(path) || expected.at(path) != content)
      found += " " + path + "=" + content.substr(content.find('\n') + 1) + ";";
  for (const auto& [path, content] : expected)
    if (!disk.count(path)) found += " no " + path + ";";
  return found;
}

// The boxes shown that say any of these, for a failure's message.
std::string boxesSaying(ScriptedBoxes& boxes, std::initializer_list<const char*> parts) {
  std::string found;
  for (const auto& b : boxes.shown())
    for (const char* part : parts)
      if (b.text.find(part) != std::string::npos) found += " \"" + b.text.substr(0, 40) + "\"";
  return found;
}
// Boxes that only a start which looked at the files before putting them in
// order would show.
const std::initializer_list<const char*> kFalseAlarms = {"link file is missing", "Welcome"};

// Runs save with its n-th change meeting fault, then, in the program that goes on, the
// follow-up then if any: the disk afterwards, whether the n-th change came at all, and whether
// it was a write.
struct Faulted {
  Disk disk;
  bool hit, write;
};
Faulted faulted(const Save& save, int n, Fault fault, const FollowUp* then = nullptr) {
  Program p(world());
  p.start();
  p.h.fs().failChange(n, fault);
  p.run([&] { save.run(p); });
  const bool hit = p.h.fs().changes() >= n;
  const bool write = p.h.fs().faultHitAWrite();
  p.h.fs().clearFailures();
  if (then) p.run([&] { then->run(p, save.target); });
  return {p.h.fs().snapshot(), hit, write};
}

// The disk as the next start leaves it. A directory left empty by a stop
// holds nothing of anyone's and does not count.
Disk restarted(const Disk& disk) {
  Program p(disk);
  p.start();
  Disk now = p.h.fs().snapshot();
  now.erase(lower(AppHarness::at("Trovik.ini")));
  for (auto it = now.begin(); it != now.end();) {
    const bool empty =
        it->first.back() == '\\' && std::none_of(now.begin(), now.end(), [&](const auto& e) {
          return e.first != it->first && startsWith(e.first, it->first);
        });
    it = empty ? now.erase(it) : std::next(it);
  }
  return now;
}

struct Expected {
  const Save& save;
  std::string oldPair, newPair;
  Disk before;
};

// The next start after a stop, itself failed or stopped at each of its own
// changes, then started again; the points tried.
int startsAfter(const Disk& stopped, const Expected& e, const std::string& at,
                std::set<Disk>& checked) {
  int points = 0;
  for (int m = 0; m == 0 || e.save.depth != Save::Light; ++m) {
    for (Fault fault : {Fault::Fail, Fault::Stop}) {
      if (m == 0 && fault == Fault::Stop) continue;
      ++points;
      Program first(stopped);
      if (m > 0) first.h.fs().failChange(m, fault);
      first.start();
      const bool reached = first.h.fs().changes() >= m;
      first.h.fs().clearFailures();
      // The user closes it: a fileset it could not put in order is not
      // saved over with the empty lists it shows.
      first.h.app.close();
      const Disk closed = first.h.fs().snapshot();
      if (!reached) return points;
      // A state another stop already led to was checked then.
      if (!checked.insert(closed).second) continue;
      Program next(closed);
      next.start();
      const std::string context =
          at + ", next start " +
          (m == 0 ? "whole"
                  : (fault == Fault::Fail ? "failed at " : "stopped at ") + std::to_string(m));
      EXPECT_EQ(problems(next.h.fs().snapshot(), e.save.target, e.oldPair, e.newPair, e.before), "")
          << context;
      EXPECT_EQ(boxesSaying(first.h.boxes(), kFalseAlarms), "") << context;
      EXPECT_EQ(boxesSaying(next.h.boxes(), kFalseAlarms), "") << context;
    }
  }
  return points;
}

TEST(SaveSafety, EverySaveIsWholeOrUndoneWhateverFailsAndWhateverFollows) {
  int points = 0;
  for (const Save& save : saves()) {
    const Disk before = world();
    Program clean(before);
    clean.start();
    clean.run([&] { save.run(clean); });
    const Expected e{save, pairOf(before, save.target),
                     pairOf(clean.h.fs().snapshot(), save.target), before};
    ASSERT_NE(e.oldPair, e.newPair) << save.what << " changes nothing";
    // What each follow-up leaves, and the next start after it, when the
    // save did not happen or happened whole.
    std::vector<Disk> afterOld, afterNew;
    for (const FollowUp& f : save.depth == Save::Everything ? followUps() : std::vector<FollowUp>())
      for (bool whole : {false, true}) {
        Program p(before);
        p.start();
        if (whole) p.run([&] { save.run(p); });
        p.run([&] { f.run(p, save.target); });
        (whole ? afterNew : afterOld).push_back(restarted(p.h.fs().snapshot()));
      }

    std::set<Disk> explored, checked;  // states already tried are not tried again
    for (int n = 1;; ++n) {
      const std::string at = std::string(save.what) + ", change " + std::to_string(n);
      // A failure the program goes on from: undone at once, or, when even
      // that fails, before the fileset's next use.
      const Faulted failed = faulted(save, n, Fault::Fail);
      if (!failed.hit) break;
      ++points;
      if (!problems(failed.disk, save.target, e.oldPair, e.newPair, before).empty()) {
        Program after(failed.disk);
        after.start();
        EXPECT_EQ(problems(after.h.fs().snapshot(), save.target, e.oldPair, e.newPair, before), "")
            << at << " failed";
      }

      // The program stops there, or halfway through that write.
      for (Fault fault : {Fault::Stop, Fault::Tear}) {
        if (fault == Fault::Tear && !failed.write) continue;
        const Disk stopped = faulted(save, n, fault).disk;
        if (!explored.insert(stopped).second) continue;
        points +=
            startsAfter(stopped, e, at + (fault == Fault::Stop ? " stopped" : " torn"), checked);
      }

      // The disk goes away there and comes back while the program goes on:
      // every other way into the fileset first puts it in order.
      for (size_t k = 0; save.depth == Save::Everything && k < followUps().size(); ++k) {
        ++points;
        const Disk now = restarted(faulted(save, n, Fault::Stop, &followUps()[k]).disk);
        EXPECT_TRUE(now == afterOld[k] || now == afterNew[k])
            << at << " with the disk gone, then " << followUps()[k].what << ":"
            << difference(now, afterOld[k]) << "\n  or" << difference(now, afterNew[k]);
      }
    }
  }
  // Every change of every save was met by every fault.
  EXPECT_GT(points, 400);
  std::printf("[ SaveSafety ] %d injection points\n", points);
}

// A journal is only ever about the files of its own folder. One that names
// anything else, as a fileset folder someone sends could, changes nothing
// but its own fileset, says what it ignored, and never stops the start.
TEST(SaveSafety, AJournalNamingFilesOutsideItsFolderIsIgnoredAndReported) {
  Disk disk = world();
  const std::string journals[] = {
      "0\tC:\\Outside\\victim.txt\r\n\r\n",
      "0\t..\\..\\Outside\\victim.txt\r\n1\tname.qdx\r\n\r\n",
      "1\tC:\\Trovik\\Other\\link.qdx\r\n\r\n",
      "0\tvictim.txt\r\n0\tTrovik.ini\r\n\r\n",
      "0\tC:\\Outside\\victim.txt",  // an old journal without its end mark
  };
  for (const std::string& journal : journals) {
    Program p(disk);
    p.h.fs().put(kWork + "name.qdx.txn", journal);
    p.h.fs().put(kWork + "victim.txt", "mine");
    p.start();
    const Disk now = p.h.fs().snapshot();
    EXPECT_EQ(now.at(lower(kVictim)), "C:\\Outside\\victim.txt\nnot Trovik's") << journal;
    EXPECT_EQ(now.at(lower(kWork + "victim.txt")), kWork + "victim.txt\nmine") << journal;
    EXPECT_EQ(pairOf(now, kOther), pairOf(disk, kOther)) << journal;
    EXPECT_EQ(p.form().List1.count(), 3) << journal;
    EXPECT_FALSE(p.h.fs().fileExists(kWork + "name.qdx.txn")) << journal;
    EXPECT_NE(boxesSaying(p.h.boxes(), {"victim.txt", "Other\\link.qdx"}), "") << journal;
  }

  // A copy of a fileset stopped in the middle of a save puts itself back,
  // and leaves the original alone.
  Program stopped(disk);
  stopSavingW3(stopped, 6);
  Program copy(disk);
  for (const std::string& f : stopped.h.fs().allFiles())
    if (startsWith(lower(f), lower(kWork)))
      copy.h.fs().put(copy.h.at("Copy\\" + f.substr(kWork.size())), stopped.h.fs().get(f));
  copy.h.fs().put(kWork + "link.qdx", "C:\\changed.exe\r\n");
  copy.h.options("[Form]\r\nCurrentFileSet=Copy\r\n");
  copy.start();
  const Disk now = copy.h.fs().snapshot();
  EXPECT_EQ(pairOf(now, AppHarness::at("Copy\\")),
            "C:\\Trovik\\Copy\\name.qdx\nw0\r\nw1\r\nw2\r\n|"
            "C:\\Trovik\\Copy\\link.qdx\nC:\\w0.exe\r\nC:\\w1.exe\r\nC:\\w2.exe\r\n|");
  EXPECT_EQ(copy.h.fs().get(kWork + "link.qdx"), "C:\\changed.exe\r\n");
}

// A rollback that cannot finish keeps its journal and says so; a start that
// cannot finish it either refuses the fileset, names the file, and the close
// saves nothing over it. (That a later start finishes the rollback is the
// first test's, after every change of every save.)
TEST(SaveSafety, AFilesetThatCannotBePutInOrderIsReportedAndLeftAlone) {
  Program p(world());
  stopSavingW3(p, 5);  // the disk goes away after the names moved aside
  EXPECT_NE(boxesSaying(p.h.boxes(), {"will be put back"}), "");
  Program next(p.h.fs().snapshot());
  next.h.fs().makeReadOnly(kWork);
  next.start();
  EXPECT_EQ(next.form().List1.count(), 0);
  EXPECT_NE(boxesSaying(next.h.boxes(), {"name.qdx"}), "");
  next.h.fs().clearFailures();
  next.h.app.close();
  EXPECT_EQ(pairOf(next.h.fs().snapshot(), kWork), pairOf(p.h.fs().snapshot(), kWork));
  EXPECT_TRUE(next.h.fs().fileExists(kWork + "name.qdx.txn"));
}

}  // namespace
}  // namespace trovik::test
