// The shared vocabulary of the core: the handler pattern every handler and
// routine follows, the list model the windows mirror, link entries taken apart
// the way the launcher and the dialogs read them, and the lines of the files.
#include <random>

#include "core/entry.h"
#include "core/events.h"
#include "harness.h"
#include "ui/controls.h"

namespace trovik::test {
namespace {

// Arguments go into the slots before the opening event and are read from
// them after it; only in-out parameters take the closing event's values back.
// (That an override skips the work but still raises the closing event, and a
// closing call of another spelling, are the event catalogue's and the hook's.)
// A failure stops at the handler's edge and is told: anything but a file error as unexpected.
TEST(HandlerPattern, OutParametersComeBackAfterTheClosingEventAndAFailureStopsAtTheEdge) {
  Events events;
  std::string dir = "C:\\a\\";
  int index = 3;
  std::string seenByWork;
  events.setHook([&](std::string_view, bool before, bool, bool after) {
    if (before) events.slots.cstring = "C:\\redirected\\";
    if (after) {
      events.slots.cstring = "C:\\after\\";
      events.slots.cint = 9;
    }
    return false;
  });
  events.run(
      "blankset", [&] { seenByWork = dir; }, inout(dir, &EventSlots::cstring),
      in(index, &EventSlots::cint));
  EXPECT_EQ(seenByWork, "C:\\redirected\\");
  EXPECT_EQ(dir, "C:\\after\\");
  EXPECT_EQ(index, 3);

  AppHarness h;
  h.boxes().expect(Answer::Ok, "Unexpected error: gone wrong");
  EXPECT_FALSE(h.app.guarded([] { throw std::runtime_error("gone wrong"); }));
  h.boxes().expect(Answer::Ok, "Unexpected error");
  EXPECT_FALSE(h.app.guarded([] { throw 42; }));
  EXPECT_TRUE(h.app.guarded([] {}));
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

// Each member of an entry as the launcher gets it: target, parameters and run
// mode, joined by "|" to read as one row. (Single targets are the launch test's.) Then the text
// routines: the separator, the suffixes and the leaf directory.
TEST(EntrySyntax, WorkedExamplesAndTheTextRoutinesReadEntriesAsDocumented) {
  AppHarness h;
  const RunMode N = RunMode::Normal, Max = RunMode::Maximized;
  const struct {
    const char *entry, *targets, *parameters;
    RunMode mode;  // of the first member
    bool forced;
  } cases[] = {
      {"+fC:\\a.exe|C:\\b.exe>:-x|D:\\Docs\\|", "c:\\a.exe|c:\\b.exe|d:\\docs\\", "|-x|", N, true},
      // Empty and null members are skipped; the force mark counts on any member.
      {"a||<null>|+fb|c", "a|b", "|", N, true},
      {"+Fa|", "+fa", "", N, false},  // the mark is case-sensitive
      {"?mail?C:\\Mail\\mail.exe", "c:\\mail\\mail.exe", "", N, false},
      {"?C:\\x.exe", "c:\\x.exe", "", N, false},
      // Suffixes are recognised in any case once the member is lowered, and the parameters'
      // suffix wins over the target's.
      {"C:\\X.EXE+LRMI>:-A+LRMA", "c:\\x.exe", "-a", Max, false},
  };
  for (const auto& c : cases) {
    const entry::Group g = entry::splitGroup(c.entry, "|");
    std::string targets, parameters;
    for (const auto& m : g.members) {
      const Member parts = h.app.syntax.takeApart(m);
      targets += (targets.empty() ? "" : "|") + parts.target;
      parameters += (&m == &g.members[0] ? "" : "|") + parts.parameters;
    }
    EXPECT_EQ(targets, c.targets) << c.entry;
    EXPECT_EQ(parameters, c.parameters) << c.entry;
    EXPECT_EQ(h.app.syntax.takeApart(g.members.at(0)).mode, c.mode) << c.entry;
    EXPECT_EQ(g.forced, c.forced) << c.entry;
  }
  // Another separator character in force; the dialog's split keeps empty members.
  EXPECT_EQ(entry::splitGroup("a;b;", ";").members, (Lines{"a", "b"}));
  EXPECT_TRUE(entry::splitGroup("", "|").members.empty());
  EXPECT_EQ(entry::splitMembers("a||b|tail", "|"), (Lines{"a", "", "b"}));
  h.vars().ignorebc = true;  // the question-mark prefix is then kept
  EXPECT_EQ(h.app.syntax.takeApart("?mail?C:\\m.exe").target, "?mail?c:\\m.exe");

  EntrySyntax& s = h.app.syntax;
  EXPECT_EQ(s.findcommand("C:\\x.exe>:-a"), 11);
  EXPECT_EQ(s.findcommand("C:\\x.exe"), 11);
  EXPECT_EQ(s.findcommand(""), 4);
  EXPECT_EQ(s.findcommand(">"), 4);
  EXPECT_EQ(s.extractcommand("C:\\x.exe>:-a"), "-a");
  EXPECT_EQ(s.extractcommand("C:\\x.exe"), "");
  EXPECT_EQ(s.extractcommand("C:\\x.exe>:"), "");
  EXPECT_EQ(s.extractcommand("C:\\x.exe>:-a>:-b"), "-a>:-b");
  EXPECT_EQ(s.extractcommand("C:\\x.exe>:-a+lrma"), "-a+lrma");
  EXPECT_EQ(s.removecommands("C:\\x.exe>:-a+lrma"), "C:\\x.exe");
  EXPECT_EQ(s.removecommands(""), "");
  // Only one suffix goes, and only in lower case.
  EXPECT_EQ(s.removecommands("C:\\x.exe+lrmi+lrma"), "C:\\x.exe+lrmi");
  EXPECT_EQ(s.removecommands("C:\\x.exe+LRMA"), "C:\\x.exe+LRMA");
  EXPECT_TRUE(s.ismr("C:\\x.exe>:a|b"));
  EXPECT_FALSE(s.ismr("C:\\x.exe"));

  for (const char* internet : {"http://x", "wwwroot\\index.htm", "ftpsync.exe", "<null>"})
    EXPECT_FALSE(s.islocalfile(internet)) << internet;
  EXPECT_TRUE(s.islocalfile("HTTP://x"));  // the prefixes are case-sensitive
  EXPECT_TRUE(s.islocalfile("C:\\http\\x.exe"));

  EXPECT_EQ(s.extractleafdir("C:\\Games\\Chess\\"), "Chess");
  EXPECT_EQ(s.extractleafdir("C:\\Games\\chess.exe"), "Games");
  EXPECT_EQ(s.extractleafdir("C:\\"), "\\");
  EXPECT_EQ(s.extractleafdir("C:\\work"), "\\work");
  EXPECT_EQ(s.extractleafdir("C:\\+lrma+lrma"), "C:\\+lrma");  // a run mode is no folder
  EXPECT_EQ(s.extractleafdir("notes"), "notes");
  EXPECT_EQ(s.extractleafdir("C:\\Games\\chess.exe>:C:\\a\\b\\c"), "Games");

  // The separators follow the settings.
  h.vars().commandsep = "::";
  h.vars().mrs = ";";
  EXPECT_EQ(s.extractcommand("C:\\x.exe::-a>:b"), "-a>:b");
  EXPECT_TRUE(s.ismr("a;b"));
  EXPECT_FALSE(s.ismr("a|b"));
}

// The count is made sixteen bytes at a time: line ends across those blocks,
// long runs of them and a NUL must all count as the split finds them. A list
// split into its old strings ends up exactly as a fresh split.
TEST(TextLines, CountAgreesWithTheSplitAtEveryLengthAndMix) {
  const char* const pieces[] = {"a", "bc", "\r", "\n", "\r\n", "defghijklmnopqrs"};
  std::mt19937 random(7);
  Lines reused;  // grows and shrinks from round to round, as a list read again does
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int length = round < 100 ? round : 100 + round * 12;
    while (static_cast<int>(text.size()) < length) text += pieces[random() % 6];
    const Lines split = splitLines(text);
    ASSERT_EQ(countLines(text), split.size()) << testing::PrintToString(text);
    splitLinesInto(text, reused);
    ASSERT_EQ(reused, split);
  }
  for (const char* end : {"\n", "\r", "\r\n"}) {
    std::string runs;
    for (int i = 0; i < 5000; ++i) runs += end;
    EXPECT_EQ(countLines(runs), 5000u) << end;
  }
  EXPECT_EQ(countLines(std::string(40, 'x') + '\0' + "\n\n\n"), 1u);
  EXPECT_EQ(countLines(std::string(40, 'x') + '\0' + "\n\n\n", Nul::IsText), 3u);
}

}  // namespace
}  // namespace trovik::test
