#pragma once
// The base of the program's dialogs: a window with the program's own frame,
// made hidden once and kept for the whole run (the presenter shows and hides
// it through its form model), owned by the main window and centred on the
// screen each time it is shown. It holds its controls' peers, routes their
// notifications by control number, and gives the keyboard its dialog
// meaning: Tab moves between controls, Enter presses the default button,
// Escape cancels, F1 asks for help.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win32/formpeers.h"
#include "win32/framedwindow.h"
#include "win32/querytags.h"

namespace trovik::win32 {

class DialogWindow : public FramedWindow {
 public:
  // Gives a control of this dialog the keyboard focus.
  void focus(const ui::Control& control);
  // The peer of a control of this dialog, or null.
  FormPeer* peerOf(const ui::Control& control) const;

 protected:
  DialogWindow(Context& ctx, FrameModels models, bool sizable)
      : FramedWindow(ctx, models, sizable) {}

  // Adds a control: made at once when the window exists, else with it.
  template <class Peer, class... Args>
  Peer& add(Args&&... args) {
    auto peer = std::make_unique<Peer>(*this, std::forward<Args>(args)...);
    Peer& p = *peer;
    peers_.push_back(std::move(peer));
    if (hwnd()) start(p);
    return p;
  }
  // Makes the window, hidden, with every control added so far.
  void createDialog(const wchar_t* className, HWND owner);
  // Makes it, with created() after, only when the form is first shown: under
  // Wine every control costs a round trip to the server, and many runs never
  // open a dialog at all.
  void createOnFirstShow(const wchar_t* className, HWND owner) {
    className_ = className;
    owner_ = owner;
  }
  // The window and its controls were just made on the first showing.
  virtual void created() {}

  // Escape, and the close message of the system: by default the close button.
  virtual void cancelPressed() { closeClicked(); }
  // The window was activated or deactivated (the caption colours follow).
  virtual void activated(bool /*active*/) {}
  // Every message neither the frame nor the dialog answers.
  virtual LRESULT dialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultMessage(msg, wParam, lParam);
  }
  void formChanged(ui::Aspect aspect) override;
  bool preTranslate(MSG& msg) override;

 private:
  LRESULT windowMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
  void shownBeforeCreated() override;
  void start(FormPeer& peer);
  void centre();
  // The control with the keyboard when the dialog was deactivated, and
  // giving it the keyboard back (the first control when that one cannot
  // take it any more).
  void rememberFocus();
  void restoreFocus();
  int defaultButton() const;
  LRESULT controlQuery(const COPYDATASTRUCT& data) const;

  std::vector<std::unique_ptr<FormPeer>> peers_;
  const wchar_t* className_ = nullptr;  // set: made on the first showing
  HWND owner_ = nullptr;
  HWND focus_ = nullptr;
};

}  // namespace trovik::win32
