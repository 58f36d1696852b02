#pragma once
// The main window as the user sees it: a borderless window that paints its
// own title bar and frame, with the fileset list, the QuickSwitch tabs and the
// Snapbar list as real controls. It mirrors the models of TForm1 and turns
// what the user does into model changes and presenter calls.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <map>
#include <string>

#include "mainwindow/form1view.h"
#include "ui/controls.h"
#include "win32/win32platform.h"
#include "win32/window.h"

namespace trovik {
class Application;
class TForm1;
}  // namespace trovik

namespace trovik::win32 {

inline BOOL destroyMenu(HMENU h) { return DestroyMenu(h); }
inline BOOL destroyAccelerators(HACCEL h) { return DestroyAcceleratorTable(h); }
using MenuOwner = Owned<HMENU, destroyMenu>;
using AcceleratorOwner = Owned<HACCEL, destroyAccelerators>;

// A window procedure placed in front of a control's own, taken away again
// when its owner goes (before the window itself goes).
class Subclass {
 public:
  Subclass() = default;
  ~Subclass() { reset(); }
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  // Throws std::runtime_error when the system refuses.
  void attach(HWND window, SUBCLASSPROC procedure, DWORD_PTR data);
  void reset();

 private:
  HWND window_ = nullptr;
  SUBCLASSPROC procedure_ = nullptr;
};

// A list box whose input the main window sees before the list box does.
struct SubclassedList {
  WindowOwner window;
  Subclass subclass;  // declared last: removed before the window is destroyed
  void reset() {
    subclass.reset();
    window.reset();
  }
};

// The notification-area icon: there exactly while shown, removed when its
// owner goes.
class TrayIcon {
 public:
  // Clicks on the icon arrive at the window as this message.
  static constexpr UINT kCallbackMessage = WM_USER + 1;
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { hide(); }

  void show(HWND window, HICON icon, const char* tip);
  void hide();
  bool shown() const { return window_ != nullptr; }
  // The shell's notification area was made anew (Explorer restarted): the
  // icon must be added again.
  void readd();

 private:
  bool add();
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  char tip_[64] = {};
};

class MainView final : public Window, private ui::Peer, private Form1View {
 public:
  static constexpr const char* kClassName = "TForm1";
  static constexpr const char* kTitle = "Trovik";
  enum ControlId : int {
    kList1Id = 101,
    kLink1Id = 102,
    kQswitchId = 103,
    kMmlistId = 104,
    kTcloseId = 105,
    kStatusId = 106,
    // The list box of the other selection mode while it waits hidden; it
    // takes kList1Id when it is shown.
    kSpareList1Id = 107,
  };
  // Commands of the pop-up menu (other programs and the tests send them):
  //   201 Run/Exit, 202 Drop/Launch, 203 Drop/Launch/Exit, 204 Run/Minimize,
  //   205 Drop/Launch/Minimize, 206 Open directory,
  //   211 Shutdown, 212 Restart, 213 Log off,
  //   221 File sets > Import..., 222 File sets > Export...,
  //   231 Sort list by > Link name, 232 File name, 233 File path,
  //   234 File type, 235 Reverse,
  //   300 + n: the n-th fileset of File sets > Switch (300 the base fileset).
  // Items named nowhere get numbers from kOtherFirstId in menu order.
  static constexpr int kSwitchFirstId = 300;
  static constexpr int kOtherFirstId = 1000;

  explicit MainView(Application& app);
  ~MainView() override;

  // Creates the window, hidden and owned by the application window, with its
  // controls, and starts mirroring the models: from here on every model
  // change shows on the screen.
  void create(HWND owner);
  // Shows the window where and as the model has it (unless the model says
  // the form is hidden), once the presenter is done creating it. From here on
  // the application's activation reaches the presenter.
  void show();

  // The message loop calls it for every message before dispatching it: a key
  // of the program's shortcuts becomes its menu command (the message is used
  // up: true), and every other key pressed or released in the window reaches
  // the window's own key handlers before the control with the focus sees it.
  bool preTranslate(MSG& msg);

 private:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void changed(ui::Control& control, ui::Aspect aspect, int index) override;

  // Building.
  HWND makeChild(const char* className, DWORD style, int id);
  void makeList1(bool multiSelect);
  HWND list1() const { return lists1_[shownList1_].window.get(); }
  bool isList1(HWND h) const {
    return h && (h == lists1_[0].window.get() || h == lists1_[1].window.get());
  }
  void switchSelectionMode();
  static LRESULT CALLBACK list1Procedure(HWND list, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR view);
  // Presses and keys on List1, before the list box's own handling; false
  // when the message is swallowed.
  bool list1Input(UINT msg, WPARAM& wParam, LPARAM lParam);
  void addTool(HWND control, const std::string& hint);
  void attach();
  void detach();
  void syncAll();

