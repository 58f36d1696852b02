#pragma once
// A list model shown in a list box or a combo box: the items (filled in one
// batch with drawing off and the storage reserved), the current item and, in
// multiple selection, the selected items. The peers of the lists build on it.
#include <windows.h>

#include "ui/controls.h"
#include "win32/controlpeer.h"

namespace trovik::win32 {

// The messages that do the same thing to a list box and to a combo box.
struct ListMessages {
  UINT reset, initStorage, add, insert, remove, setCurrent, getCurrent;
};
extern const ListMessages kListBoxMessages;
extern const ListMessages kComboBoxMessages;

// Fills h with every item of the model, its selection and its current item.
// Throws when the control cannot hold them all.
void fillList(HWND h, const ui::ListBox& model, const ListMessages& m);
// Shows the model's current item in h.
void showCurrentItem(HWND h, const ui::ListBox& model, const ListMessages& m);
// Shows a change of the items, the current item or the selection; false for
// any other aspect.
bool showListChange(HWND h, const ui::ListBox& model, const ListMessages& m, ui::Aspect aspect,
                    int index);

}  // namespace trovik::win32
