// Reading a link entry back into the Add/Edit dialog.
#include <gtest/gtest.h>

#include "harness.h"

namespace trovik::test {
namespace {

using Lines = std::vector<std::string>;

TEST(AddEditReading, MaddSplitsAGroupIntoMembersWithTheirRunStyles) {
  AppHarness h;
  TAddEdit& d = h.app.AddEdit;
  h.form().link1.setItems({"single", "+fC:\\a.exe+lrma||D:\\b.exe>:-x+lrmi|trailing"});
  d.madd(1);
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\a.exe", "", "D:\\b.exe>:-x"}));
  EXPECT_EQ(d.MemberRunStyles, (Lines{"+lrma", "", "+lrmi"}));
  EXPECT_TRUE(d.foc.checked());

  // Members are added to those already listed; out-of-range indexes add nothing.
  d.madd(7);
  h.form().link1.setItems({"x+lrmi+lrma|"});
  d.madd(0);
  EXPECT_EQ(d.mrl.items().back(), "x");
  EXPECT_EQ(d.MemberRunStyles.back(), "+lrmi");  // the inner suffix is moved last and wins
  EXPECT_EQ(d.mrl.count(), static_cast<int>(d.MemberRunStyles.size()));
}

TEST(AddEditReading, MaddRaisesItsEventsWithTheIndexAndMemberNumbers) {
  AppHarness h;
  std::vector<std::string> seen;
  h.app.events.setHook([&](std::string_view name, bool before, bool, bool) {
    if (before) seen.push_back(std::string(name) + ":" + std::to_string(h.app.events.slots.cint));
    return false;
  });
  h.form().link1.setItems({"a|b|"});
  h.app.AddEdit.madd(0);
  EXPECT_EQ(seen, (Lines{"madd:0", "clcommmrl:0", "clcommmrl:1"}));
  EXPECT_EQ(h.app.events.slots.cint, 0);  // the outer routine's index is back in its slot
}

TEST(AddEditReading, Clcommedit2MovesTheRunModeIntoTheChoice) {
  AppHarness h;
  TAddEdit& d = h.app.AddEdit;
  d.path.setText("C:\\x.exe>:-a+lrmi");
  d.clcommedit2();
  EXPECT_EQ(d.path.text(), "C:\\x.exe>:-a");
  EXPECT_TRUE(d.runmin.checked());
  EXPECT_FALSE(d.runnormal.checked());

  d.path.setText("C:\\x.exe+lrma");
  d.clcommedit2();
  EXPECT_TRUE(d.runmax.checked());
  EXPECT_FALSE(d.runmin.checked());

  d.path.setText("C:\\x.exe+LRMA");  // only the lower-case mark is a run mode
  d.clcommedit2();
  EXPECT_EQ(d.path.text(), "C:\\x.exe+LRMA");
  EXPECT_TRUE(d.runnormal.checked());
}

TEST(HandlerPattern, OutParametersComeBackAfterTheClosingEvent) {
  Events events;
  std::string dir = "C:\\a\\";
  std::string seenByWork;
  events.setHook([&](std::string_view, bool before, bool, bool after) {
    if (before) events.slots.cstring = "C:\\redirected\\";
    if (after) events.slots.cstring = "C:\\after\\";
    return false;
  });
  events.run("blankset", [&] { seenByWork = dir; }, inout(dir, &EventSlots::cstring));
  EXPECT_EQ(seenByWork, "C:\\redirected\\");
  EXPECT_EQ(dir, "C:\\after\\");

  // An in-parameter is not taken back after the closing event.
  int index = 3;
  events.run("x", [] {}, in(index, &EventSlots::cint));
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
  list.remove(2);
  EXPECT_EQ(list.itemIndex(), -1);
  list.setMultiSelect(true);
  list.setSelected(2, true);
  list.move(2, 0);
  EXPECT_EQ(list.items(), (Lines{"c", "z", "a"}));
  EXPECT_TRUE(list.selected(0));
  EXPECT_EQ(list.selCount(), 1);
  list.setItemIndex(9);
  EXPECT_EQ(list.itemIndex(), -1);

  struct CountingPeer : ui::Peer {
    int calls = 0;
    void changed(ui::Control&, ui::Aspect, int) override { ++calls; }
  } peer;
  list.setPeer(&peer);
  list.setItems(Lines(1000, "x"));
  list.setVisible(true);  // unchanged: no notification
  EXPECT_EQ(peer.calls, 1);
}

}  // namespace
}  // namespace trovik::test
