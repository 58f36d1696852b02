#pragma once
// The browse dialog: a drive list, the directories of the current path, the
// files that match the chosen filter, and the choice written back into the
// Add/Edit dialog (its path, a new member, or the member being edited).
#include <string>
#include <vector>

#include "core/context.h"
#include "dialogs/dialogframe.h"
#include "launch/launcher.h"
#include "ui/controls.h"

namespace trovik {

class TAddEdit;

class TOpenFileDir {
 public:
  TOpenFileDir(Context& ctx, TAddEdit& addEdit, Launcher& launcher);

  ui::Control OpenFileDir{"OpenFileDir"};  // the dialog window itself; open while visible
  DialogFrame frame{"Browse"};
  WindowHandle handle = 0;

  ui::ListBox Drive{"Drive"};                      // "c:", "d:", ...
  ui::ListBox DirectoryList{"DirectoryList"};      // the path down to here, then its folders
  ui::ListBox FileList{"FileList"};                // files of the directory that match
  ui::ListBox FilterComboBox1{"FilterComboBox1"};  // descriptions of the filters
  ui::Button select{"select"};
  ui::Button cancel{"cancel"};

  void attachView(DialogView* view) { view_ = view; }
  DialogView& view() const { return view_ ? *view_ : noDialogView(); }

  // The current directory, with its trailing backslash.
  const std::string& directory() const { return directory_; }
  // Makes dir current: its drive chosen, its path and folders, its files.
  void setDirectory(const std::string& dir);
  // The mask of the chosen filter ("*.exe;*.bat;*.com").
  const std::string& mask() const { return mask_; }

  // Opens in startDir when that exists, else where it was last; the Add/Edit
  // dialog waits disabled until it closes.
  void showDialog(const std::string& startDir = {});
  // Closes, whichever way; the Add/Edit dialog is enabled again.
  void closeDialog();
  bool isOpen() const { return OpenFileDir.visible(); }

  void FormCreate(int dpi) { rescalecontrols(dpi); }
  // On a screen above 96 dots per inch, scales the controls back to their
  // designed size (extensions ask for it too).
  void rescalecontrols(int dpi);
  void FormActivate() { frame.activate(ctx_.vars.sh); }
  void FormDeactivate() { frame.deactivate(); }
  void helpClicked();
  void DriveChange();
  // A folder of DirectoryList opened (double click or Enter).
  void DirectoryListDblClick();
  void FilterComboBox1Change();
  void FileListDblClick() { selectClick(); }
  void selectClick();
  void cancelClick() { closeDialog(); }
  void tcloseClick() { closeDialog(); }

  // The chosen name: the selected file, or the current directory.
  std::string choice();

 private:
  // FileList: the directory's files that match the filter.
  void fillFiles();

  Context& ctx_;
  TAddEdit& addEdit_;
  Launcher& launcher_;
  DialogView* view_ = nullptr;
  std::string directory_;
  std::string mask_;
  std::vector<std::string> drives_;       // beside Drive: the roots
  std::vector<std::string> directories_;  // beside DirectoryList: full paths
  std::vector<std::string> files_;        // every file of the directory, by name
};

// Whether a file name matches one of the masks of a filter ("*.exe;*.bat"),
// as the system matches "*" and "?" (any case; "*.*" matches every name).
bool matchesMask(const std::string& name, const std::string& masks);

}  // namespace trovik
