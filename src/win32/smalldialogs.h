#pragma once
// The windows of the command-line dialog and the browse dialog.
#include <windows.h>

#include "win32/presenteddialog.h"

namespace trovik {
class Application;
class Tacf;
class TOpenFileDir;
}  // namespace trovik

namespace trovik::win32 {

class AcfWindow final : public PresentedDialog {
 public:
  static constexpr const char* kClassName = "Tacf";
  explicit AcfWindow(Application& app);
  ~AcfWindow() override;
  // The presenter's window from now on (its FormCreate runs); the window
  // itself is made, owned by owner, when it is first shown.
  void prepare(HWND owner);

 private:
  void created() override;
  void closeClicked() override;
  void helpClicked() override;
  void activated(bool active) override;

  Application& app_;
  Tacf& d_;
};

class OpenFileDirWindow final : public PresentedDialog {
 public:
  static constexpr const char* kClassName = "TOpenFileDir";
  explicit OpenFileDirWindow(Application& app);
  ~OpenFileDirWindow() override;
  // The presenter's window from now on (its FormCreate runs); the window
  // itself is made, owned by owner, when it is first shown.
  void prepare(HWND owner);

 private:
  void created() override;
  void closeClicked() override;
  void helpClicked() override;
  void activated(bool active) override;
  bool preTranslate(MSG& msg) override;

  Application& app_;
  TOpenFileDir& d_;
  ListPeer* directories_ = nullptr;
};

}  // namespace trovik::win32
