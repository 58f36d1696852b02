// Random sequences of what a user does with filesets, against a model of it:
// after every step each fileset on disk, the list on show and the fileset
// manager's contents hold exactly what the user made them hold. No link
// disappears or changes on the way. Saves fail at random, as on a full disk.
// TROVIK_SEQUENCE_SEEDS sets how many seeds run (tests/sequence runs many).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "core/paths.h"
#include "core/textlines.h"
#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "harness.h"
#include "ui/input.h"

namespace trovik::test {
namespace {

using Lines = std::vector<std::string>;
// Every item is named by its file, and its link is that file in C:\ (as a
// drop names it), so a name tells which link must stand beside it.
std::string linkOf(const std::string& name) { return "C:\\" + name; }
Lines linksOf(const Lines& names) {
  Lines links;
  for (const std::string& n : names) links.push_back(linkOf(n));
  return links;
}
Lines sorted(Lines l) {
  std::sort(l.begin(), l.end());
  return l;
}

struct Sequence : AppHarness {
  std::mt19937 rng;
  // The model: each fileset's names on disk (by lower-case directory), the
  // list on show, the main window's clipboard, and the fileset manager.
  std::map<std::string, Lines> disk;
  Lines shown, clip;
  std::string current = lower(kBase);
  bool mgrOpen = false, mgrDirty = false;
  std::string mgrDir;            // the fileset the manager shows, "" for none
  std::optional<Lines> mgrRead;  // what it read there (none: no fileset)
  Lines mgrList, mgrClip;
  bool failing = false;    // writes of list files fail this step
  bool refused = false;    // the model saw a write fail
  bool swallowed = false;  // the handler reports a failure itself instead of throwing
  bool threw = false;
  std::string fault;  // what a step did that the model did not
  int made = 0;
  FilesetManager& fm = app.OptionsForm.filesets;

  explicit Sequence(unsigned seed) : rng(seed) {
    options("[Options]\r\nUserLevel=1\r\n");  // no beginner's tips
    for (const char* d : {"", "A\\", "B\\"}) {
      putFileset(d, {}, {});
      disk[lower(at(d))] = {};
    }
    vars().userlevel = 1;
    boxes().otherwise = Answer::Yes;  // every question answered Yes unless a step says
    form().List1.setBounds({0, 0, 100, 100});
    form().qswitch.setBounds({0, 100, 100, 20});
    form().qswitch.setVisible(true);
    form().autobuild(kBase, -1);
    form().loadlist();
    form().Moveitems1Click(&form().moveitems);  // General/Move: selections and the move buttons
  }
  TForm1& f() { return form(); }
  int pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
  std::string fresh() { return std::to_string(++made) + ".exe"; }
  bool room() { return shown.size() < 30; }
  template <class Work>
  void act(Work&& work) {
    try {
      work();
    } catch (const IoError&) {
      threw = true;
    }
  }
  // A write of names into dir as the model sees it: a list file that changes fails.
  bool write(const std::string& dir, const Lines& names) {
    auto it = disk.find(dir);
    if (it == disk.end() || (failing && it->second != names)) return !(refused = true);
    it->second = names;
    return true;
  }
  bool save() { return write(current, shown); }
  void enter(const std::string& dir) {  // the window's way into dir, once saved
    if (!disk.count(dir)) return;
    current = dir;
    shown = disk[dir];
  }
  // The list's items picked at random, as the user selects them; their names.
  Lines select(ui::ListBox& list) {
    list.setMultiSelect(true);
    Lines picked;
    for (int i = 0; i < list.count(); ++i) {
      list.setSelected(i, pick(3) == 0);
      if (list.selected(i)) picked.push_back(list.item(i));
    }
    list.setItemIndex(list.count() > 0 ? pick(list.count()) : -1);
    return picked;
  }
  static Lines without(Lines from, const Lines& gone) {
    for (const std::string& g : gone) from.erase(std::find(from.begin(), from.end(), g));
    return from;
  }
  static Lines with(Lines to, const Lines& more) {
    to.insert(to.end(), more.begin(), more.end());
    return to;
  }
  // The list after a step that only adds, takes or reorders: same items as
  // expected, in the order the window chose.
  void adopt(const Lines& expected) {
    if (sorted(f().List1.items()) != sorted(expected)) fault = "the list lost or gained items";
    shown = f().List1.items();
  }
  int here() {
    const auto& dirs = f().tabDirectories();
    int i = 0;
    while (i < static_cast<int>(dirs.size()) && lower(dirs[static_cast<size_t>(i)]) != current) ++i;
    return i;
  }
  std::string tab(int i) { return lower(f().tabDirectories()[static_cast<size_t>(i)]); }

