#pragma once
// A page control's peer: a tab control whose chosen tab is the page shown.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "win32/formpeers.h"

namespace trovik::win32 {

// The page control: a tab per page; choosing a tab shows its page.
class PageTabPeer final : public FormPeer {
 public:
  PageTabPeer(FramedWindow& window, ui::TabBar& model, int id)
      : FormPeer(window, model, id, WC_TABCONTROLW, WS_TABSTOP | TCS_TABS), tabs_(model) {}
  Handler onChange;
  void selectionChanged() {
    const int chosen = TabCtrl_GetCurSel(handle());
    // Arrow keys move the selection without moving the tab's pressed state,
    // and a control whose pressed tab is not the selected one (Wine's) then
    // takes every click for a deselection: only the chosen tab stays pressed.
    for (int i = 0; i < tabs_.count(); ++i) {
      TCITEMW item{};
      item.mask = TCIF_STATE;
      item.dwStateMask = TCIS_BUTTONPRESSED;
      item.dwState = i == chosen ? TCIS_BUTTONPRESSED : 0;
      send(handle(), TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    {
      FromWindow quiet(*this);
      tabs_.setTabIndex(chosen);
    }
    call(onChange);
  }
  void showAll() override {
    show(ui::Aspect::Tabs, -1);
    FormPeer::showAll();
  }

 private:
  void show(ui::Aspect aspect, int index) override {
    if (!handle()) return;
    switch (aspect) {
      case ui::Aspect::Tabs:
        TabCtrl_DeleteAllItems(handle());
        for (int i = 0; i < tabs_.count(); ++i) {
          insertTab(handle(), i, tabs_.tabs()[static_cast<size_t>(i)]);
        }
        [[fallthrough]];
      case ui::Aspect::TabIndex:
        TabCtrl_SetCurSel(handle(), tabs_.tabIndex());
        call(onChange);
        break;
      case ui::Aspect::Caption:
        break;
      default:
        FormPeer::show(aspect, index);
    }
  }
  ui::TabBar& tabs_;
};

}  // namespace trovik::win32
