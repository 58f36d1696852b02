// Moving between filesets, making a new one, and the Import and Export
// commands of the "File sets" submenu. They live on the main window because
// they drive its Switch submenu, its QuickSwitch tabs and its lists.
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "mainwindow/form1.h"

namespace trovik {

namespace {
std::string at(const std::string& dir, std::string_view file) {
  return withBackslash(dir) + std::string(file);
}
}  // namespace

void TForm1::switchfileset() {
  ctx_.events.run("switch", [&] {
    store.loadlist();
    showhints();
    // Remembered at once, so the next start opens this fileset even after a crash.
    rememberCurrentFileset();
  });
}

void TForm1::showhints() {
  ctx_.events.run("showhints", [&] { showHints = ctx_.vars.sh; });
}

void TForm1::moveToFileset(int from, int to, int tab) {
  // Items and tabs stand one for one for the directories the last scan found,
  // the base fileset first when it is one.
  Variables& v = ctx_.vars;
  const auto& dirs = store.tabDirectories();
  v.apppath = to < static_cast<int>(dirs.size()) ? dirs[static_cast<size_t>(to)] : v.realpath;
  switchfileset();
  Switch.child(from).setChecked(false);
  Switch.child(to).setChecked(true);
  qswitch.setTabIndex(tab);
  ctabi = qswitch.tabIndex();
}

void TForm1::nextfileset() {
  ctx_.events.run("nextfileset", [&] {
    const int n = Switch.childCount();
    int i = 0;
    while (i < n && !Switch.child(i).checked()) ++i;
    if (i == n) return;
    if (i + 1 < n)
      moveToFileset(i, i + 1, qswitch.tabIndex() + 1);
    else
      moveToFileset(i, 0, 0);
  });
}

void TForm1::previousfileset() {
  ctx_.events.run("previousfileset", [&] {
    const int n = Switch.childCount();
    int i = n - 1;
    while (i >= 0 && !Switch.child(i).checked()) --i;
    if (i < 0) return;
    if (i > 1)
      moveToFileset(i, i - 1, qswitch.tabIndex() - 1);
    else if (i == 1)
      moveToFileset(i, 0, 0);
    else
      moveToFileset(i, n - 1, qswitch.count() - 1);
  });
}

void TForm1::stepFileset(bool forward) {
  if (forward)
    nextfileset();
  else
    previousfileset();
  firstTime(Option::SwitchViewTip);
}

std::string TForm1::createnewfileset() {
  return ctx_.events.call("createnewfileset", &EventSlots::cstring, [&] {
    FileSystem& fs = ctx_.fs();
    const std::string& base = ctx_.vars.realpath;
    int n = 1;
    while (fs.directoryExists(base + "NewFileset" + std::to_string(n))) ++n;
    const std::string dir = base + "NewFileSet" + std::to_string(n);
    fs.createDirectory(dir);
    try {
      writeFilesAtomic(fs, {{at(dir, kLinkFile), ""}, {at(dir, kNameFile), ""}});
    } catch (const IoError&) {
      // A directory without its list files is no fileset: take it away again.
      fs.removeDirectory(dir);
      throw;
    }
    return dir;
  });
}

void TForm1::Import1Click() {
  handle("form1importclick", &Import1, [&] {
    endFlyMultirun();
    Variables& v = ctx_.vars;
    v.curitem = List1.itemIndex();
    const std::string dir = ctx_.platform.folderDialog.chooseDirectory(
        ctx_.mainWindow, ctx_.texts.f1importtitle, v.realpath);
    if (!dir.empty()) importFrom(dir);
    List1.setMultiSelect(false);
    List1.setItemIndex(v.curitem);
    mmlist.setItemIndex(v.curitem);
  });
}

void TForm1::importFrom(const std::string& dir) {
  FileSystem& fs = ctx_.fs();
  const std::string linkPath = at(dir, kLinkFile);
  const std::string namePath = at(dir, kNameFile);
  if (!fs.fileExists(linkPath)) {
    ctx_.message(ctx_.texts.f1nofilesetdir, product(), Buttons::Ok);
    return;
  }
  const bool haveNames = fs.fileExists(namePath);
  if (!haveNames &&
      ctx_.message(ctx_.texts.f1nonamefile, product(), Buttons::OkCancel) != Answer::Ok)
    return;
  const bool append = List1.count() == 0 || ctx_.askYes(ctx_.texts.f1importappend, product());

  // Everything is read before anything changes: a file that cannot be read
  // leaves the current list as it was.
  const std::vector<std::string> links = store.readList(linkPath);
  std::vector<std::string> names;
  if (haveNames) {
    names = store.readList(namePath);
  } else {
    names.reserve(links.size());
    for (const std::string& e : links)
      names.push_back(append ? store.nameRuleA(e) : store.nameRuleB(e));
  }

  if (append) {
    std::vector<std::string> allLinks = link1.items();
    allLinks.insert(allLinks.end(), links.begin(), links.end());
    std::vector<std::string> allNames = List1.items();
    allNames.insert(allNames.end(), names.begin(), names.end());
    link1.setItems(std::move(allLinks));
    List1.setItems(std::move(allNames));
  } else {
    link1.setItems(links);
    List1.setItems(std::move(names));
  }
  // A name file of another length than its link file would pair every later
  // name with the wrong link; it is put right as loading puts it right.
  if (List1.count() != link1.count()) store.repairCounts();
  refreshSnapbarList();
  resort();
  store.savelist();
}

void TForm1::Export1Click() {
  handle("form1exportclick", &Export1, [&] {
    endFlyMultirun();
    Variables& v = ctx_.vars;
    v.curitem = List1.itemIndex();
    const std::string dir = ctx_.platform.folderDialog.chooseDirectory(
        ctx_.mainWindow, ctx_.texts.f1exporttitle, v.realpath);
    if (!dir.empty()) exportTo(dir);
    List1.setMultiSelect(false);
    // An export into a new directory under BaseDirectory is a fileset to switch to.
    store.autobuild(v.realpath, -1);
    List1.setItemIndex(v.curitem);
    mmlist.setItemIndex(v.curitem);
  });
}

void TForm1::exportTo(const std::string& dir) {
  FileSystem& fs = ctx_.fs();
  const std::string linkPath = at(dir, kLinkFile);
  const std::string namePath = at(dir, kNameFile);
  if (fs.fileExists(linkPath) && fs.fileExists(namePath) &&
      !ctx_.askYes(ctx_.texts.f1exportoverwrite, product()))
    return;
  // What was saved last goes, both files or neither: a failure is reported
  // and leaves the fileset that was there whole.
  const std::string& from = ctx_.vars.apppath;
  const std::string links = fs.readFile(at(from, kLinkFile));
  const std::string names = fs.readFile(at(from, kNameFile));
  writeFilesAtomic(fs, {{linkPath, links}, {namePath, names}});
}

}  // namespace trovik
