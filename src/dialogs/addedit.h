#pragma once
// The Add/Edit link dialog as a presenter: its controls, the routines that
// read a link entry into them and write it back, and every handler. The
// window (src/win32) mirrors the models and calls the handlers; the main
// window reaches the dialog through its public members.
#include <string>
#include <vector>

#include "core/context.h"
#include "dialogs/dialogframe.h"
#include "launch/launcher.h"
#include "ui/controls.h"

namespace trovik {

class LinkStore;
class Tacf;
class TOpenFileDir;

// What the dialog reaches in the main window.
class AddEditOwner {
 public:
  virtual ~AddEditOwner() = default;
  // The current fileset: names shown, links beside them, the Snapbar copy.
  virtual ui::ListBox& names() = 0;
  virtual ui::ListBox& links() = 0;
  virtual ui::ListBox& snapbarNames() = 0;
  virtual void savelist() = 0;
  virtual void resort() = 0;
  // The way into another fileset's files, for an edit saved where it came from.
  virtual LinkStore& filesets() = 0;
  // The EDIT list mode ends: its label hidden, "Edit item" unchecked.
  virtual void editModeDone() = 0;
  // The fileset manager's New: a new fileset, listed at once.
  virtual void newFileset() = 0;
};

class TAddEdit {
 public:
  TAddEdit(Context& ctx, AddEditOwner& owner, Launcher& launcher);

  ui::Control AddEdit{"AddEdit"};  // the dialog window itself; open while visible
  DialogFrame frame{"Add link"};
  // The dialog's window, which owns its message boxes; 0 while it has none.
  WindowHandle handle = 0;
  // The dialogs it opens; set once by the program.
  Tacf* acf = nullptr;
  TOpenFileDir* openFileDir = nullptr;

  ui::Label Label1{"Label1"};  // "Item label:"
  ui::Edit itemLabel{"itemLabel"};
  ui::Label Label2{"Label2"};  // "File path/Address:"
  ui::Edit path{"path"};
  ui::ListBox autoclist{"autoclist"};  // completions of path
  ui::ListBox mrl{"mrl"};              // the members of a multirun group
  ui::RadioButton runnormal{"runnormal"};
  ui::RadioButton runmax{"runmax"};
  ui::RadioButton runmin{"runmin"};
  ui::CheckBox mr{"mr"};    // multirun mode
  ui::CheckBox foc{"foc"};  // force order
  ui::CheckBox lfc{"lfc"};  // check that local files exist
  ui::Button addlink{"addlink"};
  ui::Button cancel{"cancel"};
  ui::Button browse{"browse"};
  ui::Button afb{"afb"};  // add members
  ui::Button rf{"rf"};    // remove members
  ui::Button ef{"ef"};    // edit a member
  ui::Button cl{"cl"};    // clear the members
  ui::Button ctl{"ctl"};  // copy to the list
  ui::Button lcase{"lcase"};
  ui::Button de{"de"};  // link direct to a shortcut's target
  ui::Button ac{"ac"};  // command line
  ui::Button cp{"cp"};  // copy to label
  ui::Button cpp{"cpp"};
  ui::Button cppe{"cppe"};
  ui::Control Shape2{"Shape2"};  // the separator line above the run styles
  // One run style per member of mrl: empty, "+lrma" or "+lrmi".
  std::vector<std::string> MemberRunStyles;

  // What the main window opened the dialog for, and where.
  bool AddPending = false;
  bool EditPending = false;
  std::string EditHome;

  void attachView(DialogView* view) { view_ = view; }
  DialogView& view() const { return view_ ? *view_ : noDialogView(); }

  // Shows the dialog (FormShow when it was closed) and brings it to the front.
  void showDialog();
  // Closes the dialog, whichever way: FormClose runs.
  void closeDialog();
  bool isOpen() const { return AddEdit.visible(); }
  // Closes a dialog this one opened (command line, browse) and takes the
  // keyboard back into the path field.
  void returnFrom(ui::Control& dialog);

