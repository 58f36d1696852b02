// Files dropped on the main window, and items dragged inside its list.
#include <algorithm>
#include <utility>

#include "core/paths.h"
#include "core/textlines.h"
#include "mainwindow/form1.h"

namespace trovik {

namespace {
bool contains(const ui::Rect& r, int x, int y) {
  return x >= r.left && y >= r.top && x < r.left + r.width && y < r.top + r.height;
}
}  // namespace

std::string TForm1::dropTarget(int x, int y, int& p) {
  p = List1.count();
  if (qswitch.visible() && contains(qswitch.bounds(), x, y)) {
    const int tab = view().tabAt(x, y);
    const auto& dirs = tabDirectories();
    if (tab < 0 || tab >= static_cast<int>(dirs.size())) return {};
    // Each tab knows the directory it was built for, so a missing base
    // fileset cannot shift a drop onto the wrong one. A tab of the current
    // fileset in another letter case is still the current one: writing its
    // files behind the list's back would be undone by the next save.
    const std::string& dir = dirs[static_cast<size_t>(tab)];
    return sameText(dir, ctx_.vars.apppath) ? std::string() : dir;
  }
  if (List1.visible() && contains(List1.bounds(), x, y)) p = view().itemAt(x, y);
  if (p < 0 || p > List1.count()) p = List1.count();
  return {};
}

void TForm1::form1wmdropfiles(MessageRecord message, const std::vector<std::string>& paths, int x,
                              int y) {
  ctx_.events.run(
      "form1wmdropfiles",
      [&] {
        // The close a launch asked for comes once the whole drop is handled.
        struct Dropping {
          TForm1& f;
          explicit Dropping(TForm1& form) : f(form) { f.dropping_ = true; }
          ~Dropping() {
            f.dropping_ = false;
            if (std::exchange(f.closeAfterDrop_, false)) f.view().close();
          }
        } dropping(*this);
        const Variables& v = ctx_.vars;
        int p = 0;
        const std::string other = dropTarget(x, y, p);
        const bool group =
            paths.size() > 1 && ctx_.askYes(ctx_.texts.f1dropmrcheck, ctx_.texts.maint);

        // Another fileset's files grow by one line each; its last link runs.
        auto appendToOther = [&](const std::string& name, const std::string& link) {
          // Each file grows by one line, so both must be there.
          FilesetLists lists;
          const bool links = store.read(other, lists);
          if (!links || !lists.hasNames)
            throw IoError(IoError::Op::Read, other + std::string(links ? kNameFile : kLinkFile),
                          "The system cannot find the file specified.");
          lists.links.push_back(link);
          lists.names.push_back(name);
          store.write(other, lists.names, lists.links);
          if (dropLaunchModeChecked()) launcher.runlink(link);
        };
        auto insertHere = [&](const std::string& name, const std::string& link) {
          link1.insert(p, link);
          List1.insert(p, name);
          refreshSnapbarList();
          if (dropLaunchModeChecked()) {
            List1.setItemIndex(p);
            launcher.runlink(link1.item(List1.itemIndex()));
          }
        };

        std::string groupText, groupName;
        for (size_t i = 0; i < paths.size(); ++i) {
          const std::string& q = paths[i];
          const std::string link = v.ldirect && fileExtension(q) == ".lnk"
                                       ? ctx_.platform.shellLinks.resolveTarget(q)
                                       : q;
          const std::string name = v.dropext ? withoutExtension(fileNamePart(q)) : fileNamePart(q);
          if (group) {
            groupText += link + v.mrs;
            if (i == 0) groupName = name;
          } else if (!other.empty()) {
            appendToOther(name, link);
          } else {
            insertHere(name, link);
          }
        }
        if (group) {
          if (!other.empty())
            appendToOther(groupName, groupText);
          else
            insertHere(groupName, groupText);
        }
        savelist();
        resort();
        forceforegroundwindow(ctx_.mainWindow);
      },
      inout(message, &EventSlots::wmdropfiles));
}

void TForm1::List1DragDrop(void* source, int x, int y) {
  handle(
      "form1list1dragdrop", &List1,
      [&] {
        int t = view().itemAt(x, y);
        if (t < 0) t = List1.count();
        for (int i : ui::PairedList(List1, link1).moveSelected(t, ui::Landing::Across)) {
          if (List1.multiSelect())
            List1.setSelected(i, true);
          else
            List1.setItemIndex(i);
        }
        sortoff();
        ctx_.vars.sortbreak = true;
        refreshSnapbarList();
      },
      in(source, &EventSlots::cobject2), in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

}  // namespace trovik
