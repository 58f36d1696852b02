#pragma once
// A control's real window as the peer of its model: what every control shows
// alike (visibility, enabled state, place, hint) is mirrored here; each kind
// of control adds what only it shows.
#include <windows.h>

#include <functional>
#include <string>

#include "core/scopedflag.h"
#include "ui/controls.h"
#include "win32/wide.h"
#include "win32/win32platform.h"

namespace trovik::win32 {

class FramedWindow;

class ControlPeer : public ui::Peer {
 public:
  ControlPeer(FramedWindow& window, ui::Control& model) : window_(window), model_(model) {}
  ~ControlPeer() override { detach(); }
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  // From attach on, every change of the model shows in the window.
  void attach() { model_.setPeer(this); }
  void detach();
  // Shows every aspect of the model at once.
  virtual void showAll();
  // Makes the control's window, and lets it go.
  virtual void create() = 0;
  virtual void reset() = 0;
  // The control's window (null before it is made).
  virtual HWND handle() const = 0;
  const ui::Control& model() const { return model_; }

 protected:
  // What a change of the model shows; by default the common aspects.
  virtual void show(ui::Aspect aspect, int index);
  void mirrorCommon(HWND h, ui::Aspect aspect);
  // Moves h to r (client coordinates of the window); height is the window's own.
  void place(HWND h, const ui::Rect& r, int height) const;

  // The model is being updated from its own window while this lives: the
  // changes of place and choice it makes are not sent back.
  class FromWindow : ScopedFlag {
   public:
    explicit FromWindow(ControlPeer& peer) : ScopedFlag(peer.fromWindow_) {}
  };

  FramedWindow& window_;
  ui::Control& model_;

 private:
  void changed(ui::Control& control, ui::Aspect aspect, int index) override;
  bool fromWindow_ = false;
};

// A model whose every change one function of the window shows: for the
// models of what the window itself is and paints.
class ModelHook final : public ui::Peer {
 public:
  using Show = std::function<void(ui::Aspect aspect)>;
  ModelHook(ui::Control& model, Show show) : model_(model), show_(std::move(show)) {}
  ~ModelHook() override { detach(); }
  ModelHook(const ModelHook&) = delete;
  ModelHook& operator=(const ModelHook&) = delete;
  void attach() { model_.setPeer(this); }
  void detach() {
    if (model_.peer() == this) model_.setPeer(nullptr);
  }

 private:
  void changed(ui::Control&, ui::Aspect aspect, int) override { show_(aspect); }
  ui::Control& model_;
  Show show_;
};

// The font a label's model asks for. Labels keep the window's font until the
// presenter gives one another font (the large-font adjustment does); from then
// on they show the presenter's font.
class LabelFont {
 public:
  // Follows the model; true when the font changed.
  bool update(const ui::Control& label, bool bold, HFONT base);
  // The font to draw with: the made one, or base.
  HFONT get(HFONT base) const { return font_ ? font_.get() : base; }

 private:
  FontOwner font_;    // null: the base font itself
  std::string name_;  // what it was made for; empty with size 0 for the base font
  int size_ = 0;
  bool made_ = false;
};

// A static text: the status label.
class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(FramedWindow& window, ui::Control& model, int id)
      : ControlPeer(window, model), id_(id) {}
  void create() override;
  void reset() override { label_.reset(); }
  HWND handle() const override { return label_.get(); }
  void showAll() override;

 private:
  void show(ui::Aspect aspect, int index) override;
  int id_;
  WindowOwner label_;
  LabelFont font_;
};

// Switches a control's drawing off for a batch of changes: it repaints and
// rescales once at the end instead of once per item. A hidden control needs
// this as much (a combo box re-measures its list on every addition). Where
// redraw is left to the default window procedure, switching it back on marks
// the window visible, so a hidden control is put back the way it was.
class RedrawOff {
 public:
  explicit RedrawOff(HWND h);
  ~RedrawOff();
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND h_;
  bool wasVisible_;
};

inline LRESULT send(HWND h, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(h, msg, wParam, lParam);
}
inline RECT toRect(const ui::Rect& r) {
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}

}  // namespace trovik::win32