  // The fileset manager's model: what it shows, and its save before writing,
  // which reloads instead when the files changed since it read them.
  std::string mgrDirOf(int k) {
    return lower(k <= 0 ? std::string(kBase) : at(fm.filesetlist.item(k) + "\\"));
  }
  void mgrLoad(const std::string& dir) {
    mgrDir = dir;
    auto it = disk.find(dir);
    mgrRead = it == disk.end() ? std::nullopt : std::optional<Lines>(it->second);
    mgrList = mgrRead.value_or(Lines{});
    mgrDirty = false;
  }
  bool mgrStale() {
    auto it = disk.find(mgrDir);
    return (it == disk.end() ? std::nullopt : std::optional<Lines>(it->second)) != mgrRead;
  }
  bool mgrSave() {
    if (mgrDir.empty() || !mgrDirty) return true;
    if (mgrStale()) {
      mgrLoad(mgrDir);
      return true;
    }
    if (!write(mgrDir, mgrList)) return false;
    mgrRead = mgrList;
    mgrDirty = false;
    if (mgrDir == current) shown = disk[current];  // the main window reloads
    return true;
  }
  void mgrShow(int k) {  // a click on fileset k in the manager
    const std::string dir = mgrDirOf(k);
    fm.filesetlist.setItemIndex(k);
    act([&] { fm.filesetlistClick(); });
    if (dir != mgrDir && !mgrSave()) return;
    shown = disk[current];
    mgrLoad(dir);
  }
  void manager() {  // the manager open on one of its filesets
    if (mgrOpen) return;
    app.OptionsForm.showPage(OptionsPage::FilesetManager);
    mgrOpen = true;
    mgrDir.clear();
    mgrShow(pick(fm.filesetlist.count()));
  }
  void mgrAdopt(const Lines& expected) {
    if (sorted(fm.contentslist.items()) != sorted(expected))
      fault = "the manager lost or gained items";
    mgrList = fm.contentslist.items();
    mgrDirty = true;
  }

  // The ways out of the current fileset to another: saved first, then entered.
  void leave(int way) {
    const int n = static_cast<int>(f().tabDirectories().size());
    const int i = here(), to = way == 0 || way == 2   ? (i + 1) % n
                               : way == 1 || way == 3 ? (i + n - 1) % n
                                                      : pick(n);
    std::string target = tab(to);
    if (way == 6) {  // the manager's Activate, on the fileset clicked there
      manager();
      const int k = pick(fm.filesetlist.count());
      mgrShow(k);
      if (refused) return;
      target = mgrDirOf(k);
    }
    std::uint16_t key = way % 2 ? vkBack : vkSpace;
    act([&] {
      if (way <= 1) f().List1KeyDown(key, {});
      if (way == 2 || way == 3) f().mmlistKeyDown(key, {});
      if (way == 4) f().qswitchChanging(), f().qswitch.setTabIndex(to), f().qswitchChange();
      if (way == 5) f().Switch.child(to).click();
      if (way == 6) fm.activatefsClick();
    });
    if (save()) enter(target);
  }
  void drop() {
    Lines names;
    for (int k = pick(3); k >= 0; --k) names.push_back(fresh());
    std::vector<std::string> paths = linksOf(names);
    const int n = static_cast<int>(f().tabDirectories().size()), t = pick(n);
    const std::string target = tab(t);
    const bool onTab = pick(2) == 0 && target != current;
    view.tab = [t](int, int) { return t; };
    view.item = [this](int, int) { return pick(f().List1.count() + 2) - 1; };
    if (names.size() > 1) boxes().expect(Answer::No, "");  // not one group
    act([&] { f().form1wmdropfiles({0x233, 1, 0, 0}, paths, 1, onTab ? 101 : 1); });
    if (onTab) {
      if (!write(target, with(disk[target], names))) return;
    } else {
      adopt(with(shown, names));
    }
    save();
  }

