#pragma once
// The Add/Edit link dialog: its controls and the routines that read a link
// entry back into them. The dialog's window and the rest of its behaviour
// build on this presenter.
#include <string>
#include <vector>

#include "core/context.h"
#include "ui/controls.h"

namespace trovik {

class TAddEdit {
 public:
  TAddEdit(Context& ctx, const ui::ListBox& link1) : ctx_(ctx), link1_(link1) {
    AddEdit.setVisible(false);
  }

  ui::Control AddEdit{"AddEdit"};  // the dialog window itself; open while visible

  ui::Edit itemLabel{"itemLabel"};
  ui::Edit path{"path"};
  ui::ListBox mrl{"mrl"};  // the members of a multirun group
  ui::RadioButton runnormal{"runnormal"};
  ui::RadioButton runmax{"runmax"};
  ui::RadioButton runmin{"runmin"};
  ui::CheckBox mr{"mr"};    // multirun mode
  ui::CheckBox foc{"foc"};  // force order
  ui::CheckBox lfc{"lfc"};  // check that local files exist
  // One run style per member of mrl: empty, "+lrma" or "+lrmi".
  std::vector<std::string> MemberRunStyles;

  // Chooses one of the three run styles.
  void chooseRunStyle(ui::RadioButton& choice);

  void madd(int index);
  void clcommmrl(int k);
  void clcommedit2();

 private:
  Context& ctx_;
  const ui::ListBox& link1_;
};

}  // namespace trovik
