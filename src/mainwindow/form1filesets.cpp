// Moving between filesets, making a new one, and the Import and Export
// commands of the "File sets" submenu. They live on the main window because
// they drive its Switch submenu, its QuickSwitch tabs and its lists.
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "mainwindow/form1.h"

namespace trovik {

void TForm1::switchfileset() {
  ctx_.events.run("switch", [&] {
    loadlist();
    showhints();
    // Remembered at once, so the next start opens this fileset even after a crash.
    rememberCurrentFileset();
  });
}

void TForm1::showhints() {
  ctx_.events.run("showhints", [&] { showHints = ctx_.vars.sh; });
}

std::string TForm1::tabDirectory(int index, const std::string& caption) const {
  const auto& dirs = tabDirectories();
  if (index >= 0 && index < static_cast<int>(dirs.size())) return dirs[static_cast<size_t>(index)];
  return index <= 0 ? ctx_.vars.realpath : ctx_.vars.realpath + caption + "\\";
}

bool TForm1::enterFileset(const std::string& dir, bool saveFirst) {
  const Texts& t = ctx_.texts;
  // A list that could not be saved is the only copy of the user's work: a
  // failed save (an IoError) stops here, on the fileset it belongs to.
  if (saveFirst) savelist();
  // Loading a fileset without its link file would keep the names on show,
  // to be saved over the new fileset at the next save.
  if (!ctx_.fs().directoryExists(dir) || !store.hasLinks(dir)) {
    ctx_.message(t.f1nofileset + dir, product(), Buttons::Ok);
    return false;
  }
  if (!store.hasNames(dir) &&
      ctx_.message(t.f1nonamefileq, product(), Buttons::OkCancel) != Answer::Ok)
    return false;
  ctx_.vars.apppath = dir;
  switchfileset();
  return true;
}

void TForm1::moveToFileset(int from, int to, int tab) {
  // Items and tabs stand one for one for the directories the last scan found,
  // the base fileset first when it is one.
  Variables& v = ctx_.vars;
  const auto& dirs = tabDirectories();
  if (!enterFileset(to < static_cast<int>(dirs.size()) ? dirs[static_cast<size_t>(to)] : v.realpath,
                    false))
    return;
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
  // The keys leave the fileset as the tabs do: saved first.
  savelist();
  if (forward)
    nextfileset();
  else
    previousfileset();
  firstTime(Option::SwitchViewTip);
}

std::string TForm1::createnewfileset() {
  return ctx_.events.call("createnewfileset", &EventSlots::cstring, [&] {
    const std::string& base = ctx_.vars.realpath;
    int n = 1;
    while (ctx_.fs().directoryExists(base + "NewFileset" + std::to_string(n))) ++n;
    const std::string dir = base + "NewFileSet" + std::to_string(n);
    store.create(dir);
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
  if (!store.hasLinks(dir)) {
    ctx_.message(ctx_.texts.f1nofilesetdir, product(), Buttons::Ok);
    return;
  }
  const bool haveNames = store.hasNames(dir);
  if (!haveNames &&
      ctx_.message(ctx_.texts.f1nonamefile, product(), Buttons::OkCancel) != Answer::Ok)
    return;
  const bool append = List1.count() == 0 || ctx_.askYes(ctx_.texts.f1importappend, product());

  // Everything is read before anything changes: a file that cannot be read
  // leaves the current list as it was.
  FilesetLists read;
  if (!store.read(dir, read)) return;  // gone since the question
  const std::vector<std::string>& links = read.links;
  std::vector<std::string> names = std::move(read.names);
  if (!read.hasNames) {
    names.reserve(links.size());
    for (const std::string& e : links) names.push_back(append ? nameRuleA(e) : nameRuleB(e));
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
  if (List1.count() != link1.count()) repairCounts();
  refreshSnapbarList();
  resort();
  savelist();
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
    autobuild(v.realpath, -1);
    List1.setItemIndex(v.curitem);
    mmlist.setItemIndex(v.curitem);
  });
}

void TForm1::exportTo(const std::string& dir) {
  if (store.hasLinks(dir) && store.hasNames(dir) &&
      !ctx_.askYes(ctx_.texts.f1exportoverwrite, product()))
    return;
  // What was saved last goes, both files or neither: a failure is reported
  // and leaves the fileset that was there whole.
  store.copy(ctx_.vars.apppath, dir);
}

}  // namespace trovik
