#include "dialogs/filesetmanager.h"

#include <algorithm>

#include "core/paths.h"
#include "core/scopedflag.h"
#include "core/textlines.h"
#include "linkstore/linkstore.h"

namespace trovik {

namespace {

constexpr std::uint16_t kDeleteKey = 46;
constexpr const char* kChangedMeanwhile =
    "This fileset was changed elsewhere since it was shown here, so the change made here was not "
    "applied. Its contents are shown again as they are now.";

bool sameLists(const FilesetLists& a, const FilesetLists& b) {
  return a.hasNames == b.hasNames && a.names == b.names && a.links == b.links;
}

// Longest name a file inside a fileset gets: the options file's scratch
// copy. Every path the program makes there must stay within MAX_PATH.
constexpr std::size_t kLongestInnerName = sizeof("\\Trovik.ini.new") - 1;
constexpr std::size_t kMaxPath = 259;
constexpr std::size_t kMaxComponent = 255;

bool isDeviceName(std::string name) {
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  const std::string n = lower(name);
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
    if (n == device) return true;
  if (!startsWith(n, "com") && !startsWith(n, "lpt")) return false;
  // Windows reserves every digit after COM and LPT, 0 too, and the
  // superscript one, two and three (UTF-8 here).
  const std::string number = n.substr(3);
  return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";
}

}  // namespace

FilesetManager::FilesetManager(Context& ctx, const WindowHandle& owner) : ctx_(ctx), owner_(owner) {
  fss.setCaption("Filesets:");
  fsitems.setCaption("Contents:");
  contentslist.setMultiSelect(true);
  newfs.setCaption("&New");
  renamefs.setCaption("&Rename");
  activatefs.setCaption("Activate");
  deletefs.setCaption("Delete");
  clearfilesets.setCaption("Clear list");
  clearcontents.setCaption("Clear list");
  cuti.setCaption("Cut items");
  copyi.setCaption("&Copy items");
  pastei.setCaption("&Paste items");
  for (ui::MenuItem* m : {&Cut1, &Copy1, &Paste1, &Delete1}) clistmenu.addChild(*m);
  Cut1.onClick = [this](ui::MenuItem&) { cutiClick(); };
  Copy1.onClick = [this](ui::MenuItem&) { copyiClick(); };
  Paste1.onClick = [this](ui::MenuItem&) { pasteiClick(); };
  Delete1.onClick = [this](ui::MenuItem&) { Delete1Click(); };
}

void FilesetManager::notice(const std::string& text) {
  ctx_.platform.boxes.show(owner_ ? owner_ : ctx_.mainWindow, text, ctx_.texts.maint, Buttons::Ok,
                           Icon::None);
}

bool FilesetManager::ask(const std::string& text, const std::string& caption) {
  return ctx_.platform.boxes.show(owner_ ? owner_ : ctx_.mainWindow, text, caption, Buttons::YesNo,
                                  Icon::None) == Answer::Yes;
}

std::string FilesetManager::directoryOf(int index) const {
  const std::string& base = ctx_.vars.realpath;
  return index <= 0 ? base : base + filesetlist.item(index) + "\\";
}

bool FilesetManager::isCurrent(const std::string& dir) const {
  return sameText(dir, ctx_.vars.apppath);
}

void FilesetManager::fill() {
  const std::string& base = ctx_.vars.realpath;
  std::vector<std::string> names{ctx_.syntax.extractleafdir(base)};
  for (const std::string& dir : host_->filesetDirectories())
    if (!sameText(dir, base) && dir.size() > base.size() + 1)
      names.push_back(dir.substr(base.size(), dir.size() - base.size() - 1));
  filesetlist.setItems(std::move(names));
  contentslist.clear();
  links_.clear();
  shown_ = -1;
  dirty_ = false;
}

void FilesetManager::load(int index) {
  // A fileset that cannot be read shows nothing, and nothing is saved over it.
  shown_ = -1;
  contentslist.clear();
  links_.clear();
  FilesetLists lists;
  read_ = {};
  readFound_ = host_->filesets().read(directoryOf(index), lists);
  if (readFound_) read_ = lists;
  shown_ = index;
  std::vector<std::string> links = std::move(lists.links);
  std::vector<std::string> names = std::move(lists.names);
  // Lists out of step are shown in step: a link without a name is named by
  // its entry, a name without a link keeps an empty one. Nothing is dropped.
  for (size_t i = names.size(); i < links.size(); ++i) names.push_back(links[i]);
  links.resize(names.size());
  links_ = std::move(links);
  contentslist.setItems(std::move(names));
  dirty_ = false;
}

void FilesetManager::saveShown() {
  if (shown_ < 0 || shown_ >= filesetlist.count() || !dirty_) return;
  const std::string dir = directoryOf(shown_);
  // The main window (or another program) may have saved this fileset since
  // it was read here: writing the older copy would lose what was added.
  FilesetLists now;
  const bool found = host_->filesets().read(dir, now);
  if (found != readFound_ || (found && !sameLists(now, read_))) {
    notice(kChangedMeanwhile);
    load(shown_);
    return;
  }
  host_->filesets().write(dir, contentslist.items(), links_);
  read_ = {contentslist.items(), links_};
  readFound_ = true;
  dirty_ = false;
  // The main window shows what is on disk, or its next save would undo this one.
  if (isCurrent(dir)) host_->refreshlist();
}

void FilesetManager::FormClose() {
  if (filesetlist.itemIndex() >= 0) saveShown();
}

void FilesetManager::filesetlistClick() {
  // Refreshing the main list serves messages, so a key or click that moves the selection may come
  // back here meanwhile: the switch under way follows it once it is done, so that the contents
  // shown are always those of the selected fileset.
  if (switching_) return;
  ScopedFlag busy(switching_);
  for (int i = filesetlist.itemIndex(); i >= 0;) {
    if (shown_ >= 0 && i != shown_) {
      try {
        saveShown();
      } catch (...) {
        filesetlist.setItemIndex(shown_);  // the selection stays with the contents still shown
        throw;
      }
    }
    shown_ = i;
    host_->refreshlist();
    load(i);
    const int now = filesetlist.itemIndex();
    if (now == i) break;  // nothing moved the selection meanwhile
    i = now;
  }
}

void FilesetManager::filesetlistKeyDown(std::uint16_t key) {
  if (key == kDeleteKey) deletefsClick();
}

void FilesetManager::filesetlistKeyUp() {
  if (filesetlist.itemIndex() != shown_) filesetlistClick();
}

bool FilesetManager::filesetlistEditing(int index) {
  if (index != 0) return index > 0;
  notice(ctx_.texts.f4basenorename);
  return false;
}

std::string FilesetManager::invalidName(const std::string& name) const {
  const Texts& t = ctx_.texts;
  if (name.empty()) return t.f4fsnameempty;
  if (name.find_first_of("|\\/:*\"?<>") != std::string::npos) return t.f4fsnamechars;
  if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 0 && c < 32; }))
    return t.f4fsnamecontrol;
  if (name.back() == '.' || name.back() == ' ') return t.f4fsnameend;
  if (isDeviceName(name)) return t.f4fsnamedevice;
  const std::size_t base = utf16Length(ctx_.vars.realpath) + kLongestInnerName;
  const std::size_t longest = base >= kMaxPath ? 0 : std::min(kMaxComponent, kMaxPath - base);
  if (utf16Length(name) > longest)
    return t.f4fsnamelong1 + std::to_string(longest) + t.f4fsnamelong2;
  return {};
}

