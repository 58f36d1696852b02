#pragma once
// What the options dialog asks of the rest of the program: the main window's
// routines that put options into effect and keep its fileset in step, and
// the few things only the dialog's own window can do.
#include <string>
#include <vector>

#include "ui/controls.h"

namespace trovik {

class Launcher;
class LinkStore;

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;

  // The main window's place and state, as its close writes them.
  virtual ui::Rect windowBounds() = 0;
  virtual bool maximized() = 0;
  virtual bool snapbarMode() = 0;

  // Options that act on the main window at once.
  virtual void setQuickSwitch(bool visible, int tabWidth) = 0;
  virtual void setListColumns(int columns) = 0;
  // Registers the bring-to-front key slkey names (sethotkey).
  virtual void sethotkey() = 0;
  virtual void showhints() = 0;
  // With retain: ticks the sort commands of type (1 to 4) and reverse, then
  // sorts; without: unticks all five.
  virtual void sortOrder(bool retain, int type, bool reverse) = 0;
  // The tray icon instead of the taskbar button, or the other way round.
  virtual void setTrayMode(bool tray) = 0;
  // The interface texts' built-in wording (loadformtext, which runs
  // loadhelptext too, and loadhelptext alone).
  virtual void loadformtext() = 0;
  virtual void loadhelptext() = 0;
  virtual void savelist() = 0;
  virtual void FormResize() = 0;

  // Filesets, whose files are reached only through the link store.
  virtual LinkStore& filesets() = 0;
  virtual void autobuild() = 0;
  // The fileset directories the last autobuild found, in menu order.
  virtual std::vector<std::string> filesetDirectories() = 0;
  // Reads the current fileset from disk again and rebuilds the fileset menus.
  virtual void refreshlist() = 0;
  // Leaves the current fileset for dir the one way the main window has:
  // saved first when saveFirst, dir's files checked, then loaded and
  // remembered. False when the window stays; a failed save throws.
  virtual bool enterFileset(const std::string& dir, bool saveFirst) = 0;
  // Remembers apppath for the next start without loading it.
  virtual void rememberCurrentFileset() = 0;
  virtual void sortoff() = 0;
  // A new, empty fileset under BaseDirectory; its path without the trailing backslash.
  virtual std::string createnewfileset() = 0;
  // The main list's current item.
  virtual int listIndex() = 0;
  virtual void selectListIndex(int index) = 0;

  virtual Launcher& launcher() = 0;
};

// What the presenter asks of the dialog's window.
class OptionsView {
 public:
  virtual ~OptionsView() = default;
  virtual void focus(ui::Control& control) = 0;
  // Makes the dialog the foreground window.
  virtual void bringToFront() = 0;
  // Starts editing the caption of a fileset list item in place; the window
  // calls filesetlistEdited when the edit ends.
  virtual void editLabel(int index) = 0;
};

}  // namespace trovik
