#include "mainwindow/form1optionshost.h"

#include "dialogs/optionsform.h"

namespace trovik {

void Form1OptionsHost::setQuickSwitch(bool visible, int tabWidth) {
  form_.qswitch.setTabWidth(tabWidth);
  form_.qswitch.setVisible(visible);
}

void Form1OptionsHost::sortOrder(bool retain, int type, bool reverse) {
  ui::MenuItem* const keys[] = {&form_.Linkname, &form_.Filename, &form_.Filepath, &form_.Filetype};
  if (!retain) {
    for (ui::MenuItem* m : keys) m->setChecked(false);
    form_.ReverseSort.setChecked(false);
    return;
  }
  if (type >= 1 && type <= 4) keys[type - 1]->setChecked(true);
  if (reverse) form_.ReverseSort.setChecked(true);
  form_.resort();
}

void Form1OptionsHost::setTrayMode(bool tray) {
  WindowManager& windows = ctx_.platform.windows;
  if (tray) {
    ctx_.platform.pump.processMessages();
    form_.SysTray.setVisible(true);
    windows.setToolWindow(true);
  } else {
    form_.SysTray.setVisible(false);
    windows.setToolWindow(false);
    ctx_.platform.pump.processMessages();
  }
}

void Form1OptionsHost::refreshlist() { form_.Refreshlist1Click(); }

void Form1OptionsHost::selectListIndex(int index) {
  form_.List1.setItemIndex(index);
  form_.mmlist.setItemIndex(index);
}

}  // namespace trovik
