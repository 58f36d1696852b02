#pragma once
// Toolkit-neutral models of the controls the forms own. A model holds exactly
// the state the program works with and tells its peer (the real window, when
// there is one) about every change, so presenters never touch the toolkit.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace trovik::ui {

enum class Aspect {
  Items,  // the whole item list was replaced (index -1) ...
  ItemInserted,
  ItemDeleted,
  ItemChanged,  // ... or one item at index changed
  ItemIndex,
  Selection,
  MultiSelect,
  Visible,
  Enabled,
  Checked,
  Caption,
  Hint,
  Bounds,
  Columns,
  Tabs,
  TabIndex,
  Color,
  State,     // a state the owner keeps (the window's normal/maximised state)
  Position,  // a track bar's position or its range
};

class Control;

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void changed(Control& control, Aspect aspect, int index) = 0;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  void setPeer(Peer* peer) { peer_ = peer; }
  Peer* peer() const { return peer_; }

  bool visible() const { return visible_; }
  void setVisible(bool v) { set(visible_, v, Aspect::Visible); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool v) { set(enabled_, v, Aspect::Enabled); }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& v) { set(caption_, v, Aspect::Caption); }
  const std::string& hint() const { return hint_; }
  void setHint(const std::string& v) { set(hint_, v, Aspect::Hint); }
  const Rect& bounds() const { return bounds_; }
  void setBounds(const Rect& r);
  // A colour as a system colour index or an RGB value, as the view interprets it.
  unsigned color() const { return color_; }
  void setColor(unsigned c) { set(color_, c, Aspect::Color); }
  // Tells the peer about a change of state kept outside the model.
  void touch(Aspect aspect) { notify(aspect); }
  int fontSize() const { return fontSize_; }
  const std::string& fontName() const { return fontName_; }
  void setFont(const std::string& name, int size) {
    fontName_ = name;
    fontSize_ = size;
    notify(Aspect::Bounds);
  }

 protected:
  void notify(Aspect aspect, int index = -1) {
    if (peer_) peer_->changed(*this, aspect, index);
  }
  template <class T>
  void set(T& field, const T& value, Aspect aspect) {
    if (field == value) return;
    field = value;
    notify(aspect);
  }

 private:
  std::string name_;
  Peer* peer_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  Rect bounds_;
  unsigned color_ = 0;
  int fontSize_ = 8;
  std::string fontName_ = "MS Sans Serif";
};

// A list of text items with a current item and, in multiple-selection mode,
// a selected flag per item: list boxes, combo boxes and the hidden link list.
class ListBox : public Control {
 public:
  using Control::Control;

  int count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& items() const { return items_; }
  const std::string& item(int i) const { return items_.at(static_cast<size_t>(i)); }

  void setItems(std::vector<std::string> items);  // one batch, one notification
  // The same as setItems(items), but the strings this list already holds take
  // the new texts in their own storage: refilling a large list allocates
  // next to nothing.
  void assignItems(const std::vector<std::string>& items);
  void clear() { setItems({}); }
  // Empties the list, as clear() does, and hands over its strings for reuse
  // by the next setItems.
  std::vector<std::string> takeItems();
  void add(const std::string& s) { insert(count(), s); }
  void insert(int index, const std::string& s);
  void remove(int index);
  void setItem(int index, const std::string& s);
  void move(int from, int to);

  // The current item: -1 for none.
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int i);

  bool multiSelect() const { return multiSelect_; }
  void setMultiSelect(bool v);
  bool selected(int i) const { return selected_.at(static_cast<size_t>(i)) != 0; }
  void setSelected(int i, bool v);
  int selCount() const;

  int columns() const { return columns_; }
  void setColumns(int c) { set(columns_, c, Aspect::Columns); }

 private:
  std::vector<std::string> items_;
  std::vector<char> selected_;
  int itemIndex_ = -1;
  bool multiSelect_ = false;
  int columns_ = 0;
};

// A row of tabs (the QuickSwitch bar).
class TabBar : public Control {
 public:
  using Control::Control;
  int count() const { return static_cast<int>(tabs_.size()); }
  const std::vector<std::string>& tabs() const { return tabs_; }
  void addTab(const std::string& caption);
  void clearTabs();
  int tabIndex() const { return tabIndex_; }
  void setTabIndex(int i);
  bool hotTrack() const { return hotTrack_; }
  void setHotTrack(bool v) { set(hotTrack_, v, Aspect::Tabs); }
  int tabWidth() const { return tabWidth_; }
  void setTabWidth(int w) { set(tabWidth_, w, Aspect::Tabs); }

 private:
  std::vector<std::string> tabs_;
  int tabIndex_ = -1;
  bool hotTrack_ = true;
  int tabWidth_ = 0;
};

// A check box, radio button or menu item: something with a checked state.
class Checkable : public Control {
 public:
  using Control::Control;
  bool checked() const { return checked_; }
  void setChecked(bool v) { set(checked_, v, Aspect::Checked); }

 private:
  bool checked_ = false;
};

using CheckBox = Checkable;
using RadioButton = Checkable;

// A menu item. A submenu lists its items: the form's named items by
// reference, items made at run time (the fileset items) owned by it.
class MenuItem : public Checkable {
 public:
  using Checkable::Checkable;
  MenuItem(std::string name, std::string caption, std::string shortcut = {})
      : Checkable(std::move(name)), shortcut_(std::move(shortcut)) {
    setCaption(caption);
  }
  std::function<void(MenuItem&)> onClick;
  const std::string& shortcut() const { return shortcut_; }
  void setShortcut(const std::string& s) {
    shortcut_ = s;
    notify(Aspect::Caption);  // the caption shows the shortcut
  }

  int childCount() const { return static_cast<int>(children_.size()); }
  MenuItem& child(int i) { return *children_.at(static_cast<size_t>(i)); }
  MenuItem& addChild(MenuItem& item);
  MenuItem& addChild(std::unique_ptr<MenuItem> item);
  std::unique_ptr<MenuItem> takeChild(MenuItem& item);  // removes it from the submenu
  void click() {
    if (onClick) onClick(*this);
  }

 private:
  std::string shortcut_;
  std::vector<MenuItem*> children_;
  std::vector<std::unique_ptr<MenuItem>> owned_;
};

// An edit field: its caption is its text.
class Edit : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return caption(); }
  void setText(const std::string& t) { setCaption(t); }
};

// A track bar: a position between a least and a greatest value.
class TrackBar : public Control {
 public:
  using Control::Control;
  int position() const { return position_; }
  void setPosition(int p) {
    set(position_, p < min_ ? min_ : p > max_ ? max_ : p, Aspect::Position);
  }
  int min() const { return min_; }
  int max() const { return max_; }
  void setRange(int least, int greatest) {
    min_ = least;
    max_ = greatest;
    notify(Aspect::Position);
    setPosition(position_);
  }

 private:
  int position_ = 0;
  int min_ = 0;
  int max_ = 10;
};

using Label = Control;
using Button = Control;
using Panel = Control;

// On a screen above 96 dots per inch, scales a form's controls back to their
// designed size: the top, left and height of each, the width of the
// controls, and the font of the labels, which keep their width and take
// "Small fonts" below 8 points.
void rescaleControls(int dpi, std::initializer_list<Control*> controls,
                     std::initializer_list<Control*> labels);

}  // namespace trovik::ui
