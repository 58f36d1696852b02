#pragma once
// The main window as a presenter: the models of its controls and its
// handlers. The Win32 view mirrors the models and calls the handlers.
#include <array>
#include <string>
#include <vector>

#include "config/options.h"
#include "core/context.h"
#include "launch/launcher.h"
#include "linkstore/linkstore.h"
#include "mainwindow/form1view.h"
#include "mainwindow/sorting.h"
#include "ui/controls.h"
#include "ui/pairedlist.h"

namespace trovik {

class TAddEdit;
class TOptionsForm;

class TForm1 : public LaunchClient {
 public:
  explicit TForm1(Context& ctx);

  // The window itself: its bounds and caption.
  ui::Control Form1{"Form1"};
  // Title bar and frame, drawn by the program itself.
  ui::Panel tbar{"tbar"};
  ui::Label ttitle{"ttitle"};
  ui::Control ticon{"ticon"};  // opens the system menu
  // Title-bar buttons are checked while they show their pressed picture.
  ui::Checkable tclose{"tclose"};
  ui::Control tborder{"tborder"};
  // The current fileset: names shown, links hidden beside them.
  ui::ListBox List1{"List1"};
  ui::ListBox link1{"link1"};
  ui::ListBox mmlist{"mmlist"};    // the Snapbar drop-down list
  ui::TabBar qswitch{"qswitch"};   // the QuickSwitch bar
  ui::Label status{"status"};      // "LAUNCHING (n)" while links start
  ui::Control SysTray{"SysTray"};  // the tray icon; shown while visible
  int ctabi = -1;
  int snapbarDDCount = 8;    // rows the Snapbar drop-down shows
  int hintHidePause = 6000;  // how long a pop-up hint stays, in ms
  bool showHints = true;     // the window shows pop-up hints

  // The window's state as the toolkit keeps it.
  enum class WindowState { Normal, Minimized, Maximized };
  WindowState windowState = WindowState::Normal;
  void setWindowState(WindowState s) {
    windowState = s;
    Form1.touch(ui::Aspect::State);
  }

  // Title-bar buttons besides the close button.
  ui::Checkable tminimize{"tminimize"};
  ui::Checkable tmaximize{"tmaximize"};
  ui::Checkable thelp{"thelp"};
  ui::Checkable tmlm{"tmlm"};  // the Snapbar toggle
  // The bottom row of the list modes.
  ui::Label delab{"delab"};  // "DELETE", "EDIT" or "COPY" while a list mode is on
  ui::Button up{"up"};
  ui::Button down{"down"};
  ui::Edit ma{"ma"};  // how many places the move buttons move, at most 3 characters
  ui::Button cmrb{"cmrb"};

