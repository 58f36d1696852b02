#pragma once
// Starts what a link entry names, member by member, through the shell; holds
// back the members of a forced-order group; ends the Windows session.
#include <cstdint>
#include <deque>
#include <string>

#include "core/context.h"

namespace trovik {

class TForm1;
class TAddEdit;

// Session requests for ExitWindowsEx.
enum SessionFlags : std::uint16_t {
  ewxLogOff = 0,
  ewxShutdown = 1,
  ewxReboot = 2,
  ewxForcedShutdown = 5
};

class Launcher {
 public:
  Launcher(Context& ctx, TForm1& form, TAddEdit& addEdit)
      : ctx_(ctx), form_(form), addEdit_(addEdit) {}

  // Runs a link entry. A launch asked for while another one is still starting
  // its members (the window keeps serving messages meanwhile) waits for it
  // and then runs, in the order asked.
  void runlink(std::string entry);
  void forcehold(std::int32_t prev, std::int32_t result, std::int32_t show, std::string path,
                 bool flag);
  bool shutdownwindows(std::uint16_t flags);

  bool launching() const { return launching_; }

 private:
  void runOne(std::string entry);
  void launchWork(const std::string& entry);
  void repairCounts();
  // Starts member i; returns false when the drive-not-ready message asks to
  // try the same member again.
  bool startMember(const std::string& member, bool forced, bool last);
  void afterRun();

  Context& ctx_;
  TForm1& form_;
  TAddEdit& addEdit_;
  bool launching_ = false;
  bool closeAfterLaunch_ = false;
  std::deque<std::string> waiting_;
};

}  // namespace trovik
