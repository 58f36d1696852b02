#pragma once
// A dialog window that answers what its presenter asks of it (DialogView):
// focus, the cursor of an edit field, the drop-down of a combo box, coming
// to the front. The program's small dialogs stay above other windows.
#include <windows.h>

#include "dialogs/dialogframe.h"
#include "win32/dialogwindow.h"

namespace trovik::win32 {

class PresentedDialog : public DialogWindow, public DialogView {
 public:
  void focus(ui::Control& control) override { DialogWindow::focus(control); }
  int caret(const ui::Edit& edit) const override;
  void setCaret(ui::Edit& edit, int position) override;
  void dropDown(ui::ListBox& list, bool open, int rows) override;
  bool droppedDown(const ui::ListBox& list) const override;
  void bringToFront() override;

 protected:
  PresentedDialog(Context& ctx, DialogFrame& frame, ui::Control& form)
      : DialogWindow(ctx,
                     {form, frame.tbar, frame.ttitle, frame.tclose, &frame.thelp, frame.tborder},
                     false),
        frame_(frame) {}
  // The window, once made, stays above other windows.
  void created() override;
  // The caption colours and the hints follow activation.
  void showHints() { tooltip().setActive(frame_.showHints); }
  // A dialog that closes while it is active hands the keyboard back to its
  // owner (without a window manager the system would leave it to nobody).
  void formChanged(ui::Aspect aspect) override;

 private:
  HWND handleOf(const ui::Control& control) const;
  DialogFrame& frame_;
};

}  // namespace trovik::win32
