#include "dialogs/openfiledir.h"

#include <algorithm>

#include "core/paths.h"
#include "dialogs/addedit.h"

namespace trovik {

namespace {
constexpr int kWidth = 420, kHeight = 300;
// The filter list's descriptions and masks, in the order the list shows them.
struct Filter {
  const char* description;
  const char* mask;
};
constexpr Filter kFilters[] = {
    {"Executable files (.exe, .bat, .com)", "*.exe;*.bat;*.com"},
    {"Windows links (.lnk)", "*.lnk"},
    {"All files (*.*)", "*.*"},
};

// "*" and "?" as the system matches them, without regard to case.
bool matchesOne(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0, starN = std::string_view::npos, starM = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || sameText(name.substr(n, 1), mask.substr(m, 1)))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = ++m;
      starN = n;
    } else if (starN != std::string_view::npos) {
      m = starM;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && (mask[m] == '*' || mask[m] == '.')) ++m;
  return m == mask.size();
}

void sortByName(std::vector<std::string>& names) {
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
}
}  // namespace

bool matchesMask(const std::string& name, const std::string& masks) {
  size_t start = 0;
  while (start <= masks.size()) {
    const size_t end = std::min(masks.find(';', start), masks.size());
    const std::string_view mask = std::string_view(masks).substr(start, end - start);
    // "*.*" is every name, with or without an extension.
    if (mask == "*.*" || mask == "*" || (!mask.empty() && matchesOne(name, mask))) return true;
    start = end + 1;
  }
  return false;
}

TOpenFileDir::TOpenFileDir(Context& ctx, TAddEdit& addEdit, Launcher& launcher)
    : ctx_(ctx), addEdit_(addEdit), launcher_(launcher), mask_(kFilters[0].mask) {
  OpenFileDir.setVisible(false);
  OpenFileDir.setCaption("Browse");
  select.setCaption("&Select");
  cancel.setCaption("&Cancel");
  std::vector<std::string> filters;
  for (const Filter& f : kFilters) filters.emplace_back(f.description);
  FilterComboBox1.setItems(filters);
  FilterComboBox1.setItemIndex(0);
  OpenFileDir.setBounds({0, 0, kWidth, kHeight});
  Drive.setBounds({8, 24, 196, 21});
  DirectoryList.setBounds({8, 50, 196, 210});
  FileList.setBounds({212, 24, 200, 236});
  FilterComboBox1.setBounds({8, 268, 236, 21});
  select.setBounds({256, 266, 75, 25});
  cancel.setBounds({337, 266, 75, 25});
  frame.resize(kWidth, kHeight);
}

void TOpenFileDir::rescalecontrols(int dpi) {
  frame.rescale(dpi, {&Drive, &DirectoryList, &FileList, &FilterComboBox1, &select, &cancel}, {});
}

void TOpenFileDir::helpClicked() { launcher_.openHelp("browsewindow.htm", ctx_.texts.maint); }

void TOpenFileDir::setDirectory(const std::string& dir) {
  FileSystem& fs = ctx_.fs();
  directory_ = withBackslash(dir);
  // The drive of the directory is the chosen one.
  int drive = -1;
  for (size_t i = 0; i < drives_.size(); ++i)
    if (sameText(drives_[i], directory_.substr(0, drives_[i].size()))) drive = static_cast<int>(i);
  Drive.setItemIndex(drive);

  // The way down from the root, each step indented one more, then the
  // folders of the directory itself.
  std::vector<std::string> rows;
  directories_.clear();
  size_t at = directory_.find('\\');
  int depth = 0;
  while (at != std::string::npos) {
    const std::string step = directory_.substr(0, at + 1);
    const size_t from = step.find_last_of('\\', step.size() >= 2 ? step.size() - 2 : 0);
    const std::string name =
        depth == 0 ? lower(step) : step.substr(from + 1, step.size() - from - 2);
    rows.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + name);
    directories_.push_back(step);
    ++depth;
    at = directory_.find('\\', at + 1);
  }
  const int current = static_cast<int>(rows.size()) - 1;
  std::vector<std::string> folders;
  files_.clear();
  for (const DirEntry& e : fs.listDirectory(directory_)) {
    if (!e.isDirectory)
      files_.push_back(e.name);
    else if (e.name != "." && e.name != "..")
      folders.push_back(e.name);
  }
  sortByName(folders);
  sortByName(files_);
  for (const std::string& f : folders) {
    rows.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + f);
    directories_.push_back(directory_ + f + "\\");
  }
  DirectoryList.setItems(std::move(rows));
  DirectoryList.setItemIndex(current);
  fillFiles();
}

