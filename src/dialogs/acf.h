#pragma once
// The command-line dialog: edits the parameters of the Add/Edit dialog's
// target, or of the member of its group in which the path's cursor stands.
#include <string>

#include "core/context.h"
#include "dialogs/dialogframe.h"
#include "launch/launcher.h"
#include "ui/controls.h"

namespace trovik {

class TAddEdit;

class Tacf {
 public:
  Tacf(Context& ctx, TAddEdit& addEdit, Launcher& launcher);

  ui::Control acf{"acf"};  // the dialog window itself; open while visible
  DialogFrame frame{"Edit command line"};
  WindowHandle handle = 0;

  ui::Label Label1{"Label1"};
  ui::Label Label2{"Label2"};
  ui::Edit commandtext{"commandtext"};
  ui::Button aca{"aca"};  // Add, the default button
  ui::Button acc{"acc"};  // Cancel

  void attachView(DialogView* view) { view_ = view; }
  DialogView& view() const { return view_ ? *view_ : noDialogView(); }

  // Opens with a command; the Add/Edit dialog waits disabled until it closes.
  void showDialog(const std::string& command);
  // Closes, whichever way; the Add/Edit dialog is enabled again.
  void closeDialog();
  bool isOpen() const { return acf.visible(); }

  void FormCreate(int dpi) { rescalecontrols(dpi); }
  // On a screen above 96 dots per inch, scales the controls back to their
  // designed size (extensions ask for it too).
  void rescalecontrols(int dpi);
  void FormActivate();
  void FormDeactivate() { frame.deactivate(); }
  void helpClicked();
  void acaClick();
  void accClick() { closeDialog(); }
  void tcloseClick() { closeDialog(); }

 private:
  Context& ctx_;
  TAddEdit& addEdit_;
  Launcher& launcher_;
  DialogView* view_ = nullptr;
};

}  // namespace trovik
