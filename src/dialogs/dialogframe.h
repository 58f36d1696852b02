#pragma once
// What the program's three small dialogs (Add/Edit, command line, browse)
// have alike: the models of their own title bar and frame, the caption
// colours that follow activation, the hints option, the rescaling on screens
// above 96 dots per inch, and the one interface through which a dialog's
// presenter asks something of its window.
#include <initializer_list>
#include <string>

#include "ui/controls.h"

namespace trovik {

// What a dialog's presenter asks of the window that shows it. Until a window
// is attached, a window that is not there answers (no cursor, nothing open).
class DialogView {
 public:
  virtual ~DialogView() = default;
  // Gives a control the keyboard focus.
  virtual void focus(ui::Control& control) = 0;
  // The cursor of an edit field: the number of characters before it.
  virtual int caret(const ui::Edit& edit) const = 0;
  virtual void setCaret(ui::Edit& edit, int position) = 0;
  // Opens or closes a combo box's drop-down list, which shows at most rows
  // rows at a time.
  virtual void dropDown(ui::ListBox& list, bool open, int rows) = 0;
  virtual bool droppedDown(const ui::ListBox& list) const = 0;
  // Brings the window to the front.
  virtual void bringToFront() = 0;
};

// The window a presenter has before it gets a real one.
DialogView& noDialogView();

struct DialogFrame {
  explicit DialogFrame(const std::string& title);

  ui::Panel tbar{"tbar"};
  ui::Label ttitle{"ttitle"};
  ui::Button tclose{"tclose"};
  ui::Button thelp{"thelp"};
  ui::Control tborder{"tborder"};
  // The dialog shows tool-tips.
  bool showHints = true;

  // Activation: the caption colours, and hints only while the option asks
  // for them. Deactivation: the inactive caption colours.
  void activate(bool hintsOption);
  void deactivate();
  // Lays the bar out over a window of this size: it spans the width less 4
  // pixels, the close button 4 pixels from the right edge, help left of it,
  // and the frame line around everything.
  void resize(int width, int height);
  // On a screen above 96 dots per inch, scales the places and sizes of the
  // controls back to their designed size; labels keep their width and take
  // "Small fonts" below 8 points.
  void rescale(int dpi, std::initializer_list<ui::Control*> controls,
               std::initializer_list<ui::Control*> labels);
};

// System colour indexes of the title bar.
enum CaptionColor : unsigned {
  kActiveCaption = 2,
  kInactiveCaption = 3,
  kCaptionText = 9,
  kInactiveCaptionText = 19
};

}  // namespace trovik
