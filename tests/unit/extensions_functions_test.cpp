// The host functions extensions reach by name, called through the addresses
// getfunction hands out, exactly as a DLL calls them.
#include <cstring>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

using Calls = std::vector<std::string>;

class FunctionsTest : public ::testing::Test, public ExtensionHarness {
 protected:
  // The entry points as an extension gets them, from an announcement.
  Announced& api() {
    if (!rec.dlls.count('Z')) {
      addDll('Z', extension<'Z', "z">());
      host().runvpa(dllPath('Z'), "z");
    }
    return got('Z');
  }
  template <class F>
  F function(const char* name) {
    return reinterpret_cast<F>(api().getfunction(name));
  }
};

TEST_F(FunctionsTest, NamesAreMatchedInAnyCaseAndStrtoboolIsSpelledAsTheTableHasIt) {
  void* runlink = api().getfunction("runlink");
  ASSERT_NE(runlink, nullptr);
  EXPECT_EQ(api().getfunction("RunLink"), runlink);
  EXPECT_EQ(api().getfunction("strtobool"), nullptr);
  EXPECT_NE(api().getfunction("strotobool"), nullptr);
  EXPECT_EQ(api().getfunction(nullptr), nullptr);
  EXPECT_EQ(api().getfunction("nosuchroutine"), nullptr);
  // getfunction restores the name it was asked for.
  EXPECT_EQ(app.events.slots.cstring, "nosuchroutine");
}

TEST_F(FunctionsTest, AnExtensionAfterGetfunctionCanHandOutARoutineOfItsOwn) {
  addDll('A', extension<'A', "getfunction">());
  installed({record('A', "getfunction|after")});
  static int called = 0;
  struct Own {
    static void TROVIK_CALL routine() { ++called; }
  };
  const std::string address = std::to_string(reinterpret_cast<std::uintptr_t>(&Own::routine));
  rec.actions["A:getfunction"] = [&] {
    if (std::string(got('A').getvpvar("cstring")) == "MyRoutine")
      got('A').setvpvar("cfarproc", address.c_str());
  };
  auto f = function<TrovikProc>("MyRoutine");
  ASSERT_NE(f, nullptr);
  f();
  EXPECT_EQ(called, 1);
}

TEST_F(FunctionsTest, ConversionsRaiseTheirEventsAndAcceptOnlyTrue) {
  auto strtobool = function<TrovikTextToBool>("strotobool");
  auto booltostr = function<TrovikBoolToStr>("booltostr");
  EXPECT_EQ(strtobool("TRUE"), 1);
  EXPECT_EQ(app.events.slots.cstring, "true");
  EXPECT_EQ(strtobool("yes"), 0);
  EXPECT_EQ(strtobool(" true"), 0);
  EXPECT_STREQ(booltostr(1), "true");
  EXPECT_STREQ(booltostr(0), "false");
  EXPECT_STREQ(booltostr(7), "true");

  addDll('A', extension<'A', "strtobool">());
  installed({record('A', "strtobool|override")});
  app.events.slots.cboolean = true;
  EXPECT_EQ(strtobool("false"), 1) << "an override leaves the answer to the extension";
  EXPECT_EQ(app.events.slots.cstring, "false");
}

TEST_F(FunctionsTest, ATextAnswerLastsUntilTheSameFunctionIsCalledAgain) {
  auto extractcommand = function<TrovikTextToText>("extractcommand");
  auto removecommands = function<TrovikTextToText>("removecommands");
  const char* first = extractcommand("prog.exe>:--first");
  const char* other = removecommands("prog.exe>:--second");
  EXPECT_STREQ(first, "--first");
  EXPECT_STREQ(other, "prog.exe");
  const std::string kept = first;
  extractcommand("prog.exe>:--third-and-much-longer-than-the-first-one");
  EXPECT_EQ(kept, "--first");
  EXPECT_STREQ(other, "prog.exe");
}