void FilesetManager::filesetlistEdited(int index, const std::string& name) {
  if (index <= 0 || index >= filesetlist.count()) return;
  const std::string old = filesetlist.item(index);
  const std::string& base = ctx_.vars.realpath;
  bool unique = true;
  for (int i = 1; i < filesetlist.count(); ++i)
    if (sameText(filesetlist.item(i), name)) unique = false;

  std::string shown = old;
  if (const std::string why = invalidName(name); !why.empty()) {
    notice(why);
  } else if (!unique) {
    notice(ctx_.texts.f4fsnameunique1 + name + ctx_.texts.f4fsnameunique2);
  } else {
    try {
      host_->filesets().rename(base + old, base + name);
      shown = name;
    } catch (const IoError& e) {
      // The list never names a fileset that is not on disk.
      notice(ctx_.texts.f4fsrenamefailed1 + name + ctx_.texts.f4fsrenamefailed2 + e.reason());
    }
  }
  filesetlist.setItem(index, shown);
  if (shown != old && sameText(ctx_.vars.apppath, base + old + "\\")) {
    ctx_.vars.apppath = base + shown + "\\";
    host_->rememberCurrentFileset();
  }
  host_->autobuild();
}

void FilesetManager::newfsClick() {
  const std::string dir = host_->createnewfileset();
  filesetlist.add(ctx_.syntax.extractleafdir(withBackslash(dir)));
  host_->autobuild();
}

void FilesetManager::renamefsClick() {
  const int i = filesetlist.itemIndex();
  if (i >= 0 && filesetlistEditing(i) && view_) view_->editLabel(i);
}

void FilesetManager::activatefsClick() {
  const int i = filesetlist.itemIndex();
  if (i < 0) return;
  // The list on show is saved first; a fileset that cannot be entered is
  // reported and the window stays where it was.
  if (!host_->enterFileset(directoryOf(i), true)) return;
  host_->autobuild();
  if (view_) view_->focus(filesetlist);
  host_->refreshlist();
}

void FilesetManager::toBaseFileset() {
  // The fileset being left is going: nothing of it is saved.
  host_->enterFileset(ctx_.vars.realpath, false);
  host_->autobuild();
}

