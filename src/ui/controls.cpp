#include "ui/controls.h"

#include <algorithm>
#include <cmath>

namespace trovik::ui {

void Control::setBounds(const Rect& r) {
  if (r.left == bounds_.left && r.top == bounds_.top && r.width == bounds_.width &&
      r.height == bounds_.height)
    return;
  bounds_ = r;
  notify(Aspect::Bounds);
}

void ListBox::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  selected_.assign(items_.size(), 0);
  itemIndex_ = -1;
  notify(Aspect::Items);
}

void ListBox::assignItems(const std::vector<std::string>& items) {
  items_ = items;  // element by element, each string keeping its buffer
  selected_.assign(items_.size(), 0);
  itemIndex_ = -1;
  notify(Aspect::Items);
}

std::vector<std::string> ListBox::takeItems() {
  std::vector<std::string> taken = std::move(items_);
  setItems({});
  return taken;
}

void ListBox::insert(int index, const std::string& s) {
  index = std::clamp(index, 0, count());
  items_.insert(items_.begin() + index, s);
  selected_.insert(selected_.begin() + index, 0);
  if (itemIndex_ >= index) ++itemIndex_;
  notify(Aspect::ItemInserted, index);
}

void ListBox::remove(int index) {
  if (index < 0 || index >= count()) return;
  items_.erase(items_.begin() + index);
  selected_.erase(selected_.begin() + index);
  if (itemIndex_ == index)
    itemIndex_ = -1;
  else if (itemIndex_ > index)
    --itemIndex_;
  notify(Aspect::ItemDeleted, index);
}

void ListBox::setItem(int index, const std::string& s) {
  if (index < 0 || index >= count() || items_[static_cast<size_t>(index)] == s) return;
  items_[static_cast<size_t>(index)] = s;
  notify(Aspect::ItemChanged, index);
}

void ListBox::move(int from, int to) {
  if (from == to || from < 0 || from >= count()) return;
  const std::string s = items_[static_cast<size_t>(from)];
  const char sel = selected_[static_cast<size_t>(from)];
  remove(from);
  to = std::clamp(to, 0, count());
  insert(to, s);
  selected_[static_cast<size_t>(to)] = sel;
}

void ListBox::setItemIndex(int i) {
  if (i < -1 || i >= count()) i = -1;
  set(itemIndex_, i, Aspect::ItemIndex);
}

void ListBox::setMultiSelect(bool v) {
  if (multiSelect_ == v) return;
  multiSelect_ = v;
  std::fill(selected_.begin(), selected_.end(), 0);
  notify(Aspect::MultiSelect);
}

void ListBox::setSelected(int i, bool v) {
  if (i < 0 || i >= count()) return;
  char& flag = selected_[static_cast<size_t>(i)];
  if ((flag != 0) == v) return;
  flag = v ? 1 : 0;
  notify(Aspect::Selection, i);
}

int ListBox::selCount() const {
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), 1));
}

void TabBar::addTab(const std::string& caption) {
  tabs_.push_back(caption);
  notify(Aspect::Tabs);
}

void TabBar::clearTabs() {
  tabs_.clear();
  tabIndex_ = -1;
  notify(Aspect::Tabs);
}

void TabBar::setTabIndex(int i) {
  if (i < -1 || i >= count()) i = -1;
  set(tabIndex_, i, Aspect::TabIndex);
}

MenuItem& MenuItem::addChild(MenuItem& item) {
  children_.push_back(&item);
  notify(Aspect::Items);
  return item;
}

MenuItem& MenuItem::addChild(std::unique_ptr<MenuItem> item) {
  owned_.push_back(std::move(item));
  return addChild(*owned_.back());
}

std::unique_ptr<MenuItem> MenuItem::takeChild(MenuItem& item) {
  auto it = std::find(children_.begin(), children_.end(), &item);
  if (it == children_.end()) return nullptr;
  children_.erase(it);
  std::unique_ptr<MenuItem> taken;
  auto own =
      std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == &item; });
  if (own != owned_.end()) {
    taken = std::move(*own);
    owned_.erase(own);
  }
  notify(Aspect::Items);
  return taken;
}

void rescaleControls(int dpi, std::initializer_list<Control*> controls,
                     std::initializer_list<Control*> labels) {
  if (dpi <= 96) return;
  auto scale = [dpi](int value) { return static_cast<int>(std::lround(value * 96.0 / dpi)); };
  auto each = [&](Control& c, bool label) {
    Rect r = c.bounds();
    r.top = scale(r.top);
    r.left = scale(r.left);
    r.height = scale(r.height);
    if (label) {
      const int size = scale(c.fontSize());
      c.setFont(size < 8 ? "Small fonts" : c.fontName(), size);
    } else {
      r.width = scale(r.width);
    }
    c.setBounds(r);
  };
  for (Control* c : controls) each(*c, false);
  for (Control* c : labels) each(*c, true);
}

}  // namespace trovik::ui