  // The main pop-up menu and the title bar's system menu. Their items take
  // caption, shortcut, place and handler from the command table (commands.h).
  ui::MenuItem splitmenu{"splitmenu"};
  ui::MenuItem FileSets{"FileSets"};
  ui::MenuItem Switch{"Switch"};
  ui::MenuItem Import1{"import"};
  ui::MenuItem Export1{"export"};
  ui::MenuItem TaskEvent{"TaskEvent"};
  ui::MenuItem runexit{"runexit"};
  ui::MenuItem droplaunch{"droplaunch"};
  ui::MenuItem droplaunchexit{"droplaunchexit"};
  ui::MenuItem RunMinimize{"RunMinimize"};
  ui::MenuItem DropLaunchMinimize{"DropLaunchMinimize"};
  ui::MenuItem Opendirectory{"Opendirectory"};
  ui::MenuItem SortListBy{"SortListBy"};
  ui::MenuItem Linkname{"Linkname"};
  ui::MenuItem Filename{"Filename"};
  ui::MenuItem Filepath{"Filepath"};
  ui::MenuItem Filetype{"Filetype"};
  ui::MenuItem ReverseSort{"ReverseSort"};
  ui::MenuItem WindowsMenu{"WindowsMenu"};
  ui::MenuItem swindows{"swindows"};
  ui::MenuItem rwindows{"rwindows"};
  ui::MenuItem lwindows{"lwindows"};
  ui::MenuItem edititem{"edititem"};
  ui::MenuItem deleteitem{"deleteitem"};
  ui::MenuItem copyitems{"copyitems"};
  ui::MenuItem moveitems{"moveitems"};
  ui::MenuItem createmultirun{"createmultirun"};
  ui::MenuItem Maximize{"Maximize"};
  ui::MenuItem tmenu{"tmenu"};
  ui::MenuItem Maximize3{"Maximize3"};
  // Item editing and the other commands of the pop-up menu (form1edit.cpp).
  ui::MenuItem Management{"Management"};
  ui::MenuItem general1{"general1"};
  ui::MenuItem additem{"additem"};
  ui::MenuItem Cutitems{"Cutitems"};
  ui::MenuItem PasteItems{"PasteItems"};
  ui::MenuItem clearlist{"clearlist"};
  ui::MenuItem Selectall{"Selectall"};
  ui::MenuItem Selectnone{"Selectnone"};
  ui::MenuItem Invertselection{"Invertselection"};
  ui::MenuItem savemainlist{"savemainlist"};
  ui::MenuItem refreshlist{"refreshlist"};
  ui::MenuItem Newfileset{"Newfileset"};
  ui::MenuItem Deletefileset{"Deletefileset"};
  ui::MenuItem options{"options"};
  ui::MenuItem Centremain2{"Centremain2"};
  ui::MenuItem Help{"Help"};
  ui::MenuItem Minimize{"Minimize"};
  ui::MenuItem tosnapbar{"tosnapbar"};
  ui::MenuItem Size1{"Size1"};
  ui::MenuItem Move1{"Move1"};
  ui::MenuItem Minimize3{"Minimize3"};
  ui::MenuItem N1{"N1"};
  ui::MenuItem Close1{"Close1"};
  // The link pop-up of a QuickSwitch tab, filled on each right-click.
  ui::MenuItem fscmenu{"fscmenu"};
  // Names and links cut or copied in General/Move mode; they outlive a
  // fileset switch, which is how links move between filesets.
  ui::ItemBlock clip;
  // General/Move mode: selected items can be dragged to a new place.
  bool listDragging = false;
  // The Snapbar list's drop-down is open (the window tells).
  bool mmlistDropped = false;

  // The one way into the filesets' files.
  LinkStore store;
  Launcher launcher;
  // The dialogs the main window hands work to; set once by the program.
  TAddEdit* addEdit = nullptr;
  TOptionsForm* optionsForm = nullptr;

  // The window that shows this presenter, or none (nullptr) before it is
  // made and after it has gone.
  void attachView(Form1View* view) { view_ = view; }
  Form1View& view() const { return view_ ? *view_ : noView(); }

  // The launcher's client: the launch shows in the status label, and the
  // task/event modes act after each member.
  ui::ListBox& names() override { return List1; }
  ui::ListBox& links() override { return link1; }
  void launchBegins() override;
  void launchProgress(int remaining) override;
  bool opensDirectories() const override { return Opendirectory.checked(); }
  bool memberLaunched() override;
  // A drop launches file after file: closing after the first would run the
  // close while the later files are still being launched and added.
  void closeAfterLaunch() override {
    if (dropping_)
      closeAfterDrop_ = true;
    else
      view().close();
  }

  // Handlers.
  void tcloseClick();

  // Item editing and list modes (form1edit.cpp, form1items.cpp).
  void Moveitems1Click(ui::MenuItem* sender);
  void Deleteitem1Click();
  void Edititem1Click();
  void Copy1Click();
  void CutitemsClick();
  void PasteItemsClick();
  void upClick();
  void downClick();
  void Additem1Click();
  void Clearlist1Click();
  void CreatemultirunClick();
  void cmrbClick();
  void SelectallClick();
  void SelectnoneClick();
  void InvertselectionClick();
  void Savelist1Click();
  void Refreshlist1Click();
  void Options1Click();
  void NewfilesetClick();
  void DeletefilesetClick();

