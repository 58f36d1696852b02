#include "win32/menus.h"

#include <stdexcept>
#include <string>

#include "mainwindow/commands.h"
#include "mainwindow/form1.h"
#include "win32/framedwindow.h"

namespace trovik::win32 {

using ui::Aspect;

namespace {

ACCEL acceleratorOf(const Shortcut& s, int id) {
  ACCEL a{};
  a.fVirt = FVIRTKEY;
  if (s.modifiers & ssCtrl) a.fVirt |= FCONTROL;
  if (s.modifiers & ssShift) a.fVirt |= FSHIFT;
  if (s.modifiers & ssAlt) a.fVirt |= FALT;
  a.key = s.key;
  a.cmd = static_cast<WORD>(id);
  return a;
}

bool sameKeys(const std::vector<ACCEL>& a, const std::vector<ACCEL>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].fVirt != b[i].fVirt || a[i].key != b[i].key || a[i].cmd != b[i].cmd) return false;
  return true;
}

}  // namespace

MenuPeer::MenuPeer(FramedWindow& window, TForm1& form) : window_(window), form_(form) {
  for (const Command& c : commands())
    if (c.id) commandIds_[&(form.*c.item)] = c.id;
}

std::vector<ui::MenuItem*> MenuPeer::roots() const {
  return {&form_.splitmenu, &form_.tmenu, &form_.fscmenu};
}

void MenuPeer::attach() {
  for (ui::MenuItem* root : roots()) follow(*root);
  numbersStale_ = menuStale_ = keysStale_ = true;
}

void MenuPeer::detach() {
  for (ui::MenuItem* root : roots()) unfollow(*root);
}

void MenuPeer::follow(ui::MenuItem& item) {
  item.setPeer(this);
  for (int i = 0; i < item.childCount(); ++i) follow(item.child(i));
}

void MenuPeer::unfollow(ui::MenuItem& item) {
  if (item.peer() == this) item.setPeer(nullptr);
  for (int i = 0; i < item.childCount(); ++i) unfollow(item.child(i));
}

bool MenuPeer::isSubmenu(const ui::MenuItem& item) const {
  // The Switch submenu stays one while no fileset item is in it.
  return item.childCount() > 0 || &item == &form_.Switch;
}

void MenuPeer::changed(ui::Control& control, ui::Aspect aspect, int) {
  // Only menu items are followed.
  auto& item = static_cast<ui::MenuItem&>(control);
  switch (aspect) {
    case Aspect::Items:
      follow(item);  // the items added since
      numbersStale_ = menuStale_ = keysStale_ = true;
      return;
    case Aspect::Caption:  // or the shortcut, which the caption shows
      menuStale_ = keysStale_ = true;
      return;
    case Aspect::Visible:
      menuStale_ = true;
      return;
    case Aspect::Checked:
    case Aspect::Enabled:
      break;
    default:
      return;  // nothing a menu shows
  }
  if (menuStale_ || popups_.empty()) return;  // the next build reads everything anyway
  const auto found = ids_.find(&item);
  if (found == ids_.end()) {
    menuStale_ = true;
    return;
  }
  const auto id = static_cast<UINT>(found->second);
  for (const auto& [root, menu] : popups_) {
    if (aspect == Aspect::Checked)
      CheckMenuItem(menu.get(), id, MF_BYCOMMAND | (item.checked() ? MF_CHECKED : MF_UNCHECKED));
    else
      EnableMenuItem(menu.get(), id, MF_BYCOMMAND | (item.enabled() ? MF_ENABLED : MF_GRAYED));
  }
}

void MenuPeer::ensureNumbers() {
  if (!numbersStale_) return;
  ids_.clear();
  items_.clear();
  int next = kOtherFirstId;
  for (ui::MenuItem* root : roots()) number(*root, next);
  numbersStale_ = false;
}

void MenuPeer::number(ui::MenuItem& parent, int& next) {
  // Every command has its number, shown or not: the key of a hidden item still works.
  for (int i = 0; i < parent.childCount(); ++i) {
    ui::MenuItem& item = parent.child(i);
    if (isSubmenu(item)) {
      number(item, next);
      continue;
    }
    if (item.caption() == "-") continue;
    int id = 0;
    if (const auto named = commandIds_.find(&item); named != commandIds_.end())
      id = named->second;
    else if (&parent == &form_.Switch && kSwitchFirstId + i < kOtherFirstId)
      id = kSwitchFirstId + i;
    else
      id = next++;
    ids_[&item] = id;
    items_[id] = &item;
  }
}

