// The named variables and the event slots as extensions read and write them.
#include <sstream>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

using Calls = std::vector<std::string>;

class VariablesTest : public ::testing::Test, public ExtensionHarness {
 protected:
  VariablesTest() {
    addDll('Z', extension<'Z', "z">());
    host().runvpa(dllPath('Z'), "z");
    rec.calls.clear();
  }
  std::string getvar(const char* n) { return got('Z').getvar(n); }
  bool setvar(const char* n, const char* v) { return got('Z').setvar(n, v) != 0; }
  std::string getvpvar(const char* n) { return got('Z').getvpvar(n); }
  bool setvpvar(const char* n, const char* v) { return got('Z').setvpvar(n, v) != 0; }
};

TEST_F(VariablesTest, NamesAreMatchedInAnyCaseAndValuesCrossAsText) {
  vars().lclick = true;
  EXPECT_EQ(getvar("LClick"), "true");
  EXPECT_EQ(getvar("lclick"), "true");
  vars().forcewait = -250;
  EXPECT_EQ(getvar("forcewait"), "-250");
  vars().apppath = "C:\\Trovik\\Games\\";
  EXPECT_EQ(getvar("AppPath"), "C:\\Trovik\\Games\\");
  EXPECT_EQ(getvar(nullptr), "?!?!");
  EXPECT_EQ(getvar("nosuch"), "?!?!");
  // getvar leaves the name it was asked for in cstring.
  EXPECT_EQ(app.events.slots.cstring, "nosuch");
  form().ctabi = 4;
  EXPECT_EQ(getvar("ctabi"), "4");
}

TEST_F(VariablesTest, ABooleanIsReadThroughBooltostrWithItsEvents) {
  addDll('A', extension<'A', "booltostr", "getvar">());
  installed({record('A', "booltostr|after|getvar|after")});
  std::string answer;
  rec.actions["A:booltostr"] = [&] { got('A').setvpvar("cstring", "TRUE!"); };
  rec.actions["A:getvar"] = [&] { answer = got('A').getvpvar("cstring2"); };
  vars().savepos = true;
  EXPECT_EQ(getvar("savepos"), "TRUE!");
  EXPECT_EQ(answer, "TRUE!");
  EXPECT_EQ(rec.calls.back(), "A:getvar");
}

TEST_F(VariablesTest, WritingSetsTheVariableOfItsKind) {
  setvar("SavePos", "True");
  EXPECT_TRUE(vars().savepos);
  setvar("savepos", "yes");
  EXPECT_FALSE(vars().savepos);
  setvar("f1welcome", "Hello From An Extension");
  EXPECT_EQ(app.texts.f1welcome, "Hello From An Extension");
  setvar("usite", "HTTP://Example.COM/");
  EXPECT_EQ(vars().usite, "HTTP://Example.COM/");
  EXPECT_TRUE(setvar("userlevel", "2"));
  EXPECT_EQ(vars().userlevel, 2);
  // Not a decimal 32-bit number: the extension is told, the old value stays.
  for (const char* wrong : {"two", "", "0x10", "$10", " 3", "99999999999"}) {
    EXPECT_FALSE(setvar("userlevel", wrong)) << wrong;
    EXPECT_EQ(vars().userlevel, 2) << wrong;
  }
  EXPECT_FALSE(setvar("masterhandle", "none"));
  EXPECT_FALSE(setvar("forcewait", "99999999999"));
  EXPECT_EQ(vars().forcewait, 1000);
  // setvar hands the name and value on in lower case.
  EXPECT_EQ(app.events.slots.cstring, "forcewait");
  setvar("Exporting", "TRUE");
  EXPECT_TRUE(vars().exporting);
  EXPECT_EQ(app.events.slots.cstring2, "true");
}

TEST_F(VariablesTest, ATextIsChangedAloneAndUnknownNamesChangeNothing) {
  const Texts before = app.texts;
  const Variables varsBefore = vars();
  EXPECT_TRUE(setvar("f1startnosynccritical2", " lost links"));
  EXPECT_FALSE(setvar("nosuchvariable", "true"));
  for (const auto& t : Texts::table()) {
    if (t.key == "f1startnosynccritical2")
      EXPECT_EQ(app.texts.*t.field, " lost links");
    else
      EXPECT_EQ(app.texts.*t.field, before.*t.field) << t.key;
  }
  EXPECT_EQ(vars().apppath, varsBefore.apppath);
  EXPECT_EQ(vars().disvp, varsBefore.disvp);
}

TEST_F(VariablesTest, CaptionsCanBeSetButNotRead) {
  setvar("maint", "Mon Trovik");
  EXPECT_EQ(getvar("maint"), "?!?!");
  EXPECT_EQ(getvar("warningt"), "?!?!");
  setvar("confirmt", "Sure?");
  EXPECT_EQ(app.texts.confirmt, "Sure?");
  // The next general message box carries the new caption.
  boxes().expect(Answer::Yes, "DELETE");
  app.ctx.message("DELETE", app.texts.maint, Buttons::YesNo);
  ASSERT_EQ(boxes().shown().size(), 1u);
  EXPECT_EQ(boxes().shown()[0].caption, "Mon Trovik");
}

TEST_F(VariablesTest, WritingASlotThroughSetvarLasts) {
  setvar("cstring2", "Kept Value");
  EXPECT_EQ(app.events.slots.cstring2, "Kept Value");
  EXPECT_EQ(getvar("cstring2"), "?!?!");
}

