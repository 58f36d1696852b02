#pragma once
// The Snapbar list, mmlist: a drop-down list that takes List1's place in
// Snapbar mode. It holds a copy of the names, which only matters while it is
// shown: a hidden list takes its items when it is next shown.
#include <windows.h>

#include "win32/controlpeer.h"

namespace trovik::win32 {

class SnapbarPeer final : public ControlPeer {
 public:
  // rows: how many rows the drop-down part shows, as the options have it.
  SnapbarPeer(FramedWindow& window, ui::ListBox& model, const int& rows, int id)
      : ControlPeer(window, model), list_(model), rows_(rows), id_(id) {}
  void create() override;
  void reset() override { combo_.reset(); }
  HWND handle() const override { return combo_.get(); }
  void showAll() override;
  // A notification from the combo box.
  void command(int code);

 private:
  void show(ui::Aspect aspect, int index) override;
  ui::ListBox& list_;
  const int& rows_;
  int id_;
  WindowOwner combo_;
  bool stale_ = true;  // the window does not hold the model's items yet
};

}  // namespace trovik::win32
