// The event hook: which extensions an event reaches, in which order, when it
// counts as overridden, and how DLLs are loaded, announced and stopped.
#include "extensions_dll.h"

namespace trovik::test {
namespace {

struct HookTest : ::testing::Test, ExtensionHarness {
  bool fire(const char* event) { return app.events.FireExtensionEvent(event, true, true, true); }
};

TEST_F(HookTest, CallsFollowLinesAndPairsInAnyCaseAndAnOverrideCountsEvenUncalled) {
  addDll('A', extension<'A', "form1upclick">());
  addDll('B', extension<'B', "form1upclick">());
  installed({
      record('B', "Form1UpClick|Before|form1upclick|AFTER"),
      "",
      record('A', "form1upclick|before|form1upclick|before|form1upclick|Override"),
      "",
  });
  EXPECT_TRUE(app.events.FireExtensionEvent("form1upclick", true, true, false));
  EXPECT_EQ(rec.calls, (Calls{"B:dllinfo2", "B:form1upclick", "A:dllinfo2", "A:form1upclick",
                              "A:form1upclick", "A:form1upclick"}));
  rec.calls.clear();
  EXPECT_FALSE(app.events.FireExtensionEvent("form1upclick", false, false, true));
  EXPECT_EQ(rec.calls, (Calls{"B:form1upclick"}));

  // An override counts, and the handler is left out, when its DLL lacks the
  // export or dllinfo2, cannot be loaded or is gone.
  addDll('C', extension<'C'>());
  addDll('D', {{"loadformtext", exportOf(&exported<'D', "loadformtext">)}});
  addDll('E', extension<'E', "loadformtext">());
  os.libraries.failLoading(dllPath('E'));
  const std::string gone = at("ext\\gone.dll");
  rec.calls.clear();
  for (const std::string& line :
       {record('C', "loadformtext|override"), record('D', "loadformtext|override"),
        record('E', "loadformtext|override"), gone + "|Gone|false|false||loadformtext|override"}) {
    installed({line});
    app.texts.f1delabd = "kept";
    form().loadformtext();
    form().loadformtext();  // a DLL that failed to load is not tried again
    EXPECT_EQ(app.texts.f1delabd, "kept") << line;
  }
  EXPECT_EQ(rec.calls, (Calls{"C:dllinfo2"}));
  EXPECT_EQ(os.libraries.loads(dllPath('E')), 1);
  EXPECT_EQ(os.libraries.loads(gone), 0);
}

TEST_F(HookTest, PairsAreFoundTheWayTheWalkReadsThemAndOddListsAreWalkedQuietly) {
  // A field that does not match is passed over by one, a match takes the
  // next field as its when-word; the last field is never an event name.
  addDll('A', extension<'A', "loadlist", "savelist", "before", "ismr">());
  EXPECT_FALSE(fire("loadlist"));  // no list yet
  for (const Calls& lines : {Calls{}, Calls{"", "", "no bar at all", "|", "||||||"}}) {
    installed(lines);
    EXPECT_FALSE(fire("loadlist"));
  }
  installed({record('A', "savelist|loadlist|before|savelist"), record('A', "x|before"),
             record('A', "loadlist|"), record('A', "ismr|ismr|before")});
  EXPECT_FALSE(fire("loadlist"));
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:loadlist"}));
  // "savelist" pairs with "loadlist", which is no when-word, and the final
  // "savelist" ends the line; the second "ismr" is the first one's when-word.
  EXPECT_FALSE(fire("savelist"));
  EXPECT_FALSE(fire("before"));
  EXPECT_FALSE(fire("ismr"));
  EXPECT_EQ(rec.calls.size(), 2u);
}

TEST_F(HookTest, ADllIsAnnouncedOncePerLoadWithWhatItNeeds) {
  addDll('A', extension<'A', "ismr", "islocalfile">());
  installed({record('A', "ismr|after|islocalfile|after")});
  std::vector<std::int32_t> knSeen;
  rec.actions["A:dllinfo2"] = [&] {
    knSeen.push_back(host().kn());
    // Asking for a function while announced raises getfunction, which must
    // leave the event that loaded the DLL alone.
    EXPECT_NE(got('A').getfunction("strotobool"), nullptr);
  };
  rec.actions["A:islocalfile"] = [&] { knSeen.push_back(host().kn()); };
  // An "after" extension decides the result of a routine.
  rec.actions["A:ismr"] = [&] {
    EXPECT_STREQ(got('A').getvpvar("cstring"), "C:\\plain.exe");
    EXPECT_STREQ(got('A').getvpvar("cboolean"), "false");
    got('A').setvpvar("cboolean", "TRUE");
  };
  EXPECT_TRUE(app.syntax.ismr("C:\\plain.exe"));
  app.syntax.islocalfile("b");
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:ismr", "A:islocalfile"}));
  // kn is the index of the last entry while an extension runs, the count after.
  EXPECT_EQ(knSeen, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(host().kn(), 1);

  const Announced& a = got('A');
  EXPECT_EQ(a.path, dllPath('A'));
  EXPECT_EQ(a.application, &app);
  EXPECT_EQ(reinterpret_cast<void*>(a.getvar), a.getfunction("getvar"));
  EXPECT_EQ(reinterpret_cast<void*>(a.setvar), a.getfunction("setvar"));
  EXPECT_EQ(reinterpret_cast<void*>(a.getvpvar), a.getfunction("getvpvar"));
  EXPECT_EQ(reinterpret_cast<void*>(a.setvpvar), a.getfunction("setvpvar"));

  // After a stop the next event loads the DLL afresh and announces it again.
  host().stopvp(2);
  EXPECT_TRUE(os.libraries.noneLoaded());
  rec.actions.clear();
  app.syntax.ismr("a");
  EXPECT_EQ(std::count(rec.calls.begin(), rec.calls.end(), "A:dllinfo2"), 2);
  EXPECT_EQ(os.libraries.loads(dllPath('A')), 2);
}

TEST_F(HookTest, NestedEventsLeaveTheOuterParametersForItsAfterExtensions) {
  // runlink's own work raises islocalfile and friends, and an extension called
  // in one of those raises getvar and setvar: all of them use the same slots.
  addDll('A', extension<'A', "runlink", "islocalfile">());
  installed({record('A', "islocalfile|before|runlink|after")});
  fs().put("C:\\Tools\\app.exe", "");
  rec.actions["A:islocalfile"] = [&] {
    got('A').getvar("lclick");
    got('A').setvar("curitem", "3");
  };
  std::string seenAfter;
  rec.actions["A:runlink"] = [&] { seenAfter = got('A').getvpvar("cstring"); };
  app.launcher.runlink("C:\\Tools\\app.exe>:-x");
  EXPECT_EQ(seenAfter, "C:\\Tools\\app.exe>:-x");
  ASSERT_EQ(os.shell.calls.size(), 1u);
  EXPECT_EQ(os.shell.calls[0].file, "app.exe");
  EXPECT_EQ(vars().curitem, 3);
}

// B's goodbye reloads the options, which find DisableVP=1 and stop the
// extensions again while the first stop is still walking the table.
TEST_F(HookTest, AStopWithinAStopTellsEveryLoadedDllOnceAndWritesTheListBack) {
  addDll('A', extension<'A', "ismr">());
  addDll('B', extension<'B', "ismr">());
  addDll('C', {});  // cannot be loaded
  addDll('D', extension<'D', "ismr">());
  installed({record('A', "ismr|before"), "", record('B', "ismr|before"), "",
             record('C', "ismr|before"), record('D', "ismr|before")});
  os.libraries.failLoading(dllPath('C'));
  app.syntax.ismr("a");
  options("[Options]\r\nDisableVP=1\r\n");
  rec.actions["B:onclose 1"] = [&] {
    reinterpret_cast<TrovikProc>(got('B').getfunction("loadoptions"))();
  };
  rec.calls.clear();
  fs().put(listPath(), "changed on disk meanwhile\r\n");
  host().stopvp(1);
  EXPECT_EQ(rec.calls, (Calls{"A:onclose 1", "B:onclose 1", "D:onclose 2"}));
  EXPECT_TRUE(vars().disvp);
  EXPECT_TRUE(os.libraries.noneLoaded());
  EXPECT_TRUE(host().loaded().empty());
  EXPECT_EQ(fs().get(listPath()), joinLines(host().ExtensionList()));
}

TEST_F(HookTest, ADllStoppedWhileItRunsIsUnloadedOnlyAfterItReturns) {
  // A message box in an extension lets the user close the window meanwhile.
  addDll('A', extension<'A', "ismr">());
  installed({record('A', "ismr|before")});
  rec.actions["A:ismr"] = [&] {
    host().stopvp(1);
    EXPECT_EQ(os.libraries.references(dllPath('A')), 1) << "freed under its own feet";
    // Nothing reaches it any more: the table is empty.
    EXPECT_EQ(host().isloaded(dllPath('A')), -1);
  };
  app.syntax.ismr("a");
  EXPECT_TRUE(os.libraries.noneLoaded());
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:ismr", "A:onclose 1"}));
}

TEST_F(HookTest, ExtensionsCanRaiseAndCallByName) {
  addDll('A', extension<'A', "form1upclick", "showabout">());
  addDll('B', extension<'B', "form1upclick">());
  installed({record('A', "form1upclick|override"),
             record('B', "form1upclick|after|form1upclick|before")});
  rec.actions["A:form1upclick"] = [&] {
    auto loadvp = reinterpret_cast<TrovikLoadVp>(got('A').getfunction("loadvp"));
    EXPECT_EQ(loadvp("form1upclick", 0, 0, 1), 0);
    // Registrations match in any case, but the export called bears the name
    // as it was raised: B has no "FORM1UPCLICK".
    EXPECT_EQ(loadvp("FORM1UPCLICK", 1, 1, 1), 1);
    auto isloaded = reinterpret_cast<TrovikTextToInt>(got('A').getfunction("isloaded"));
    EXPECT_EQ(isloaded(dllPath('A').c_str()), 0);
    EXPECT_EQ(isloaded(lower(dllPath('B')).c_str()), 1);
    EXPECT_EQ(isloaded("C:\\elsewhere.dll"), -1);
    auto runvpa = reinterpret_cast<TrovikRunVpa>(got('A').getfunction("runvpa"));
    runvpa(dllPath('A').c_str(), "showabout");
    runvpa("C:\\missing.dll", "showabout");
  };
  EXPECT_TRUE(app.events.FireExtensionEvent("form1upclick", true, true, false));
  // Only the kinds of call asked for are made: the raise above reached B's "after" alone.
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:form1upclick", "B:dllinfo2", "B:form1upclick",
                              "A:showabout", "B:form1upclick"}));
}

