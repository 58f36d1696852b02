// Shutting down, restarting or logging off Windows from the main window.
#include "mainwindow/form1.h"

namespace trovik {

void TForm1::endSession(std::string_view event, ui::MenuItem& sender, bool confirm,
                        const std::string& question, unsigned flags, const std::string& fallback) {
  handle(event, &sender, [&] {
    endFlyMultirun();
    requestEndOfSession(confirm, question, flags, fallback);
  });
}

void TForm1::requestEndOfSession(bool confirm, const std::string& question, unsigned flags,
                                 const std::string& fallback) {
  if (confirm && !ctx_.askYes(question, ctx_.texts.maint)) return;
  if (launcher.shutdownwindows(static_cast<std::uint16_t>(flags))) return;
  if (ctx_.askYes(fallback, ctx_.texts.maint)) {
    // A forced end gives the program no chance to save later.
    savelist();
    launcher.shutdownwindows(ewxForcedShutdown);
  }
}

void TForm1::SWindows1Click() {
  endSession("form1shutdownwindowsclick", swindows, ctx_.vars.wconfirms,
             ctx_.texts.f1shutdownconfirm, ewxShutdown, ctx_.texts.f1shutdownfail);
}

void TForm1::RWindows1Click() {
  endSession("form1restartwindowsclick", rwindows, ctx_.vars.wconfirmr, ctx_.texts.f1restartconfirm,
             ewxReboot, ctx_.texts.f1restartfail);
}

void TForm1::lwindowsClick() { launcher.shutdownwindows(ewxLogOff); }

}  // namespace trovik