TEST_F(FunctionsTest, RoutinesRunWithTheirArgumentsAndResults) {
  EXPECT_EQ(function<TrovikTextToBool>("ismr")("a.exe|b.exe|"), 1);
  EXPECT_EQ(function<TrovikTextToInt>("findcommand")("a.exe>:x"), 8);
  EXPECT_STREQ(function<TrovikTextToText>("extractleafdir")("C:\\Trovik\\Games\\"), "Games");
  fs().put("C:\\Tools\\app.exe", "");
  function<TrovikTextProc>("runlink")("C:\\Tools\\app.exe");
  ASSERT_EQ(os.shell.calls.size(), 1u);
  EXPECT_EQ(os.shell.calls[0].file, "app.exe");
  const std::pair<const char*, const void*> windows[] = {{"getform1", &app.form1},
                                                         {"getaddedit", &app.AddEdit},
                                                         {"getoptionsform", &app.OptionsForm},
                                                         {"getacf", &app.acf},
                                                         {"getopenfiledir", &app.OpenFileDir}};
  for (const auto& [getter, window] : windows)
    EXPECT_EQ(function<TrovikGetObject>(getter)(), window) << getter;
}

TEST_F(FunctionsTest, TheDialogsRoutinesReachTheDialogs) {
  app.AddEdit.path.setText("a|b|");
  function<TrovikProc>("refreshmrl")();
  EXPECT_EQ(app.AddEdit.mrl.items(), (Calls{"a", "b"}));
  fs().put("C:\\Tools\\app.exe", "");
  function<TrovikTextProc>("autocomplete")("C:\\Tools\\a");
  EXPECT_EQ(app.AddEdit.autoclist.items(), (Calls{"C:\\Tools\\app.exe"}));
  int repaints = 0;
  app.hostapi.repaintAcf = app.hostapi.repaintOpenFileDir = [&] { ++repaints; };
  function<TrovikProc>("updateacf")();
  function<TrovikProc>("updateopenfiledir")();
  EXPECT_EQ(repaints, 2);
}

TEST_F(FunctionsTest, AWindowsOwnEventHandsOverTheObjectGetform1AndRescalecontrolsKnow) {
  addDll('A', extension<'A', "form1activate">());
  installed({record('A', "form1activate|before")});
  const void* sender = nullptr;
  rec.actions["A:form1activate"] = [&] { sender = got('A').getvpvar("cobject"); };
  form().FormActivate();
  EXPECT_EQ(sender, function<TrovikGetObject>("getform1")());
  auto rescalecontrols = function<TrovikRescaleControls>("rescalecontrols");
  // What a form event hands over is a form that rescalecontrols knows.
  os.windows.screenInfo.dpi = 192;
  form().List1.setBounds({10, 20, 100, 200});
  auto rect = [](const ui::Control& c) {
    const ui::Rect r = c.bounds();
    return std::vector<int>{r.left, r.top, r.width, r.height};
  };
  rescalecontrols(const_cast<void*>(sender));
  EXPECT_EQ(rect(form().List1), (std::vector<int>{5, 10, 50, 100}));
  // So is every other window an extension can get.
  const std::pair<const char*, ui::Control*> dialogs[] = {
      {"getaddedit", &app.AddEdit.path},
      {"getoptionsform", &app.OptionsForm.okay},
      {"getacf", &app.acf.commandtext},
      {"getopenfiledir", &app.OpenFileDir.select}};
  for (const auto& [getter, control] : dialogs) {
    control->setBounds({10, 20, 100, 200});
    rescalecontrols(function<TrovikGetObject>(getter)());
    EXPECT_EQ(rect(*control), (std::vector<int>{5, 10, 50, 100})) << getter;
  }
}

TEST_F(FunctionsTest, FilesetAndWindowRoutinesAreReachable) {
  fs().put("C:\\Trovik\\Trovik.ini", "");
  fs().put("C:\\Trovik\\link.qdx", "");
  fs().put("C:\\Trovik\\name.qdx", "");
  fs().put("C:\\Trovik\\Games\\link.qdx", "C:\\g.exe\r\n");
  fs().put("C:\\Trovik\\Games\\name.qdx", "Go\r\n");
  app.vars.realpath = app.vars.apppath = "C:\\Trovik\\";
  app.form1.autobuild(app.vars.realpath, -1);
  function<TrovikProc>("nextfileset")();
  EXPECT_EQ(app.vars.apppath, "C:\\Trovik\\Games\\");
  function<TrovikProc>("previousfileset")();
  EXPECT_EQ(app.vars.apppath, "C:\\Trovik\\");
  function<TrovikProc>("createnewfileset")();
  EXPECT_TRUE(fs().fileExists("C:\\Trovik\\NewFileSet1\\link.qdx"));
  app.form1.Form1.setBounds({0, 0, 200, 100});
  function<TrovikProc>("centremain")();
  EXPECT_EQ(app.form1.Form1.bounds().left, 1024 / 2 - 100);
  function<TrovikProc>("saveformstate")();
  EXPECT_NE(fs().get("C:\\Trovik\\Trovik.ini").find("FormWidth=200"), std::string::npos);
}

