#pragma once
// The main list, List1, on the screen. A list box cannot change between
// single and multiple selection once made, so List1 has one of each: the one
// of the model's mode is shown and the other waits hidden for the next switch,
// which fills it. Presses and keys reach the presenter before the list box
// sees them, from the message loop. In front of the list box's own window
// procedure there is only the hint that an empty list paints.
#include <windows.h>

#include "win32/controlpeer.h"
#include "win32/dragreorder.h"

namespace trovik {
class TForm1;
}

namespace trovik::win32 {

class List1Peer final : public ControlPeer {
 public:
  // The list box on the screen has id; the waiting one spareId.
  List1Peer(FramedWindow& window, TForm1& form, int id, int spareId);
  void create() override;
  void reset() override;
  HWND handle() const override { return boxes_[shown_].get(); }
  bool owns(HWND h) const { return h && (h == boxes_[0].get() || h == boxes_[1].get()); }
  void showAll() override;

  // A message of the loop aimed at either list box, before it is dispatched:
  // presses and keys go to the presenter first. True when it was used up.
  bool preTranslate(MSG& msg);
  // A notification from a list box.
  void command(HWND from, int code);
  // The item under a point of the window, or the count below the last item.
  int itemAt(POINT client) const;
  // Under the current item, in screen coordinates; false when the list shows
  // none.
  bool belowCurrentItem(POINT& screen) const;

 private:
  void show(ui::Aspect aspect, int index) override;
  void make(int mode);
  void switchSelectionMode();
  void selectionFromWindow();
  bool keyMessage(MSG& msg);
  // General/Move mode: a press on a selected item may start dragging the
  // selection to another place; the press reaches the list box only when no
  // drag follows, so the selection stays while the items are dragged.
  bool dragMessage(const MSG& msg);

  TForm1& form_;
  ui::ListBox& list_;
  int id_;
  int spareId_;
  WindowOwner boxes_[2];  // single [0] and multiple [1] selection
  int shown_ = 0;
  DragReorder drag_;
  MSG press_{};  // the press that may start a drag, handed on when none follows
};

}  // namespace trovik::win32
