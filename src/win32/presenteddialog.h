#pragma once
// A dialog window that answers what its presenter asks of it (DialogView):
// focus, the cursor of an edit field, the drop-down of a combo box, coming
// to the front. The program's small dialogs stay above other windows.
#include <windows.h>

#include <functional>

#include "core/context.h"
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

// The window of one dialog presenter (TAddEdit, Tacf, TOpenFileDir): what
// they all have alike. The presenter gets its view and its FormCreate at
// start-up, its handle once the window is made, and the frame's buttons and
// activation; extensions repaint it through its hook.
template <class Presenter>
class PresenterWindow : public PresentedDialog {
 public:
  // The presenter's window from now on (its FormCreate runs); the window
  // itself is made, owned by owner, when it is first shown.
  void prepare(HWND owner) {
    d_.attachView(this);
    repaint_ = [this] {
      if (hwnd()) UpdateWindow(hwnd());
    };
    guarded([&] { d_.FormCreate(ctx_.platform.windows.screen().dpi); });
    createOnFirstShow(className_, owner);
  }

 protected:
  PresenterWindow(Context& ctx, Presenter& presenter, ui::Control& form, const wchar_t* className,
                  std::function<void()>& repaint)
      : PresentedDialog(ctx, presenter.frame, form),
        d_(presenter),
        ctx_(ctx),
        className_(className),
        repaint_(repaint) {}
  ~PresenterWindow() override {
    d_.attachView(nullptr);
    d_.handle = 0;
    repaint_ = nullptr;
    detachFrame();
    destroy();
  }
  void created() override {
    PresentedDialog::created();
    d_.handle = reinterpret_cast<WindowHandle>(hwnd());
  }
  void closeClicked() override {
    guarded([&] { d_.tcloseClick(); });
  }
  void helpClicked() override {
    guarded([&] { d_.helpClicked(); });
  }
  void activated(bool active) override {
    if (active)
      d_.FormActivate();
    else
      d_.FormDeactivate();
    showHints();
  }

  Presenter& d_;

 private:
  Context& ctx_;
  const wchar_t* className_;
  std::function<void()>& repaint_;
};

}  // namespace trovik::win32
