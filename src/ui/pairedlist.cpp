#include "ui/pairedlist.h"

#include <algorithm>
#include <utility>

namespace trovik::ui {

namespace {
const std::string kNone;
}  // namespace

int PairedList::partnerCount() const {
  return partnerBox_ ? partnerBox_->count() : static_cast<int>(partnerList_->size());
}

bool PairedList::picked(int i) const {
  return names_.multiSelect() ? names_.selected(i) : i == names_.itemIndex();
}

const std::string& PairedList::partner(int i) const {
  if (i < 0 || i >= partnerCount()) return kNone;
  return partnerBox_ ? partnerBox_->item(i) : (*partnerList_)[static_cast<size_t>(i)];
}

void PairedList::insert(int at, const std::string& name, const std::string& partner) {
  names_.insert(at, name);
  const int p = std::clamp(at, 0, partnerCount());
  if (partnerBox_)
    partnerBox_->insert(p, partner);
  else
    partnerList_->insert(partnerList_->begin() + p, partner);
}

void PairedList::removeSelected() {
  for (int i = names_.count() - 1; i >= 0; --i) {
    if (!names_.selected(i)) continue;
    // A name without a partner is taken out alone.
    if (i < partnerCount()) {
      if (partnerBox_)
        partnerBox_->remove(i);
      else
        partnerList_->erase(partnerList_->begin() + i);
    }
    names_.remove(i);
  }
}

ItemBlock PairedList::copySelected() const {
  ItemBlock block;
  for (int i = 0; i < names_.count(); ++i)
    if (names_.selected(i)) {
      block.names.push_back(names_.item(i));
      block.partners.push_back(partner(i));
    }
  return block;
}

void PairedList::paste(int at, const ItemBlock& block) {
  for (size_t k = 0; k < block.size(); ++k)
    insert(at + static_cast<int>(k), block.names[k], block.partners[k]);
}

std::vector<int> PairedList::moveSelected(int to, Landing landing) {
  struct Item {
    std::string name, partner;
    bool picked, moved;
  };
  const int n = names_.count();
  std::vector<Item> items;
  items.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) items.push_back({names_.item(i), partner(i), picked(i), false});
  // Each selected item in turn is taken out and put in at t; t then follows
  // the ones carried up, so that the next lands after them.
  int t = std::clamp(to, 0, n);
  for (int i = 0; i < n;) {
    if (!items[static_cast<size_t>(i)].picked) {
      ++i;
      continue;
    }
    Item moving = std::move(items[static_cast<size_t>(i)]);
    moving.picked = false;
    moving.moved = true;
    items.erase(items.begin() + i);
    const bool before = landing == Landing::Before;
    const int at = before && i < t ? t - 1 : t;
    items.insert(items.begin() + std::min(at, n - 1), std::move(moving));
    if (i > t || (before && i == t)) ++t;
  }
  std::vector<std::string> names, partners;
  std::vector<int> moved;
  for (int i = 0; i < n; ++i) {
    Item& it = items[static_cast<size_t>(i)];
    names.push_back(std::move(it.name));
    partners.push_back(std::move(it.partner));
    if (it.moved) moved.push_back(i);
  }
  names_.setItems(std::move(names));
  if (partnerBox_)
    partnerBox_->setItems(std::move(partners));
  else
    *partnerList_ = std::move(partners);
  return moved;
}

}  // namespace trovik::ui
