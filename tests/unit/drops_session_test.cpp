// Files dropped on the window, items dragged in the list, and ending the
// Windows session.
#include "harness.h"
#include "launch/launcher.h"

namespace trovik::test {
namespace {

struct DropTest : ::testing::Test, AppHarness {
  DropTest() {
    options("");
    putFileset("", {"one", "two"}, {"C:\\one.exe", "C:\\two.exe"});
    putFileset("Other\\", {"o"}, {"C:\\o.exe"});
    form().loadlist();
    form().autobuild(kBase, -1);
    form().qswitch.setBounds({0, 20, 140, 20});
    form().List1.setBounds({0, 42, 140, 200});
    // Tabs are 70 wide; items 10 high.
    view.tab = [](int x, int) { return x / 70; };
    view.item = [this](int, int y) { return std::min((y - 42) / 10, form().List1.count()); };
    vars().dropext = true;
  }
  void drop(const Lines& paths, int x, int y) {
    form().form1wmdropfiles({0x233, 1, 0, 0}, paths, x, y);
  }
};

TEST_F(DropTest, FilesDroppedTogetherStandAtTheDropPlaceInReverseOrder) {
  boxes().expect(Answer::No, "You are dropping more than one item onto the list.");
  drop({"C:\\Docs\\a.txt", "C:\\Docs\\b.doc"}, 10, 45);  // on item 0
  EXPECT_EQ(names(), (Lines{"b", "a", "one", "two"}));
  EXPECT_EQ(links(), (Lines{"C:\\Docs\\b.doc", "C:\\Docs\\a.txt", "C:\\one.exe", "C:\\two.exe"}));
  EXPECT_EQ(form().mmlist.items(), names());
  EXPECT_EQ(fs().get(at("name.qdx")), "b\r\na\r\none\r\ntwo\r\n");
  EXPECT_EQ(os.windows.forced.size(), 1u);  // the window comes forward

  EXPECT_TRUE(os.shell.calls.empty());
}

// Below the last item, outside the list, or off the tab bar: at the end. Several files may
// make one group; a shortcut becomes its target when linking directly.
TEST_F(DropTest, WhatADropAtTheEndAdds) {
  const struct {
    Lines paths;
    int x, y;
    const char* name;
    std::string link;
  } rows[] = {{{"C:\\x\\y.z"}, 300, 300, "y", "C:\\x\\y.z"},
              {{"C:\\a.exe", "C:\\b.exe"}, 10, 200, "a", "C:\\a.exe|C:\\b.exe|"},
              {{"C:\\Desk\\Tool.lnk"}, 10, 200, "Tool", "C:\\Apps\\tool.exe"}};
  vars().ldirect = true;
  os.shellLinks.targets["C:\\Desk\\Tool.lnk"] = "C:\\Apps\\tool.exe";
  boxes().expect(Answer::Yes, "You are dropping more than one item onto the list.");
  for (const auto& r : rows) {
    drop(r.paths, r.x, r.y);
    EXPECT_EQ(names().back(), r.name);
    EXPECT_EQ(links().back(), r.link);
  }
}

TEST_F(DropTest, OnAnotherFilesetsTabTheFilesGrowAndDropLaunchRunsTheNewLink) {
  fs().put("C:\\new.exe", "");
  form().DropLaunchClick();
  drop({"C:\\new.exe"}, 100, 25);  // on the "Other" tab
  EXPECT_EQ(fs().get(at("Other\\link.qdx")), "C:\\o.exe\r\nC:\\new.exe\r\n");
  EXPECT_EQ(fs().get(at("Other\\name.qdx")), "o\r\nnew\r\n");
  EXPECT_EQ(names(), (Lines{"one", "two"}));  // the list shown is unchanged
  ASSERT_EQ(os.shell.calls.size(), 1u);
  EXPECT_EQ(os.shell.calls[0].file, "new.exe");

  // On the current fileset's tab: the end of the list, and run from there.
  drop({"C:\\new.exe"}, 10, 25);
  EXPECT_EQ(names(), (Lines{"one", "two", "new"}));
  EXPECT_EQ(form().List1.itemIndex(), 2);
  EXPECT_EQ(os.shell.calls.size(), 2u);
}

// Dragged up, the picked items stand together at the drop place, still picked; dragged down,
// the items taken from above follow each other to it.
TEST_F(DropTest, DraggingSelectedItemsMovesNamesAndLinksTogether) {
  setList({"a", "b", "c", "d", "e"}, {"A", "B", "C", "D", "E"});
  form().List1.setMultiSelect(true);
  form().List1.setSelected(3, true);
  form().List1.setSelected(4, true);
  form().List1DragDrop(&form().List1, 10, 43);  // onto item 0
  EXPECT_EQ(links(), (Lines{"D", "E", "A", "B", "C"}));
  EXPECT_TRUE(form().List1.selected(0) && form().List1.selected(1) && !form().List1.selected(2));
  EXPECT_TRUE(vars().sortbreak);
  form().List1.setSelected(1, false);
  form().List1.setSelected(2, true);
  form().List1DragDrop(&form().List1, 10, 82);  // onto item 4
  EXPECT_EQ(names(), (Lines{"e", "b", "c", "d", "a"}));
  EXPECT_EQ(links(), (Lines{"E", "B", "C", "D", "A"}));
}

struct SessionTest : ::testing::Test, AppHarness {
  std::vector<unsigned>& requests() { return os.system.exitRequests; }
};

TEST_F(SessionTest, ShutdownRestartAndShutdownOnExitAskWhenSetAndOfferTheForcedRequest) {
  form().SWindows1Click();
  EXPECT_EQ(requests(), std::vector<unsigned>{1});

  vars().wconfirmr = true;
  boxes().expect(Answer::No, "Restart Windows?");
  form().RWindows1Click();
  EXPECT_EQ(requests().size(), 1u);

  // Refused, then forced: the fileset is saved first.
  os.system.acceptExit = false;
  setList({"kept"}, {"C:\\kept.exe"});
  boxes().expect(Answer::Yes, "Restart Windows?");
  boxes().expect(Answer::Yes, "Safe restart call failed. Attempt forced shutdown?");
  form().RWindows1Click();
  EXPECT_EQ(requests(), (std::vector<unsigned>{1, 2, 5}));
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\kept.exe\r\n");

  boxes().expect(Answer::No, "Safe shutdown call failed.");
  form().SWindows1Click();
  EXPECT_EQ(requests().back(), 1u);

  form().lwindowsClick();  // no question, no fallback
  EXPECT_EQ(requests().back(), 0u);

  // Shutdown on exit: a No ends the program and leaves Windows running.
  os.system.acceptExit = true;
  requests().clear();
  vars().shutonx = vars().wconfirms = true;
  boxes().expect(Answer::No, "Shutdown Windows?");
  EXPECT_TRUE(app.close());
  EXPECT_TRUE(requests().empty());
  boxes().expect(Answer::Yes, "Shutdown Windows?");
  app.close();
  EXPECT_EQ(requests(), std::vector<unsigned>{1});
}

}  // namespace
}  // namespace trovik::test
