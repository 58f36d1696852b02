// Random sequences of what a user does with filesets, against a model of it:
// after every step each fileset on disk, the list on show and the fileset
// manager's contents hold exactly what the user made them hold. No link
// disappears or changes on the way. Saves fail at random, as on a full disk.
// TROVIK_SEQUENCE_SEEDS sets how many seeds run (tests/sequence runs many).
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "harness.h"
#include "ui/input.h"

namespace trovik::test {
namespace {

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
    open();
    form().Moveitems1Click(&form().moveitems);  // General/Move: selections and the move buttons
  }
  TForm1& f() { return form(); }
  int pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
  std::string fresh() { return std::to_string(++made) + ".exe"; }
  bool room() { return shown.size() < 30; }
  void act(const std::function<void()>& work) try { work(); } catch (const IoError&) {
    threw = true;
  }
  // A write of names into dir as the model sees it: a list file that changes fails.
  bool write(const std::string& dir, const Lines& names) {
    auto it = disk.find(dir);
    if (it == disk.end() || (failing && it->second != names)) return !(refused = true);
    it->second = names;
    return true;
  }
  bool save() { return write(current, shown); }
  void enter(const std::string& dir) { current = dir, shown = disk[dir]; }
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
  int here() {  // the current fileset's tab
    const auto& d = f().tabDirectories();
    return static_cast<int>(
        std::find_if(d.begin(), d.end(), [&](auto& s) { return lower(s) == current; }) - d.begin());
  }
  std::string tab(int i) { return lower(f().tabDirectories()[static_cast<size_t>(i)]); }

