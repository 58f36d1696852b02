#pragma once
// The application: the program's parts, and the creation and closing of the
// main window that bring them to life and end them.
#include <memory>
#include <string>

#include "host/program.h"

namespace trovik {

class TBigIniFile;

class Application : public Program {
 public:
  // exeDir: the directory of the executable, BaseDirectory.
  Application(Platform& platform, std::string exeDir);

  // The main window's creation: directories, first run, options, the list.
  void FormCreate();
  // Closing the main window. Returns false when the window must stay open.
  bool close();

 private:
  void loadExtensionList();
  // Brings interrupted saves of the base and the current fileset to their
  // end and clears scratch files; false when the current one cannot be.
  bool recoverFilesets();
  // Start-up questions: the update reminder, and files an older release left.
  void remindOfUpdates(TBigIniFile& options);
  void offerToDeleteObsoleteFiles();
  std::string exeDir_;
};

}  // namespace trovik
