// The list modes of the main window (General/Move, DELETE, EDIT, COPY and
// Create multirun), which decide what a click on the list does, and the
// commands of the pop-up menu that work on the list or the filesets as a whole.
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "dialogs/optionsform.h"
#include "mainwindow/form1.h"

namespace trovik {

void TForm1::selectionCommands(bool on) {
  for (ui::MenuItem* m : {&Selectall, &Selectnone, &Invertselection, &PasteItems, &Cutitems}) {
    m->setVisible(on);
    m->setEnabled(on);
  }
  List1.setMultiSelect(on);
  listDragging = on;
}

void TForm1::listModesOff() {
  for (ui::Control* c : bottomRow()) c->setVisible(false);
  for (ui::MenuItem* m : {&edititem, &moveitems, &deleteitem, &createmultirun, &copyitems})
    m->setChecked(false);
  selectionCommands(false);
}

void TForm1::enterClickMode(const std::string& caption, ui::MenuItem& item) {
  listModesOff();
  delab.setCaption(caption);
  delab.setVisible(true);
  item.setChecked(true);
}

void TForm1::dropFlyTag() {
  const std::string& tag = ctx_.texts.f1flymrtag;
  const std::string& title = ttitle.caption();
  if (!tag.empty() && endsWith(title, tag))
    ttitle.setCaption(title.substr(0, title.size() - tag.size()));
}

void TForm1::Moveitems1Click(ui::MenuItem* sender) {
  handle("form1moveitemsclick", sender, [&] {
    delab.setVisible(false);
    if (generalMoveMode()) {
      for (ui::Control* c : moveControls()) c->setVisible(false);
      moveitems.setChecked(false);
      selectionCommands(false);
      savelist();
      return;
    }
    dropFlyTag();
    const int current = List1.itemIndex();
    for (ui::Control* c : moveControls()) c->setVisible(true);
    moveitems.setChecked(true);
    for (ui::MenuItem* m : {&edititem, &deleteitem, &createmultirun, &copyitems})
      m->setChecked(false);
    cmrb.setVisible(false);
    selectionCommands(true);
    if (current >= 0 && current < List1.count()) {
      List1.setItemIndex(current);
      List1.setSelected(current, true);
    }
  });
}

void TForm1::Deleteitem1Click() {
  handle("form1deleteitemclick", &deleteitem, [&] {
    const Texts& t = ctx_.texts;
    if (inListMode(t.f1delabd)) {
      List1.setMultiSelect(false);
      delab.setVisible(false);
      deleteitem.setChecked(false);
      return;
    }
    if (!generalMoveMode()) {
      enterClickMode(t.f1delabd, deleteitem);
      return;
    }
    const int count = List1.selCount();
    if (count == 0) return;
    if (ctx_.vars.condel) {
      std::string what = std::to_string(count);
      if (count == 1)
        for (int i = 0; i < List1.count(); ++i)
          if (List1.selected(i)) what = List1.item(i);
      if (!ctx_.askYes(t.f1confirmdel + what + "?", t.confirmt)) return;
    }
    removeSelected();
    ctx_.vars.noconfirmsave = true;
    savelist();
  });
}

void TForm1::Edititem1Click() {
  handle("form1edititemclick", &edititem, [&] {
    if (inListMode(ctx_.texts.f1delabe)) {
      delab.setVisible(false);
      edititem.setChecked(false);
    } else {
      enterClickMode(ctx_.texts.f1delabe, edititem);
    }
  });
}

void TForm1::Copy1Click() {
  handle("form1copyitemclick", &copyitems, [&] {
    if (copyitems.checked()) {
      copyitems.setChecked(false);
      delab.setVisible(false);
    } else {
      dropFlyTag();
      if (!generalMoveMode()) {
        enterClickMode(ctx_.texts.f1delabc, copyitems);
      } else if (List1.selCount() > 0) {
        clip = ui::PairedList(List1, link1).copySelected();
      }
    }
    resort();
  });
}

void TForm1::CreatemultirunClick() {
  handle("form1createmultirunclick", &createmultirun, [&] {
    if (createmultirun.checked()) {
      createmultirun.setChecked(false);
      cmrb.setVisible(false);
      List1.setMultiSelect(false);
      return;
    }
    listModesOff();
    createmultirun.setChecked(true);
    cmrb.setVisible(true);
    List1.setMultiSelect(true);
  });
}

void TForm1::SelectallClick() {
  handle("form1selectallclick", &Selectall, [&] {
    if (!generalMoveMode()) return;
    for (int i = 0; i < List1.count(); ++i) List1.setSelected(i, true);
  });
}

void TForm1::SelectnoneClick() {
  handle("form1selectnoneclick", &Selectnone, [&] {
    if (!generalMoveMode()) return;
    for (int i = 0; i < List1.count(); ++i) List1.setSelected(i, false);
  });
}

void TForm1::InvertselectionClick() {
  handle("form1invertselectionclick", &Invertselection, [&] {
    if (!generalMoveMode()) return;
    for (int i = 0; i < List1.count(); ++i) List1.setSelected(i, !List1.selected(i));
  });
}

void TForm1::Clearlist1Click() {
  handle("form1clearlistclick", &clearlist, [&] {
    if (List1.count() == 0) return;
    if (!ctx_.askYes(ctx_.texts.f1clearlistconfirm, ctx_.texts.confirmt)) return;
    List1.clear();
    mmlist.clear();
    link1.clear();
    ctx_.vars.noconfirmsave = true;
    savelist();
  });
}

void TForm1::Savelist1Click() {
  handle("form1savelistclick", &savemainlist, [&] {
    endFlyMultirun();
    savelist();
  });
}

void TForm1::Refreshlist1Click() {
  handle("form1refreshlistclick", &refreshlist, [&] {
    loadlist();
    autobuild(ctx_.vars.realpath, -1);
  });
}

void TForm1::Options1Click() {
  handle("form1optionsclick", &options, [&] {
    if (optionsForm) optionsForm->showPage(OptionsPage::General);
  });
}

void TForm1::NewfilesetClick() {
  handle("form1newfilesetclick", &Newfileset, [&] {
    createnewfileset();
    autobuild(ctx_.vars.realpath, -1);  // its tab and Switch item, however it was asked for
  });
}

void TForm1::DeletefilesetClick() {
  handle("form1deletefilesetclick", &Deletefileset, [&] {
    Variables& v = ctx_.vars;
    const Texts& t = ctx_.texts;
    if (sameText(v.apppath, v.realpath)) {
      Clearlist1Click();
      return;
    }
    if (v.confirmfsdelete && !ctx_.askYes(t.f1fsdeleteconfirm, t.warningt)) return;
    const std::string dir = v.apppath;
    previousfileset();
    // With no other fileset to go back to (the base one not listed), the
    // window goes to the base fileset: it never shows a deleted one.
    if (sameText(v.apppath, dir)) {
      v.apppath = v.realpath;
      switchfileset();
    }
    try {
      if (!store.remove(dir))
        ctx_.message(t.f1fsdeletefailed1 + dir + t.f1fsdeletefailed2, t.maint, Buttons::Ok);
    } catch (const IoError& e) {
      // The first file that stays stops the deletion: what is left is still
      // a fileset, or at least its links.
      ctx_.message(t.f1fsfiledeletefailed + e.path() + "\r\n\r\n" + e.reason(), t.maint,
                   Buttons::Ok, Icon::Error);
    }
    autobuild(v.realpath, -1);
  });
}

}  // namespace trovik
