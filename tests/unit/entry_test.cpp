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
  EntrySyntax& s = h.app.syntax;
  using V = std::vector<std::string>;

  Ran r = launch(s, "C:\\Tools\\notepad.exe");
  EXPECT_EQ(r.targets, V{"c:\\tools\\notepad.exe"});
  EXPECT_EQ(r.parameters, V{""});
  EXPECT_EQ(r.modes[0], RunMode::Normal);
  EXPECT_FALSE(r.forced);

  r = launch(s, "C:\\Tools\\notepad.exe>:C:\\Docs\\notes.txt+lrma");
  EXPECT_EQ(r.targets, V{"c:\\tools\\notepad.exe"});
  EXPECT_EQ(r.parameters, V{"c:\\docs\\notes.txt"});
  EXPECT_EQ(r.modes[0], RunMode::Maximized);

  r = launch(s, "C:\\Tools\\calc.exe+lrmi");
  EXPECT_EQ(r.targets, V{"c:\\tools\\calc.exe"});
  EXPECT_EQ(r.modes[0], RunMode::Minimized);

  r = launch(s, "D:\\Music\\");
  EXPECT_EQ(r.targets, V{"d:\\music\\"});

  r = launch(s, "+fC:\\a.exe|C:\\b.exe>:-x|D:\\Docs\\|");
  EXPECT_TRUE(r.forced);
  EXPECT_EQ(r.targets, (V{"c:\\a.exe", "c:\\b.exe", "d:\\docs\\"}));
  EXPECT_EQ(r.parameters, (V{"", "-x", ""}));

  r = launch(s, "C:\\a.exe|C:\\b.exe");
  EXPECT_EQ(r.targets, V{"c:\\a.exe"});

  r = launch(s, "?mail?C:\\Mail\\mail.exe");
  EXPECT_EQ(r.targets, V{"c:\\mail\\mail.exe"});
  r = launch(s, "?C:\\x.exe");
  EXPECT_EQ(r.targets, V{"c:\\x.exe"});

  // Suffixes are recognised in any case once the member is lowered, and the
  // parameters' suffix wins over the target's.
  r = launch(s, "C:\\X.EXE+LRMI>:-A+LRMA");
  EXPECT_EQ(r.targets, V{"c:\\x.exe"});
  EXPECT_EQ(r.parameters, V{"-a"});
  EXPECT_EQ(r.modes[0], RunMode::Maximized);
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

// Records the events raised, and lets a test play an extension.
struct Recorder {
  std::vector<std::string> calls;
  std::function<bool(std::string_view, bool, bool, bool)> extension;
  void attach(Events& e) {
    e.setHook([this](std::string_view name, bool b, bool o, bool a) {
      calls.push_back(std::string(name) + (b ? "+before" : "") + (o ? "+override" : "") +
                      (a ? "+after" : ""));
      return extension ? extension(name, b, o, a) : false;
    });
  }
};

TEST(EntrySyntax, EveryRoutineRaisesItsEventAndExtensionsCanChangeArgumentsAndResults) {
  AppHarness h;
  Recorder rec;
  rec.attach(h.app.events);
  EventSlots& slots = h.app.events.slots;

  EXPECT_TRUE(h.app.syntax.ismr("a|b"));
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"ismr+before+override", "ismr+after"}));
  EXPECT_EQ(slots.cstring, "a|b");

  // removecommands asks findcommand: nested events, outer parameters intact.
  rec.calls.clear();
  EXPECT_EQ(h.app.syntax.removecommands("x>:y"), "x");
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"removecommands+before+override",
                                                 "findcommand+before+override", "findcommand+after",
                                                 "removecommands+after"}));
  EXPECT_EQ(slots.cstring, "x>:y");

  // An "after" extension changes the result.
  rec.extension = [&](std::string_view name, bool, bool, bool after) {
    if (name == "ismr" && after) slots.cboolean = true;
    return false;
  };
  EXPECT_TRUE(h.app.syntax.ismr("plain"));

  // A "before" extension changes the argument the routine works on.
  rec.extension = [&](std::string_view name, bool before, bool, bool) {
    if (name == "extractcommand" && before) slots.cstring = "a>:changed";
    return false;
  };
  EXPECT_EQ(h.app.syntax.extractcommand("a>:b"), "changed");

  // An override skips the work: the result is what the extension left.
  rec.extension = [&](std::string_view name, bool, bool over, bool) {
    if (name == "extractleafdir" && over) {
      slots.cstring2 = "mine";
      return true;
    }
    return false;
  };
  EXPECT_EQ(h.app.syntax.extractleafdir("C:\\a\\b\\"), "mine");
}

}  // namespace
}  // namespace trovik::test