TEST_F(FunctionsTest, AFailureInsideARoutineIsShownAndDoesNotReachTheExtension) {
  form().List1.setItems({"one"});
  form().link1.setItems({"C:\\one.exe"});
  fs().failWrites("link.qdx");
  boxes().expect(Answer::Ok, "link.qdx");
  function<TrovikProc>("savelist")();  // returns normally into the extension
  EXPECT_TRUE(boxes().allAnswered());
}

TEST_F(FunctionsTest, RefreshersRepaintEvenWhileTheSystemIsOff) {
  addDll('A', extension<'A', "updateform1", "updateOptionsForm">());
  installed({record('A', "updateform1|before|updateOptionsForm|after")});
  int repaints = 0;
  app.hostapi.repaintForm1 = [&] { ++repaints; };
  auto updateform1 = function<TrovikProc>("updateform1");
  updateform1();
  function<TrovikProc>("updateoptions")();
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(rec.count("A:updateform1"), 1);
  EXPECT_EQ(rec.count("A:updateOptionsForm"), 1);
  vars().disvp = true;
  updateform1();
  EXPECT_EQ(repaints, 2);
  EXPECT_EQ(rec.count("A:updateform1"), 1);
}

TEST_F(FunctionsTest, SlotAccessorsCopyValuesAndRecordsWhole) {
  function<TrovikSetInt>("setmousebutton")(TROVIK_MB_MIDDLE);
  EXPECT_EQ(app.events.slots.mousebutton, MouseButton::Middle);
  app.events.slots.shiftstate = ssShift | ssDouble;
  EXPECT_EQ(function<TrovikGetInt>("getshiftstate")(), TROVIK_SS_SHIFT | TROVIK_SS_DOUBLE);
  function<TrovikSetInt>("setcloseaction")(TROVIK_CA_NONE);
  EXPECT_EQ(app.events.slots.closeaction, CloseAction::None);

  app.events.slots.wmdropfiles = {0x233, 1234, 0, 0};
  TrovikMessage m{};
  function<TrovikGetMessage>("getwmdropfiles")(&m);
  EXPECT_EQ(m.msg, 0x233u);
  EXPECT_EQ(m.wParam, 1234u);
  m.result = 9;
  function<TrovikSetMessage>("setwmendsession")(&m);
  EXPECT_EQ(app.events.slots.wmendsession, (MessageRecord{0x233, 1234, 0, 9}));
  function<TrovikGetMessage>("getmessage")(nullptr);  // no record, nothing done
  TrovikMsg q{1, 2, 3, 4, 5, 6, 7};
  function<TrovikSetMsg>("setmsg")(&q);
  TrovikMsg back{};
  function<TrovikGetMsg>("getmsg")(&back);
  EXPECT_EQ(std::memcmp(&q, &back, sizeof q), 0);
}

TEST_F(FunctionsTest, AnExtensionCanCloseTheWindowItIsIn) {
  addDll('A', extension<'A', "form1close">());
  installed({record('A', "form1close|after")});
  rec.actions["A:form1close"] = [&] {
    EXPECT_EQ(function<TrovikGetInt>("getcloseaction")(), TROVIK_CA_FREE);
    function<TrovikSetInt>("setcloseaction")(TROVIK_CA_NONE);
  };
  putFileset("", {}, {});
  EXPECT_FALSE(app.close()) << "the extension kept the window open";
  // The extensions were stopped all the same, and the next event loads them again.
  EXPECT_EQ(rec.count("A:onclose 1"), 1);
  rec.actions.clear();
  app.events.FireExtensionEvent("form1close", false, false, true);
  EXPECT_EQ(rec.count("A:dllinfo2"), 2);
}

}  // namespace
}  // namespace trovik::test
