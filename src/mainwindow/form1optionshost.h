#pragma once
// The main window as the options dialog reaches it: the routines that put
// applied options into effect and keep the shown fileset in step.
#include "dialogs/optionshost.h"
#include "mainwindow/form1.h"

namespace trovik {

class Form1OptionsHost final : public OptionsHost {
 public:
  Form1OptionsHost(Context& ctx, TForm1& form) : ctx_(ctx), form_(form) {}

  ui::Rect windowBounds() override { return form_.Form1.bounds(); }
  bool maximized() override { return form_.windowState == TForm1::WindowState::Maximized; }
  bool snapbarMode() override { return form_.mmlist.visible(); }
  void setQuickSwitch(bool visible, int tabWidth) override;
  void setListColumns(int columns) override { form_.List1.setColumns(columns); }
  void sethotkey() override { form_.sethotkey(); }
  void showhints() override { form_.showhints(); }
  void sortOrder(bool retain, int type, bool reverse) override;
  void setTrayMode(bool tray) override;
  void loadformtext() override { form_.loadformtext(); }
  void loadhelptext() override { form_.loadhelptext(); }
  void savelist() override { form_.savelist(); }
  void FormResize() override { form_.FormResize(); }
  LinkStore& filesets() override { return form_.store; }
  void autobuild() override { form_.autobuild(ctx_.vars.realpath, -1); }
  std::vector<std::string> filesetDirectories() override { return form_.tabDirectories(); }
  void refreshlist() override;
  bool enterFileset(const std::string& dir, bool saveFirst) override {
    return form_.enterFileset(dir, saveFirst);
  }
  void rememberCurrentFileset() override { form_.rememberCurrentFileset(); }
  void sortoff() override { form_.sortoff(); }
  std::string createnewfileset() override { return form_.createnewfileset(); }
  int listIndex() override { return form_.List1.itemIndex(); }
  void selectListIndex(int index) override;
  Launcher& launcher() override { return form_.launcher; }

 private:
  Context& ctx_;
  TForm1& form_;
};

}  // namespace trovik
