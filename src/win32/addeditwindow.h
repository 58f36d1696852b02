#pragma once
// The Add/Edit link dialog's window: a control for each model of the
// presenter, input turned into its handlers, files dropped from the shell on
// the member list, and members dragged within it.
#include <windows.h>

#include "dialogs/addedit.h"
#include "win32/dragreorder.h"
#include "win32/presenteddialog.h"

namespace trovik {
class Application;
}  // namespace trovik

namespace trovik::win32 {

class AddEditWindow final : public PresenterWindow<TAddEdit> {
 public:
  static constexpr const wchar_t* kClassName = L"TAddEdit";

  explicit AddEditWindow(Application& app);

 private:
  void created() override;
  void cancelPressed() override;
  bool preTranslate(MSG& msg) override;
  LRESULT dialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void filesDropped(HDROP drop);
  // The member under a point of the screen; the count below the last one.
  int memberAt(POINT screen) const;
  // A press on a selected member starts a drag instead of a new selection.
  bool pressOnMember(const MSG& msg);
  void releaseDrag(POINT screen);

  EditPeer* path_ = nullptr;
  ListPeer* mrl_ = nullptr;
  ListPeer* autoclist_ = nullptr;
  DragReorder drag_;
  int dragFrom_ = -1;
};

}  // namespace trovik::win32
