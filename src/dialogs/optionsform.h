#pragma once
// The options dialog as a presenter. For now it holds the "Trovik+" page:
// the list of installed extensions, installing and removing them, their
// options and about boxes, and the switch that turns the system off; and the
// "Updates" page with the update check.
#include <string>

#include "core/context.h"
#include "dialogs/updatecheck.h"
#include "extensions/extensionhost.h"
#include "platform/opendialog.h"
#include "ui/controls.h"

namespace trovik {

// The pages of the options dialog, in the order its page control shows them.
enum class OptionsPage { General, Links, FilesetManager, Updates, TrovikPlus };

class TOptionsForm {
 public:
  TOptionsForm(Context& ctx, ExtensionHost& extensions);

  // The dialog window itself; open while visible.
  ui::Control OptionsForm{"OptionsForm"};
  // The dialog's window, which owns its message boxes; 0 while it has none.
  WindowHandle handle = 0;

  // The page shown; showPage selects one and shows the dialog.
  OptionsPage page = OptionsPage::General;
  void showPage(OptionsPage p);

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
  // The record line of the selected row's block in vp2.qdx, when both exist.
  bool selectedRecord(std::string& record);
  void notice(const std::string& text);

  Context& ctx_;
  ExtensionHost& extensions_;
};

}  // namespace trovik