int MenuPeer::idOf(const ui::MenuItem& item) {
  if (const auto named = commandIds_.find(&item); named != commandIds_.end()) return named->second;
  ensureNumbers();
  const auto found = ids_.find(&item);
  return found == ids_.end() ? 0 : found->second;
}

int MenuPeer::idOf(std::string_view name) {
  ensureNumbers();
  for (const auto& [item, id] : ids_)
    if (item->name() == name) return id;
  return 0;
}

void MenuPeer::ensureMenu() {
  if (!menuStale_ || tracking_) return;
  ensureNumbers();
  popups_.clear();
  for (ui::MenuItem* root : roots()) {
    MenuOwner menu(CreatePopupMenu());
    if (!menu) throw std::runtime_error("Cannot create the menu: " + systemReason(GetLastError()));
    fill(menu.get(), *root);
    popups_[root] = std::move(menu);
  }
  menuStale_ = false;
}

void MenuPeer::fill(HMENU menu, ui::MenuItem& parent) {
  for (int i = 0; i < parent.childCount(); ++i) {
    ui::MenuItem& item = parent.child(i);
    if (!item.visible()) continue;
    if (item.caption() == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = item.caption();
    if (!item.shortcut().empty()) text += "\t" + item.shortcut();
    const UINT flags =
        MF_STRING | (item.checked() ? MF_CHECKED : 0) | (item.enabled() ? 0 : MF_GRAYED);
    if (isSubmenu(item)) {
      MenuOwner sub(CreatePopupMenu());
      if (!sub) throw std::runtime_error("Cannot create the menu: " + systemReason(GetLastError()));
      fill(sub.get(), item);
      if (AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()),
                      wide(text).c_str()))
        (void)sub.release();  // the menu destroys its submenus
      continue;
    }
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(idOf(item)), wide(text).c_str());
    // The system menu's close item is its default, shown in bold.
    if (&item == &form_.Close1) SetMenuDefaultItem(menu, static_cast<UINT>(idOf(item)), FALSE);
  }
}

void MenuPeer::ensureKeys() {
  if (!keysStale_) return;
  std::vector<ACCEL> keys;
  collectKeys(form_.splitmenu, keys);
  collectKeys(form_.tmenu, keys);
  keysStale_ = false;
  if (keys_ && sameKeys(keys, keyList_)) return;
  keys_.reset(keys.empty() ? nullptr
                           : CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
  keyList_ = std::move(keys);
}

void MenuPeer::collectKeys(ui::MenuItem& parent, std::vector<ACCEL>& keys) {
  for (int i = 0; i < parent.childCount(); ++i) {
    ui::MenuItem& item = parent.child(i);
    if (isSubmenu(item)) {
      collectKeys(item, keys);
    } else if (!item.shortcut().empty() && item.caption() != "-") {
      if (const auto key = parseShortcut(item.shortcut()))
        keys.push_back(acceleratorOf(*key, idOf(item)));
    }
  }
}

bool MenuPeer::translateKey(MSG& msg) {
  const bool alt = msg.wParam == VK_MENU;
  if (alt && msg.message == WM_SYSKEYDOWN) altCommand_ = false;
  // The system never saw the key that ran the command: it would take the
  // release of Alt for Alt pressed alone and enter the menu mode, which
  // swallows every key (F1 too) until Alt is pressed again.
  if (alt && altCommand_ && (msg.message == WM_SYSKEYUP || msg.message == WM_KEYUP)) {
    altCommand_ = false;
    return true;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  ensureKeys();
  if (!keys_ || !TranslateAcceleratorW(window_.hwnd(), keys_.get(), &msg)) return false;
  altCommand_ = msg.message == WM_SYSKEYDOWN;
  return true;
}

void MenuPeer::popup(POINT screen) { popup(form_.splitmenu, screen); }

void MenuPeer::popup(ui::MenuItem& root, POINT screen) {
  ensureMenu();
  const auto found = popups_.find(&root);
  if (found == popups_.end() || root.childCount() == 0) return;
  HMENU menu = found->second.get();
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the null message afterwards lets it end cleanly.
  SetForegroundWindow(window_.hwnd());
  tracking_ = true;
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                 window_.hwnd(), nullptr);
  tracking_ = false;
  PostMessageW(window_.hwnd(), WM_NULL, 0, 0);
}

void MenuPeer::run(int id) {
  ensureNumbers();
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  ui::MenuItem& item = *found->second;
  // The menu never offers a greyed item, but its shortcut key still arrives.
  if (!item.enabled()) return;
  window_.guarded([&] { item.click(); });
}

}  // namespace trovik::win32
