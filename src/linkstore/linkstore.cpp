#include "linkstore/linkstore.h"

#include <cstdint>
#include <cstring>

#include "core/paths.h"
#include "core/textlines.h"

namespace trovik {

namespace {
// The headings an older release kept at the top of the names file.
constexpr std::string_view kOldHeadings[] = {"Move items", "Add item", "Delete item", "Edit item",
                                             "Clear list"};
// How many lines smaller than the saved names file the list may be before a
// save asks whether to overwrite it.
constexpr int kShrinkThreshold = 10;

// A fingerprint of a list file's bytes, to tell without reading the file
// again whether it already holds what is to be saved. Four independent lanes
// of multiply and shift over 8-byte words: several times faster than
// std::hash on lists of megabytes. Each step is a bijection of its lane, so
// a difference in any word is never lost before the lanes are combined.
std::size_t hashOf(std::string_view bytes) {
  constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
  auto step = [](std::uint64_t h, std::uint64_t w) {
    h = (h ^ w) * kOdd;
    return h ^ (h >> 29);
  };
  std::uint64_t lane[4] = {bytes.size(), 1, 2, 3};
  const char* p = bytes.data();
  size_t n = bytes.size();
  for (; n >= 32; p += 32, n -= 32)
    for (int k = 0; k < 4; ++k) {
      std::uint64_t w;
      std::memcpy(&w, p + 8 * k, 8);
      lane[k] = step(lane[k], w);
    }
  for (int k = 0; n > 0; k = (k + 1) % 4) {
    std::uint64_t w = 0;
    const size_t take = n < 8 ? n : 8;
    std::memcpy(&w, p, take);
    lane[k] = step(lane[k], w);
    p += take;
    n -= take;
  }
  std::uint64_t h = lane[0];
  for (int k = 1; k < 4; ++k) h = step(h * kOdd, lane[k]);
  return static_cast<std::size_t>(h ^ (h >> 32));
}
}  // namespace

std::vector<std::string> LinkStore::readList(const std::string& path) const {
  return splitLines(ctx_.platform.fs.readFile(path));
}

std::string LinkStore::deriveName(std::string n, const std::string& e) {
  const Variables& v = ctx_.vars;
  if (v.ldirect && fileExtension(n) == ".lnk") n = ctx_.platform.shellLinks.resolveTarget(n);
  if (v.dropext) n = withoutExtension(fileNamePart(n));
  if (n.empty() || n == kRunMax || n == kRunMin) n = ctx_.syntax.extractleafdir(e);
  return n;
}

std::string LinkStore::nameRuleA(const std::string& e) {
  return deriveName(ctx_.syntax.removecommands(e), e);
}

std::string LinkStore::nameRuleB(const std::string& e) { return deriveName(e, e); }

std::string LinkStore::nameRuleC(const std::string& e) {
  std::string n = fileNamePart(e);
  if (ctx_.vars.dropext) n = withoutExtension(n);
  if (endsWith(n, kRunMax)) n.resize(n.size() - kRunMax.size());
  if (endsWith(n, kRunMin)) n.resize(n.size() - kRunMin.size());
  return n;
}

void LinkStore::loadlist() {
  ctx_.events.run("loadlist", [&] { loadWork(); });
}

void LinkStore::loadWork() {
  FileSystem& fs = ctx_.platform.fs;
  const std::string linkPath = ctx_.vars.apppath + std::string(kLinkFile);
  const std::string namePath = ctx_.vars.apppath + std::string(kNameFile);
  // A save that a crash cut short is undone first: the pair is read as it
  // was before it.
  recoverFilesAtomic(fs, {linkPath, namePath});
  // The lists' own strings take the new lines: switching between large
  // filesets then allocates next to nothing.
  std::vector<std::string> links = pair_.link1.takeItems();
  if (!fs.fileExists(linkPath)) return;  // names and the Snapbar list stay as they are

  const std::string linkBytes = fs.readFile(linkPath);
  splitLinesInto(linkBytes, links);
  remember(links_, linkPath, linkBytes.size(), hashOf(linkBytes), links.size());
  std::vector<std::string> names = pair_.List1.takeItems();
  if (fs.fileExists(namePath)) {
    const std::string nameBytes = fs.readFile(namePath);
    splitLinesInto(nameBytes, names);
    remember(names_, namePath, nameBytes.size(), hashOf(nameBytes), names.size());
  } else {
    names_ = {};
    names.resize(links.size());
    for (size_t i = 0; i < links.size(); ++i) names[i] = nameRuleA(links[i]);
  }

  // Files of an older release began the names with the menu headings.
  if (!names.empty() && names.size() != links.size()) {
    for (auto heading : kOldHeadings)
      if (!names.empty() && names.front() == heading) names.erase(names.begin());
  }
  pair_.link1.setItems(std::move(links));
  pair_.List1.setItems(std::move(names));
  repairCounts();

  pair_.mmlist.assignItems(pair_.List1.items());
  if (pair_.mmlist.itemIndex() < 0 && pair_.mmlist.count() > 0) pair_.mmlist.setItemIndex(0);
}

void LinkStore::repairCounts() {
  ui::ListBox& names = pair_.List1;
  ui::ListBox& links = pair_.link1;
  const Texts& t = ctx_.texts;
  if (names.count() > links.count()) {
    const int d = names.count() - links.count();
    if (ctx_.askYes(t.f1startnosyncerror1 + std::to_string(d) + t.f1startnosyncerror2,
                    t.warningt)) {
      std::vector<std::string> kept(names.items().begin(), names.items().begin() + links.count());
      names.setItems(std::move(kept));
    } else {
      std::vector<std::string> grown = links.items();
      grown.resize(static_cast<size_t>(names.count()));
      links.setItems(std::move(grown));
    }
  }
  if (links.count() > names.count()) {
    const int d = links.count() - names.count();
    if (ctx_.askYes(t.f1startnosynccritical1 + std::to_string(d) + t.f1startnosynccritical2,
                    t.warningt)) {
      std::vector<std::string> kept(links.items().begin(), links.items().begin() + names.count());
      links.setItems(std::move(kept));
    } else {
      std::vector<std::string> grown = names.items();
      for (int i = names.count(); i < links.count(); ++i) grown.push_back(nameRuleC(links.item(i)));
      names.setItems(std::move(grown));
    }
  }
}

void LinkStore::savelist() {
  ctx_.events.run("savelist", [&] { saveWork(); });
}

void LinkStore::saveWork() {
  FileSystem& fs = ctx_.platform.fs;
  Variables& v = ctx_.vars;
  if (!fs.directoryExists(v.apppath)) {
    if (!ctx_.askYes(ctx_.texts.f1dirgone1 + v.apppath + ctx_.texts.f1dirgone2,
                     ctx_.texts.dirnotfoundt))
      return;
    fs.createDirectory(v.apppath);
  }
  const std::string namePath = v.apppath + std::string(kNameFile);
  const std::string linkPath = v.apppath + std::string(kLinkFile);
  // A fileset whose link file went missing shows nothing; saving that nothing
  // would also wipe the names the user needs once the link file is restored.
  if (pair_.List1.count() == 0 && pair_.link1.count() == 0 && !fs.fileExists(linkPath) &&
      fs.fileExists(namePath)) {
    v.noconfirmsave = false;
    return;
  }
  const std::string names = joinLines(pair_.List1.items());
  const std::string links = joinLines(pair_.link1.items());

  // The saved names tell how big the fileset on disk is. A list much smaller
  // than that is how links get lost (a failed load, a slip of the hand), so
  // such a save asks first, unless the user has just deleted or cleared items.
  std::size_t savedCount = 0, linkLines = 0;
  const std::size_t namesHash = hashOf(names), linksHash = hashOf(links);
  const bool namesKept = holds(names_, namePath, names, namesHash, savedCount);
  if (!fs.fileExists(namePath)) savedCount = countLines(names);
  if (!v.noconfirmsave &&
      static_cast<long long>(savedCount) - pair_.List1.count() > kShrinkThreshold &&
      !ctx_.askYes(ctx_.texts.f1saveconfirm, ctx_.texts.warningt)) {
    v.noconfirmsave = false;
    return;
  }

  // Files that already hold exactly this content are left alone, so an
  // unchanged fileset in a read-only directory saves without complaint.
  std::vector<FileContent> changed;
  if (!namesKept) changed.push_back({namePath, names});
  if (!holds(links_, linkPath, links, linksHash, linkLines)) changed.push_back({linkPath, links});
  if (!changed.empty()) writeFilesAtomic(fs, changed);
  remember(names_, namePath, names.size(), namesHash, countLines(names));
  remember(links_, linkPath, links.size(), linksHash, countLines(links));
  v.noconfirmsave = false;
}

void LinkStore::remember(Known& known, const std::string& path, std::size_t size, std::size_t hash,
                         std::size_t lines) {
  known.stamp = ctx_.platform.fs.stamp(path);
  known.size = size;
  known.hash = hash;
  known.lines = lines;
}

bool LinkStore::holds(const Known& known, const std::string& path, const std::string& bytes,
                      std::size_t hash, std::size_t& lines) const {
  FileSystem& fs = ctx_.platform.fs;
  const std::optional<FileStamp> now = fs.stamp(path);
  if (!now) return false;
  if (known.stamp == now) {
    lines = known.lines;
    return known.size == bytes.size() && known.hash == hash;
  }
  const std::string saved = fs.readFile(path);
  lines = countLines(saved);
  return saved == bytes;
}

void LinkStore::clearhistory() {
  ctx_.events.run("clearhistory", [&] {
    retired_.clear();
    for (ui::MenuItem* item : history_) retired_.push_back(menus_.Switch.takeChild(*item));
    history_.clear();
  });
}

std::string LinkStore::autobuild(std::string root, int index) {
  return ctx_.events.call(
      "autobuild", &EventSlots::cstring2,
      [&] {
        std::string result;
        FileSystem& fs = ctx_.platform.fs;
        clearhistory();
        menus_.qswitch.clearTabs();
        tabDirectories_.clear();
        int k = 0;
        int c = 0;
        const std::string current = lower(ctx_.vars.apppath);
        auto addFileset = [&](const std::string& tab, const std::string& item,
                              const std::string& dir) {
          menus_.qswitch.addTab(tab);
          tabDirectories_.push_back(dir);
          auto menuItem = std::make_unique<ui::MenuItem>("Switch" + std::to_string(k));
          menuItem->setCaption(item);
          menuItem->onClick = menus_.onSwitchItem;
          ui::MenuItem& added = menus_.Switch.addChild(std::move(menuItem));
          history_.push_back(&added);
          if (lower(dir) == current) {
            added.setChecked(true);
            menus_.qswitch.setTabIndex(k);
          }
          ++k;
        };
        if (fs.fileExists(root + std::string(kOptionsFile)) &&
            fs.fileExists(root + std::string(kLinkFile)) &&
            fs.fileExists(root + std::string(kNameFile))) {
          const std::string leaf = ctx_.syntax.extractleafdir(root);
          addFileset(leaf, leaf, root);
        }
        for (const DirEntry& e : fs.listDirectory(root)) {
          if (e.isDirectory && e.name != "." && e.name != "..") {
            const std::string dir = root + e.name + "\\";
            if (fs.fileExists(dir + std::string(kLinkFile)) &&
                fs.fileExists(dir + std::string(kNameFile))) {
              addFileset(ctx_.syntax.extractleafdir(dir), e.name, dir);
              if (index != -1 && ++c == index) result = dir;
            }
          }
          ctx_.platform.pump.processMessages();
        }
        menus_.ctabi = menus_.qswitch.tabIndex();
        return result;
      },
      in(root, &EventSlots::cstring), in(index, &EventSlots::cint));
}

}  // namespace trovik
