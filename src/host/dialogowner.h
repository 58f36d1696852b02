#pragma once
// The main window as the Add/Edit dialog sees it: the lists of the current
// fileset and the few of its routines the dialog calls.
#include "dialogs/addedit.h"
#include "dialogs/optionsform.h"
#include "mainwindow/form1.h"

namespace trovik {

class Form1ForDialogs final : public AddEditOwner {
 public:
  Form1ForDialogs(TForm1& form, TOptionsForm& options) : form_(form), options_(options) {}
  ui::ListBox& names() override { return form_.List1; }
  ui::ListBox& links() override { return form_.link1; }
  ui::ListBox& snapbarNames() override { return form_.mmlist; }
  void savelist() override { form_.savelist(); }
  void resort() override { form_.resort(); }
  LinkStore& filesets() override { return form_.store; }
  void editModeDone() override {
    form_.delab.setVisible(false);
    form_.edititem.setChecked(false);
  }
  void newFileset() override { options_.filesets.newfsClick(); }

 private:
  TForm1& form_;
  TOptionsForm& options_;
};

}  // namespace trovik
