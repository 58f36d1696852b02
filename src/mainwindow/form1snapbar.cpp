// The QuickSwitch bar (changing tabs, the link pop-up of a tab), Snapbar mode
// with its drop-down list, and the restore-from-maximised fix-up.
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "dialogs/optionsform.h"
#include "mainwindow/form1.h"
#include "ui/input.h"

namespace trovik {

namespace {
// The normal height stored when Snapbar mode was entered; 247 when none was.
int storedHeight(TBigIniFile& ini) { return ini.ReadInteger("Form", "FormHeight", 247); }
// A tab's caption; none for no tab.
std::string tabCaption(const ui::TabBar& bar, int tab) {
  return tab >= 0 && tab < bar.count() ? bar.tabs()[static_cast<size_t>(tab)] : std::string();
}
}  // namespace

void TForm1::qswitchChanging() {
  handle("form1qswitchchanging", &qswitch, [&] {
    savelist();
    saveformstate();
  });
}

void TForm1::qswitchChange() {
  handle("form1qswitchchange", &qswitch, [&] {
    Variables& v = ctx_.vars;
    const Texts& t = ctx_.texts;
    const int tab = qswitch.tabIndex();
    bool entered = false;
    try {
      entered = enterFileset(tabDirectory(tab, tabCaption(qswitch, tab)), true);
    } catch (...) {
      qswitch.setTabIndex(ctabi);  // the tab of the fileset still shown
      throw;
    }
    if (!entered) {
      qswitch.setTabIndex(ctabi);
      return;
    }
    autobuild(v.realpath, -1);
    FormActivate();
    ctabi = qswitch.tabIndex();
    focusList();
    if (firstTime(Option::SwitchViewTip)) ctx_.message(t.f1switchviewwith, product(), Buttons::Ok);
  });
}

void TForm1::qswitchMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1qswitchmousedown", &qswitch,
      [&] {
        if (button != MouseButton::Right) return;
        popupLinks.clear();
        popupItems.clear();
        // The items of the last pop-up are kept one pop-up longer: a link of
        // it may still be starting, with the window serving messages.
        retiredPopup.clear();
        while (fscmenu.childCount() > 0)
          retiredPopup.push_back(fscmenu.takeChild(fscmenu.child(fscmenu.childCount() - 1)));
        int tab = view().tabAt(x, y);
        if (tab < 0 || tab >= qswitch.count()) tab = qswitch.count() - 1;
        if (tab < 0) return;
        if (tab == ctabi) {
          if (optionsForm) optionsForm->showPage(OptionsPage::FilesetManager);
          focusList();
          return;
        }
        FilesetLists lists;
        store.read(tabDirectory(tab, tabCaption(qswitch, tab)), lists);
        const std::vector<std::string>& names = lists.names;
        std::vector<std::string>& links = lists.links;
        // Files of different lengths pair line by line as far as both go: a
        // name without a link offers nothing to run.
        for (size_t i = 0; i < names.size(); ++i) {
          auto item = std::make_unique<ui::MenuItem>("fsc" + std::to_string(i));
          item->setCaption("&" + names[i]);
          item->setEnabled(i < links.size());
          item->onClick = [this](ui::MenuItem& m) { RLHandler(m); };
          popupItems.push_back(&fscmenu.addChild(std::move(item)));
        }
        links.resize(std::min(links.size(), names.size()));
        popupLinks = std::move(links);
      },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::qmClick(void* sender) {
  handle("form1qmclick", sender, [&] {
    ui::Rect r = Form1.bounds();
    ui::MenuItem* const commands[] = {&edititem,  &deleteitem,     &copyitems,
                                      &moveitems, &createmultirun, &Maximize};
    const bool maximized = windowState == WindowState::Maximized;
    TBigIniFile ini(ctx_.fs(), optionsPath(ctx_.vars));
    if (!mmlist.visible()) {
      if (!maximized) writeNumber(ini, Option::FormHeight, r.height);
      if (List1.itemIndex() >= 0) mmlist.setItemIndex(List1.itemIndex());
      mmlist.setVisible(true);
      for (ui::MenuItem* m : commands) m->setEnabled(false);
      listModesOff();
      r.height = mmlist.bounds().height + (qswitch.visible() ? 54 : 38);
      ctx_.vars.maxnfix = false;
      List1.setVisible(false);
    } else {
      mmlist.setVisible(false);
      if (!maximized) {
        ctx_.vars.maxnfix = false;
        r.height = storedHeight(ini);
      } else {
        r.height = ctx_.platform.windows.screen().height;
        ctx_.vars.maxnfix = true;
      }
      for (ui::MenuItem* m : commands) m->setEnabled(true);
      List1.setVisible(true);
    }
    ini.Free();
    Form1.setBounds(r);
    focusList();
    FormResize();
  });
}

void TForm1::mmlistClick() {
  handle("form1mmlistclick", &mmlist, [&] {
    Variables& v = ctx_.vars;
    const int i = mmlist.itemIndex();
    if (!v.norun) {
      if (i >= 0) launcher.runlink(linkAt(i));
    } else {
      v.norun = false;
    }
    if (mmlistDropped) v.norun = true;
    List1.setItemIndex(i);
    if (!mmlistDropped) mmlist.setItemIndex(List1.itemIndex());
  });
}

void TForm1::mmlistKeyDown(std::uint16_t& key, ShiftState shift) {
  handle(
      "form1mmlistkeydown", &mmlist,
      [&] {
        if (movesThroughList(key)) ctx_.vars.norun = true;
        switch (key) {
          case vkReturn:
            if (mmlist.itemIndex() >= 0) launcher.runlink(linkAt(mmlist.itemIndex()));
            break;
          case vkBack:
          case vkSpace:
            stepFileset(key == vkSpace);
            break;
          default:
            break;
        }
      },
      inout(key, &EventSlots::cword), in(shift, &EventSlots::shiftstate));
}

void TForm1::mmlistKeyUp(std::uint16_t& key, ShiftState shift) {
  handle(
      "form1mmlistkeyup", &mmlist, [&] { ctx_.vars.norun = false; }, inout(key, &EventSlots::cword),
      in(shift, &EventSlots::shiftstate));
}

void TForm1::FormPaint() {
  handle("form1paint", this, [&] {
    Variables& v = ctx_.vars;
    if (windowState == WindowState::Maximized) {
      v.maxed = true;
      return;
    }
    if (windowState == WindowState::Normal && v.maxed) {
      if (List1.visible() && v.maxnfix) {
        TBigIniFile ini(ctx_.fs(), optionsPath(v));
        ui::Rect r = Form1.bounds();
        r.height = storedHeight(ini);
        ini.Free();
        Form1.setBounds(r);
        v.maxnfix = false;
        FormActivate();
      }
      FormResize();
    }
    v.maxed = false;
  });
}

}  // namespace trovik