void TOpenFileDir::fillFiles() {
  std::vector<std::string> shown;
  for (const std::string& name : files_)
    if (matchesMask(name, mask_)) shown.push_back(name);
  FileList.setItems(std::move(shown));
}

void TOpenFileDir::showDialog(const std::string& startDir) {
  drives_ = ctx_.fs().drives();
  std::vector<std::string> rows;
  for (const std::string& root : drives_) rows.push_back(lower(root.substr(0, 2)));
  Drive.setItems(std::move(rows));
  std::string dir = startDir;
  if (dir.empty() || !ctx_.fs().directoryExists(dir)) dir = directory_;
  if (dir.empty() || !ctx_.fs().directoryExists(dir)) dir = ctx_.vars.realpath;
  setDirectory(dir);
  addEdit_.AddEdit.setEnabled(false);
  OpenFileDir.setVisible(true);
  view().bringToFront();
  view().focus(FileList);
}

void TOpenFileDir::closeDialog() { addEdit_.returnFrom(OpenFileDir); }

void TOpenFileDir::DriveChange() {
  const int i = Drive.itemIndex();
  if (i >= 0 && i < static_cast<int>(drives_.size())) setDirectory(drives_[static_cast<size_t>(i)]);
}

void TOpenFileDir::DirectoryListDblClick() {
  const int i = DirectoryList.itemIndex();
  if (i >= 0 && i < static_cast<int>(directories_.size()))
    setDirectory(directories_[static_cast<size_t>(i)]);
}

void TOpenFileDir::FilterComboBox1Change() {
  const int i = FilterComboBox1.itemIndex();
  if (i < 0 || i >= static_cast<int>(std::size(kFilters))) return;
  mask_ = kFilters[i].mask;
  fillFiles();
}

std::string TOpenFileDir::choice() {
  const int i = FileList.itemIndex();
  const std::string chosen =
      i >= 0 && i < FileList.count() ? directory_ + FileList.item(i) : directory_;
  if (ctx_.vars.ldirect && lower(fileExtension(chosen)) == ".lnk") {
    std::string target = ctx_.platform.shellLinks.resolveTarget(chosen);
    if (!target.empty()) return target;
  }
  return chosen;
}

void TOpenFileDir::selectClick() {
  TAddEdit& d = addEdit_;
  Variables& v = ctx_.vars;
  const std::string chosen = choice();
  // In multirun mode a group is being built even while its path is still empty.
  const bool group = ctx_.syntax.ismr(d.path.text()) || d.mr.checked();
  if (v.editing && group) {
    if (d.editedMember >= 0 && d.editedMember < d.mrl.count())
      d.mrl.setItem(d.editedMember, chosen);
    d.rebuildPath();
    v.editing = false;
  } else if (v.adding && group) {
    d.mrl.add(chosen);
    d.path.setText(d.path.text() + chosen + v.mrs);
    d.MemberRunStyles.resize(static_cast<size_t>(d.mrl.count()));
    d.MemberRunStyles.back().clear();
    v.adding = false;
  } else if (!group) {
    d.path.setText(chosen);
  }
  closeDialog();
}

}  // namespace trovik
