// The catalogue of events: every event the host raises, what raises it and
// the slots it fills, in one table. Each row is raised through the presenters
// with three extensions registered on every event, one "before", one
// "override", one "after"; each must be heard in that order with the row's
// slots filled and no others. The event list of the SDK's guide is this table.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

// What the rows hand the handlers, and so what the slots must hold.
constexpr std::int32_t kX = 11, kY = 22, kZ = 33;
constexpr std::uint16_t kKey = 65;
constexpr std::uintptr_t kHandle = 44;
constexpr ShiftState kShift = ssShift | ssCtrl;
constexpr MouseButton kButton = MouseButton::Middle;
const char* const kText = "C:\\Canon\\app.exe";
const char* const kText2 = "second";
const MessageRecord kDrop{0x233, 55, 0, 0};

struct Catalogue;

struct Row {
  const char* event;     // as the host raises it
  const char* raisedBy;  // the user action or call, as the guide says it
  const char* slots;     // what the host puts there: arguments; results
  void (*raise)(Catalogue&);
  const char* afterName = nullptr;  // the closing call's spelling, when it differs
};

struct Catalogue : ExtensionHarness {
  TForm1& f = app.form1;
  TAddEdit& addEdit = app.AddEdit;
  TOptionsForm& options = app.OptionsForm;
  void mouse(void (TForm1::*handler)(MouseButton, ShiftState, int, int)) {
    (f.*handler)(kButton, kShift, kX, kY);
  }
  void key(void (TForm1::*handler)(std::uint16_t&, ShiftState)) {
    std::uint16_t k = kKey;
    (f.*handler)(k, kShift);
  }
};

using C = Catalogue;

