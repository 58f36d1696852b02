#pragma once
// The QuickSwitch bar, qswitch, as a tab control. The control is told only
// what changed: a fileset added at the end adds one tab.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/input.h"
#include "win32/controlpeer.h"

namespace trovik::win32 {

class TabBarPeer final : public ControlPeer {
 public:
  TabBarPeer(FramedWindow& window, ui::TabBar& model, int id)
      : ControlPeer(window, model), tabs_(model), id_(id) {}
  void create() override;
  void reset() override;
  HWND handle() const override { return control_.get(); }
  void showAll() override;
  // A notification from the tab control.
  void notify(const NMHDR& header);
  // The tab under a point of the window, or -1.
  int tabAt(POINT client) const;
  // Whether the message is a left or middle press on the bar; if so, its
  // button, the keys and buttons held, and the point in the window's client
  // coordinates. A right click reaches the window as the bar's notification.
  bool pressed(const MSG& msg, MouseButton& button, ShiftState& shift, POINT& client) const;

 private:
  void show(ui::Aspect aspect, int index) override;
  void showTabs();
  ui::TabBar& tabs_;
  int id_;
  WindowOwner control_;
  std::vector<std::string> shown_;  // the captions the control has
};

}  // namespace trovik::win32
