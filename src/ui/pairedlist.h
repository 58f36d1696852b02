#pragma once
// A list box of names and a second list kept in step with it, item for item:
// the main list and its links, the fileset manager's contents and their
// links, a multirun group's members and their run styles. Inserting,
// removing, moving and copying through it touch both lists at once.
#include <string>
#include <vector>

#include "ui/controls.h"

namespace trovik::ui {

// Items cut or copied out of a paired list: each name with its partner.
struct ItemBlock {
  std::vector<std::string> names, partners;
  size_t size() const { return names.size() < partners.size() ? names.size() : partners.size(); }
};

// Where the selected items land when they are dropped on an item.
enum class Landing {
  // Together, in their order, just before the item dropped on.
  Before,
  // As the main list has always moved them: each is taken out and put in at
  // the drop index in turn, so one carried down lands after the item dropped
  // on and one carried up before it.
  Across,
};

// A view of the two lists; it holds no state of its own. The partner list
// may be shorter than the names (a list an extension left uneven): a name
// past its end has an empty partner.
class PairedList {
 public:
  PairedList(ListBox& names, ListBox& partners) : names_(names), partnerBox_(&partners) {}
  PairedList(ListBox& names, std::vector<std::string>& partners)
      : names_(names), partnerList_(&partners) {}

  const std::string& partner(int i) const;

  void insert(int at, const std::string& name, const std::string& partner);
  void removeSelected();
  ItemBlock copySelected() const;
  // Puts the block in before item at (count: after the last).
  void paste(int at, const ItemBlock& block);
  // Moves the selected items (in single selection, the current one) to the
  // drop index to (count: below the last); both lists are then in step.
  // Returns the moved items' new indexes, which the caller selects again.
  std::vector<int> moveSelected(int to, Landing landing);

 private:
  bool picked(int i) const;
  int partnerCount() const;

  ListBox& names_;
  ListBox* partnerBox_ = nullptr;
  std::vector<std::string>* partnerList_ = nullptr;
};

}  // namespace trovik::ui