// clang-format off
const Row kRows[] = {
  // The main window.
  {"form1create", "start-up: the main window is made (`FormCreate`)", "cobject", [](C& c) { c.app.FormCreate(); }},
  {"form1activate", "the main window is activated (`FormActivate`)", "cobject", [](C& c) { c.f.FormActivate(); }},
  {"form1deactivate", "the main window loses the activation (`FormDeactivate`)", "cobject", [](C& c) { c.f.FormDeactivate(); }},
  {"form1resize", "the main window is resized, the options are loaded or applied, Snapbar mode toggles (`FormResize`)", "cobject", [](C& c) { c.f.FormResize(); }},
  {"form1paint", "the main window is painted (`FormPaint`)", "cobject", [](C& c) { c.f.FormPaint(); }},
  {"form1close", "the main window closes (`FormClose`)", "cobject closeaction", [](C& c) { CloseAction a = CloseAction::Free; c.f.FormClose(a); }},
  {"form1mousedown", "a press on the window's background (`FormMouseDown`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::FormMouseDown); }},
  {"form1list1click", "a click or Enter on the list (`List1Click`)", "cobject", [](C& c) { c.f.List1Click(); }},
  {"form1list1doubleclick", "a double click on the list (`List1DblClick`)", "cobject", [](C& c) { c.f.List1DblClick(); }},
  {"form1list1mousedown", "a press on the list (`List1MouseDown`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::List1MouseDown); }},
  {"form1list1keydown", "a key pressed in the list (`List1KeyDown`); a `cword` of 0 takes the key", "cobject cword shiftstate", [](C& c) { c.key(&TForm1::List1KeyDown); }},
  {"form1list1keyup", "a key released in the list (`List1KeyUp`)", "cobject cword shiftstate", [](C& c) { c.key(&TForm1::List1KeyUp); }},
  {"form1list1dragdrop", "items dragged to another place in General/Move mode (`List1DragDrop`)", "cobject cobject2 cint cint2", [](C& c) { c.f.List1DragDrop(&c.f.List1, kX, kY); }},
  {"form1mmlistclick", "an item chosen in the Snapbar list (`mmlistClick`)", "cobject", [](C& c) { c.f.mmlistClick(); }},
  {"form1mmlistkeydown", "a key pressed in the Snapbar list (`mmlistKeyDown`)", "cobject cword shiftstate", [](C& c) { c.key(&TForm1::mmlistKeyDown); }},
  {"form1mmlistkeyup", "a key released in the Snapbar list (`mmlistKeyUp`)", "cobject cword shiftstate", [](C& c) { c.key(&TForm1::mmlistKeyUp); }},
  {"form1qswitchchange", "a QuickSwitch tab was chosen (`qswitchChange`)", "cobject", [](C& c) { c.f.qswitchChange(); }},
  {"form1qswitchchanging", "a QuickSwitch tab is about to be chosen (`qswitchChanging`)", "cobject", [](C& c) { c.f.qswitchChanging(); }},
  {"form1qswitchmousedown", "any press on the QuickSwitch bar (`qswitchMouseDown`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::qswitchMouseDown); }},
  {"form1qmclick", "the Snapbar title button (`qmClick`)", "cobject", [](C& c) { c.f.qmClick(&c.f.tmlm); }},
  {"form1upclick", "the Up button of General/Move mode (`upClick`)", "cobject", [](C& c) { c.f.upClick(); }},
  {"form1downclick", "the Down button of General/Move mode (`downClick`)", "cobject", [](C& c) { c.f.downClick(); }},
  {"form1moveitemsclick", "General/Move in the pop-up menu (`Moveitems1Click`)", "cobject", [](C& c) { c.f.Moveitems1Click(&c.f.moveitems); }},
  {"form1deleteitemclick", "Delete item (`Deleteitem1Click`)", "cobject", [](C& c) { c.f.Deleteitem1Click(); }},
  {"form1edititemclick", "Edit item (`Edititem1Click`)", "cobject", [](C& c) { c.f.Edititem1Click(); }},
  {"form1additemclick", "Add item, Insert (`Additem1Click`)", "cobject", [](C& c) { c.f.Additem1Click(); }},
  {"form1copyitemclick", "Copy item (`Copy1Click`)", "cobject", [](C& c) { c.f.Copy1Click(); }},
  {"form1cutitemsclick", "Cut, Ctrl+X in General/Move mode (`CutitemsClick`)", "cobject", [](C& c) { c.f.CutitemsClick(); }},
  {"form1pasteitemsclick", "Paste, Ctrl+V (`PasteItemsClick`)", "cobject", [](C& c) { c.f.PasteItemsClick(); }},
  {"form1selectallclick", "Select all (`SelectallClick`)", "cobject", [](C& c) { c.f.SelectallClick(); }},
  {"form1selectnoneclick", "Select none (`SelectnoneClick`)", "cobject", [](C& c) { c.f.SelectnoneClick(); }},
  {"form1invertselectionclick", "Invert selection (`InvertselectionClick`)", "cobject", [](C& c) { c.f.InvertselectionClick(); }},
  {"form1clearlistclick", "Clear list (`Clearlist1Click`)", "cobject", [](C& c) { c.f.Clearlist1Click(); }},
  {"form1refreshlistclick", "Refresh list (`Refreshlist1Click`)", "cobject", [](C& c) { c.f.Refreshlist1Click(); }},
  {"form1savelistclick", "Save list (`Savelist1Click`)", "cobject", [](C& c) { c.f.Savelist1Click(); }},
  {"form1createmultirunclick", "Create multirun (`CreatemultirunClick`)", "cobject", [](C& c) { c.f.CreatemultirunClick(); }},
  {"form1cmrbclick", "the Create button of the multirun selection (`cmrbClick`)", "cobject", [](C& c) { c.f.cmrbClick(); }},
  {"form1optionsclick", "Options, F12 (`Options1Click`)", "cobject", [](C& c) { c.f.Options1Click(); }},
  {"form1importclick", "Import (`Import1Click`)", "cobject", [](C& c) { c.f.Import1Click(); }},
  {"form1exportclick", "Export (`Export1Click`)", "cobject", [](C& c) { c.f.Export1Click(); }},
  {"form1newfilesetclick", "New fileset (`NewfilesetClick`)", "cobject", [](C& c) { c.f.NewfilesetClick(); }},
  {"form1deletefilesetclick", "Delete fileset (`DeletefilesetClick`)", "cobject", [](C& c) { c.f.DeletefilesetClick(); }},
  {"form1runexitclick", "the Run/Exit mode (`RunExit1Click`)", "cobject", [](C& c) { c.f.RunExit1Click(); }},
  {"form1droplaunchclick", "the Drop/Launch mode (`DropLaunchClick`)", "cobject", [](C& c) { c.f.DropLaunchClick(); }},
  {"form1droplaunchexitclick", "the Drop/Launch/Exit mode (`DropLaunchExitClick`)", "cobject", [](C& c) { c.f.DropLaunchExitClick(); }},
  {"form1runminimizeclick", "the Run/Minimize mode (`RunMinimizeClick`)", "cobject", [](C& c) { c.f.RunMinimizeClick(); }},
  {"form1droplaunchminimizeclick", "the Drop/Launch/Minimize mode (`DropLaunchMinimize1Click`)", "cobject", [](C& c) { c.f.DropLaunchMinimize1Click(); }},
  {"form1opendirectoryclick", "the Open directory mode (`Opendirectory1Click`)", "cobject", [](C& c) { c.f.Opendirectory1Click(); }},
  {"form1linknameclick", "Sort by link name (`Linkname1Click`)", "cobject", [](C& c) { c.f.Linkname1Click(&c.f.Linkname); }},
  {"form1filenameclick", "Sort by file name (`Filename1Click`)", "cobject", [](C& c) { c.f.Filename1Click(&c.f.Filename); }},
  {"form1filepathclick", "Sort by file path (`filepath1Click`)", "cobject", [](C& c) { c.f.filepath1Click(&c.f.Filepath); }},
  {"form1filetypeclick", "Sort by file type (`Filetype1Click`)", "cobject", [](C& c) { c.f.Filetype1Click(&c.f.Filetype); }},
  {"form1reverseclick", "Reverse sort order (`Reverse1Click`)", "cobject", [](C& c) { c.f.Reverse1Click(); }},
  {"form1shutdownwindowsclick", "Shutdown Windows (`SWindows1Click`)", "cobject", [](C& c) { c.f.SWindows1Click(); }},
  {"form1restartwindowsclick", "Restart Windows (`RWindows1Click`)", "cobject", [](C& c) { c.f.RWindows1Click(); }},
  {"form1centremainclick", "Centre window (`Centremain2Click`)", "cobject", [](C& c) { c.f.Centremain2Click(); }},
  {"form1helpclick", "Help, F1, and the help title button (`HelpClick`)", "cobject", [](C& c) { c.f.HelpClick(); }},
  {"form1sizeclick", "Size in the system menu (`Size1Click`)", "cobject", [](C& c) { c.f.Size1Click(); }},
  {"form1moveclick", "Move in the system menu (`Move1Click`)", "cobject", [](C& c) { c.f.Move1Click(); }},
  {"form1minimize3click", "Minimize in the system menu (`Minimize3Click`)", "cobject", [](C& c) { c.f.Minimize3Click(); }},
  {"form1maximize3click", "Maximize or Restore in the system menu (`Maximize3Click`)", "cobject", [](C& c) { c.f.Maximize3Click(); }},
  {"form1closeclick", "Close in the system menu (`Close1Click`)", "cobject", [](C& c) { c.f.Close1Click(); }},
  {"form1tosnapbarclick", "Snapbar, Alt+I (`tosnapbarClick`)", "cobject", [](C& c) { c.f.tosnapbarClick(); }},
  {"form1systrayclick", "a click on the tray icon (`SysTrayClick`)", "cobject", [](C& c) { c.f.SysTrayClick(); }},
  {"form1systraydoubleclick", "a double click on the tray icon (`SysTrayDblClick`)", "cobject", [](C& c) { c.f.SysTrayDblClick(); }},
  {"form1systrayrightclick", "a right click on the tray icon (`SysTrayRightClick`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::SysTrayRightClick); }},
  {"form1tbarmousedown", "a press on the title bar (`tbarMouseDown`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::tbarMouseDown); }},
  {"form1tbardoubleclick", "a double click on the title bar (`tbarDblClick`)", "cobject", [](C& c) { c.f.tbarDblClick(); }},
  {"form1ttitlemousedown", "a press on the title (`ttitleMouseDown`)", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.mouse(&TForm1::ttitleMouseDown); }},
  {"form1ttitledoubleclick", "a double click on the title (`ttitleDblClick`)", "cobject", [](C& c) { c.f.ttitleDblClick(); }},
  {"form1ticonclick", "a click on the title bar's icon (`ticonClick`)", "cobject", [](C& c) { c.f.ticonClick(); }},
  {"form1ticondoubleclick", "a double click on the title bar's icon (`ticonDblClick`)", "cobject", [](C& c) { c.f.ticonDblClick(); }},
  {"form1tcloseclick", "the close title button (`tcloseClick`)", "cobject", [](C& c) { c.f.tcloseClick(); }},
  {"form1tclosemousedown", "a press on the close title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tclose, true, kButton, kShift, kX, kY); }},
  {"form1tclosemouseup", "a release on the close title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tclose, false, kButton, kShift, kX, kY); }},
  {"form1tminimizeclick", "the minimize title button, Minimize (`tminimizeClick`)", "cobject", [](C& c) { c.f.tminimizeClick(&c.f.tminimize); }},
  {"form1tminimizemousedown", "a press on the minimize title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tminimize, true, kButton, kShift, kX, kY); }},
  {"form1tminimizemouseup", "a release on the minimize title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tminimize, false, kButton, kShift, kX, kY); }},
  {"form1tmaximizeclick", "the maximize title button (`tmaximizeClick`)", "cobject", [](C& c) { c.f.tmaximizeClick(); }},
  {"form1tmaximizemousedown", "a press on the maximize title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tmaximize, true, kButton, kShift, kX, kY); }},
  {"form1tmaximizemouseup", "a release on the maximize title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.tmaximize, false, kButton, kShift, kX, kY); }},
  {"form1thelpclick", "the help title button (`thelpClick`)", "cobject", [](C& c) { c.f.thelpClick(); }},
  {"form1thelpmousedown", "a press on the help title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.thelp, true, kButton, kShift, kX, kY); }},
  {"form1thelpmouseup", "a release on the help title button", "cobject mousebutton shiftstate cint cint2", [](C& c) { c.f.titleButtonMouse(c.f.thelp, false, kButton, kShift, kX, kY); }},
  {"form1.histhandler", "a fileset chosen in the Switch submenu (`HistHandler`)", "cobject", [](C& c) { c.f.HistHandler(c.f.Switch); }},
  {"form1rlhandler", "a link chosen in a QuickSwitch tab's pop-up (`RLHandler`)", "cobject", [](C& c) { c.f.RLHandler(c.f.fscmenu); }},
  {"form1wmdropfiles", "files dropped on the window from the shell", "wmdropfiles", [](C& c) { c.f.form1wmdropfiles(kDrop, {kText}, kX, kY); }},
  // Routines of the main window and the core.
  {"loadoptions", "`loadoptions`: at start-up", "", [](C& c) { c.f.loadoptions(); }},
  {"saveformstate", "`saveformstate`: at close, on a fileset switch", "", [](C& c) { c.f.saveformstate(); }},
  {"blankset", "`blankset`: a fresh options file for a directory", "cstring", [](C& c) { blankset(c.app.ctx, kText); }},
  {"loadlist", "`loadlist`: the current fileset is read", "", [](C& c) { c.f.loadlist(); }},
  {"savelist", "`savelist`: the current fileset is written", "", [](C& c) { c.f.savelist(); }},
  {"autobuild", "`autobuild`: the filesets below a directory are found (tab index or -1)", "cstring cint; cstring2", [](C& c) { c.f.autobuild(kText, kX); }},
  {"madd", "`madd`: a link becomes a member of the Add/Edit group", "cint", [](C& c) { c.addEdit.madd(kX); }},
  {"clcommmrl", "`clcommmrl`: a member's run style is read", "cint", [](C& c) { c.addEdit.clcommmrl(kX); }},
  {"clcommedit2", "`clcommedit2`: the Add/Edit path's run style is read", "", [](C& c) { c.addEdit.clcommedit2(); }},
  {"runlink", "`runlink`: a link entry is run", "cstring", [](C& c) { c.f.launcher.runlink(kText); }},
  {"forcehold", "`forcehold`: the wait between members of a forced-order group", "cint cint2 cint3 cstring cboolean", [](C& c) { c.f.launcher.forcehold(kX, kY, kZ, kText, true); }},
  {"ismr", "`ismr`: is the entry a multirun group", "cstring; cboolean", [](C& c) { c.app.syntax.ismr(kText); }},
  {"islocalfile", "`islocalfile`: is the target a local file", "cstring; cboolean", [](C& c) { c.app.syntax.islocalfile(kText); }},
  {"findcommand", "`findcommand`: where the parameters start", "cstring; cint", [](C& c) { c.app.syntax.findcommand(kText); }},
  {"extractcommand", "`extractcommand`: the parameters of an entry", "cstring; cstring2", [](C& c) { c.app.syntax.extractcommand(kText); }},
  {"removecommands", "`removecommands`: an entry without its parameters", "cstring; cstring2", [](C& c) { c.app.syntax.removecommands(kText); }},
  {"extractleafdir", "`extractleafdir`: the last folder of a path", "cstring; cstring2", [](C& c) { c.app.syntax.extractleafdir(kText); }},
  {"refreshmrl", "`refreshmrl`: the Add/Edit member list is rebuilt from the path", "", [](C& c) { c.addEdit.refreshmrl(); }},
  {"resort", "`resort`: the list is sorted again in the chosen order", "", [](C& c) { c.f.resort(); }},
  {"sortoff", "`sortoff`: the sort commands are unticked", "", [](C& c) { c.f.sortoff(); }},
  {"modesoff", "`modesoff`: every task/event mode goes off", "", [](C& c) { c.f.modesoff(); }},
  {"showhints", "`showhints`: pop-up hints follow the option", "", [](C& c) { c.f.showhints(); }},
  {"switch", "`switch`: the fileset in `apppath` is loaded and remembered", "", [](C& c) { c.f.switchfileset(); }},
  {"nextfileset", "`nextfileset`: Space in the list", "", [](C& c) { c.f.nextfileset(); }},
  {"previousfileset", "`previousfileset`: Backspace in the list", "", [](C& c) { c.f.previousfileset(); }},
  {"createnewfileset", "`createnewfileset`: a new empty fileset", "", [](C& c) { c.f.createnewfileset(); }},
  {"clearhistory", "`clearhistory`: the Switch submenu is emptied before it is rebuilt", "", [](C& c) { c.f.clearhistory(); }},
  {"centremain", "`centremain`: the window is centred on the screen", "", [](C& c) { c.f.centremain(); }},
  {"sethotkey", "`sethotkey`: the bring-to-front key is registered", "", [](C& c) { c.f.sethotkey(); }},
  {"forceforegroundwindow", "`forceforegroundwindow`: a window is brought to the front", "chandle; cboolean", [](C& c) { c.f.forceforegroundwindow(kHandle); }},
  {"shutdownwindows", "`shutdownwindows`: Windows is asked to end the session (the flags)", "cword; cboolean", [](C& c) { c.f.launcher.shutdownwindows(kKey); }},
  {"wmendsession", "the Windows session ends or its end was cancelled", "", [](C& c) { c.f.wmendsession(true); }},
  {"loadformtext", "`loadformtext`: the interface texts get their wording (it runs `loadhelptext` too)", "", [](C& c) { c.f.loadformtext(); }},
  {"loadhelptext", "`loadhelptext`: the tips get their wording", "", [](C& c) { c.f.loadhelptext(); }},
  // The dialogs.
  {"OptionsFormcreate", "start-up: the options dialog is made", "cobject", [](C& c) { c.options.FormCreate(96); }},
  {"OptionsFormshow", "the options dialog opens", "cobject", [](C& c) { c.options.FormShow(); }},
  {"OptionsFormactivate", "the options dialog, and also the Add/Edit dialog, is activated", "cobject", [](C& c) { c.options.FormActivate(); }},
  {"OptionsFormapplyclick", "Apply, and OK, in the options dialog", "cobject", [](C& c) { c.options.applyClick(); }},
  {"OptionsFormcancelclick", "Cancel or the close title button of the options dialog", "cobject", [](C& c) { c.options.cancelClick(); }},
  {"optionsformthelpclick", "the options dialog's help button or F1; the \"after\" call is `OptionsFormthelpclick`", "cobject", [](C& c) { c.options.thelpClick(); }, "OptionsFormthelpclick"},
  {"loadvplist", "`loadvplist`: the Trovik+ page lists the extensions", "", [](C& c) { c.options.loadvplist(); }},
  {"AddEditshow", "the Add/Edit dialog opens", "cobject", [](C& c) { c.addEdit.FormShow(); }},
  {"dmrun", "`dmrun`: the Add/Edit dialog shows its multirun controls", "", [](C& c) { c.addEdit.dmrun(); }},
  {"autocomplete", "`autocomplete`: the completion list for a typed path", "cstring", [](C& c) { c.addEdit.autocomplete(kText); }},
  {"autosize", "`autosize`: the Add/Edit dialog fits its mode", "", [](C& c) { c.addEdit.autosize(); }},
  {"formacactivate", "the command-line dialog is activated", "cobject", [](C& c) { c.app.acf.FormActivate(); }},
  // The extension interface itself.
  {"getfunction", "`getfunction`: a host function by name", "cstring; cfarproc", [](C& c) { c.app.hostapi.getfunction(kText); }},
  {"getvar", "`getvar`: a variable is read", "cstring; cstring2", [](C& c) { c.app.hostapi.getvar(kText); }},
  {"setvar", "`setvar`: a variable is written (name, value)", "cstring cstring2", [](C& c) { c.app.hostapi.setvar(kText, kText2); }},
  {"strtobool", "`strtobool`: text to boolean", "cstring; cboolean", [](C& c) { c.app.hostapi.strtobool(kText); }},
  {"booltostr", "`booltostr`: boolean to text", "cboolean; cstring", [](C& c) { c.app.hostapi.booltostr(true); }},
  {"updateform1", "`updateform1`: the main window is brought up to date", "", [](C& c) { c.app.hostapi.updateform1(); }},
  {"updateaddedit", "`updateaddedit`: the Add/Edit dialog is brought up to date", "", [](C& c) { c.app.hostapi.updateaddedit(); }},
  {"updateOptionsForm", "`updateoptions`: the options dialog is brought up to date", "", [](C& c) { c.app.hostapi.updateoptions(); }},
  {"updateacf", "`updateacf`: the command-line dialog is brought up to date", "", [](C& c) { c.app.hostapi.updateacf(); }},
  {"updateopenfiledir", "`updateopenfiledir`: the browse dialog is brought up to date", "", [](C& c) { c.app.hostapi.updateopenfiledir(); }},
  {"stopvp", "`stopvp`: the extensions stop (the reason: 1 close, 2 switched off)", "cint", [](C& c) { c.host().stopvp(kX); }},
};
// clang-format on

constexpr size_t kEvents = std::size(kRows);
static_assert(kEvents == 144, "the catalogue has 144 events");

// The slots as the rows fill them; an object slot counts as filled when it
// holds any object.
EventSlots filledSlots() {
  static int anObject;
  EventSlots s;
  s.cobject = s.cobject2 = &anObject;
  s.cint = kX, s.cint2 = kY, s.cint3 = kZ, s.cword = kKey, s.chandle = kHandle;
  s.cstring = kText, s.cstring2 = kText2, s.cboolean = true;
  s.mousebutton = kButton, s.shiftstate = kShift, s.closeaction = CloseAction::Free;
  s.wmdropfiles = kDrop;
  return s;
}
template <auto Member>
bool same(const EventSlots& a, const EventSlots& b) {
  if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(a.*Member)>>)
    return (a.*Member == nullptr) == (b.*Member == nullptr);
  else
    return a.*Member == b.*Member;
}
using S = EventSlots;
// Each slot by name, with how to compare it.
#define SLOT(name) std::pair(#name, &same<&S::name>)
const std::pair<const char*, bool (*)(const S&, const S&)> kSlots[] = {
    SLOT(cobject),  SLOT(cobject2),    SLOT(cint),       SLOT(cint2),       SLOT(cint3),
    SLOT(cword),    SLOT(cstring),     SLOT(cstring2),   SLOT(cboolean),    SLOT(chandle),
    SLOT(cfarproc), SLOT(mousebutton), SLOT(shiftstate), SLOT(closeaction), SLOT(wmdropfiles)};
#undef SLOT

// The extensions: DLL 'B' registers every event "before", 'O' "override",
// 'A' "after"; each export records which DLL heard which row, and the slots.
struct Heard {
  char dll;
  size_t row;
  EventSlots slots;
};
std::vector<Heard>* heard = nullptr;
const EventSlots* liveSlots = nullptr;

template <char Dll, size_t Row>
void TROVIK_CALL hear() {
  heard->push_back({Dll, Row, *liveSlots});
}

template <char Dll, size_t... I>
FakeLibraries::Exports everyEvent(std::index_sequence<I...>) {
  FakeLibraries::Exports e{{"dllinfo2", exportOf(&dllinfo2<Dll>)}};
  auto name = [](size_t i) {
    return Dll == 'A' && kRows[i].afterName ? kRows[i].afterName : kRows[i].event;
  };
  (e.emplace(name(I), exportOf(&hear<Dll, I>)), ...);
  return e;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// A row's slots: the arguments, before the ";", and the results after it.
struct Slots {
  std::vector<std::string> args, results;
};
Slots slotsOf(const Row& row) {
  const std::string text = row.slots;
  const size_t semicolon = text.find(';');
  if (semicolon == std::string::npos) return {words(text), {}};
  return {words(text.substr(0, semicolon)), words(text.substr(semicolon + 1))};
}

class EventCatalogueTest : public ::testing::Test, public Catalogue {
 protected:
  std::vector<Heard> log;
  EventCatalogueTest() {
    heard = &log;
    liveSlots = &app.events.slots;
  }
  ~EventCatalogueTest() override { heard = nullptr; }
};

TEST_F(EventCatalogueTest, EveryEventIsHeardBeforeOverriddenAndAfterWithItsSlots) {
  addDll('B', everyEvent<'B'>(std::make_index_sequence<kEvents>()));
  addDll('O', everyEvent<'O'>(std::make_index_sequence<kEvents>()));
  addDll('A', everyEvent<'A'>(std::make_index_sequence<kEvents>()));
  std::string before, override, after;
  for (const Row& r : kRows) {
    before += std::string(r.event) + "|before|";
    override += std::string(r.event) + "|override|";
    after += std::string(r.event) + "|after|";
  }
  installed({record('B', before), record('O', override), record('A', after)});

  for (size_t i = 0; i < kEvents; ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.event);
    app.events.slots = EventSlots{};
    log.clear();
    row.raise(*this);
    std::string order;
    const EventSlots* opening = nullptr;
    for (const Heard& h : log)
      if (h.row == i) {
        order += h.dll;
        if (h.dll == 'B') opening = &h.slots;
      }
    EXPECT_EQ(order, "BOA");
    if (!opening) continue;
    const auto [args, results] = slotsOf(row);
    for (const std::string& w : args) {
      bool known = false;
      for (const auto& [name, same] : kSlots) known = known || w == name;
      EXPECT_TRUE(known) << "no such slot: " << w;
    }
    auto has = [](const std::vector<std::string>& list, const char* name) {
      return std::find(list.begin(), list.end(), name) != list.end();
    };
    // A sender is one of the five windows or a control of it.
    if (has(args, "cobject")) {
      const auto sender = reinterpret_cast<std::uintptr_t>(opening->cobject);
      bool inWindow = false;
      auto within = [&](const auto& window) {
        const auto start = reinterpret_cast<std::uintptr_t>(&window);
        inWindow = inWindow || (sender >= start && sender < start + sizeof window);
      };
      within(app.form1), within(app.AddEdit), within(app.OptionsForm), within(app.acf);
      within(app.OpenFileDir);
      EXPECT_TRUE(inWindow) << "the sender is no window nor a control of one";
    }
    const EventSlots filled = filledSlots(), untouched;
    for (const auto& [name, same] : kSlots) {
      if (has(args, name)) {
        EXPECT_TRUE(same(*opening, filled)) << name << " is not what the handler was given";
      } else if (!has(results, name)) {
        EXPECT_TRUE(same(*opening, untouched)) << name << " is filled but not in the catalogue";
      }
    }
  }
}

// The guide lists the same events, in the same order, with the same words.
TEST(EventCatalogue, TheGuideListsEveryEventAsTheCatalogueHasIt) {
  std::vector<std::string> expected;
  for (const Row& r : kRows) {
    const auto [args, results] = slotsOf(r);
    std::string slots;
    for (const std::string& w : args) slots += (slots.empty() ? "`" : ", `") + w + "`";
    for (size_t i = 0; i < results.size(); ++i)
      slots += (i == 0 ? "; `" : ", `") + results[i] + "`";
    expected.push_back("| `" + std::string(r.event) + "` | " + r.raisedBy + " | " + slots + " |");
  }
  const auto guide = std::filesystem::path(__FILE__).parent_path() / "../../sdk/GUIDE.md";
  std::ifstream in(guide);
  ASSERT_TRUE(in) << guide;
  std::vector<std::string> listed;
  bool inEvents = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("## ", 0) == 0) inEvents = line.find("The events") != std::string::npos;
    if (inEvents && line.rfind("| `", 0) == 0) listed.push_back(line);
  }
  // Line by line, so that a difference reads as the line to write.
  for (size_t i = 0; i < listed.size() && i < expected.size(); ++i)
    EXPECT_EQ(listed[i], expected[i]);
  EXPECT_EQ(listed.size(), expected.size());
}

}  // namespace
}  // namespace trovik::test
