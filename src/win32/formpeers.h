#pragma once
// The peers of the dialogs' controls. Each makes its control's window, mirrors
// its model and hands what the user does back to the model first and then to
// the dialog's handler, so presenters read the model and never the window.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/controls.h"
#include "win32/controlpeer.h"
#include "win32/listbox.h"

namespace trovik::win32 {

// A child control of a dialog: its number, its window and the notifications
// it answers.
class FormPeer : public ControlPeer {
 public:
  using Handler = std::function<void()>;

  FormPeer(FramedWindow& window, ui::Control& model, int id, const wchar_t* windowClass,
           DWORD style)
      : ControlPeer(window, model), id_(id), class_(windowClass), style_(style) {}
  // Makes the control's window (hidden until the model shows it).
  void create() override;
  void reset() override { h_.reset(); }
  HWND handle() const override { return h_.get(); }
  int id() const { return id_; }
  void showAll() override;
  // A WM_COMMAND notification from the control; true when it was used.
  virtual bool command(int /*code*/) { return false; }

 protected:
  void show(ui::Aspect aspect, int index) override;
  // Runs a handler, when there is one.
  static void call(const Handler& h) {
    if (h) h();
  }

 private:
  int id_;
  const wchar_t* class_;
  DWORD style_;
  WindowOwner h_;
};

// A static text or a group box: shows the model's caption.
class TextPeer final : public FormPeer {
 public:
  TextPeer(FramedWindow& window, ui::Control& model, int id, bool groupBox = false)
      : FormPeer(window, model, id, groupBox ? L"BUTTON" : L"STATIC",
                 groupBox ? BS_GROUPBOX : SS_LEFTNOWORDWRAP | SS_NOPREFIX) {}
};

// An edit field. The user's typing updates the model's text, then onChange runs.
class EditPeer final : public FormPeer {
 public:
  EditPeer(FramedWindow& window, ui::Edit& model, int id, DWORD style = ES_AUTOHSCROLL)
      : FormPeer(window, model, id, L"EDIT", WS_TABSTOP | WS_BORDER | style), edit_(model) {}
  Handler onChange;
  bool command(int code) override;
  // Where the caret stands in the text, in characters.
  int caret() const;

 private:
  void show(ui::Aspect aspect, int index) override;
  ui::Edit& edit_;
};

// A push button; the default button answers Enter.
class ButtonPeer final : public FormPeer {
 public:
  ButtonPeer(FramedWindow& window, ui::Button& model, int id, bool isDefault = false)
      : FormPeer(window, model, id, L"BUTTON",
                 WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
        default_(isDefault) {}
  Handler onClick;
  bool command(int code) override;
  bool isDefault() const { return default_; }

 private:
  bool default_;
};

// A check box or a radio button. A click toggles a check box's model, or
// checks a radio button's (the presenter unchecks its neighbours), then
// onClick runs.
class CheckPeer final : public FormPeer {
 public:
  enum class Kind { CheckBox, Radio };
  CheckPeer(FramedWindow& window, ui::Checkable& model, int id, Kind kind)
      : FormPeer(window, model, id, L"BUTTON",
                 WS_TABSTOP | (kind == Kind::Radio ? BS_RADIOBUTTON : BS_CHECKBOX)),
        check_(model),
        kind_(kind) {}
  Handler onClick;
  bool command(int code) override;
  void showAll() override;

 private:
  void show(ui::Aspect aspect, int index) override;
  ui::Checkable& check_;
  Kind kind_;
};

// A list model shown as a list box (single or multiple selection) or as a
// drop-down combo box. The user's choice updates the model's current item
// and selection, then onSelect runs; a double click runs onDoubleClick.
class ListPeer final : public FormPeer {
 public:
  enum class Kind { List, MultiList, DropDown };
  ListPeer(FramedWindow& window, ui::ListBox& model, int id, Kind kind);
  Handler onSelect;
  Handler onDoubleClick;
  bool command(int code) override;
  void showAll() override;

 private:
  void show(ui::Aspect aspect, int index) override;
  const ListMessages& messages() const {
    return kind_ == Kind::DropDown ? kComboBoxMessages : kListBoxMessages;
  }
  ui::ListBox& list_;
  Kind kind_;
};

}  // namespace trovik::win32
