#pragma once
// The main window as the user sees it: a window with the program's own frame
// (framedwindow.h) holding the fileset list, the QuickSwitch tabs, the Snapbar
// list and the status label, each shown by the peer of its model, with the
// pop-up menu and the tray icon. This class places the window, routes the
// messages to the peers and the presenter, and answers what the presenter
// asks of its window.
#include <windows.h>

#include <array>

#include "mainwindow/form1view.h"
#include "win32/controlpeer.h"
#include "win32/formpeers.h"
#include "win32/framedwindow.h"
#include "win32/list1peer.h"
#include "win32/listbox.h"
#include "win32/menus.h"
#include "win32/querytags.h"
#include "win32/snapbarpeer.h"
#include "win32/tabbarpeer.h"
#include "win32/trayicon.h"

namespace trovik {
class Application;
class TForm1;
}  // namespace trovik

namespace trovik::win32 {

class MainView final : public FramedWindow, private Form1View {
 public:
  static constexpr const wchar_t* kClassName = L"TForm1";
  enum ControlId : int {
    kList1Id = 101,
    kQswitchId = 103,
    kMmlistId = 104,
    kStatusId = 106,
    // The list box of the other selection mode while it waits hidden; it
    // takes kList1Id when it is shown.
    kSpareList1Id = 107,
    // The bottom row of the list modes.
    kUpId = 108,
    kDownId = 109,
    kMaId = 110,
    kCmrbId = 111,
  };
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

 private:
  // The frame's.
  void closeClicked() override;
  void helpClicked() override;
  void helpButtonClicked() override;
  void frameButtonClicked(ui::Control& button) override;
  bool frameButtonMouse(ui::Control& button, const MSG& msg) override;
  bool titleBarMouse(UINT msg, WPARAM wParam, POINT at) override;
  LRESULT windowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void paintClient(HDC dc) override;
  void formChanged(ui::Aspect aspect) override;
  // A key of the program's shortcuts becomes its menu command (the message
  // is used up), and every other key pressed or released in the window
  // reaches the window's own key handlers before the control with the focus
  // sees it.
  bool preTranslate(MSG& msg) override;

  // What the presenter asks of its window.
  void focus(ui::Control& control) override;
  int tabAt(int x, int y) const override;
  int itemAt(int x, int y) const override;
  void close() override;
  void startDrag() override { FramedWindow::startDrag(); }
  void popup(ui::MenuItem& menu, int x, int y) override { menu_.popup(menu, {x, y}); }
  void keyboardSizing(bool move) override;

  void attach();
  void detach();
  void onCommand(int id, int code, HWND from);
  LRESULT commandQuery(const COPYDATASTRUCT& data);
  LRESULT linkQuery(HWND from, const COPYDATASTRUCT& data);
  void contextMenu(LPARAM lParam);
  void restoreFocus();
  void stateFromWindow(WPARAM sizeType);
  int showCommand() const;
  void applyWindowState();
  void keepOnDesktop(WINDOWPOS& pos);
  void trackingSize(MINMAXINFO& info) const;
  void sessionEnds(bool ending);
  void backgroundPressed(UINT msg, WPARAM wParam, LPARAM lParam);
  void applyHints();
  void trayClicked(LPARAM mouse);
  void filesDropped(WPARAM wParam, LPARAM lParam);
  void tabNotified(const NMHDR& header, LRESULT& result);
  // Keys of the Snapbar list and of the bottom row, before their controls see them.
  bool snapbarKey(MSG& msg);
  bool bottomRowKey(const MSG& msg);
  // The amount field's own pop-up menu: Cut, Copy, Paste, Clear, Select all.
  void amountMenu(POINT screen);
  bool inTicon(POINT client) const;

  Application& app_;
  TForm1& form_;
  List1Peer list1_;
  SnapbarPeer mmlist_;
  TabBarPeer qswitch_;
  LabelPeer status_;
  ButtonPeer up_;
  ButtonPeer down_;
  EditPeer ma_;
  ButtonPeer cmrb_;
  // The control peers in the order their windows are made; the bottom row's apart.
  const std::array<ControlPeer*, 8> peers_{&list1_, &qswitch_, &mmlist_, &status_,
                                           &up_,    &down_,    &ma_,     &cmrb_};
  const std::array<FormPeer*, 4> bottomRow_{&up_, &down_, &ma_, &cmrb_};
  ModelHook delab_;  // painted by the window
  MenuPeer menu_;
  TrayIcon tray_;
  HWND lastFocus_ = nullptr;  // the child to give the keyboard back to
  bool attached_ = false;
  bool shown_ = false;
  // While the session ends, a close asked for is carried out at once: after
  // the end-of-session message the process may be ended at any moment, so a
  // posted close might never run.
  bool sessionEnding_ = false;
};

}  // namespace trovik::win32