  // QuickSwitch and Snapbar (form1snapbar.cpp).
  void qswitchChanging();
  void qswitchChange();
  void qswitchMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void qmClick(void* sender);
  void tosnapbarClick();
  void mmlistClick();
  void mmlistKeyDown(std::uint16_t& key, ShiftState shift);
  void mmlistKeyUp(std::uint16_t& key, ShiftState shift);
  void FormPaint();

  // The title bar, system menu, tray icon and hotkey (form1frame.cpp).
  void tbarMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void ttitleMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void tborderMouseDown(MouseButton button);
  void tbarDblClick();
  void ttitleDblClick();
  void ticonClick();
  void ticonDblClick();
  void tminimizeClick(void* sender);
  void tmaximizeClick();
  void thelpClick();
  // Press and release of a title-bar button (tclose, thelp, tmaximize,
  // tminimize), at x, y within the button.
  void titleButtonMouse(ui::Checkable& button, bool down, MouseButton mouse, ShiftState shift,
                        int x, int y);
  void HelpClick();
  void Centremain2Click();
  void Maximize3Click();
  void Size1Click();
  void Move1Click();
  void Minimize3Click();
  void Close1Click();
  void SysTrayClick();
  void SysTrayDblClick();
  void SysTrayRightClick(MouseButton button, ShiftState shift, int x, int y);
  // The bring-to-front hotkey was pressed (WM_HOTKEY with its identifier).
  void wmhotkey(int id);
  // Runs when the window is asked to close; action None keeps it open.
  void FormClose(CloseAction& action);
  void FormResize();
  // A fileset item of the Switch submenu was chosen.
  void HistHandler(ui::MenuItem& sender);
  // The main list: clicks, keys and the fly multirun (several links picked
  // with Ctrl held and run as one group).
  void List1Click() { List1Click(&List1); }
  void List1Click(void* sender);  // Enter clicks with no Sender
  void List1DblClick();
  void List1MouseDown(MouseButton button, ShiftState shift, int x, int y);
  void List1KeyDown(std::uint16_t& key, ShiftState shift);
  void List1KeyUp(std::uint16_t& key, ShiftState shift);
  void FormKeyDown(std::uint16_t key, ShiftState shift);
  void FormKeyUp(std::uint16_t key, ShiftState shift);
  void FormMouseDown(MouseButton button, ShiftState shift, int x, int y);
  void delabMouseDown(MouseButton button);
  // Runs the link behind an item of a QuickSwitch tab's link pop-up.
  void RLHandler(ui::MenuItem& sender);
  // The links of the pop-up a QuickSwitch tab shows, and its items, in order.
  std::vector<std::string> popupLinks;
  std::vector<ui::MenuItem*> popupItems;
  std::vector<std::unique_ptr<ui::MenuItem>> retiredPopup;
  // Rebuilds the title from the checked modes.
  void rebuildTitle();
  // Writes "CurrentFileSet" for the fileset now shown.
  void rememberCurrentFileset();

  // Task/event modes (exclusive) and Open directory.
  void RunExit1Click();
  void DropLaunchClick();
  void DropLaunchExitClick();
  void RunMinimizeClick();
  void DropLaunchMinimize1Click();
  void Opendirectory1Click();
  void modesoff();
  bool exitModeChecked() const { return runexit.checked() || droplaunchexit.checked(); }
  bool minimizeModeChecked() const { return RunMinimize.checked() || DropLaunchMinimize.checked(); }
  bool dropLaunchModeChecked() const {
    return droplaunch.checked() || droplaunchexit.checked() || DropLaunchMinimize.checked();
  }

  // Files dropped on the window from the shell, at a point in client coordinates.
  void form1wmdropfiles(MessageRecord message, const std::vector<std::string>& paths, int x, int y);
  // Selected items dragged to another place in the list.
  void List1DragDrop(void* source, int x, int y);

  // Windows session.
  void SWindows1Click();
  void RWindows1Click();
  void lwindowsClick();

