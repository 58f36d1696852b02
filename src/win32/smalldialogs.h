#pragma once
// The windows of the command-line dialog and the browse dialog.
#include <windows.h>

#include "dialogs/acf.h"
#include "dialogs/openfiledir.h"
#include "win32/presenteddialog.h"

namespace trovik {
class Application;
}  // namespace trovik

namespace trovik::win32 {

class AcfWindow final : public PresenterWindow<Tacf> {
 public:
  static constexpr const wchar_t* kClassName = L"Tacf";
  explicit AcfWindow(Application& app);
};

class OpenFileDirWindow final : public PresenterWindow<TOpenFileDir> {
 public:
  static constexpr const wchar_t* kClassName = L"TOpenFileDir";
  explicit OpenFileDirWindow(Application& app);

 private:
  bool preTranslate(MSG& msg) override;

  ListPeer* directories_ = nullptr;
};

}  // namespace trovik::win32
