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

}  // namespace
}  // namespace trovik::test
