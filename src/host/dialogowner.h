#pragma once
// The main window as the Add/Edit dialog sees it: the lists of the current
// fileset and the few of its routines the dialog calls.
#include "dialogs/addedit.h"
#include "mainwindow/form1.h"

namespace trovik {

class Form1ForDialogs final : public AddEditOwner {
 public:
  Form1ForDialogs(TForm1& form, Variables& vars) : form_(form), vars_(vars) {}
  ui::ListBox& names() override { return form_.List1; }
  ui::ListBox& links() override { return form_.link1; }
  ui::ListBox& snapbarNames() override { return form_.mmlist; }
  void savelist() override { form_.store.savelist(); }
  void resort() override { form_.resort(); }
  void editModeDone() override {
    form_.delab.setVisible(false);
    form_.edititem.setChecked(false);
  }
  void newFileset() override {
    form_.createnewfileset();
    form_.store.autobuild(vars_.realpath, -1);
  }

 private:
  TForm1& form_;
  Variables& vars_;
};

}  // namespace trovik
