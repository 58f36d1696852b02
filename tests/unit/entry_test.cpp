// Link entries taken apart the way the launcher and the dialogs read them.
#include "core/entry.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace trovik::test {
namespace {

struct Ran {
  std::vector<std::string> targets, parameters;
  std::vector<RunMode> modes;
  bool forced;
};

Ran launch(EntrySyntax& syntax, const std::string& e, const std::string& mrs = "|") {
  const entry::Group g = entry::splitGroup(e, mrs);
  Ran r{{}, {}, {}, g.forced};
  for (const auto& m : g.members) {
    Member parts = syntax.takeApart(m);
    r.targets.push_back(parts.target);
    r.parameters.push_back(parts.parameters);
    r.modes.push_back(parts.mode);
  }
  return r;
}

TEST(EntrySyntax, WorkedExamplesReachTheLauncherAsDocumented) {
  AppHarness h;
  using V = std::vector<std::string>;
  const RunMode normal = RunMode::Normal;
  const struct {
    const char* entry;
    V targets, parameters;
    RunMode mode;  // of the first member
    bool forced;
  } cases[] = {
      {"C:\\Tools\\notepad.exe", {"c:\\tools\\notepad.exe"}, {""}, normal, false},
      {"C:\\Tools\\notepad.exe>:C:\\Docs\\notes.txt+lrma",
       {"c:\\tools\\notepad.exe"},
       {"c:\\docs\\notes.txt"},
       RunMode::Maximized,
       false},
      {"C:\\Tools\\calc.exe+lrmi", {"c:\\tools\\calc.exe"}, {""}, RunMode::Minimized, false},
      {"D:\\Music\\", {"d:\\music\\"}, {""}, normal, false},
      {"+fC:\\a.exe|C:\\b.exe>:-x|D:\\Docs\\|",
       {"c:\\a.exe", "c:\\b.exe", "d:\\docs\\"},
       {"", "-x", ""},
       normal,
       true},
      {"C:\\a.exe|C:\\b.exe", {"c:\\a.exe"}, {""}, normal, false},
      {"?mail?C:\\Mail\\mail.exe", {"c:\\mail\\mail.exe"}, {""}, normal, false},
      {"?C:\\x.exe", {"c:\\x.exe"}, {""}, normal, false},
      // Suffixes are recognised in any case once the member is lowered, and the parameters'
      // suffix wins over the target's.
      {"C:\\X.EXE+LRMI>:-A+LRMA", {"c:\\x.exe"}, {"-a"}, RunMode::Maximized, false},
  };
  for (const auto& c : cases) {
    const Ran r = launch(h.app.syntax, c.entry);
    EXPECT_EQ(r.targets, c.targets) << c.entry;
    EXPECT_EQ(r.parameters, c.parameters) << c.entry;
    EXPECT_EQ(r.modes.at(0), c.mode) << c.entry;
    EXPECT_EQ(r.forced, c.forced) << c.entry;
  }
}

TEST(EntrySyntax, GroupsSkipEmptyAndNullMembersAndTakeTheForceMarkAnywhere) {
  entry::Group g = entry::splitGroup("a||<null>|+fb|c", "|");
  EXPECT_EQ(g.members, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(g.forced);
  // The force mark is case-sensitive: "+F" is part of the target.
  g = entry::splitGroup("+Fa|", "|");
  EXPECT_FALSE(g.forced);
  EXPECT_EQ(g.members, std::vector<std::string>{"+Fa"});
  // Another separator character in force.
  g = entry::splitGroup("a;b;", ";");
  EXPECT_EQ(g.members, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(entry::splitGroup("", "|").members.empty());
  // The dialog's split keeps empty members.
  EXPECT_EQ(entry::splitMembers("a||b|tail", "|"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(EntrySyntax, QuestionMarkPrefixIsKeptWhenIgnoreBcIsSet) {
  AppHarness h;
  h.vars().ignorebc = true;
  EXPECT_EQ(h.app.syntax.takeApart("?mail?C:\\m.exe").target, "?mail?c:\\m.exe");
}

TEST(EntrySyntax, TextRoutinesFindTheSeparatorAndSuffixes) {
  AppHarness h;
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
  EXPECT_EQ(s.removecommands("C:\\x.exe"), "C:\\x.exe");
  EXPECT_EQ(s.removecommands(""), "");
  // Only one suffix goes, and only in lower case.
  EXPECT_EQ(s.removecommands("C:\\x.exe+lrmi+lrma"), "C:\\x.exe+lrmi");
  EXPECT_EQ(s.removecommands("C:\\x.exe+LRMA"), "C:\\x.exe+LRMA");

  EXPECT_TRUE(s.ismr("C:\\x.exe>:a|b"));
  EXPECT_FALSE(s.ismr("C:\\x.exe"));

  EXPECT_FALSE(s.islocalfile("http://x"));
  EXPECT_FALSE(s.islocalfile("wwwroot\\index.htm"));
  EXPECT_FALSE(s.islocalfile("ftpsync.exe"));
  EXPECT_FALSE(s.islocalfile("<null>"));
  EXPECT_TRUE(s.islocalfile("HTTP://x"));  // the prefixes are case-sensitive
  EXPECT_TRUE(s.islocalfile("C:\\http\\x.exe"));

  EXPECT_EQ(s.extractleafdir("C:\\Games\\Chess\\"), "Chess");
  EXPECT_EQ(s.extractleafdir("C:\\Games\\chess.exe"), "Games");
  EXPECT_EQ(s.extractleafdir("C:\\"), "\\");
  EXPECT_EQ(s.extractleafdir("C:\\work"), "\\work");
  EXPECT_EQ(s.extractleafdir("notes"), "notes");
  EXPECT_EQ(s.extractleafdir("C:\\Games\\chess.exe>:C:\\a\\b\\c"), "Games");
}

TEST(EntrySyntax, SeparatorsFollowTheSettings) {
  AppHarness h;
  h.vars().commandsep = "::";
  h.vars().mrs = ";";
  EntrySyntax& s = h.app.syntax;
  EXPECT_EQ(s.extractcommand("C:\\x.exe::-a>:b"), "-a>:b");
  EXPECT_TRUE(s.ismr("a;b"));
  EXPECT_FALSE(s.ismr("a|b"));
}

}  // namespace
}  // namespace trovik::test