  // Mirroring the models.
  void formChanged(ui::Aspect aspect);
  void listChanged(ui::ListBox& model, HWND list, ui::Aspect aspect, int index);
  // Visibility, enabled state, place and hint, alike for every control.
  void mirrorCommon(const ui::Control& model, HWND h, ui::Aspect aspect);
  void fillList(ui::ListBox& model, HWND list);
  void showCurrent(ui::ListBox& model, HWND list);
  void tabsChanged(ui::Aspect aspect);
  void placeChild(const ui::Control& model, HWND child);
  HWND windowOf(const ui::Control& model) const;
  RECT titleBarRect() const;
  void invalidateFrame();

  // The pop-up menu, built from the model tree, and the shortcuts of its items.
  void attachMenu(ui::MenuItem& item);
  void detachMenu(ui::MenuItem& item);
  void buildMenu();
  void ensureMenu() {
    if (menuStale_ && !tracking_) buildMenu();
  }
  bool isSubmenu(const ui::MenuItem& item) const;
  void numberCommands(ui::MenuItem& parent);
  void fillMenu(HMENU menu, ui::MenuItem& parent);
  int commandIdOf(const ui::MenuItem& item) const;
  void menuChanged(ui::MenuItem& item, ui::Aspect aspect);
  void popupMenu(POINT screen);
  void menuCommand(int id);

  // Input.
  void onCommand(int id, int code, HWND from);
  void listSelectionChanged();
  void restoreFocus();
  void formMovedOrSized(bool sized);
  void stateFromWindow(WPARAM sizeType);
  int showCommand() const;
  void applyWindowState();
  LRESULT hitTest(LPARAM lParam);
  void keepOnDesktop(WINDOWPOS& pos);
  void trackingSize(MINMAXINFO& info) const;
  void sessionEnds(bool ending);
  void backgroundPressed(UINT msg, WPARAM wParam, LPARAM lParam);
  // What the presenter asks of its window.
  void focus(ui::Control& control) override;
  int tabAt(int x, int y) const override;
  int itemAt(int x, int y) const override;
  void close() override;
  void startDrag() override;
  void applyHints();
  void trayChanged();
  void trayClicked(LPARAM mouse);
  struct LabelFont {
    FontOwner font;    // null: the stock font
    std::string name;  // what it was made for; empty with size 0 for the stock font
    int size = 0;
    bool made = false;
  };
  bool labelFont(const ui::Control& label, bool bold, LabelFont& slot);
  void paint(HDC dc);
  void drawClose(const DRAWITEMSTRUCT& item);
  void filesDropped(WPARAM wParam, LPARAM lParam);

  Application& app_;
  TForm1& form_;
  HFONT guiFont_ = nullptr;  // a stock font: the system owns it
  LabelFont titleFont_;      // bold
  LabelFont statusFont_;
  TrayIcon tray_;
  // The controls; each is destroyed before the main window goes.
  WindowOwner tooltip_;
  // List1 as a list box of single [0] and of multiple [1] selection: a list
  // box cannot change that once made, so the one of the model's mode is
  // shown and the other waits hidden for the next switch, which fills it.
  SubclassedList lists1_[2];
  int shownList1_ = 0;
  WindowOwner link1_;
  WindowOwner mmlist_;
  WindowOwner qswitch_;
  WindowOwner tclose_;
  WindowOwner status_;
  MenuOwner popup_;
  AcceleratorOwner accelerators_;
  std::map<int, ui::MenuItem*> commands_;   // menu command id -> its item
  std::map<const ui::MenuItem*, int> ids_;  // and back
  int nextOtherId_ = kOtherFirstId;
  // The menu tree changed shape: rebuilt when next needed, never while the
  // user has it open.
  bool menuStale_ = true;
  bool tracking_ = false;  // the pop-up menu is open
  // The control whose model is being updated from its own window: that
  // change must not be sent back to the window it came from.
  const ui::Control* echo_ = nullptr;
  HWND lastFocus_ = nullptr;  // the child to give the keyboard back to
  bool attached_ = false;
  bool shown_ = false;
  // While the session ends, a close asked for is carried out at once: after
  // the end-of-session message the process may be ended at any moment, so a
  // posted close might never run.
  bool sessionEnding_ = false;
  // The hint settings the tool-tip has now: the presenter changes its own
  // without telling, so they are compared when they could matter.
  bool hintsShown_ = true;
  int hintHidePause_ = -1;
};

}  // namespace trovik::win32