TEST_F(VariablesTest, EveryInterfaceTextAndOptionIsThere) {
  // Every option variable and interface text extensions know by name.
  std::string names =
      "savepos disvp lclick condel proxuse ldirect dropext shutonx keepod retainsort stray "
      "useforceflymr sh ignorebc wconfirms wconfirmr remtes disflymr onetimemode "
      "disablelocalcheck exceptonmode forcewait autoclevel fostyle userlevel slkey usite proxn "
      "proxun proxport commandsep mrs apppath realpath masterhandle curitem ctabi cvr number kn "
      "norun maxed maxnfix sortbreak noconfirmsave applied editing adding nolist eshut importing "
      "exporting ";
  for (const auto& t : Texts::table()) names += std::string(t.key) + " ";
  std::istringstream words(names);
  for (std::string n; words >> n;) {
    const std::string old = getvar(n.c_str());
    EXPECT_NE(old, "?!?!") << n;
    // What is read can be written back unchanged.
    setvar(n.c_str(), old.c_str());
    EXPECT_EQ(getvar(n.c_str()), old) << n;
  }
}

TEST_F(VariablesTest, SlotsAreReadAndWrittenWithoutEventsOfTheirOwn) {
  addDll('A', extension<'A', "getvar", "setvar">());
  installed({record('A', "getvar|before|setvar|before")});
  app.events.slots.cstring = "untouched";
  EXPECT_TRUE(setvpvar("CInt", "-42"));
  EXPECT_EQ(app.events.slots.cint, -42);
  EXPECT_EQ(app.events.slots.cstring, "untouched");
  EXPECT_FALSE(setvpvar("cint2", "4x"));
  EXPECT_EQ(app.events.slots.cint2, 0);
  EXPECT_TRUE(setvpvar("cword", "70000"));
  EXPECT_EQ(getvpvar("cword"), "4464");
  EXPECT_TRUE(setvpvar("chandle", "123456"));
  EXPECT_EQ(app.events.slots.chandle, 123456u);
  EXPECT_EQ(getvpvar("nosuch"), "?!");
  EXPECT_FALSE(setvpvar("nosuch", "1"));
  EXPECT_FALSE(setvpvar("cint", nullptr));
  EXPECT_TRUE(rec.calls.empty());
}

TEST_F(VariablesTest, TheBooleanSlotGoesThroughTheConversions) {
  app.events.slots.cstring = "untouched";
  EXPECT_TRUE(setvpvar("cboolean", "True"));
  EXPECT_TRUE(app.events.slots.cboolean);
  EXPECT_EQ(app.events.slots.cstring, "true");
  app.events.slots.cboolean = false;
  EXPECT_EQ(getvpvar("cboolean"), "false");
  EXPECT_EQ(app.events.slots.cstring, "false");
}

TEST_F(VariablesTest, ObjectSlotsHandOverTheObjectItself) {
  addDll('A', extension<'A', "form1list1click">());
  installed({record('A', "form1list1click|before")});
  const char* sender = nullptr;
  rec.actions["A:form1list1click"] = [&] {
    sender = got('A').getvpvar("cobject");
    EXPECT_TRUE(got('A').setvpvar("cobject3", sender));
  };
  form().List1Click();
  EXPECT_EQ(static_cast<const void*>(sender), &form().List1);
  EXPECT_EQ(app.events.slots.cobject3, &form().List1);
}

TEST_F(VariablesTest, LineListsRoundTrip) {
  EXPECT_EQ(getvpvar("cstringlist"), "");
  EXPECT_TRUE(setvpvar("CStringList", "one\r\ntwo\r\n\r\nfour"));
  EXPECT_EQ(app.events.slots.cstringlist, (Calls{"one", "two", "", "four"}));
  EXPECT_EQ(getvpvar("cstringlist"), "one\r\ntwo\r\n\r\nfour\r\n");
  EXPECT_TRUE(setvpvar("clistbox", ""));
  EXPECT_EQ(getvpvar("clistbox"), "");
}

TEST_F(VariablesTest, TheLoadedLibraryTableCanBeReadButStaysTheHostsOwn) {
  addDll('A', extension<'A', "x">());
  host().runvpa(dllPath('A'), "x");
  const std::string handles = std::to_string(os.libraries.handleOf(dllPath('Z'))) + "\r\n" +
                              std::to_string(os.libraries.handleOf(dllPath('A'))) + "\r\n";
  EXPECT_EQ(getvpvar("ol"), handles);
  EXPECT_EQ(getvpvar("sl"), dllPath('Z') + "\r\n" + dllPath('A') + "\r\n");
  EXPECT_EQ(getvpvar("kn"), "2");
  EXPECT_EQ(getvar("kn"), "2");

  // Handles the host did not load itself are never taken.
  EXPECT_FALSE(setvpvar("ol", "1\r\n2\r\n"));
  EXPECT_EQ(getvpvar("ol"), handles);
  // Paths can be renamed entry by entry, and isloaded then goes by the new ones.
  EXPECT_FALSE(setvpvar("sl", "C:\\only-one.dll"));
  EXPECT_TRUE(setvpvar("sl", "C:\\Zed.dll\r\nC:\\Renamed.dll"));
  EXPECT_EQ(host().isloaded("c:\\zed.dll"), 0);
  EXPECT_EQ(host().isloaded("c:\\renamed.dll"), 1);
  // kn reports what it is told until the host counts again; the table does not change.
  setvar("kn", "7");
  EXPECT_EQ(getvar("kn"), "7");
  host().stopvp(2);
  EXPECT_EQ(getvar("kn"), "0");
  EXPECT_TRUE(os.libraries.noneLoaded());
}

}  // namespace
}  // namespace trovik::test