  using Step = std::pair<const char*, std::function<void()>>;
  const std::vector<Step> steps{
      {"add",
       [&] {
         if (!room()) return;
         TAddEdit& d = app.AddEdit;
         const std::string name = fresh();
         f().Additem1Click();
         d.itemLabel.setText(name);
         d.path.setText(linkOf(name));
         d.lfc.setChecked(false);
         d.addlinkClick();
         f().Moveitems1Click(&f().moveitems);
         shown.push_back(name);
         save();
         swallowed = true;
       }},
      {"edit",
       [&] {
         if (shown.empty()) return;
         TAddEdit& d = app.AddEdit;
         const int i = pick(static_cast<int>(shown.size()));
         const std::string name = fresh();
         f().Edititem1Click();
         f().List1.setItemIndex(i);
         f().List1MouseDown(MouseButton::Left, {}, 0, 0);
         f().List1Click();
         d.itemLabel.setText(name);
         d.path.setText(linkOf(name));
         d.lfc.setChecked(false);
         d.addlinkClick();
         f().Moveitems1Click(&f().moveitems);
         shown[static_cast<size_t>(i)] = name;
         save();
         swallowed = true;
       }},
      {"delete",
       [&] {
         const Lines gone = select(f().List1);
         act([&] { f().Deleteitem1Click(); });
         if (gone.empty()) return;
         adopt(without(shown, gone));
         save();
       }},
      {"cut",
       [&] {
         const Lines gone = select(f().List1);
         f().CutitemsClick();
         if (gone.empty()) return;
         clip = gone;
         adopt(without(shown, gone));
       }},
      {"copy",
       [&] {
         const Lines picked = select(f().List1);
         if (pick(2) == 0) {
           f().Copy1Click();
           if (!picked.empty()) clip = picked;
         } else if (room() && !shown.empty()) {  // a double-click copies an item to the end
           const int i = f().List1.itemIndex();
           f().List1DblClick();
           shown.push_back(shown[static_cast<size_t>(i)]);
         }
       }},
      {"paste",
       [&] {
         if (!room()) return;
         select(f().List1);
         act([&] { f().PasteItemsClick(); });
         adopt(with(shown, clip));
         save();
       }},
      {"move",
       [&] {
         const Lines picked = select(f().List1);
         const Lines before = shown;
         f().ma.setText(std::to_string(1 + pick(2)));
         act([&] { pick(2) ? f().upClick() : f().downClick(); });
         adopt(before);
         if (picked.empty() && shown != before) fault = "moved with nothing selected";
         if (shown != before) {
           save();
         } else if (!picked
                         .empty()) {  // equal items may have changed places: saved or not, the same
           if (fs().get(current + "name.qdx") == joinLines(shown)) disk[current] = shown;
           refused = threw;
         }
       }},
      {"sort",
       [&] {
         TForm1& w = f();
         const std::function<void()> sorts[] = {
             [&] { w.Linkname1Click(&w.Linkname); }, [&] { w.Filename1Click(&w.Filename); },
             [&] { w.filepath1Click(&w.Filepath); }, [&] { w.Filetype1Click(&w.Filetype); },
             [&] { w.Reverse1Click(); }};
         sorts[pick(5)]();
         adopt(shown);
       }},
      {"drag",
       [&] {
         select(f().List1);
         const int to = pick(f().List1.count() + 1);
         view.item = [=](int, int) { return to; };
         f().List1DragDrop(&f().List1, 0, 0);
         adopt(shown);
       }},
      {"switch", [&] { leave(pick(7)); }},
      {"delete fileset",
       [&] {
         if (current == lower(kBase)) {
           act([&] { f().Deletefileset.click(); });  // the base fileset is only cleared
           if (shown.empty()) return;
           shown.clear();
           save();
           return;
         }
         const std::string gone = current;
         const int i = here();
         f().Deletefileset.click();
         disk.erase(gone);
         enter(i > 0 ? tab(i - 1) : lower(kBase));
         if (!disk.count(current)) enter(lower(kBase));
       }},
      {"new fileset",
       [&] {
         if (disk.size() >= 6) return;
         int n = 1;
         while (disk.count(lower(at("NewFileSet" + std::to_string(n) + "\\")))) ++n;
         act([&] {
           if (pick(2) == 0 || !mgrOpen)
             f().Newfileset.click();
           else
             fm.newfsClick();
         });
         if (!failing) disk[lower(at("NewFileSet" + std::to_string(n) + "\\"))] = {};
         refused = failing;
       }},
      {"import",
       [&] {
         auto it = std::next(disk.begin(), pick(static_cast<int>(disk.size())));
         if (shown.size() + it->second.size() > 30) return;
         const Lines more = it->second;
         os.folderDialog.expect(it->first);
         act([&] { f().Import1Click(); });
         shown = with(shown, more);
         save();
       }},
      {"export",
       [&] {
         auto it = std::next(disk.begin(), pick(static_cast<int>(disk.size())));
         if (it->first == current) return;
         os.folderDialog.expect(it->first);
         act([&] { f().Export1Click(); });
         if (failing)
           refused = true;
         else
           it->second = disk[current];
       }},
      {"drop", [&] { drop(); }},
      {"manager show", [&] { manager(), mgrShow(pick(fm.filesetlist.count())); }},
      {"manager cut or copy",
       [&] {
         manager();
         const Lines picked = select(fm.contentslist);
         if (picked.empty()) return;  // nothing to cut or copy, and the user hears so
         mgrClip = picked;
         if (pick(2)) return fm.copyiClick();
         fm.cutiClick();
         mgrAdopt(without(mgrList, picked));
       }},
      {"manager paste",
       [&] {
         manager();
         if (mgrList.size() + mgrClip.size() > 30) return;
         select(fm.contentslist);
         const bool stale = mgrStale();  // the paste is not made but shown again
         act([&] { fm.pasteiClick(); });
         mgrDirty = true;
         if (!stale) mgrAdopt(with(mgrList, mgrClip));
         mgrSave();
       }},
      {"manager delete or clear",
       [&] {
         manager();
         Lines gone = select(fm.contentslist);
         const bool clear = pick(2) == 0;
         if (clear) gone = mgrList;
         if (gone.empty()) return;
         const bool stale = mgrStale();
         act([&] { clear ? fm.clearcontentsClick() : fm.Delete1Click(); });
         mgrDirty = true;
         if (!stale) mgrAdopt(without(mgrList, gone));
         if (mgrSave() && !clear && mgrDir != current) shown = disk[current];
       }},
      {"manager drag",
       [&] {
         manager();
         if (select(fm.contentslist).empty()) return;
         fm.contentslistDragDrop(pick(fm.contentslist.count() + 1));
         mgrAdopt(mgrList);
       }},
      {"manager rename",
       [&] {
         manager();
         if (fm.filesetlist.count() < 2) return;
         const int k = 1 + pick(fm.filesetlist.count() - 1);
         const std::string from = mgrDirOf(k), name = "R" + std::to_string(++made);
         const std::string to = lower(at(name + "\\"));
         mgrShow(k);  // the fileset is picked first
         if (refused) return;
         fm.filesetlistEdited(k, name);
         if (!disk.count(from)) return;
         disk[to] = disk[from];
         disk.erase(from);
         if (current == from) current = to;
         if (mgrDir == from) mgrDir = to;
       }},
      {"manager delete fileset",
       [&] {
         manager();
         if (fm.filesetlist.count() < 2) return;
         const int k = 1 + pick(fm.filesetlist.count() - 1);
         const std::string gone = mgrDirOf(k), next = mgrDirOf(k - 1);
         mgrShow(k);  // the fileset is picked first
         if (refused) return;
         act([&] { fm.deletefsClick(); });
         if (gone == current) enter(lower(kBase));
         disk.erase(gone);
         mgrDir.clear();
         shown = disk[current];
         mgrLoad(next);
       }},
      {"manager close",
       [&] {
         if (!mgrOpen) return;
         act([&] { app.OptionsForm.cancelClick(); });
         if (!mgrSave()) return;
         shown = disk[current];
         mgrOpen = false;
         mgrDir.clear();
       }},
  };

