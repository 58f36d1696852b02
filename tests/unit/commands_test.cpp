// The main window's command table: shortcuts as the menu shows them, and the
// rules the window relies on when it builds menus and keys from the rows.
#include "mainwindow/commands.h"

#include <gtest/gtest.h>

#include <set>

#include "harness.h"

namespace trovik::test {
namespace {

void expectKey(std::string_view text, std::uint16_t key, ShiftState modifiers) {
  const auto s = parseShortcut(text);
  ASSERT_TRUE(s) << text;
  EXPECT_EQ(s->key, key) << text;
  EXPECT_EQ(s->modifiers, modifiers) << text;
}

TEST(ShortcutTest, KeysAndModifiersAsMenusShowThem) {
  expectKey("F3", 114, 0);
  expectKey("F24", 135, 0);
  expectKey("f5", 116, 0);
  expectKey("Ctrl+D", 'D', ssCtrl);
  expectKey("ctrl+d", 'D', ssCtrl);
  expectKey("Ctrl+F12", 123, ssCtrl);
  expectKey("Shift+Del", 46, ssShift);
  expectKey("Alt+M", 'M', ssAlt);
  expectKey("Ctrl+Shift+7", '7', ssCtrl | ssShift);
  expectKey("BkSp", 8, 0);
  for (const char* wrong : {"", "F0", "F25", "F1x", "Ctrl+", "Hyper+X", "Ctrl+Plus", "DD"})
    EXPECT_FALSE(parseShortcut(wrong)) << wrong;
}

TEST(CommandTableTest, EveryCommandHasItsOwnNumberNameAndAKeyTheWindowKnows) {
  AppHarness h;
  std::set<int> ids;
  std::set<std::string> names;
  for (const Command& c : commands()) {
    const ui::MenuItem& item = h.form().*c.item;
    EXPECT_TRUE(names.insert(item.name()).second) << item.name();
    if (c.id != 0) {
      EXPECT_TRUE(ids.insert(c.id).second) << item.name();
      // Below the fileset items' numbers, which would otherwise take it.
      EXPECT_LT(c.id, kSwitchFirstId) << item.name();
    }
    if (*c.shortcut) {
      EXPECT_TRUE(parseShortcut(c.shortcut)) << item.name() << " " << c.shortcut;
    }
  }
}

}  // namespace
}  // namespace trovik::test
