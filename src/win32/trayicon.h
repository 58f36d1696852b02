#pragma once
// The notification-area icon, shown exactly while its model (SysTray) is
// visible and removed when its owner goes.
#include <windows.h>

#include <string>

#include "ui/controls.h"

namespace trovik::win32 {

class TrayIcon final : private ui::Peer {
 public:
  // Clicks on the icon arrive at the window as this message.
  static constexpr UINT kCallbackMessage = WM_USER + 1;

  TrayIcon(ui::Control& model, const std::string& tip);
  ~TrayIcon() override;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // From attach on, the icon follows the model for the window.
  void attach(HWND window);
  void detach();
  // The shell's notification area was made anew (Explorer restarted): the
  // icon must be added again.
  void readd();

 private:
  void changed(ui::Control& control, ui::Aspect aspect, int index) override;
  void update();
  bool add();
  void remove();

  ui::Control& model_;
  HWND owner_ = nullptr;
  bool shown_ = false;
  std::wstring tip_;
};

}  // namespace trovik::win32