  bool forceforegroundwindow(WindowHandle window);
  // Sorting (sorting.cpp). The Sender is the clicked menu item; resort calls
  // the four sort commands without one, which leaves the check marks alone.
  void Linkname1Click(ui::MenuItem* sender);
  void Filename1Click(ui::MenuItem* sender);
  void filepath1Click(ui::MenuItem* sender);
  void Filetype1Click(ui::MenuItem* sender);
  void Reverse1Click();
  void resort();
  void sortoff();

  // The current fileset in the two lists (form1lists.cpp): loadlist fills
  // them from the fileset apppath names and repairs lists out of step,
  // savelist hands them back, autobuild rebuilds the QuickSwitch tabs and the
  // Switch submenu from the filesets under root (index n >= 1: the path of
  // the n-th subdirectory fileset is the result).
  void loadlist();
  void savelist();
  std::string autobuild(std::string root, int index);
  void clearhistory();
  // Brings names and links back into step after a load or an import that
  // gave them different lengths, asking the user how.
  void repairCounts();
  // The three ways a name is derived from a link entry.
  std::string nameRuleA(const std::string& e);  // the target, tidied
  std::string nameRuleB(const std::string& e);  // the whole entry, tidied
  std::string nameRuleC(const std::string& e);  // repair: the file name only
  // The fileset directory of each QuickSwitch tab, as the last scan found them.
  const std::vector<std::string>& tabDirectories() const { return tabDirectories_; }
  // The fileset directory of tab or Switch item index, whose caption is
  // caption: the one the last scan found for it; past those (an extension
  // added it) its caption's directory, and the base for the first.
  std::string tabDirectory(int index, const std::string& caption) const;
  // The current fileset could not be read: the lists show nothing, and
  // nothing is saved over it until a load succeeds.
  void listsUnreadable();

  // Filesets (filesets.cpp). switchfileset loads the fileset apppath names
  // and remembers it (extensions know it as "switch"); the callers set apppath.
  void switchfileset();
  void nextfileset();
  void previousfileset();
  // The one way from the current fileset to dir: saved first (when
  // saveFirst; a failed save throws and nothing moves), dir's files checked
  // (a missing link file is reported, missing names asked about), then
  // loaded. False when the window stays where it was.
  bool enterFileset(const std::string& dir, bool saveFirst);
  // Space and Backspace in the list or the Snapbar: the next or the previous
  // fileset, and the one-time tip about switching views.
  void stepFileset(bool forward);
  // Makes BaseDirectory\NewFileSet<n> with empty list files; its path, without
  // a trailing backslash.
  std::string createnewfileset();
  void Import1Click();
  void Export1Click();
  // Tool-tips shown exactly while the option asks for them.
  void showhints();

  // Reads every option into its variable and applies it to the window.
  void loadoptions();
  // Writes the window's size, place and modes for the next start.
  void saveformstate();
  // Registers the bring-to-front key named by slkey.
  void sethotkey();
  void centremain();
  void FormActivate();
  void FormDeactivate();
  // The Windows session is ending (ending) or the end was cancelled.
  void wmendsession(bool ending);
  // On screens above 96 dots per inch the controls are scaled back to their
  // designed size.
  void adjustForLargeFonts(int dpi);
  // Give the interface texts their built-in wording (extensions may reword them).
  void loadformtext();
  void loadhelptext();

 private:
  // Raises a form event around a handler's own work, with its Sender: the
  // control it came from, or for the window's own events this object, which
  // is also what getform1 hands out and what rescalecontrols takes.
  template <class Work, class... B>
  void handle(std::string_view event, void* sender, Work&& work, B... b) {
    ctx_.events.run(event, std::forward<Work>(work), in(sender, &EventSlots::cobject), b...);
  }

