#include "win32/smalldialogs.h"

#include "app/application.h"

namespace trovik::win32 {

namespace {
enum AcfId : int { kAcfLabel2 = 100, kAcfLabel1, kCommandText, kAca, kAcc };
enum BrowseId : int {
  kDrive = 100,
  kDirectoryList,
  kFileList,
  kFilter,
  kSelect,
  kCancel,
};
}  // namespace

AcfWindow::AcfWindow(Application& app)
    : PresenterWindow(app.ctx, app.acf, app.acf.acf, kClassName, app.hostapi.repaintAcf) {
  add<TextPeer>(d_.Label2, kAcfLabel2);
  add<TextPeer>(d_.Label1, kAcfLabel1);
  add<EditPeer>(d_.commandtext, kCommandText);
  add<ButtonPeer>(d_.aca, kAca, true).onClick = [this] { d_.acaClick(); };
  add<ButtonPeer>(d_.acc, kAcc).onClick = [this] { d_.accClick(); };
}

OpenFileDirWindow::OpenFileDirWindow(Application& app)
    : PresenterWindow(app.ctx, app.OpenFileDir, app.OpenFileDir.OpenFileDir, kClassName,
                      app.hostapi.repaintOpenFileDir) {
  add<ListPeer>(d_.Drive, kDrive, ListPeer::Kind::DropDown).onSelect = [this] { d_.DriveChange(); };
  directories_ = &add<ListPeer>(d_.DirectoryList, kDirectoryList, ListPeer::Kind::List);
  directories_->onDoubleClick = [this] { d_.DirectoryListDblClick(); };
  ListPeer& files = add<ListPeer>(d_.FileList, kFileList, ListPeer::Kind::List);
  files.onDoubleClick = [this] { d_.FileListDblClick(); };
  add<ListPeer>(d_.FilterComboBox1, kFilter, ListPeer::Kind::DropDown).onSelect = [this] {
    d_.FilterComboBox1Change();
  };
  add<ButtonPeer>(d_.select, kSelect, true).onClick = [this] { d_.selectClick(); };
  add<ButtonPeer>(d_.cancel, kCancel).onClick = [this] { d_.cancelClick(); };
}

bool OpenFileDirWindow::preTranslate(MSG& msg) {
  // Enter in the folder list opens the folder rather than choosing it.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && directories_ &&
      msg.hwnd == directories_->handle()) {
    guarded([&] { d_.DirectoryListDblClick(); });
    return true;
  }
  return PresentedDialog::preTranslate(msg);
}

}  // namespace trovik::win32
