#pragma once
// A track bar's peer.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "win32/formpeers.h"

namespace trovik::win32 {

// The force-order speed: a track bar.
class TrackPeer final : public FormPeer {
 public:
  TrackPeer(FramedWindow& window, ui::TrackBar& model, int id)
      : FormPeer(window, model, id, TRACKBAR_CLASSW, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS),
        track_(model) {}
  void scrolled() { track_.setPosition(static_cast<int>(send(handle(), TBM_GETPOS))); }
  void showAll() override {
    show(ui::Aspect::Position, -1);
    FormPeer::showAll();
  }

 private:
  void show(ui::Aspect aspect, int index) override {
    if (!handle()) return;
    if (aspect == ui::Aspect::Caption) return;
    if (aspect != ui::Aspect::Position) return FormPeer::show(aspect, index);
    send(handle(), TBM_SETRANGE, TRUE, MAKELPARAM(track_.min(), track_.max()));
    send(handle(), TBM_SETPOS, TRUE, track_.position());
  }
  ui::TrackBar& track_;
};

}  // namespace trovik::win32
