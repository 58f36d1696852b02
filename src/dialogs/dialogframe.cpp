#include "dialogs/dialogframe.h"

#include <algorithm>

namespace trovik {

namespace {
class NoDialogView final : public DialogView {
 public:
  void focus(ui::Control&) override {}
  int caret(const ui::Edit& edit) const override { return static_cast<int>(edit.text().size()); }
  void setCaret(ui::Edit&, int) override {}
  void dropDown(ui::ListBox&, bool, int) override {}
  bool droppedDown(const ui::ListBox&) const override { return false; }
  void bringToFront() override {}
};
}  // namespace

DialogView& noDialogView() {
  static NoDialogView none;
  return none;
}

DialogFrame::DialogFrame(const std::string& title) {
  ttitle.setCaption(title);
  tclose.setHint("Close");
  thelp.setHint("Help");
  tbar.setColor(kInactiveCaption);
  ttitle.setColor(kInactiveCaptionText);
}

void DialogFrame::activate(bool hintsOption) {
  tbar.setColor(kActiveCaption);
  ttitle.setColor(kCaptionText);
  showHints = hintsOption;
}

void DialogFrame::deactivate() {
  tbar.setColor(kInactiveCaption);
  ttitle.setColor(kInactiveCaptionText);
}

void DialogFrame::resize(int width, int height) {
  tbar.setBounds({2, 2, width - 4, 16});
  // The title and the buttons lie within the bar.
  ttitle.setBounds({4, 1, std::max(width - 50, 0), 14});
  tclose.setBounds({width - 4 - 2 - 16, 1, 16, 14});
  thelp.setBounds({width - 4 - 2 - 32, 1, 16, 14});
  tborder.setBounds({0, 0, width, height});
}

void DialogFrame::rescale(int dpi, std::initializer_list<ui::Control*> controls,
                          std::initializer_list<ui::Control*> labels) {
  ui::rescaleControls(dpi, controls, labels);
  ui::rescaleControls(dpi, {}, {&ttitle});
}

}  // namespace trovik
