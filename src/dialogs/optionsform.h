#pragma once
// The options dialog as a presenter: five pages of options read from
// Trovik.ini each time it is shown and written back, and put into effect at
// once, by Apply; the fileset manager; the update check; and the Trovik+
// page with the installed extensions.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "config/options.h"
#include "core/context.h"
#include "dialogs/filesetmanager.h"
#include "dialogs/optionshost.h"
#include "dialogs/updatecheck.h"
#include "extensions/extensionhost.h"
#include "platform/opendialog.h"
#include "ui/controls.h"

namespace trovik {

class TBigIniFile;

// The pages of poptions, in tab order.
enum class OptionsPage { General, Links, FilesetManager, Updates, TrovikPlus };

class TOptionsForm;

// One check box of the dialog: its control, page and place, caption and hint,
// the options key it shows and the variable Apply sets from it. The
// presenter, Apply and the window walk these rows; a new option is one row.
// The interlocks and the boxes with rules of their own stay as code.
struct OptionBox {
  // What showing the dialog does with the key.
  enum class Read {
    Tick,         // ticks the box only
    Mirror,       // ticks the box and sets the variable to match
    Raise,        // ticks the box and sets the variable when ticked, never clears it
    TickExactly,  // ticks the box only when the key is exactly 1 (a missing key: off)
  };
  ui::CheckBox TOptionsForm::*box;
  OptionsPage page;
  ui::Rect place;
  const char* caption;
  const char* hint;
  std::optional<Option> key = std::nullopt;  // none: the box's own code reads and writes
  Read read = Read::Tick;
  bool Variables::*flag = nullptr;
  std::int32_t Variables::*level = nullptr;  // 1 when ticked, 0 when not
  void (TOptionsForm::*click)() = nullptr;   // the box's interlock
};

// The rows in the order the window makes the boxes (their tab order).
std::span<const OptionBox> optionBoxes();

class TOptionsForm {
 public:
  TOptionsForm(Context& ctx, ExtensionHost& extensions);
  // The main window's side, and the dialog's own window (either may be null
  // while there is none).
  void attach(OptionsHost* host) {
    host_ = host;
    filesets.attach(host_, view_);
  }
  void attachView(OptionsView* view) {
    view_ = view;
    filesets.attach(host_, view_);
  }

  // The dialog window itself; open while visible.
  ui::Control OptionsForm{"OptionsForm"};
  // The dialog's window, which owns its message boxes; 0 while it has none.
  WindowHandle handle = 0;
  // The title bar and frame, drawn by the program itself.
  ui::Panel tbar{"tbar"};
  ui::Label ttitle{"ttitle"};
  ui::Button tclose{"tclose"};
  ui::Button thelp{"thelp"};
  ui::Control tborder{"tborder"};
  // The page control: one tab per page.
  ui::TabBar poptions{"poptions"};
  ui::Button okay{"okay"};
  ui::Button apply{"apply"};
  ui::Button cancel{"cancel"};

  // The "General" page.
  ui::CheckBox confirmdelc{"confirmdelc"};
  ui::CheckBox confirmfsdeletec{"confirmfsdeletec"};
  ui::CheckBox remposc{"remposc"};
  ui::CheckBox remextc{"remextc"};
  ui::CheckBox lstartupc{"lstartupc"};
  ui::CheckBox ideskc{"ideskc"};
  ui::CheckBox istartc{"istartc"};
  ui::CheckBox iqlc{"iqlc"};
  ui::CheckBox mintrayc{"mintrayc"};
  ui::CheckBox showhintc{"showhintc"};
  ui::CheckBox showonc{"showonc"};
  ui::ListBox pkey{"pkey"};  // a drop-down list; its caption is the text shown
  ui::Panel smg{"smg"};      // the group "Scroll method"
  ui::RadioButton scrollvr{"scrollvr"};
  ui::RadioButton scrollhr{"scrollhr"};
  ui::Edit columnNumber{"columnNumber"};  // at most 2 characters
  ui::CheckBox confirmwr{"confirmwr"};
  ui::CheckBox confirmws{"confirmws"};
  ui::CheckBox swoe{"swoe"};
  ui::CheckBox eom{"eom"};
  ui::CheckBox kod{"kod"};
  ui::CheckBox retsort{"retsort"};
  ui::CheckBox useautoc{"useautoc"};
  ui::CheckBox remtesc{"remtesc"};
  ui::CheckBox otm{"otm"};
  ui::Panel userlevelg{"userlevelg"};  // the group "User level"
  ui::RadioButton buser{"buser"};
  ui::RadioButton auser{"auser"};

