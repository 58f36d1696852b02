#pragma once
// Moves the current fileset between disk and the two lists of the main
// window, repairs files that are out of step, and rescans BaseDirectory for
// filesets to rebuild the QuickSwitch tabs and the Switch submenu.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "core/product.h"
#include "ui/controls.h"

namespace trovik {

inline constexpr std::string_view kLinkFile = "link.qdx";
inline constexpr std::string_view kNameFile = "name.qdx";

// The controls of the main window that hold and show the current fileset.
struct LinkPair {
  ui::ListBox& List1;   // names, shown
  ui::ListBox& link1;   // link entries, hidden; always as long as List1
  ui::ListBox& mmlist;  // the Snapbar copy of the names
};

// The controls that list the filesets.
struct FilesetMenus {
  ui::TabBar& qswitch;
  ui::MenuItem& Switch;                             // the Switch submenu
  int& ctabi;                                       // the tab of the current fileset
  std::function<void(ui::MenuItem&)> onSwitchItem;  // HistHandler
};

class LinkStore {
 public:
  LinkStore(Context& ctx, LinkPair pair, FilesetMenus menus)
      : ctx_(ctx), pair_(pair), menus_(std::move(menus)) {}

  void loadlist();
  void savelist();
  std::string autobuild(std::string root, int index);
  void clearhistory();

  // The three ways a name is derived from a link entry.
  std::string nameRuleA(const std::string& e);  // the target, tidied
  std::string nameRuleB(const std::string& e);  // the whole entry, tidied
  std::string nameRuleC(const std::string& e);  // repair: the file name only

  // The fileset directory of each QuickSwitch tab, as the last scan found them.
  const std::vector<std::string>& tabDirectories() const { return tabDirectories_; }

  // Reads a list file into lines (the file must exist). Throws IoError.
  std::vector<std::string> readList(const std::string& path) const;

  // Brings names and links back into step after a load or an import that
  // gave them different lengths, asking the user how.
  void repairCounts();

 private:
  std::string deriveName(std::string n, const std::string& e);
  void loadWork();
  void saveWork();

  // A list file as this store last read or wrote it: while the file's stamp
  // is the same, its content is known without reading it again.
  struct Known {
    std::optional<FileStamp> stamp;
    std::size_t size = 0, hash = 0, lines = 0;
  };
  void remember(Known& known, const std::string& path, std::size_t size, std::size_t hash,
                std::size_t lines);
  // Whether the file holds exactly bytes (whose hash is given); lines is set
  // to the file's line count.
  bool holds(const Known& known, const std::string& path, const std::string& bytes,
             std::size_t hash, std::size_t& lines) const;

  Context& ctx_;
  LinkPair pair_;
  FilesetMenus menus_;
  std::vector<ui::MenuItem*> history_;  // the fileset items of the Switch submenu
  // Items taken out of the submenu by the last rebuild. A rebuild runs inside
  // the click of one of them (switching filesets), so they live until the next.
  std::vector<std::unique_ptr<ui::MenuItem>> retired_;
  std::vector<std::string> tabDirectories_;
  Known names_, links_;
};

}  // namespace trovik