  void FormCreate(int dpi);
  // On a screen above 96 dots per inch, scales the controls back to their
  // designed size (extensions ask for it too).
  void rescalecontrols(int dpi);
  void FormShow();
  void FormActivate();
  void FormDeactivate();
  void helpClicked();

  // Shows the multirun controls.
  void dmrun();
  // Lays the lower part of the dialog out for the current mode.
  void autosize();
  // The path rebuilt from the members: each followed by the separator.
  void rebuildPath();
  // mrl (and the run styles beside it) rebuilt from the path.
  void refreshmrl();
  // Fills the completion list with the entries that complete text.
  void autocomplete(std::string text);
  // The run style the three choices stand for: empty, "+lrma" or "+lrmi".
  std::string chosenRunStyle() const;
  // Chooses one of the three run styles.
  void chooseRunStyle(ui::RadioButton& choice);

  // Reading an entry into the dialog.
  void madd(int index);
  void clcommmrl(int k);
  void clcommedit2();

  // Handlers.
  void mrClick();
  void pathChange();
  void pathClick();
  // Escape in the path field; true when it closed the completion list.
  bool pathEscape();
  void autoclistClick();
  void autoclistDropDown();
  void mrlClick();
  void mrlDblClick() { efClick(); }
  void runnormalClick() { runStyleClick(runnormal); }
  void runmaxClick() { runStyleClick(runmax); }
  void runminClick() { runStyleClick(runmin); }
  void afbClick();
  void efClick();
  void rfClick();
  void clClick();
  // The selected members dragged to the member at index (count: below the last).
  void mrlDragDrop(int index);
  // Files from the shell dropped on mrl at index (count: below the last).
  void mrlDropFiles(const std::vector<std::string>& files, int index);
  void cpClick();
  void cppClick();
  void cppeClick();
  void deClick();
  void lcaseClick();
  void acClick();
  void browseClick();
  void ctlClick();
  void addlinkClick();
  void cancelClick() { closeDialog(); }
  void tcloseClick() { closeDialog(); }

  // The member of a group in which the path's cursor stands: its first
  // character and the one after it (the next separator or the end).
  struct Span {
    size_t begin = 0, end = 0;
  };
  Span memberAtCursor() const;
  // The member index remembered when "Edit file" was pressed.
  int editedMember = -1;

 private:
  enum class LabelCopy { Whole, Name, NameWithoutExtension };
  void copyToLabel(LabelCopy how);
  std::string labelFrom(const std::string& text, LabelCopy how);
  void runStyleClick(ui::RadioButton& choice);
  void showMultirunControls(bool group);
  void openBrowser(const std::string& target);
  std::string resolvedDrop(const std::string& file);
  std::string groupEntry();
  // The steps of confirming; false stops with the dialog open.
  void accessKeyTip();
  // What confirming would start: each member of a group, else the path.
  std::vector<std::string> targets() const;
  // False, having said so, when the entry would start nothing.
  bool somethingToRun();
  bool localFilesExist();
  bool store(const std::string& entry);
  bool storeInOtherFileset(const std::string& entry);
  void append(const std::string& name, const std::string& link);
  // The dialog's own questions are its own, whoever set it to work: it stays
  // on top, and a box owned by the main window could open behind it.
  Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
             Icon icon = Icon::None);
  void reportIoError(const IoError& e) {
    ask(e.what(), ctx_.texts.maint, Buttons::Ok, Icon::Error);
  }
  // The members selected in mrl, in list order.
  std::vector<int> selectedMembers() const;

  Context& ctx_;
  AddEditOwner& owner_;
  Launcher& launcher_;
  DialogView* view_ = nullptr;
  unsigned completions_ = 0;  // counts autocomplete runs, so a nested one wins
};

}  // namespace trovik
