// Random sequences of what a user does with filesets, against a model of it:
// after every step each fileset on disk and the list on show hold exactly
// what the user made them hold. No link disappears or changes on the way.
// TROVIK_SEQUENCE_SEEDS sets how many seeds run (tests/sequence runs many).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "core/textlines.h"
#include "dialogs/optionsform.h"
#include "harness.h"
#include "ui/input.h"

namespace trovik::test {
namespace {

using Lines = std::vector<std::string>;
struct Pair {
  Lines names, links;
  bool operator==(const Pair&) const = default;
};

struct Sequence : AppHarness {
  std::mt19937 rng;
  std::map<std::string, Pair> disk;  // what each fileset's files must hold
  Pair shown;                        // what the main window's list must hold
  std::string current;
  int made = 0;

  explicit Sequence(unsigned seed) : rng(seed) {
    fs().put(std::string(kBase) + "Trovik.ini", "");
    for (const char* d : {"", "A\\", "B\\"}) {
      const std::string dir = std::string(kBase) + d;
      fs().put(dir + "name.qdx", "");
      fs().put(dir + "link.qdx", "");
      disk[dir] = {};
    }
    boxes().otherwise = Answer::Ok;  // the one-time tips
    current = kBase;
    form().autobuild(kBase, -1);
    form().loadlist();
    form().Moveitems1Click(&form().moveitems);  // General/Move: the move buttons
  }
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  Pair onDisk(const std::string& dir) {
    return {splitLines(fs().get(dir + "name.qdx")), splitLines(fs().get(dir + "link.qdx"))};
  }
  // A save that fails now and then, as on a full disk. A list that holds
  // what its files hold writes nothing, and so cannot fail.
  bool failing() {
    if (pick(4) != 0) return false;
    fs().failWrites(current + "name.qdx");
    return !(disk[current] == shown);
  }
  void saved() { disk[current] = shown; }

  void step() {
    TForm1& f = form();
    const auto& dirs = f.tabDirectories();
    const int n = static_cast<int>(dirs.size());
    int at = 0;
    while (at < n && dirs[static_cast<size_t>(at)] != current) ++at;
    switch (pick(7)) {
      case 0: {  // an edit on show, not saved yet (as a sort or a drag is)
        const std::string id = std::to_string(++made);
        const int i = pick(static_cast<int>(shown.names.size()) + 1);
        f.List1.insert(i, "n" + id);
        f.link1.insert(i, "C:\\" + id + ".exe");
        shown.names.insert(shown.names.begin() + i, "n" + id);
        shown.links.insert(shown.links.begin() + i, "C:\\" + id + ".exe");
        break;
      }
      case 1: {  // the move buttons with nothing selected move nothing
        f.List1.setMultiSelect(true);
        for (int i = 0; i < f.List1.count(); ++i) f.List1.setSelected(i, false);
        if (f.List1.count() > 1) f.List1.setItemIndex(pick(f.List1.count()));
        if (pick(2) == 0)
          f.upClick();
        else
          f.downClick();
        break;
      }
      case 2: {  // a save
        const bool fail = failing();
        try {
          f.savelist();
          EXPECT_FALSE(fail) << "a save into a read-only folder reported success";
          saved();
        } catch (const IoError&) {
          EXPECT_TRUE(fail);
        }
        break;
      }
      default: {  // leaving the fileset, by one of its ways
        const int way = pick(6);
        const int to = way == 0 || way == 2 ? (at + 1) % n : way == 1 ? (at + n - 1) % n : pick(n);
        const bool fail = failing();
        try {
          std::uint16_t key = way == 1 ? vkBack : vkSpace;
          if (way <= 1)
            f.List1KeyDown(key, {});
          else if (way == 2)
            f.mmlistKeyDown(key, {});
          else if (way == 3)
            f.qswitch.setTabIndex(to), f.qswitchChange();
          else if (way == 4)
            f.Switch.child(to).click();
          else
            app.OptionsForm.showPage(OptionsPage::FilesetManager),
                app.OptionsForm.filesets.filesetlist.setItemIndex(to),
                app.OptionsForm.filesets.activatefsClick();
          EXPECT_FALSE(fail) << "left a fileset whose save failed, by way " << way;
          saved();
          current = dirs[static_cast<size_t>(to)];
          shown = disk[current];
        } catch (const IoError&) {
          EXPECT_TRUE(fail);
        }
        app.OptionsForm.filesets.FormClose();
        break;
      }
    }
    fs().clearFailures();
  }
  bool holds() {
    bool ok = vars().apppath == current && form().List1.items() == shown.names &&
              form().link1.items() == shown.links;
    for (const auto& [dir, pair] : disk) ok = ok && onDisk(dir) == pair;
    return ok;
  }
};

TEST(SequenceTest, RandomUseNeverLosesALink) {
  const char* env = std::getenv("TROVIK_SEQUENCE_SEEDS");
  const int seeds = env ? std::atoi(env) : 4;
  constexpr int kSteps = 500;
  for (int seed = 1; seed <= seeds; ++seed) {
    Sequence s(static_cast<unsigned>(seed));
    for (int i = 0; i < kSteps; ++i) {
      s.step();
      ASSERT_TRUE(s.holds()) << "seed " << seed << ", step " << i;
    }
  }
}

}  // namespace
}  // namespace trovik::test

namespace trovik::test {
namespace {

// Drop/Launch/Exit with several files: the window closes once every file is
// added, launched and saved, never while a later one is still being launched.
TEST(DropSequenceTest, TheCloseComesAfterTheWholeDrop) {
  AppHarness h;
  h.fs().put(std::string(kBase) + "name.qdx", "");
  h.fs().put(std::string(kBase) + "link.qdx", "");
  for (const char* p : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) h.fs().put(p, "");
  h.form().loadlist();
  h.form().DropLaunchExitClick();
  int closedWhileDropping = 0;
  h.os.pump.onProcess = [&] { closedWhileDropping += h.view.closes; };
  h.boxes().expect(Answer::No);  // not one group
  h.form().form1wmdropfiles({0x233, 1, 0, 0}, {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}, -1, -1);
  EXPECT_EQ(closedWhileDropping, 0);
  EXPECT_EQ(h.view.closes, 1);
  EXPECT_EQ(splitLines(h.fs().get(std::string(kBase) + "link.qdx")).size(), 3u);
}

}  // namespace
}  // namespace trovik::test
