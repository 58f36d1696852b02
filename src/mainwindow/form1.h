#pragma once
// The main window as a presenter: the models of its controls and its
// handlers. The Win32 view mirrors the models and calls the handlers.
#include <functional>
#include <string>

#include "core/context.h"
#include "linkstore/linkstore.h"
#include "ui/controls.h"

namespace trovik {

class TForm1 {
 public:
  explicit TForm1(Context& ctx);

  // The window itself: its bounds and caption.
  ui::Control Form1{"Form1"};
  // Title bar and frame, drawn by the program itself.
  ui::Panel tbar{"tbar"};
  ui::Label ttitle{"ttitle"};
  ui::Button tclose{"tclose"};
  ui::Control tborder{"tborder"};
  // The current fileset: names shown, links hidden beside them.
  ui::ListBox List1{"List1"};
  ui::ListBox link1{"link1"};
  ui::ListBox mmlist{"mmlist"};  // the Snapbar drop-down list
  ui::TabBar qswitch{"qswitch"};  // the QuickSwitch bar
  ui::MenuItem Switch{"Switch"};  // the Switch submenu of "File sets"
  int ctabi = -1;

  LinkStore store;

  // Asks the view to close the window (which then runs FormClose).
  std::function<void()> closeWindow;

  // Handlers.
  void tcloseClick();
  // Runs when the window is asked to close; action None keeps it open.
  void FormClose(CloseAction& action);
  void FormResize();
  // A fileset item of the Switch submenu was chosen.
  void HistHandler(ui::MenuItem& sender);

  // Reads every option into its variable and applies it to the window.
  void loadoptions();
  // Give the interface texts their built-in wording (extensions may reword them).
  void loadformtext();
  void loadhelptext();

 private:
  // Raises a form event around a handler's own work, with its Sender.
  template <class Work, class... B>
  void handle(std::string_view event, void* sender, Work&& work, B... b) {
    ctx_.events.run(event, std::forward<Work>(work), in(sender, &EventSlots::cobject), b...);
  }

  Context& ctx_;
};

}  // namespace trovik
