#pragma once
// The "Fileset manager" page of the options dialog: the filesets (new,
// rename in place, activate, delete, clear all) and the contents of any one
// of them (cut, copy and paste across filesets with the page's own
// clipboard, delete, reorder by dragging), worked on the files directly.
#include <cstdint>
#include <string>
#include <vector>

#include "core/context.h"
#include "dialogs/optionshost.h"
#include "linkstore/linkstore.h"
#include "ui/controls.h"
#include "ui/pairedlist.h"

namespace trovik {

class FilesetManager {
 public:
  // owner: the options dialog's window, which owns the page's messages.
  FilesetManager(Context& ctx, const WindowHandle& owner);
  void attach(OptionsHost* host, OptionsView* view) {
    host_ = host;
    view_ = view;
  }

  ui::Label fss{"fss"};
  ui::ListBox filesetlist{"filesetlist"};  // item 0 is the base fileset
  ui::Label fsitems{"fsitems"};
  ui::ListBox contentslist{"contentslist"};  // names of the shown fileset; multiple selection
  ui::Button newfs{"newfs"};
  ui::Button renamefs{"renamefs"};
  ui::Button activatefs{"activatefs"};
  ui::Button deletefs{"deletefs"};
  ui::Button clearfilesets{"clearfilesets"};
  ui::Button clearcontents{"clearcontents"};
  ui::Button cuti{"cuti"};
  ui::Button copyi{"copyi"};
  ui::Button pastei{"pastei"};
  // The contents list's commands: its pop-up menu, whose items' shortcuts
  // are the list's keys.
  ui::MenuItem clistmenu{"clistmenu"};
  ui::MenuItem Cut1{"Cut1", "Cut", "Ctrl+X"};
  ui::MenuItem Copy1{"Copy1", "Copy", "Ctrl+C"};
  ui::MenuItem Paste1{"Paste1", "Paste", "Ctrl+V"};
  ui::MenuItem Delete1{"Delete1", "Delete", "Del"};

  // The link entries of the shown fileset, beside contentslist.
  const std::vector<std::string>& links() const { return links_; }
  // The fileset whose contents are shown, or -1.
  int shown() const { return shown_; }

  // Fills the fileset list from the main window's fileset menu and empties
  // the contents (the dialog is being shown).
  void fill();
  // The dialog closes: the shown fileset keeps its edits.
  void FormClose();

  void filesetlistClick();
  void filesetlistKeyDown(std::uint16_t key);
  void filesetlistKeyUp();
  // Whether the caption of item index may be edited in place.
  bool filesetlistEditing(int index);
  // The edit of item index ended with name; the item then shows the
  // fileset's name, new or old.
  void filesetlistEdited(int index, const std::string& name);
  void newfsClick();
  void renamefsClick();
  void activatefsClick();
  void deletefsClick();
  void clearfilesetsClick();
  void contentslistDblClick();
  // The selected items were dropped on item index (count: below the last).
  void contentslistDragDrop(int index);
  void clearcontentsClick();
  void cutiClick();
  void copyiClick();
  void pasteiClick();
  void Delete1Click();

  // Why name cannot be a fileset's directory name; empty when it can.
  std::string invalidName(const std::string& name) const;

 private:
  ui::PairedList contents() { return {contentslist, links_}; }
  std::string directoryOf(int index) const;
  void load(int index);
  // Writes the shown fileset's two files when its contents changed here.
  void saveShown();
  void deleteSelected();
  // Deletes a fileset's files and directory. A file that cannot go is named
  // to the user and keeps the fileset.
  enum class Removal { Gone, DirectoryStayed, Refused };
  Removal removeFileset(const std::string& dir);
  void toBaseFileset();
  bool isCurrent(const std::string& dir) const;
  void notice(const std::string& text);
  bool ask(const std::string& text, const std::string& caption);

  Context& ctx_;
  const WindowHandle& owner_;
  OptionsHost* host_ = nullptr;
  OptionsView* view_ = nullptr;
  std::vector<std::string> links_;
  int shown_ = -1;
  bool dirty_ = false;      // the shown contents differ from their files
  bool switching_ = false;  // a click is switching the contents
  // The shown fileset's files as last read or written here (readFound_:
  // its link file was there), to tell whether they changed since.
  FilesetLists read_;
  bool readFound_ = false;
  ui::ItemBlock clip_;  // the clipboard, kept for the whole run
};

}  // namespace trovik
