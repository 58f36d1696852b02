#include "win32/listbox.h"

#include <stdexcept>
#include <string>

#include "win32/framedwindow.h"

namespace trovik::win32 {

using ui::Aspect;

const ListMessages kListBoxMessages{LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING, LB_INSERTSTRING,
                                    LB_DELETESTRING, LB_SETCURSEL,   LB_GETCURSEL};
const ListMessages kComboBoxMessages{CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING, CB_INSERTSTRING,
                                     CB_DELETESTRING, CB_SETCURSEL,   CB_GETCURSEL};

namespace {

// Adds or inserts one item's text.
LRESULT put(HWND h, UINT message, WPARAM index, const std::string& s) {
  const std::wstring w = wide(s);
  return send(h, message, index, reinterpret_cast<LPARAM>(w.c_str()));
}

bool isMultiSelect(HWND h, const ListMessages& m) {
  return &m == &kListBoxMessages && (GetWindowLongPtrW(h, GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
}

}  // namespace

void fillList(HWND h, const ui::ListBox& model, const ListMessages& m) {
  RedrawOff quiet(h);
  send(h, m.reset);
  size_t bytes = 0;
  for (const std::string& s : model.items()) bytes += (s.size() + 1) * sizeof(wchar_t);
  send(h, m.initStorage, static_cast<WPARAM>(model.count()), static_cast<LPARAM>(bytes));
  for (const std::string& s : model.items()) {
    const LRESULT r = put(h, m.add, 0, s);
    if (r == LB_ERR || r == LB_ERRSPACE)  // the same values as CB_ERR, CB_ERRSPACE
      throw std::runtime_error("The list cannot hold " + std::to_string(model.count()) + " items");
  }
  if (isMultiSelect(h, m))
    for (int i = 0; i < model.count(); ++i)
      if (model.selected(i)) send(h, LB_SETSEL, TRUE, i);
  showCurrentItem(h, model, m);
}

void showCurrentItem(HWND h, const ui::ListBox& model, const ListMessages& m) {
  const int want = model.itemIndex();
  if (isMultiSelect(h, m)) {
    // In multiple selection the current item is the one with the focus rectangle.
    if (want >= 0 && send(h, LB_GETCARETINDEX) != want)
      send(h, LB_SETCARETINDEX, static_cast<WPARAM>(want), FALSE);
    return;
  }
  if (send(h, m.getCurrent) != want) send(h, m.setCurrent, static_cast<WPARAM>(want));
}

bool showListChange(HWND h, const ui::ListBox& model, const ListMessages& m, ui::Aspect aspect,
                    int index) {
  switch (aspect) {
    case Aspect::Items:
      fillList(h, model, m);
      return true;
    case Aspect::ItemInserted:
      put(h, m.insert, static_cast<WPARAM>(index), model.item(index));
      break;
    case Aspect::ItemDeleted:
      send(h, m.remove, static_cast<WPARAM>(index));
      break;
    case Aspect::ItemChanged:
      send(h, m.remove, static_cast<WPARAM>(index));
      put(h, m.insert, static_cast<WPARAM>(index), model.item(index));
      if (isMultiSelect(h, m) && model.selected(index)) send(h, LB_SETSEL, TRUE, index);
      break;
    case Aspect::ItemIndex:
      break;
    case Aspect::Selection:
      if (isMultiSelect(h, m)) send(h, LB_SETSEL, model.selected(index), index);
      return true;
    default:
      return false;
  }
  showCurrentItem(h, model, m);
  return true;
}

}  // namespace trovik::win32
