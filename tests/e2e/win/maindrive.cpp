// The driver's commands for the main window's own frame and bottom row, and for the notification
// area, so that the scripts can give them real clicks (xdotool) where a user would.
//   main-point <id>     the middle of a main-window control on the screen (the title-bar buttons
//                       are 32513 close, 32514 help, 32515 minimise, 32516 maximise, 32517 Snapbar)
//   main-text <id>      "shown|hidden <text>" of a main-window control, read from the control
//   itself tray-point          the middle of the program's icon in Wine's own notification area
#include <cstdlib>

#include "driver.h"

namespace {

using namespace driver;

int mainPoint(int id) {
  HWND main = FindWindowA("TForm1", nullptr);
  HWND c = main ? GetDlgItem(main, id) : nullptr;
  if (!c) return fail("the main window has no control " + std::to_string(id));
  if (!IsWindowVisible(c)) return fail("control " + std::to_string(id) + " is hidden");
  RECT r{};
  GetWindowRect(c, &r);
  say(std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
  return 0;
}

// An edit field keeps its text to itself: it has to be asked with WM_GETTEXT.
int mainText(int id) {
  HWND main = FindWindowA("TForm1", nullptr);
  HWND c = main ? GetDlgItem(main, id) : nullptr;
  if (!c) return fail("the main window has no control " + std::to_string(id));
  wchar_t text[256] = {};
  LRESULT got = 0;
  if (!send(c, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), got))
    return fail("the program does not answer");
  say(std::string(IsWindowVisible(c) ? "shown " : "hidden ") + toAnsi(text));
  return 0;
}

// Without a notification area of the desktop, Wine shows its own window of tray icons; an icon
// is a child window of it, or else the window itself stands for the one icon it shows.
int trayPoint() {
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  if (!tray || !IsWindowVisible(tray)) tray = FindWindowA(nullptr, "Wine System Tray");
  if (!tray || !IsWindowVisible(tray)) return fail("no notification area on the screen");
  RECT r{};
  HWND icon = nullptr;
  for (HWND child = GetWindow(tray, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) icon = child;
  GetWindowRect(icon ? icon : tray, &r);
  say(std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
  return 0;
}

}  // namespace

int mainWindowCommand(const std::string& command, int args, char** arg) {
  if (command == "main-point" && args == 1) return mainPoint(std::atoi(arg[0]));
  if (command == "main-text" && args == 1) return mainText(std::atoi(arg[0]));
  if (command == "tray-point" && args == 0) return trayPoint();
  return -1;
}
