// Working on items of the list: the in-memory clipboard (cut and paste), the
// move buttons with their amount field, and preparing the Add/Edit dialog for
// a new link or a new multirun made of the selected items.
#include <charconv>

#include "core/paths.h"
#include "dialogs/addedit.h"
#include "mainwindow/form1.h"

namespace trovik {

void TForm1::removeSelected() {
  ui::PairedList(List1, link1).removeSelected();
  refreshSnapbarList();
}

void TForm1::CutitemsClick() {
  handle("form1cutitemsclick", &Cutitems, [&] {
    if (!generalMoveMode() || List1.selCount() == 0) return;
    Copy1Click();
    removeSelected();
  });
}

void TForm1::PasteItemsClick() {
  handle("form1pasteitemsclick", &PasteItems, [&] {
    if (List1.itemIndex() < 0) List1.setItemIndex(List1.count() - 1);
    const int p = List1.count() == 0 ? 0 : List1.itemIndex() + 1;
    ui::PairedList(List1, link1).paste(p, clip);
    refreshSnapbarList();
    resort();
    savelist();
  });
}

namespace {
// The amount field as a whole number, when it holds one.
std::optional<int> wholeNumber(const std::string& text) {
  int n = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, n);
  if (text.empty() || error != std::errc() || at != end) return std::nullopt;
  return n;
}
}  // namespace

void TForm1::upClick() { moveItems("form1upclick", up, -1); }
void TForm1::downClick() { moveItems("form1downclick", down, +1); }

void TForm1::moveItems(std::string_view event, ui::Control& sender, int direction) {
  handle(event, &sender, [&] {
    std::optional<int> amount = wholeNumber(ma.text());
    if (!amount || *amount == 0) {
      ma.setText("1");
      amount = 1;
    }
    const int a = *amount;
    const int n = List1.count();
    auto selected = [&](int i) {
      return List1.multiSelect() ? List1.selected(i) : i == List1.itemIndex();
    };
    int count = 0, only = -1;
    for (int i = 0; i < n; ++i)
      if (selected(i)) ++count, only = i;
    if (count == 1 && only != List1.itemIndex()) List1.setItemIndex(only);
    const int index = List1.itemIndex();

    bool moved = false;
    // The caret alone is no selection: with nothing selected nothing moves.
    if (count > 0 && index >= 0 && index < n && a > 0) {
      const int room = direction < 0 ? index : n - 1 - index;
      if (a > room) {
        ma.setText(std::to_string(room));
      } else {
        struct Item {
          std::string name, link;
          bool selected;
        };
        std::vector<Item> items;
        for (int i = 0; i < n; ++i) items.push_back({List1.item(i), linkAt(i), selected(i)});
        auto shift = [&](int from, int to) {
          Item it = items[static_cast<size_t>(from)];
          items.erase(items.begin() + from);
          items.insert(items.begin() + to, std::move(it));
        };
        int current = index;
        if (count > 1) {
          // Each selected item moves by a; the walk stops at the first that
          // would leave the list, so the block keeps its spacing.
          for (int k = 0; k < n; ++k) {
            const int i = direction < 0 ? k : n - 1 - k;
            if (!items[static_cast<size_t>(i)].selected) continue;
            const int to = i + direction * a;
            if (to < 0 || to > n - 1) break;
            shift(i, to);
            if (i == current) current = to;
            moved = true;
          }
        } else {
          current = index + direction * a;
          shift(index, current);
          items[static_cast<size_t>(current)].selected = true;
          moved = true;
        }
        std::vector<std::string> names, links;
        for (const Item& it : items) {
          names.push_back(it.name);
          links.push_back(it.link);
        }
        List1.setItems(std::move(names));
        // A list out of step keeps its extra names; only the links it has move.
        if (link1.count() == n) link1.setItems(std::move(links));
        for (int i = 0; i < n; ++i)
          if (items[static_cast<size_t>(i)].selected && List1.multiSelect())
            List1.setSelected(i, true);
        List1.setItemIndex(current);
      }
    }
    if (moved) {
      refreshSnapbarList();
      savelist();
    }
    sortoff();
    ctx_.vars.sortbreak = true;
    focusList();
  });
}

void TForm1::Additem1Click() {
  handle("form1additemclick", &additem, [&] {
    listModesOff();
    if (!addEdit) return;
    TAddEdit& d = *addEdit;
    const Texts& t = ctx_.texts;
    if (!d.AddEdit.visible()) {
      d.mrl.clear();
      d.itemLabel.setText("");
      d.path.setText("");
    }
    d.ctl.setVisible(false);
    d.AddPending = true;
    d.EditPending = false;
    d.AddEdit.setCaption(t.f2captionadd);
    d.addlink.setCaption(t.f2button1addcaption);
    d.chooseRunStyle(d.runnormal);
    d.showDialog();
  });
}

void TForm1::cmrbClick() {
  handle("form1cmrbclick", &cmrb, [&] {
    if (!addEdit) return;
    TAddEdit& d = *addEdit;
    const Texts& t = ctx_.texts;
    d.MemberRunStyles.clear();
    d.ctl.setVisible(true);
    d.mrl.clear();
    d.itemLabel.setText("");
    d.path.setText("");
    d.AddPending = true;
    d.EditPending = false;
    d.AddEdit.setCaption(t.f2captionadd);
    d.addlink.setCaption(t.f2button1addcaption);
    int n = 0;
    for (int i = 0; i < List1.count(); ++i) {
      if (!List1.selected(i)) continue;
      const std::string e = linkAt(i);
      if (ctx_.syntax.ismr(e)) {
        d.madd(i);
        n = d.mrl.count();
        continue;
      }
      const bool shortcut = ctx_.vars.ldirect && endsWith(e, ".lnk");
      d.mrl.add(shortcut ? ctx_.platform.shellLinks.resolveTarget(e) : e);
      d.clcommmrl(n);
      ++n;
    }
    if (d.mrl.count() > 0) {
      d.rebuildPath();
      d.showDialog();
      d.mr.setChecked(true);
      createmultirun.setChecked(false);
      List1.setMultiSelect(false);
      cmrb.setVisible(false);
    }
    d.autosize();
  });
}

}  // namespace trovik