  // The fileset manager's model: what it shows, and its save before writing,
  // which reloads instead when the files changed since it read them.
  std::string mgrDirOf(int k) {
    return lower(k <= 0 ? std::string(kBase) : at(fm.filesetlist.item(k) + "\\"));
  }
  std::optional<Lines> held(const std::string& dir) {
    return disk.count(dir) ? std::optional(disk[dir]) : std::nullopt;
  }
  void mgrLoad(const std::string& dir) {
    mgrDir = dir;
    mgrRead = held(dir);
    mgrList = mgrRead.value_or(Lines{});
    mgrDirty = false;
  }
  bool mgrStale() { return held(mgrDir) != mgrRead; }
  bool mgrSave() {
    if (mgrDir.empty() || !mgrDirty) return true;
    if (mgrStale()) return mgrLoad(mgrDir), true;
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
  // A fileset other than the base one clicked in the manager; -1 when none is.
  int mgrPick() {
    manager();
    const int k = fm.filesetlist.count() < 2 ? -1 : 1 + pick(fm.filesetlist.count() - 1);
    if (k > 0) mgrShow(k);
    return refused ? -1 : k;
  }
  // The manager's list after a step; in expected's order when the step set it exactly.
  void mgrAdopt(const Lines& expected, bool exact = false) {
    const Lines& now = fm.contentslist.items();
    if (exact ? now != expected : sorted(now) != sorted(expected))
      fault = "the manager lost or gained items, or put them elsewhere";
    mgrList = fm.contentslist.items();
    mgrDirty = true;
  }

  // The ways out of the current fileset to another: saved first, then entered. Ways 0 to 3
  // step on or back; the others go to tab (or the manager's fileset) given, or one at random.
  void leave(int way, int given = -1) {
    const int n = static_cast<int>(f().tabDirectories().size());
    const int i = here(), to = way == 0 || way == 2   ? (i + 1) % n
                               : way == 1 || way == 3 ? (i + n - 1) % n
                               : given >= 0           ? given
                                                      : pick(n);
    std::string target = tab(to);
    if (way == 6) {  // the manager's Activate, on the fileset clicked there
      manager();
      const int k = given >= 0 ? given : pick(fm.filesetlist.count());
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
    if (save() && disk.count(target)) enter(target);
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
    if (!onTab) adopt(with(shown, names));
    if (!onTab || write(target, with(disk[target], names))) save();
  }

  // The Add/Edit dialog on a new item (at -1) or on item at, confirmed.
  void addOrEdit(int at) {
    const std::string name = fresh();
    TAddEdit& d = app.AddEdit;
    if (at < 0) f().Additem1Click();
    if (at >= 0)
      f().Edititem1Click(), f().List1.setItemIndex(at),
          f().List1MouseDown(MouseButton::Left, {}, 0, 0), f().List1Click();
    d.itemLabel.setText(name);
    d.path.setText(linkOf(name));
    d.lfc.setChecked(false);
    d.addlinkClick();  // a failed save is reported there, the item kept on show
    f().Moveitems1Click(&f().moveitems);
    if (at < 0) shown.push_back(name);
    if (at >= 0) shown[static_cast<size_t>(at)] = name;
    save();
    swallowed = true;
  }

  using Step = std::pair<const char*, std::function<void()>>;
  const std::vector<Step> steps{
      {"add/edit",
       [&] {
         addOrEdit(shown.empty() || (room() && pick(2)) ? -1
                                                        : pick(static_cast<int>(shown.size())));
       }},
      {"delete",
       [&] {
         const Lines gone = select(f().List1);
         act([&] { f().Deleteitem1Click(); });
         if (!gone.empty()) adopt(without(shown, gone)), save();
       }},
      {"cut/copy",
       [&] {
         const Lines picked = select(f().List1);
         const int way = pick(3), i = f().List1.itemIndex();
         if (way == 0) f().CutitemsClick();
         if (way == 1) f().Copy1Click();
         if (!picked.empty() && way < 2) clip = picked;
         if (way == 0) adopt(without(shown, picked));
         if (way == 2 && i >= 0 && room()) {  // a double-click copies the item to the end
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
         const Lines picked = select(f().List1), before = shown;
         f().ma.setText(std::to_string(1 + pick(2)));
         act([&] { pick(2) ? f().upClick() : f().downClick(); });
         adopt(before);
         if (picked.empty() && shown != before) fault = "moved with nothing selected";
         if (shown != before) save();
         // Equal items may have changed places: saved or not, the files hold the same.
         if (shown == before && !picked.empty() && !(refused = threw) &&
             fs().get(current + "name.qdx") == joinLines(shown))
           disk[current] = shown;
       }},
      {"sort/drag",
       [&] {
         TForm1& w = f();
         select(w.List1);
         const int to = pick(w.List1.count() + 1);
         view.item = [=](int, int) { return to; };
         const std::function<void()> ways[] = {[&] { w.Linkname1Click(&w.Linkname); },
                                               [&] { w.Filename1Click(&w.Filename); },
                                               [&] { w.filepath1Click(&w.Filepath); },
                                               [&] { w.Filetype1Click(&w.Filetype); },
                                               [&] { w.Reverse1Click(); },
                                               [&] { w.List1DragDrop(&w.List1, 0, 0); }};
         ways[pick(6)]();
         adopt(shown);
       }},
      {"switch", [&] { leave(pick(7)); }},
      {"delete fileset",
       [&] {
         const std::string gone = current;
         const int i = here();
         act([&] { f().Deletefileset.click(); });
         if (gone == lower(kBase)) {  // the base fileset is only cleared
           if (!shown.empty()) shown.clear(), save();
           return;
         }
         disk.erase(gone);
         enter(i > 0 ? tab(i - 1) : lower(kBase));
       }},
      {"new fileset",
       [&] {
         if (disk.size() >= 6) return;
         int n = 1;
         while (disk.count(lower(at("NewFileSet" + std::to_string(n) + "\\")))) ++n;
         act([&] { (mgrOpen && pick(2)) ? fm.newfsClick() : f().Newfileset.click(); });
         if (!failing) disk[lower(at("NewFileSet" + std::to_string(n) + "\\"))] = {};
         refused = failing;
       }},
      {"import/export",
       [&] {
         auto it = std::next(disk.begin(), pick(static_cast<int>(disk.size())));
         const Lines more = it->second;
         const bool in = pick(2) == 0;
         if (in ? shown.size() + more.size() > 30 : it->first == current) return;
         os.folderDialog.expect(it->first);
         act([&] { in ? f().Import1Click() : f().Export1Click(); });
         if (in) shown = with(shown, more), save();
         // An export copies both files, whatever they hold.
         if (!in && !(refused = failing)) it->second = disk[current];
       }},
      {"drop", [&] { drop(); }},
      {"manager show", [&] { manager(), mgrShow(pick(fm.filesetlist.count())); }},
      {"manager cut/copy/drag",
       [&] {
         manager();
         const Lines picked = select(fm.contentslist);
         const int way = pick(3);
         if (picked.empty()) return;  // nothing to cut or copy, and the user hears so
         if (way < 2) mgrClip = picked;
         if (way == 0) fm.cutiClick(), mgrAdopt(without(mgrList, picked));
         if (way == 1) fm.copyiClick();
         if (way == 2)
           fm.contentslistDragDrop(pick(fm.contentslist.count() + 1)), mgrAdopt(mgrList);
       }},
      {"manager paste/delete/clear",
       [&] {
         manager();
         const Lines picked = select(fm.contentslist);
         const int way = pick(3), caret = fm.contentslist.itemIndex();
         // A paste goes after the item at the caret when it is selected, else after the last
         // selected item, else at the end.
         size_t after = mgrList.size();
         for (size_t i = 0; i < mgrList.size(); ++i)
           if (fm.contentslist.selected(static_cast<int>(i))) after = i + 1;
         if (caret >= 0 && fm.contentslist.selected(caret)) after = static_cast<size_t>(caret) + 1;
         Lines pasted = mgrList;
         pasted.insert(pasted.begin() + static_cast<long>(after), mgrClip.begin(), mgrClip.end());
         const Lines expected = way == 0 ? pasted : way == 1 ? without(mgrList, picked) : Lines{};
         if (expected.size() > 30 || (way == 1 && picked.empty()) || (way == 2 && mgrList.empty()))
           return;
         const bool stale = mgrStale();  // the change is not made, the files shown again
         act([&] {
           way == 0 ? fm.pasteiClick() : way == 1 ? fm.Delete1Click() : fm.clearcontentsClick();
         });
         mgrDirty = true;
         if (!stale) mgrAdopt(expected, way != 1);
         if (mgrSave() && way == 1 && mgrDir != current) shown = disk[current];
       }},
      {"manager rename",
       [&] {
         const int k = mgrPick();
         if (k < 0) return;
         const std::string from = mgrDirOf(k), name = "R" + std::to_string(++made);
         const std::string to = lower(at(name + "\\"));
         fm.filesetlistEdited(k, name);
         if (!disk.count(from)) return;
         disk[to] = disk[from];
         disk.erase(from);
         if (current == from) current = to;
         if (mgrDir == from) mgrDir = to;
       }},
      {"manager delete fileset",
       [&] {
         const int k = mgrPick();
         if (k < 0) return;
         const std::string gone = mgrDirOf(k), next = mgrDirOf(k - 1);
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
    // The current fileset's tab and Switch menu item are the marked ones.
    const int t = here();
    ok = ok && f().qswitch.tabIndex() == t && f().ctabi == t;
    for (int i = 0; i < f().Switch.childCount(); ++i)
      ok = ok && f().Switch.child(i).checked() == (i == t);
    for (const auto& [dir, names] : disk)
      ok = ok && tabs.count(dir) && fs().get(dir + "name.qdx") == joinLines(names) &&
           fs().get(dir + "link.qdx") == joinLines(linksOf(names));
    return ok && (!mgrOpen || mgrDir.empty() || fm.contentslist.items() == mgrList);
  }
};

TEST(SequenceTest, RandomUseNeverLosesALink) {
  const char* env = std::getenv("TROVIK_SEQUENCE_SEEDS");
  const int seeds = env ? std::atoi(env) : 6;
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

// Every way into another fileset refuses one without its link file instead of loading it (its
// names would otherwise stay on show, to be saved over it).
TEST(SequenceTest, EveryWayInRefusesATargetWithoutLinks) {
  for (int way = 0; way < 7; ++way) {
    Sequence s(1);
    s.addOrEdit(-1);
    const Lines before = s.names();
    s.manager();  // it lists the filesets while they are whole
    for (const char* dir : {"A\\link.qdx", "B\\link.qdx"}) s.fs().deleteFile(s.at(dir));
    s.leave(way, 1);
    const auto& shown = s.boxes().shown();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const auto& b) {
      return b.text.find("File set not found in specified location: ") != std::string::npos;
    })) << way;
    EXPECT_EQ(s.vars().apppath, kBase) << way;
    EXPECT_EQ(s.names(), before) << way;
    EXPECT_EQ(s.form().qswitch.tabIndex(), 0) << way;
  }
}

}  // namespace
}  // namespace trovik::test
