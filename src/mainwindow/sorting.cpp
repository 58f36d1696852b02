// Sorting the main list: the four sort commands with their check marks,
// Reverse, and re-applying or forgetting the remembered order.
#include "mainwindow/sorting.h"

#include <algorithm>
#include <numeric>

#include "core/paths.h"
#include "mainwindow/form1.h"

namespace trovik {

std::string driveOf(std::string_view s) {
  if (s.size() >= 2 && s[1] == ':') return std::string(s.substr(0, 2));
  if (!startsWith(s, "\\\\")) return {};
  // Server and share: up to the backslash that follows the share name.
  const size_t server = s.find('\\', 2);
  if (server == std::string_view::npos) return std::string(s);
  const size_t share = s.find('\\', server + 1);
  return std::string(s.substr(0, share));
}

std::string sortTarget(const std::string& link, EntrySyntax& syntax, const Variables& vars) {
  std::string t = link;
  if (syntax.ismr(link)) {
    const std::vector<std::string> members = entry::splitMembers(link, vars.mrs);
    if (!members.empty()) {
      t = members.front();
      if (startsWith(t, kForced)) t.erase(0, kForced.size());
      if (endsWith(t, kRunMax)) t.resize(t.size() - kRunMax.size());
      if (endsWith(t, kRunMin)) t.resize(t.size() - kRunMin.size());
    }
  }
  return syntax.removecommands(t);
}

std::string sortKeyOf(SortKey key, const std::string& name, const std::string& link,
                      EntrySyntax& syntax, const Variables& vars) {
  if (key == SortKey::LinkName) return name;
  const std::string t = sortTarget(link, syntax, vars);
  switch (key) {
    case SortKey::FileName: {
      std::string k = fileNamePart(t);
      // A folder has no file name: its own name stands in, or its drive.
      if (k.empty()) k = syntax.extractleafdir(link);
      if (k.empty()) k = driveOf(link);
      return k;
    }
    case SortKey::FilePath: {
      std::string k = directoryPart(t);
      if (k.empty()) k = driveOf(link);
      return k;
    }
    case SortKey::FileType:
      return fileExtension(t);
    case SortKey::LinkName:
      break;
  }
  return name;
}

std::vector<int> sortedOrder(std::vector<std::string> keys, bool descending) {
  for (std::string& k : keys) k = lower(k);
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  // std::string compares its bytes as unsigned characters, and a prefix first.
  auto key = [&](int i) -> const std::string& { return keys[static_cast<size_t>(i)]; };
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(b) < key(a); });
  else
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  return order;
}

void TForm1::sortCommand(std::string_view event, ui::MenuItem& item, ui::MenuItem* sender,
                         SortKey key) {
  handle(event, sender, [&] {
    // Only a click on the menu changes what is remembered; resort's own
    // calls come without a Sender and leave the marks alone.
    if (ctx_.vars.retainsort && sender) {
      if (!item.checked()) {
        for (ui::MenuItem* m : {&Linkname, &Filename, &Filepath, &Filetype})
          m->setChecked(m == &item);
      } else {
        item.setChecked(false);
      }
    }
    sortBy(key);
  });
}

void TForm1::Linkname1Click(ui::MenuItem* sender) {
  sortCommand("form1linknameclick", Linkname, sender, SortKey::LinkName);
}
void TForm1::Filename1Click(ui::MenuItem* sender) {
  sortCommand("form1filenameclick", Filename, sender, SortKey::FileName);
}
void TForm1::filepath1Click(ui::MenuItem* sender) {
  sortCommand("form1filepathclick", Filepath, sender, SortKey::FilePath);
}
void TForm1::Filetype1Click(ui::MenuItem* sender) {
  sortCommand("form1filetypeclick", Filetype, sender, SortKey::FileType);
}

void TForm1::sortBy(SortKey key) {
  const int n = List1.count();
  if (n == link1.count()) {
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      keys.push_back(sortKeyOf(key, List1.item(i), link1.item(i), ctx_.syntax, ctx_.vars));
    reorder(sortedOrder(std::move(keys), ReverseSort.checked()));
  }
  showListInSnapbar();
}

void TForm1::reorder(const std::vector<int>& order) {
  // Names and links move only together: lists out of step would be paired
  // wrongly by any reordering, so they keep their order.
  const int n = List1.count();
  if (n != link1.count() || static_cast<int>(order.size()) != n) return;
  bool moved = false;
  for (int i = 0; i < n && !moved; ++i) moved = order[static_cast<size_t>(i)] != i;
  if (!moved) return;

  std::vector<std::string> names, links;
  names.reserve(static_cast<size_t>(n));
  links.reserve(static_cast<size_t>(n));
  std::vector<int> placeOf(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int from = order[static_cast<size_t>(i)];
    names.push_back(List1.item(from));
    links.push_back(link1.item(from));
    placeOf[static_cast<size_t>(from)] = i;
  }
  // The current item and the selection stay with their items.
  const int current = List1.itemIndex();
  std::vector<int> selected;
  if (List1.multiSelect())
    for (int i = 0; i < n; ++i)
      if (List1.selected(i)) selected.push_back(placeOf[static_cast<size_t>(i)]);
  const int currentLink = link1.itemIndex();

  List1.setItems(std::move(names));
  link1.setItems(std::move(links));
  for (int i : selected) List1.setSelected(i, true);
  if (current >= 0 && current < n) List1.setItemIndex(placeOf[static_cast<size_t>(current)]);
  if (currentLink >= 0 && currentLink < n)
    link1.setItemIndex(placeOf[static_cast<size_t>(currentLink)]);
}

void TForm1::showListInSnapbar() {
  refreshSnapbarList();
  mmlist.setItemIndex(List1.itemIndex());
}

void TForm1::Reverse1Click() {
  handle("form1reverseclick", &ReverseSort, [&] {
    if (ctx_.vars.retainsort) {
      ReverseSort.setChecked(!ReverseSort.checked());
      resort();
    } else {
      // Upside down once; nothing is remembered.
      std::vector<int> order(static_cast<size_t>(List1.count()));
      std::iota(order.rbegin(), order.rend(), 0);
      reorder(order);
    }
    showListInSnapbar();
    ctx_.vars.sortbreak = false;
  });
}

void TForm1::resort() {
  ctx_.events.run("resort", [&] {
    if (!ctx_.vars.retainsort) return;
    if (Linkname.checked()) Linkname1Click(nullptr);
    if (Filename.checked()) Filename1Click(nullptr);
    if (Filepath.checked()) filepath1Click(nullptr);
    if (Filetype.checked()) Filetype1Click(nullptr);
  });
}

void TForm1::sortoff() {
  ctx_.events.run("sortoff", [&] {
    for (ui::MenuItem* m : {&Linkname, &Filename, &Filepath, &Filetype, &ReverseSort})
      m->setChecked(false);
  });
}

}  // namespace trovik
