#pragma once
// The options dialog's fileset list's peer: a list view whose captions are edited in place.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

#include "core/scopedflag.h"
#include "dialogs/filesetmanager.h"
#include "win32/formpeers.h"

namespace trovik::win32 {

// The fileset list: a list view whose captions are edited in place.
class FilesetListPeer final : public FormPeer {
 public:
  FilesetListPeer(FramedWindow& window, ui::ListBox& model, int id, FilesetManager& manager)
      : FormPeer(
            window, model, id, WC_LISTVIEWW,
            WS_TABSTOP | WS_BORDER | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS),
        list_(model),
        manager_(manager) {}
  Handler onSelect;
  void showAll() override {
    show(ui::Aspect::Items, -1);
    FormPeer::showAll();
  }
  HWND editor() const { return handle() ? ListView_GetEditControl(handle()) : nullptr; }
  // A notification of the list view; its answer.
  LRESULT notify(const NMHDR& n) {
    switch (n.code) {
      case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(n);
        if (mirroring_ || !(change.uChanged & LVIF_STATE) || !(change.uNewState & LVIS_SELECTED) ||
            (change.uOldState & LVIS_SELECTED))
          return 0;
        {
          FromWindow quiet(*this);
          list_.setItemIndex(change.iItem);
        }
        call(onSelect);
        return 0;
      }
      case LVN_BEGINLABELEDITW:
        // TRUE refuses the edit.
        return manager_.filesetlistEditing(reinterpret_cast<const NMLVDISPINFOW&>(n).item.iItem)
                   ? FALSE
                   : TRUE;
      case LVN_ENDLABELEDITW: {
        const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(n);
        if (info.item.pszText)
          manager_.filesetlistEdited(info.item.iItem, narrow(info.item.pszText));
        return FALSE;  // the model's caption, new or old, is what the item shows
      }
      case LVN_KEYDOWN:
        manager_.filesetlistKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey);
        return 0;
      default:
        return 0;
    }
  }

 private:
  void insert(int i) {
    std::wstring text = wide(list_.item(i));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    send(handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  void select() {
    const int i = list_.itemIndex();
    ListView_SetItemState(handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (i >= 0) {
      ListView_SetItemState(handle(), i, LVIS_SELECTED | LVIS_FOCUSED,
                            LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(handle(), i, FALSE);
    }
  }
  void show(ui::Aspect aspect, int index) override {
    if (!handle()) return;
    // The list view reports the changes made here; they are the model's own.
    ScopedFlag mirroring(mirroring_);
    switch (aspect) {
      case ui::Aspect::Items:
        ListView_DeleteAllItems(handle());
        for (int i = 0; i < list_.count(); ++i) insert(i);
        select();
        break;
      case ui::Aspect::ItemInserted:
        insert(index);
        break;
      case ui::Aspect::ItemDeleted:
        ListView_DeleteItem(handle(), index);
        break;
      case ui::Aspect::ItemChanged: {
        std::wstring text = wide(list_.item(index));
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        send(handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(&item));
        break;
      }
      case ui::Aspect::ItemIndex:
        select();
        break;
      case ui::Aspect::Caption:
      case ui::Aspect::MultiSelect:
      case ui::Aspect::Selection:
        break;
      default:
        FormPeer::show(aspect, index);
    }
  }
  ui::ListBox& list_;
  FilesetManager& manager_;
  bool mirroring_ = false;
};

}  // namespace trovik::win32