  std::string step() {
    failing = pick(5) == 0;
    if (failing) fs().failWrites(".qdx");
    refused = swallowed = threw = false;
    const Step& s = steps[static_cast<size_t>(pick(static_cast<int>(steps.size())))];
    s.second();
    fs().clearFailures();
    if (threw != (refused && !swallowed))
      fault = threw ? "a write failed" : "a failed write went unreported";
    return s.first;
  }
  // What the model and the program hold, for a failure's message.
  std::string state() {
    std::string out = fault + "\nmodel " + current + ": " + joinLines(shown) + "program " +
                      vars().apppath + ": " + joinLines(f().List1.items());
    for (const auto& [dir, names] : disk)
      out += "model " + dir + ": " + joinLines(names) + "disk: " + fs().get(dir + "name.qdx");
    return out + "manager " + mgrDir + ": " + joinLines(mgrList) +
           "shows: " + joinLines(fm.contentslist.items());
  }
  bool holds() {
    bool ok = fault.empty() && lower(vars().apppath) == current && f().List1.items() == shown &&
              f().link1.items() == linksOf(shown);
    std::set<std::string> tabs;
    for (const std::string& d : f().tabDirectories()) tabs.insert(lower(d));
    ok = ok && tabs.size() == disk.size();
    for (const auto& [dir, names] : disk)
      ok = ok && tabs.count(dir) && fs().get(dir + "name.qdx") == joinLines(names) &&
           fs().get(dir + "link.qdx") == joinLines(linksOf(names));
    return ok && (!mgrOpen || mgrDir.empty() || fm.contentslist.items() == mgrList);
  }
};

TEST(SequenceTest, RandomUseNeverLosesALink) {
  const char* env = std::getenv("TROVIK_SEQUENCE_SEEDS");
  const int seeds = env ? std::atoi(env) : 4;
  constexpr int kSteps = 500;
  for (int seed = 1; seed <= seeds; ++seed) {
    Sequence s(static_cast<unsigned>(seed));
    std::string trail;  // the last steps
    for (int i = 0; i < kSteps; ++i) {
      trail = trail.substr(trail.size() > 200 ? trail.find(", ", trail.size() - 200) : 0) +
              s.step() + ", ";
      ASSERT_TRUE(s.holds()) << "seed " << seed << ", step " << i << ": " << trail << s.state();
    }
  }
}

// Drop/Launch/Exit with several files: the window closes once every file is
// added, launched and saved, never while a later one is still being launched.
TEST(DropSequenceTest, TheCloseComesAfterTheWholeDrop) {
  AppHarness h;
  h.putFileset("", {}, {});
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