  // The "Links" page.
  ui::CheckBox doublecc{"doublecc"};
  ui::CheckBox singlecc{"singlecc"};
  ui::CheckBox disflymrc{"disflymrc"};
  ui::CheckBox useforceflyMRc{"useforceflyMRc"};
  ui::CheckBox ldirectc{"ldirectc"};
  ui::Label fosl{"fosl"};  // "Force order speed:", and the two ends of the scale
  ui::Label fosslow{"fosslow"};
  ui::Label fosfast{"fosfast"};
  ui::TrackBar fos{"fos"};         // seconds between the members of a forced-order group
  ui::Panel fostyleg{"fostyleg"};  // the group "Force order style"
  ui::RadioButton fodetect{"fodetect"};
  ui::RadioButton fowait{"fowait"};
  ui::CheckBox disableLFC{"disableLFC"};

  // The "Fileset manager" page: the QuickSwitch options and the manager.
  ui::Label qsodefsizel{"qsodefsizel"};
  ui::Edit qsodefsizetext{"qsodefsizetext"};  // at most 5 characters
  ui::CheckBox qswitchc{"qswitchc"};
  FilesetManager filesets;

  // The "Updates" page.
  UpdateCheck updates;

  // The "Trovik+" page.
  ui::ListBox vplist{"vplist"};  // one row per block of vp2.qdx
  ui::Button vpinstall{"vpinstall"};
  ui::Button vpremove{"vpremove"};
  ui::Button vprefresh{"vprefresh"};
  ui::Button vpoptions{"vpoptions"};
  ui::Button vpabout{"vpabout"};
  ui::CheckBox disvpc{"disvpc"};
  OpenDialogSettings vpOpen{"Trovik+ dlls|*.dll", "*.dll", "", ""};

  // Shows the dialog on a page and brings it to the front; it is filled
  // from the options file when it was closed.
  void showPage(OptionsPage page);
  OptionsPage page() const { return static_cast<OptionsPage>(poptions.tabIndex()); }

  // Creation; on a screen above 96 dots per inch the title bar is scaled
  // back to its designed size.
  void FormCreate(int dpi);
  // Scales every control back to its designed size on such a screen
  // (extensions ask for it).
  void rescalecontrols(int dpi);
  void FormShow();
  void FormActivate();
  void FormDeactivate();
  // Lays the title bar and frame out for the window's size.
  void FormResize();
  void applyClick();
  void okayClick();
  void cancelClick();
  void tcloseClick() { cancelClick(); }
  // Hides the dialog; what the fileset manager shows is saved first.
  void FormClose();
  void thelpClick();
  void poptionsChange() {}

  // Interlocks of the controls.
  void scrollvrClick();
  void scrollhrClick();
  void doubleccClick();
  void singleccClick();
  void showoncClick();
  void swoeClick();
  void proxycClick() { updates.proxycClick(); }

  // Fills vplist from vp2.qdx: each extension's name, marked when its DLL
  // is gone. A record line without "|" is listed under the whole line, which
  // is then also its DLL path, so that it can be seen and removed.
  void loadvplist();
  void vpinstallClick();
  void vpremoveClick();
  void vplistClick();
  void vplistDblClick();
  void vpoptionsClick();
  void vpaboutClick();
  void vprefreshClick();
  void disvpcClick();

 private:
  // Apply's work: false when a value was refused.
  bool applyWork();
  bool validNumbers(int& tabWidth, int& columns);
  void applyShortcuts();
  void refuse(OptionsPage page, ui::Control& field, const std::string& text);
  void readOptions(TBigIniFile& ini);
  void readBoxes(TBigIniFile& ini);
  void applyBoxes(TBigIniFile& ini);
  void resetControls();
  // The record line of the selected row's block in vp2.qdx, when both exist.
  bool selectedRecord(std::string& record);
  void notice(const std::string& text);
  WindowHandle owner() const { return handle ? handle : ctx_.mainWindow; }

  Context& ctx_;
  ExtensionHost& extensions_;
  OptionsHost* host_ = nullptr;
  OptionsView* view_ = nullptr;
  void* self_ = this;     // the Sender of the dialog's own events
  bool refused_ = false;  // the last Apply refused a value
};

}  // namespace trovik
