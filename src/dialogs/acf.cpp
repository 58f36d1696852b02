#include "dialogs/acf.h"

#include <algorithm>

#include "dialogs/addedit.h"

namespace trovik {

namespace {
constexpr int kWidth = 300, kHeight = 110;
}  // namespace

Tacf::Tacf(Context& ctx, TAddEdit& addEdit, Launcher& launcher)
    : ctx_(ctx), addEdit_(addEdit), launcher_(launcher) {
  acf.setVisible(false);
  acf.setCaption("Edit command line");
  Label1.setCaption(">:");
  Label2.setCaption("Type the command line options in the box below");
  aca.setCaption("Add");
  acc.setCaption("Cancel");
  acf.setBounds({0, 0, kWidth, kHeight});
  Label2.setBounds({8, 24, kWidth - 16, 14});
  Label1.setBounds({8, 46, 16, 14});
  commandtext.setBounds({26, 43, kWidth - 34, 21});
  aca.setBounds({kWidth - 164, 74, 75, 25});
  acc.setBounds({kWidth - 83, 74, 75, 25});
  frame.resize(kWidth, kHeight);
}

void Tacf::rescalecontrols(int dpi) {
  frame.rescale(dpi, {&commandtext, &aca, &acc}, {&Label1, &Label2});
}

void Tacf::showDialog(const std::string& command) {
  commandtext.setText(command);
  addEdit_.AddEdit.setEnabled(false);
  acf.setVisible(true);
  view().bringToFront();
  view().focus(commandtext);
}

void Tacf::closeDialog() { addEdit_.returnFrom(acf); }

void Tacf::FormActivate() {
  void* sender = this;
  ctx_.events.run(
      "formacactivate", [&] { frame.activate(ctx_.vars.sh); }, in(sender, &EventSlots::cobject));
}

void Tacf::helpClicked() { launcher_.openHelp("commandwindow.htm", ctx_.texts.maint); }

void Tacf::acaClick() {
  const std::string& sep = ctx_.vars.commandsep;
  const std::string command = commandtext.text();
  // A target keeps its text before the separator and takes the new command.
  auto withCommand = [&](const std::string& text) {
    const std::string target =
        text.substr(0, static_cast<size_t>(std::max(0, ctx_.syntax.findcommand(text) - 3)));
    return command.empty() ? target : target + sep + command;
  };
  const std::string text = addEdit_.path.text();
  if (ctx_.syntax.ismr(text)) {
    const TAddEdit::Span s = addEdit_.memberAtCursor();
    addEdit_.path.setText(text.substr(0, s.begin) +
                          withCommand(text.substr(s.begin, s.end - s.begin)) + text.substr(s.end));
    addEdit_.refreshmrl();
  } else {
    addEdit_.path.setText(withCommand(text));
  }
  commandtext.setText("");
  closeDialog();
}

}  // namespace trovik
