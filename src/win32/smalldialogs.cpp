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
    : PresentedDialog(app.ctx, app.acf.frame, app.acf.acf), app_(app), d_(app.acf) {
  add<TextPeer>(d_.Label2, kAcfLabel2);
  add<TextPeer>(d_.Label1, kAcfLabel1);
  add<EditPeer>(d_.commandtext, kCommandText);
  add<ButtonPeer>(d_.aca, kAca, true).onClick = [this] { d_.acaClick(); };
  add<ButtonPeer>(d_.acc, kAcc).onClick = [this] { d_.accClick(); };
}

AcfWindow::~AcfWindow() {
  d_.attachView(nullptr);
  d_.handle = 0;
  app_.hostapi.repaintAcf = nullptr;
  detachFrame();
  destroy();
}

void AcfWindow::prepare(HWND owner) {
  d_.attachView(this);
  app_.hostapi.repaintAcf = [this] {
    if (hwnd()) UpdateWindow(hwnd());
  };
  guarded([&] { d_.FormCreate(app_.ctx.platform.windows.screen().dpi); });
  createOnFirstShow(kClassName, owner);
}

void AcfWindow::created() {
  PresentedDialog::created();
  d_.handle = reinterpret_cast<WindowHandle>(hwnd());
}

void AcfWindow::closeClicked() {
  guarded([&] { d_.tcloseClick(); });
}

void AcfWindow::helpClicked() {
  guarded([&] { d_.helpClicked(); });
}

void AcfWindow::activated(bool active) {
  if (active)
    d_.FormActivate();
  else
    d_.FormDeactivate();
  showHints();
}

OpenFileDirWindow::OpenFileDirWindow(Application& app)
    : PresentedDialog(app.ctx, app.OpenFileDir.frame, app.OpenFileDir.OpenFileDir),
      app_(app),
      d_(app.OpenFileDir) {
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

OpenFileDirWindow::~OpenFileDirWindow() {
  d_.attachView(nullptr);
  d_.handle = 0;
  app_.hostapi.repaintOpenFileDir = nullptr;
  detachFrame();
  destroy();
}

void OpenFileDirWindow::prepare(HWND owner) {
  d_.attachView(this);
  app_.hostapi.repaintOpenFileDir = [this] {
    if (hwnd()) UpdateWindow(hwnd());
  };
  guarded([&] { d_.FormCreate(app_.ctx.platform.windows.screen().dpi); });
  createOnFirstShow(kClassName, owner);
}

void OpenFileDirWindow::created() {
  PresentedDialog::created();
  d_.handle = reinterpret_cast<WindowHandle>(hwnd());
}

void OpenFileDirWindow::closeClicked() {
  guarded([&] { d_.tcloseClick(); });
}

void OpenFileDirWindow::helpClicked() {
  guarded([&] { d_.helpClicked(); });
}

void OpenFileDirWindow::activated(bool active) {
  if (active)
    d_.FormActivate();
  else
    d_.FormDeactivate();
  showHints();
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
