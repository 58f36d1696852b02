#pragma once
// Starts what a link entry names, member by member, through the shell; holds
// back the members of a forced-order group; ends the Windows session.
#include <cstdint>
#include <deque>
#include <string>

#include "core/context.h"
#include "ui/controls.h"

namespace trovik {

// Whoever runs links through the launcher: it holds the lists the entries
// come from and shows how a launch goes.
class LaunchClient {
 public:
  virtual ~LaunchClient() = default;
  // The names shown and the links beside them.
  virtual ui::ListBox& names() = 0;
  virtual ui::ListBox& links() = 0;
  // A launch begins: a path held for the Add/Edit dialog is forgotten.
  virtual void launchBegins() = 0;
  // remaining members are about to start; 0 when the launch shows nothing more.
  virtual void launchProgress(int remaining) = 0;
  // Open directory mode: a link's folder is opened instead of the link.
  virtual bool opensDirectories() const = 0;
  // A member was started and the task/event mode acts on it. True when the
  // window closes once everything asked for has started.
  virtual bool memberLaunched() = 0;
  // Everything asked for has started and a mode wants the window closed.
  virtual void closeAfterLaunch() = 0;
};

// Session requests for ExitWindowsEx.
enum SessionFlags : std::uint16_t {
  ewxLogOff = 0,
  ewxShutdown = 1,
  ewxReboot = 2,
  ewxForcedShutdown = 5
};

class Launcher {
 public:
  Launcher(Context& ctx, LaunchClient& client) : ctx_(ctx), client_(client) {}

  // Runs a link entry. A launch asked for while another one is still starting
  // its members (the window keeps serving messages meanwhile) waits for it
  // and then runs, in the order asked.
  void runlink(std::string entry);
  void forcehold(std::int32_t prev, std::int32_t result, std::int32_t show, std::string path,
                 bool flag);
  bool shutdownwindows(std::uint16_t flags);
  // Opens a window's help page ("mainwindow.htm"...) from "helpfiles\" in the
  // program's directory, maximised; says so under caption when it is missing.
  void openHelp(const std::string& page, const std::string& caption);

  bool launching() const { return launching_; }

 private:
  void runOne(std::string entry);
  void launchWork(const std::string& entry);
  void repairCounts();
  // Starts member i; returns false when the drive-not-ready message asks to
  // try the same member again.
  bool startMember(const std::string& member, bool forced, bool last);

  Context& ctx_;
  LaunchClient& client_;
  bool launching_ = false;
  bool closeAfterLaunch_ = false;
  std::deque<std::string> waiting_;
};

}  // namespace trovik