TEST_F(HookTest, TheListIsReadAtStartAndWrittenBackWhenTheWindowCloses) {
  addDll('A', extension<'A', "form1create">());
  fs().put(listPath(), joinLines({record('A', "form1create|before")}) + "\n");
  putFileset("", {}, {});
  options("[Form]\r\n");
  app.FormCreate();
  EXPECT_EQ(rec.calls, (Calls{"A:dllinfo2", "A:form1create"}));
  rec.calls.clear();
  EXPECT_TRUE(app.close());
  EXPECT_EQ(rec.calls, (Calls{"A:onclose 1"}));
  EXPECT_EQ(fs().get(listPath()), joinLines({record('A', "form1create|before"), ""}));
  EXPECT_TRUE(os.libraries.noneLoaded());
  // The list went with the window: nothing hears of events from now on.
  EXPECT_FALSE(fire("form1create"));
}

TEST_F(HookTest, AListThatCannotBeCreatedLeavesTheProgramRunningWithoutExtensions) {
  addDll('A', extension<'A', "form1close">());
  putFileset("", {}, {});
  options("[Form]\r\nUpdateChecked=06/12/2026\r\n");
  fs().makeReadOnly(kBase);
  boxes().expect(Answer::Ok, "vp2.qdx");
  app.FormCreate();
  EXPECT_FALSE(host().hasList());
  fs().clearFailures();
  // Had the empty list been kept, the close would write it over whatever
  // vp2.qdx holds by then.
  fs().put(listPath(), record('A', "form1close|before") + "\r\n");
  EXPECT_TRUE(app.close());
  EXPECT_EQ(fs().get(listPath()), record('A', "form1close|before") + "\r\n");
  EXPECT_TRUE(rec.calls.empty());
}

}  // namespace
}  // namespace trovik::test