  // Selects or deselects one of the five exclusive task/event modes.
  void selectMode(std::string_view event, ui::MenuItem& mode);
  // The title: the product title and the tags of the checked modes.
  std::string modeTitle(bool withTaskEvent) const;
  const std::string* modeTag(const ui::MenuItem& mode) const;
  // Asks (when confirm is set), makes the request, and offers the forced
  // request when Windows refuses it.
  void requestEndOfSession(bool confirm, const std::string& question, unsigned flags,
                           const std::string& fallback);
  // Shut down or restart, with the confirmation and the forced fallback.
  void endSession(std::string_view event, ui::MenuItem& sender, bool confirm,
                  const std::string& question, unsigned flags, const std::string& fallback);
  void refreshSnapbarList() { mmlist.assignItems(List1.items()); }
  // Sorting's own work: the check marks of a sort command, the sort, moving
  // names and links together, and the Snapbar copy with the current item.
  void sortCommand(std::string_view event, ui::MenuItem& item, ui::MenuItem* sender, SortKey key);
  void sortBy(SortKey key);
  void reorder(const std::vector<int>& order);
  void showListInSnapbar();
  // Moves the current fileset from Switch item from to item to, and the tab.
  void moveToFileset(int from, int to, int tab);
  void importFrom(const std::string& dir);
  void exportTo(const std::string& dir);
  // The click modes of the list, shown by delab, and General/Move mode.
  bool inListMode(const std::string& caption) const {
    return delab.visible() && delab.caption() == caption;
  }
  bool generalMoveMode() const { return up.visible(); }
  bool flyMultirunTitle() const;
  // Takes a trailing " - Run..." off the title, leaving the list's selection mode.
  void dropFlyTag();
  // The link of item i; empty for a name without one (the lists out of step),
  // which the launcher then offers to repair before it runs nothing.
  std::string linkAt(int i) const {
    return i >= 0 && i < link1.count() ? link1.item(i) : std::string();
  }
  // The extras of the list modes: the whole bottom row, and General/Move's own.
  std::array<ui::Control*, 5> bottomRow() { return {&delab, &up, &down, &ma, &cmrb}; }
  std::array<ui::Control*, 3> moveControls() { return {&up, &down, &ma}; }
  // Ends every list mode (Add item and Snapbar mode do).
  void listModesOff();
  // Enters DELETE, EDIT or COPY mode: delab shows the caption, item is checked.
  void enterClickMode(const std::string& caption, ui::MenuItem& item);
  // Switches the list between single selection and multiple selection with
  // dragging (General/Move), and shows or hides the selection commands.
  void selectionCommands(bool on);
  // Takes out every selected item (names, links); the Snapbar copy follows.
  void removeSelected();
  // The move buttons' shared rules; direction -1 up, +1 down.
  void moveItems(std::string_view event, ui::Control& sender, int direction);
  // Focus back to the list, or to the Snapbar list in Snapbar mode.
  void focusList() { view().focus(mmlist.visible() ? mmlist : List1); }
  // The title-bar double click maximises while the bar is active and the
  // button is there.
  void titleDoubleClick(std::string_view event, ui::Control& sender);
  // What the tray icon's three clicks share.
  void trayToFront();
  // Maximises or restores, keeping the window inside the work area meanwhile.
  void toggleMaximized();
  // Hands a clicked item to the open Add/Edit dialog.
  void handToAddEdit(int i);
  // Sets a one-time tip flag of section "Help"; true when it was not set yet.
  bool firstTime(Option flag);
  // Whether the Add/Edit dialog, or either dialog, is open.
  bool addEditOpen() const;
  bool dialogOpen() const;
  // Ends the fly multirun: its title tag goes and the list selects one item again.
  void endFlyMultirun();
  // Where dropped files go: another fileset's directory, or empty for the
  // current list at position p.
  std::string dropTarget(int x, int y, int& p);

  static Form1View& noView();
  std::string deriveName(std::string n, const std::string& e);

  std::vector<ui::MenuItem*> history_;  // the fileset items of the Switch submenu
  // Items taken out of the submenu by the last rebuild. A rebuild runs inside
  // the click of one of them (switching filesets), so they live until the next.
  std::vector<std::unique_ptr<ui::MenuItem>> retired_;
  std::vector<std::string> tabDirectories_;
  bool listsBlocked_ = false;                       // the last load failed: see listsUnreadable
  bool dropping_ = false, closeAfterDrop_ = false;  // see closeAfterLaunch

  Context& ctx_;
  Form1View* view_ = nullptr;
};

}  // namespace trovik
