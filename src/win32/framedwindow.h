#pragma once
// The base of every window of the program: none has a system frame, each
// draws its own title bar (the title on the caption colours, a close button
// and, where the window offers help, a help button) and its frame line.
// Dragging the bar moves the window; the window's edges size it where it is
// sizable; F1 asks for help like the help button. The presenter owns the
// models of the frame (and sets the caption colours on activation); this base
// mirrors them and hands the buttons' clicks to the window.
#include <windows.h>

#include <memory>
#include <vector>

#include "core/scopedflag.h"
#include "ui/controls.h"
#include "win32/controlpeer.h"
#include "win32/tooltip.h"
#include "win32/window.h"

namespace trovik::win32 {

struct FrameModels {
  ui::Control& form;  // the window itself: place, text, enabled state, visibility
  ui::Control& tbar;
  ui::Control& ttitle;
  ui::Control& tclose;
  ui::Control* thelp;  // null: the window offers no help (no button, F1 left alone)
  ui::Control& tborder;
  // The main window's further title-bar pieces; null where a window has none.
  ui::Control* tminimize = nullptr;
  ui::Control* tmaximize = nullptr;
  ui::Control* tmlm = nullptr;   // the Snapbar toggle
  ui::Control* ticon = nullptr;  // the program's icon, left on the bar
};

class FramedWindow : public Window {
 public:
  // The font of the window's controls (a stock font: the system owns it).
  HFONT guiFont() const { return guiFont_; }
  Tooltip& tooltip() { return tooltip_; }
  // A control of this window, with its font; throws when the system refuses.
  WindowOwner createControl(const wchar_t* className, DWORD style, int id);
  // Repaints what the window paints itself.
  void invalidateFrame();
  // The window follows the mouse until the button is released, as when a
  // system caption is dragged.
  void startDrag();

 protected:
  FramedWindow(Context& ctx, FrameModels models, bool sizable);
  ~FramedWindow() override;

  // Creates the window, hidden, where the form model has it, with its frame
  // buttons and hints, and starts mirroring the frame's models.
  void createFrame(const WNDCLASSEXW& windowClass, DWORD style, DWORD exStyle, HWND owner);
  // Stops mirroring them (before the window or the models go).
  void detachFrame();
  // The form was shown while the window did not exist yet.
  virtual void shownBeforeCreated() {}

  // The frame's buttons and F1.
  virtual void closeClicked() = 0;
  virtual void helpClicked() {}
  // The help button (F1 is helpClicked alone), and the further buttons.
  virtual void helpButtonClicked() { helpClicked(); }
  virtual void frameButtonClicked(ui::Control& /*button*/) {}
  // A mouse message on a title-bar button (press, release, right click)
  // before the button sees it; true when it was used up.
  virtual bool frameButtonMouse(ui::Control& /*button*/, const MSG& /*msg*/) { return false; }
  // A press or double click on the title bar itself (client point); true
  // when the window handled it, else a left press drags.
  virtual bool titleBarMouse(UINT /*msg*/, WPARAM /*wParam*/, POINT /*at*/) { return false; }
  // Every message the frame does not answer itself.
  virtual LRESULT windowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultMessage(msg, wParam, lParam);
  }
  // Paints what the window shows besides its frame.
  virtual void paintClient(HDC) {}
  // A change of the form model; by default its place, text, enabled state
  // and visibility.
  virtual void formChanged(ui::Aspect aspect);
  bool preTranslate(MSG& msg) override;

  RECT titleBarRect() const { return toRect(models_.tbar.bounds()); }
  bool inTitleBar(POINT at) const;
  // Updates the form model from the window itself: its place and state
  // changes are not sent back to the window.
  template <class Update>
  void updateFormFromWindow(Update&& update) {
    ScopedFlag fromWindow(formFromWindow_);
    update();
  }

 private:
  class CaptionButton;

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
  void showFrame();
  void titleChanged(ui::Aspect aspect);
  void barChanged(ui::Aspect aspect);
  // The window was moved or sized: the form model follows.
  void boundsFromWindow();
  LRESULT hitTest(LPARAM lParam);
  void paint(HDC dc);
  bool buttonCommand(int id, int code);

  FrameModels models_;
  bool sizable_;
  HFONT guiFont_ = nullptr;
  LabelFont titleFont_;  // bold
  Tooltip tooltip_;
  std::unique_ptr<CaptionButton> close_;
  std::unique_ptr<CaptionButton> help_;
  std::unique_ptr<CaptionButton> minimize_;
  std::unique_ptr<CaptionButton> maximize_;
  std::unique_ptr<CaptionButton> snapbar_;
  // Every button there is, in one list.
  std::vector<CaptionButton*> buttons() const;
  ModelHook form_;
  ModelHook bar_;
  ModelHook title_;
  ModelHook border_;
  bool formFromWindow_ = false;
};

}  // namespace trovik::win32
