#pragma once
// The main window as the user sees it: a borderless window that paints its
// own title bar and frame, with the fileset list, the QuickSwitch tabs and the
// Snapbar list as real controls. It mirrors the models of TForm1 and turns
// what the user does into model changes and presenter calls.
#include <windows.h>

#include "ui/controls.h"
#include "win32/win32platform.h"
#include "win32/window.h"

namespace trovik {
class Application;
class TForm1;
}  // namespace trovik

namespace trovik::win32 {

class MainView final : public Window, private ui::Peer {
 public:
  static constexpr const char* kClassName = "TForm1";
  static constexpr const char* kTitle = "Trovik";
  enum ControlId : int {
    kList1Id = 101,
    kLink1Id = 102,
    kQswitchId = 103,
    kMmlistId = 104,
    kTcloseId = 105,
  };

  explicit MainView(Application& app);
  ~MainView() override;

  // Creates the window, hidden, with its controls, and starts mirroring the
  // models: from here on every model change shows on the screen.
  void create();
  // Lays the window out at the model's size, centred on the work area, and
  // shows it (unless the model says the form is hidden).
  void show();

 private:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void changed(ui::Control& control, ui::Aspect aspect, int index) override;

  // Building.
  HWND makeChild(const char* className, DWORD style, int id);
  void makeList1();
  void addTool(HWND control, const std::string& hint);
  void attach();
  void detach();
  void syncAll();

  // Mirroring the models.
  void formChanged(ui::Aspect aspect);
  void listChanged(ui::ListBox& model, HWND list, ui::Aspect aspect, int index);
  void fillList(ui::ListBox& model, HWND list);
  void showCurrent(ui::ListBox& model, HWND list);
  void tabsChanged(ui::Aspect aspect);
  void placeChild(const ui::Control& model, HWND child);
  HWND windowOf(const ui::Control& model) const;
  RECT titleBarRect() const;
  void invalidateFrame();

  // Input.
  void onCommand(int id, int code, HWND from);
  void listSelectionChanged();
  void restoreFocus();
  void formMovedOrSized(bool sized);
  void paint(HDC dc);
  void drawClose(const DRAWITEMSTRUCT& item);

  Application& app_;
  TForm1& form_;
  HFONT guiFont_ = nullptr;  // a stock font: the system owns it
  FontOwner titleFont_;
  // The controls; each is destroyed before the main window goes.
  WindowOwner tooltip_;
  WindowOwner list1_;
  WindowOwner link1_;
  WindowOwner mmlist_;
  WindowOwner qswitch_;
  WindowOwner tclose_;
  // The control whose model is being updated from its own window: that
  // change must not be sent back to the window it came from.
  const ui::Control* echo_ = nullptr;
  HWND lastFocus_ = nullptr;  // the child to give the keyboard back to
  bool attached_ = false;
  bool shown_ = false;
  bool active_ = false;
};

}  // namespace trovik::win32
