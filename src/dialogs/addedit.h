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
  TAddEdit(Context& ctx, const ui::ListBox& link1);

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
  ui::Button addlink{"addlink"};
  ui::Button cancel{"cancel"};
  ui::Button browse{"browse"};
  ui::Button afb{"afb"};  // add members
  ui::Button rf{"rf"};    // remove members
  ui::Button ef{"ef"};    // edit a member
  ui::Button cl{"cl"};    // clear the members
  ui::Button ctl{"ctl"};  // copy to the list
  ui::Control Shape2{"Shape2"};  // the separator line above the run styles
  // One run style per member of mrl: empty, "+lrma" or "+lrmi".
  std::vector<std::string> MemberRunStyles;

  // What the main window opened the dialog for, and where.
  bool AddPending = false;
  bool EditPending = false;
  std::string EditHome;

  // Shows the dialog and brings it to the front.
  void showDialog();
  // Shows the multirun controls.
  void dmrun();
  // Lays the lower part of the dialog out for the current mode.
  void autosize();
  // The path rebuilt from the members: each followed by the separator.
  void rebuildPath();
  // The run style the three choices stand for: empty, "+lrma" or "+lrmi".
  std::string chosenRunStyle() const;

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
