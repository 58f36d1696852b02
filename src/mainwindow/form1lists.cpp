// The main window's side of the current fileset: filling the two lists from
// the link store and handing them back, repairing lists out of step, and the
// QuickSwitch tabs and Switch submenu built from the filesets the store finds.
#include "core/paths.h"
#include "core/product.h"
#include "mainwindow/form1.h"

namespace trovik {

namespace {
// The headings an older release kept at the top of the names file.
constexpr std::string_view kOldHeadings[] = {"Move items", "Add item", "Delete item", "Edit item",
                                             "Clear list"};
// How many lines smaller than the saved names file the list may be before a
// save asks whether to overwrite it.
constexpr long long kShrinkThreshold = 10;
constexpr const char* kNotLoaded =
    "The fileset could not be read, so the list shown is not its content and is not saved over "
    "it.";
}  // namespace

std::string TForm1::deriveName(std::string n, const std::string& e) {
  const Variables& v = ctx_.vars;
  if (v.ldirect && fileExtension(n) == ".lnk") n = ctx_.platform.shellLinks.resolveTarget(n);
  if (v.dropext) n = withoutExtension(fileNamePart(n));
  if (n.empty() || n == kRunMax || n == kRunMin) n = ctx_.syntax.extractleafdir(e);
  return n;
}

std::string TForm1::nameRuleA(const std::string& e) {
  return deriveName(ctx_.syntax.removecommands(e), e);
}

std::string TForm1::nameRuleB(const std::string& e) { return deriveName(e, e); }

std::string TForm1::nameRuleC(const std::string& e) {
  std::string n = fileNamePart(e);
  if (ctx_.vars.dropext) n = withoutExtension(n);
  if (endsWith(n, kRunMax)) n.resize(n.size() - kRunMax.size());
  if (endsWith(n, kRunMin)) n.resize(n.size() - kRunMin.size());
  return n;
}

void TForm1::loadlist() {
  ctx_.events.run("loadlist", [&] {
    // The lists' own strings take the new lines: switching between large
    // filesets then allocates next to nothing.
    FilesetLists lists{List1.takeItems(), link1.takeItems()};
    try {
      if (!store.read(ctx_.vars.apppath, lists)) {
        List1.setItems(std::move(lists.names));  // names and the Snapbar list stay as they are
        listsBlocked_ = false;
        return;
      }
    } catch (const IoError&) {
      // Nothing of another fileset may stay on show to be saved over this one.
      listsUnreadable();
      throw;
    }
    listsBlocked_ = false;
    if (!lists.hasNames) {
      lists.names.resize(lists.links.size());
      for (size_t i = 0; i < lists.links.size(); ++i) lists.names[i] = nameRuleA(lists.links[i]);
    }
    // Files of an older release began the names with the menu headings.
    std::vector<std::string>& names = lists.names;
    if (!names.empty() && !lists.inStep()) {
      for (auto heading : kOldHeadings)
        if (!names.empty() && names.front() == heading) names.erase(names.begin());
    }
    link1.setItems(std::move(lists.links));
    List1.setItems(std::move(names));
    repairCounts();
    mmlist.assignItems(List1.items());
    if (mmlist.itemIndex() < 0 && mmlist.count() > 0) mmlist.setItemIndex(0);
  });
}

void TForm1::listsUnreadable() {
  List1.clear();
  link1.clear();
  mmlist.clear();
  listsBlocked_ = true;
}

void TForm1::repairCounts() {
  const Texts& t = ctx_.texts;
  if (List1.count() > link1.count()) {
    const int d = List1.count() - link1.count();
    if (ctx_.askYes(t.f1startnosyncerror1 + std::to_string(d) + t.f1startnosyncerror2,
                    t.warningt)) {
      std::vector<std::string> kept(List1.items().begin(), List1.items().begin() + link1.count());
      List1.setItems(std::move(kept));
    } else {
      std::vector<std::string> grown = link1.items();
      grown.resize(static_cast<size_t>(List1.count()));
      link1.setItems(std::move(grown));
    }
  }
  if (link1.count() > List1.count()) {
    const int d = link1.count() - List1.count();
    if (ctx_.askYes(t.f1startnosynccritical1 + std::to_string(d) + t.f1startnosynccritical2,
                    t.warningt)) {
      std::vector<std::string> kept(link1.items().begin(), link1.items().begin() + List1.count());
      link1.setItems(std::move(kept));
    } else {
      std::vector<std::string> grown = List1.items();
      for (int i = List1.count(); i < link1.count(); ++i) grown.push_back(nameRuleC(link1.item(i)));
      List1.setItems(std::move(grown));
    }
  }
}

void TForm1::savelist() {
  ctx_.events.run("savelist", [&] {
    FileSystem& fs = ctx_.fs();
    Variables& v = ctx_.vars;
    if (listsBlocked_) {
      // An empty list loses nothing by not being saved; anything typed into
      // it would be lost unless the user hears of it.
      if (List1.count() == 0 && link1.count() == 0) return;
      throw IoError(IoError::Op::Write, v.apppath + std::string(kNameFile), kNotLoaded);
    }
    if (!fs.directoryExists(v.apppath)) {
      if (!ctx_.askYes(ctx_.texts.f1dirgone1 + v.apppath + ctx_.texts.f1dirgone2,
                       ctx_.texts.dirnotfoundt))
        return;
      fs.createDirectory(v.apppath);
    }
    // A fileset whose link file went missing shows nothing; saving that
    // nothing would also wipe the names the user needs once the link file
    // is restored.
    if (List1.count() == 0 && link1.count() == 0 && !store.hasLinks(v.apppath) &&
        store.hasNames(v.apppath)) {
      v.noconfirmsave = false;
      return;
    }
    // The saved names tell how big the fileset on disk is. A list much
    // smaller than that is how links get lost (a failed load, a slip of the
    // hand), so such a save asks first, unless the user has just deleted or
    // cleared items.
    const long long saved = static_cast<long long>(store.savedNames(v.apppath).value_or(0));
    if (!v.noconfirmsave && saved - List1.count() > kShrinkThreshold &&
        !ctx_.askYes(ctx_.texts.f1saveconfirm, ctx_.texts.warningt)) {
      v.noconfirmsave = false;
      return;
    }
    store.write(v.apppath, List1.items(), link1.items());
    v.noconfirmsave = false;
  });
}

void TForm1::clearhistory() {
  ctx_.events.run("clearhistory", [&] {
    retired_.clear();
    for (ui::MenuItem* item : history_) retired_.push_back(Switch.takeChild(*item));
    history_.clear();
  });
}

std::string TForm1::autobuild(std::string root, int index) {
  return ctx_.events.call(
      "autobuild", &EventSlots::cstring2,
      [&] {
        std::string result;
        // The scan serves messages, which may run another rebuild (a key's
        // release, a command): the menus change only after it, all at once.
        const auto found = store.filesets(root, [&] { ctx_.platform.pump.processMessages(); });
        clearhistory();
        qswitch.clearTabs();
        tabDirectories_.clear();
        const std::string current = lower(ctx_.vars.apppath);
        int c = 0;
        for (const std::string& dir : found) {
          // The base fileset is captioned like its tab; every other one by
          // its directory's name.
          const bool base = dir == root;
          const std::string leaf = ctx_.syntax.extractleafdir(dir);
          const int k = static_cast<int>(tabDirectories_.size());
          qswitch.addTab(leaf);
          tabDirectories_.push_back(dir);
          auto item = std::make_unique<ui::MenuItem>("Switch" + std::to_string(k));
          item->setCaption(base ? leaf : dir.substr(root.size(), dir.size() - root.size() - 1));
          item->onClick = [this](ui::MenuItem& m) { HistHandler(m); };
          ui::MenuItem& added = Switch.addChild(std::move(item));
          history_.push_back(&added);
          if (lower(dir) == current) {
            added.setChecked(true);
            qswitch.setTabIndex(k);
          }
          if (!base && index != -1 && ++c == index) result = dir;
        }
        ctabi = qswitch.tabIndex();
        return result;
      },
      in(root, &EventSlots::cstring), in(index, &EventSlots::cint));
}

}  // namespace trovik
