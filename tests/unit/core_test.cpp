// The shared vocabulary of the core: the handler pattern every handler and
// routine follows, and the list model the windows mirror.
#include <gtest/gtest.h>

#include "core/events.h"
#include "harness.h"
#include "ui/controls.h"

namespace trovik::test {
namespace {

TEST(HandlerPattern, OutParametersComeBackAfterTheClosingEvent) {
  Events events;
  std::string dir = "C:\\a\\";
  std::string seenByWork;
  events.setHook([&](std::string_view, bool before, bool, bool after) {
    if (before) events.slots.cstring = "C:\\redirected\\";
    if (after) events.slots.cstring = "C:\\after\\";
    return false;
  });
  events.run(
      "blankset", [&] { seenByWork = dir; }, inout(dir, &EventSlots::cstring));
  EXPECT_EQ(seenByWork, "C:\\redirected\\");
  EXPECT_EQ(dir, "C:\\after\\");

  // An in-parameter is not taken back after the closing event.
  int index = 3;
  events.run(
      "x", [] {}, in(index, &EventSlots::cint));
  EXPECT_EQ(index, 3);

  // The closing call may carry another spelling of the name.
  std::vector<std::string> names;
  events.setHook([&](std::string_view n, bool, bool, bool) {
    names.emplace_back(n);
    return false;
  });
  events.runNamed("optionsformthelpclick", "OptionsFormthelpclick", [] {});
  EXPECT_EQ(names, (Lines{"optionsformthelpclick", "OptionsFormthelpclick"}));
}

TEST(HandlerPattern, AnOverriddenHandlerSkipsItsWorkButStillRaisesTheClosingEvent) {
  Events events;
  int after = 0;
  bool worked = false;
  events.setHook([&](std::string_view, bool, bool over, bool a) {
    after += a;
    return over;
  });
  events.run("loadlist", [&] { worked = true; });
  EXPECT_FALSE(worked);
  EXPECT_EQ(after, 1);
}

TEST(ListModel, IndexesFollowInsertionsDeletionsAndMoves) {
  ui::ListBox list("l");
  list.setItems({"a", "b", "c"});
  list.setItemIndex(1);
  list.insert(0, "z");
  EXPECT_EQ(list.itemIndex(), 2);
  list.remove(0);  // an item above the current one: the current item stays
  EXPECT_EQ(list.itemIndex(), 1);
  EXPECT_EQ(list.item(list.itemIndex()), "b");
  list.insert(0, "z");
  list.remove(2);  // the current item itself
  EXPECT_EQ(list.itemIndex(), -1);
  list.setMultiSelect(true);
  list.setSelected(2, true);
  list.move(2, 0);
  EXPECT_EQ(list.items(), (Lines{"c", "z", "a"}));
  EXPECT_TRUE(list.selected(0));
  EXPECT_EQ(list.selCount(), 1);
  list.setItemIndex(9);
  EXPECT_EQ(list.itemIndex(), -1);
  list.remove(3);  // no such item
  list.remove(-1);
  EXPECT_EQ(list.items(), (Lines{"c", "z", "a"}));

  // The window mirrors the models by their notifications: one for a whole batch of items, none
  // for what did not change.
  struct RecordingPeer : ui::Peer {
    std::vector<ui::Aspect> seen;
    void changed(ui::Control&, ui::Aspect aspect, int) override { seen.push_back(aspect); }
  } peer;
  list.setPeer(&peer);
  list.setItems(Lines(1000, "x"));
  list.setVisible(true);
  list.setMultiSelect(false);
  ui::TabBar tabs("t");
  tabs.addTab("a");
  tabs.setTabIndex(1);  // past the last tab: none
  EXPECT_EQ(tabs.tabIndex(), -1);
  tabs.setPeer(&peer);
  tabs.clearTabs();
  using A = ui::Aspect;
  EXPECT_EQ(peer.seen, (std::vector<A>{A::Items, A::MultiSelect, A::Tabs}));
}

// A failure stops at the handler's edge and is told: anything but a file error as unexpected.
TEST(Barrier, AnyFailureIsToldAndStopsTheWork) {
  AppHarness h;
  h.boxes().expect(Answer::Ok, "Unexpected error: gone wrong");
  EXPECT_FALSE(h.app.guarded([] { throw std::runtime_error("gone wrong"); }));
  h.boxes().expect(Answer::Ok, "Unexpected error");
  EXPECT_FALSE(h.app.guarded([] { throw 42; }));
  EXPECT_TRUE(h.app.guarded([] {}));
}

}  // namespace
}  // namespace trovik::test