FilesetManager::Removal FilesetManager::removeFileset(const std::string& dir) {
  try {
    return host_->filesets().remove(dir) ? Removal::Gone : Removal::DirectoryStayed;
  } catch (const IoError& e) {
    // The fileset stays whole (or keeps its links): its item stays too.
    notice(ctx_.texts.f1fsfiledeletefailed + e.path() + "\r\n\r\n" + e.reason());
    return Removal::Refused;
  }
}

void FilesetManager::deletefsClick() {
  const int k = filesetlist.itemIndex();
  if (k < 1) return;
  if (ctx_.vars.confirmfsdelete && !ask(ctx_.texts.f4fsdeleteconfirm, ctx_.texts.f4fsdeletet))
    return;
  if (shown_ != k) saveShown();
  const std::string dir = directoryOf(k);
  // The main window never stays on a fileset that is gone.
  if (isCurrent(dir)) toBaseFileset();
  const Removal removal = removeFileset(dir);
  if (removal == Removal::DirectoryStayed)
    notice(ctx_.texts.f4fsdeletefailed1 + dir + ctx_.texts.f4fsdeletefailed2);
  if (removal != Removal::Refused) filesetlist.remove(k);
  host_->autobuild();
  shown_ = -1;
  dirty_ = false;
  filesetlist.setItemIndex(k - 1);
  if (view_) view_->focus(filesetlist);
  filesetlistClick();
}

void FilesetManager::clearfilesetsClick() {
  if (!ask(ctx_.texts.f4fsclearconfirm, ctx_.texts.f4fscleart)) return;
  if (shown_ == 0) saveShown();
  filesetlist.setItemIndex(0);
  load(0);
  shown_ = 0;
  if (!sameText(ctx_.vars.apppath, ctx_.vars.realpath)) toBaseFileset();
  bool failed = false;
  for (int last = filesetlist.count() - 1; last >= 1; --last) {
    const Removal removal = removeFileset(directoryOf(last));
    failed = failed || removal == Removal::DirectoryStayed;
    if (removal != Removal::Refused) filesetlist.remove(last);
  }
  host_->autobuild();
  if (failed) notice(ctx_.texts.f4fsclearfailed);
}

void FilesetManager::clearcontentsClick() {
  const int k = filesetlist.itemIndex();
  if (k < 0 || !ask(ctx_.texts.f4clearcontentsconfirm, ctx_.texts.confirmt)) return;
  if (shown_ != k) {
    saveShown();
    load(k);
  }
  contentslist.clear();
  links_.clear();
  dirty_ = true;
  saveShown();
}

void FilesetManager::contentslistDblClick() {
  const int i = contentslist.itemIndex();
  if (i >= 0 && i < static_cast<int>(links_.size()))
    notice(ctx_.texts.f4itemlink + links_[static_cast<size_t>(i)]);
}

void FilesetManager::copyiClick() {
  if (contentslist.selCount() == 0) {
    notice(ctx_.texts.f4nothingtocopy);
    return;
  }
  clip_ = contents().copySelected();
}

void FilesetManager::deleteSelected() {
  contents().removeSelected();
  dirty_ = true;
}

void FilesetManager::cutiClick() {
  if (contentslist.selCount() == 0) {
    notice(ctx_.texts.f4nothingtocut);
    return;
  }
  copyiClick();
  deleteSelected();
}

void FilesetManager::pasteiClick() {
  if (shown_ < 0) return;  // there is no fileset to paste into
  const int n = contentslist.count();
  if (contentslist.selCount() == 0 && n > 0) contentslist.setSelected(n - 1, true);
  int at = n;
  if (n > 0) {
    at = contentslist.itemIndex();
    if (at < 0 || !contentslist.selected(at))
      for (int i = 0; i < n; ++i)
        if (contentslist.selected(i)) at = i;
    ++at;
  }
  contents().paste(at, clip_);
  dirty_ = true;
  saveShown();
}

void FilesetManager::Delete1Click() {
  const int count = contentslist.selCount();
  if (count == 0) return;
  std::string what;
  if (count == 1) {
    for (int i = 0; i < contentslist.count(); ++i)
      if (contentslist.selected(i)) what = contentslist.item(i);
  } else {
    what = ctx_.texts.f4theseitems1 + std::to_string(count) + ctx_.texts.f4theseitems2;
  }
  if (ctx_.vars.condel && !ask(ctx_.texts.f1confirmdel + what + "?", ctx_.texts.confirmt)) return;
  deleteSelected();
  const bool current = shown_ >= 0 && isCurrent(directoryOf(shown_));
  saveShown();
  if (!current) host_->refreshlist();
}

void FilesetManager::contentslistDragDrop(int index) {
  if (contentslist.selCount() == 0) return;
  for (int i : contents().moveSelected(index, ui::Landing::Before))
    contentslist.setSelected(i, true);
  host_->sortoff();
  ctx_.vars.sortbreak = true;
  dirty_ = true;
}

}  // namespace trovik
