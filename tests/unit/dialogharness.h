#pragma once
// The core with the three dialogs' presenters in view: a window that remembers
// what it was asked (cursor, drop-down, focus), and the Add/Edit dialog
// opened as the main window's Add item opens it.
#include "harness.h"

namespace trovik::test {

struct FakeDialogView final : DialogView {
  int cursor = 0;
  bool dropped = false;
  ui::Control* focused = nullptr;
  int fronts = 0;  // times brought to the front
  void focus(ui::Control& c) override { focused = &c; }
  int caret(const ui::Edit&) const override { return cursor; }
  void setCaret(ui::Edit&, int p) override { cursor = p; }
  void dropDown(ui::ListBox&, bool open, int) override { dropped = open; }
  bool droppedDown(const ui::ListBox&) const override { return dropped; }
  void bringToFront() override { ++fronts; }
};

struct DialogHarness : AppHarness {
  FakeDialogView view;
  TAddEdit& d = app.AddEdit;

  DialogHarness() {
    d.attachView(&view);
    vars().userlevel = 1;  // no beginner's tips unless a test asks for them
  }
  void list(std::vector<std::string> names, std::vector<std::string> links) {
    form().List1.setItems(names);
    form().mmlist.setItems(names);
    form().link1.setItems(std::move(links));
  }
  void openAdd() {
    d.mrl.clear();
    d.itemLabel.setText("");
    d.path.setText("");
    d.AddPending = true;
    d.EditPending = false;
    d.showDialog();
  }
  // Types into the path field: the text, the cursor at its end, the change.
  void type(const std::string& text) {
    d.path.setText(text);
    view.cursor = static_cast<int>(text.size());
    d.pathChange();
  }
  // Clicks member i of the member list alone.
  void pick(int i) {
    for (int k = 0; k < d.mrl.count(); ++k) d.mrl.setSelected(k, k == i);
    d.mrl.setItemIndex(i);
    d.mrlClick();
  }
};

}  // namespace trovik::test
