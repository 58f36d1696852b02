#pragma once
// The options dialog as the user sees it: the program's own frame around a
// tab control with five pages, each page's controls shown while its tab is
// chosen, and the OK, Apply and Cancel buttons below. The peers mirror the
// presenter's models; this class lays the pages out, routes what the user
// does to the presenter's handlers and answers what the presenter asks of
// its window.
#include <windows.h>

#include <functional>
#include <type_traits>
#include <vector>

#include "dialogs/optionsform.h"
#include "win32/dialogwindow.h"
#include "win32/dragreorder.h"
#include "win32/filesetlistpeer.h"
#include "win32/pagetabpeer.h"
#include "win32/trackpeer.h"

namespace trovik::win32 {

class OptionsWindow final : public DialogWindow, private OptionsView {
 public:
  static constexpr const wchar_t* kClassName = L"TOptionsForm";

  // repaint: the hook through which extensions repaint the dialog
  // (updateoptions); it reaches this window while the window exists.
  OptionsWindow(Context& ctx, TOptionsForm& form, std::function<void()>& repaint);
  ~OptionsWindow() override;

  // The presenter's window from now on (its FormCreate runs); the window
  // itself is made, owned by owner, when it is first shown.
  void prepare(HWND owner);

 private:
  // Paints at once what waits to be painted and shows each page's controls
  // as their models say.
  void repaint();
  void created() override;

  // The frame's and the dialog's.
  void closeClicked() override;
  void helpClicked() override;
  void cancelPressed() override;
  void activated(bool active) override;
  void formChanged(ui::Aspect aspect) override;
  LRESULT dialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void paintClient(HDC dc) override;
  bool preTranslate(MSG& msg) override;

  // What the presenter asks of its window.
  void focus(ui::Control& control) override;
  void bringToFront() override;
  void editLabel(int index) override;

  void addControls();
  // Runs a handler of the presenter, then shows each page's controls only on its page.
  template <class Handler>
  FormPeer::Handler then(Handler h) {
    return [this, h] {
      if constexpr (std::is_constructible_v<bool, Handler>) {
        if (h) h();
      } else {
        h();
      }
      showPage();
    };
  }
  void showPage();
  void contentsMenu(POINT at);
  // The contents list's own keys (its menu's shortcuts); true when used.
  bool contentsKey(const MSG& msg);
  static LRESULT CALLBACK contentsProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  LRESULT contentsMouse(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

  Context& ctx_;
  TOptionsForm& form_;
  std::function<void()>& repaint_;
  // The controls of each page, by page.
  std::vector<std::pair<FormPeer*, int>> pages_;
  // The groups of each page, painted by the dialog.
  std::vector<std::pair<ui::Control*, int>> groups_;
  int paintedPage_ = -1;
  PageTabPeer* tabs_ = nullptr;
  TrackPeer* track_ = nullptr;
  FilesetListPeer* filesets_ = nullptr;
  FormPeer* contents_ = nullptr;
  // Texts of the Updates page that the presenter has no names for.
  ui::Label proxyl_{"proxyl"}, portl_{"portl"}, userl_{"userl"}, passwordl_{"passwordl"};
  // A drag of the contents list's selected items.
  DragReorder drag_;
};

}  // namespace trovik::win32
