// What extensions reach through the functions "dllinfo2" hands them and the
// host functions getfunction hands out by name, called exactly as a DLL calls
// them; and the SDK's translation sample, compiled from its own source.
#include <cstring>
#include <sstream>

#include "extensions_dll.h"

// The sample is C and defines its exports at global scope.
#include "../../sdk/samples/translate/translate.c"

namespace trovik::test {
namespace {

// Extension Z, loaded and announced: the entry points as it got them.
struct HostApiTest : ::testing::Test, ExtensionHarness {
  HostApiTest() {
    addDll('Z', extension<'Z', "z">());
    host().runvpa(dllPath('Z'), "z");
    rec.calls.clear();
  }
  std::string getvar(const char* n) { return got('Z').getvar(n); }
  bool setvar(const char* n, const char* v) { return got('Z').setvar(n, v) != 0; }
  std::string getvpvar(const char* n) { return got('Z').getvpvar(n); }
  bool setvpvar(const char* n, const char* v) { return got('Z').setvpvar(n, v) != 0; }
  template <class F>
  F function(const char* name) {
    return reinterpret_cast<F>(got('Z').getfunction(name));
  }
};

// A value written by name, whether it was taken, and what then reads back.
struct Written {
  const char *name, *value;
  bool taken;
  const char* reads;
};

TEST_F(HostApiTest, VariablesAreWrittenByTheirKindAndReadBackAsText) {
  const Written rows[] = {
      {"SavePos", "True", true, "true"},
      {"savepos", "yes", true, "false"},  // only "true" is true
      {"f1welcome", "Hello From An Extension", true, "Hello From An Extension"},
      {"usite", "HTTP://Example.COM/", true, "HTTP://Example.COM/"},
      {"AppPath", "C:\\Trovik\\Games\\", true, "C:\\Trovik\\Games\\"},
      {"ctabi", "4", true, "4"},
      {"forcewait", "-250", true, "-250"},
      // Not a decimal 32-bit number: the extension is told, the old value stays.
      {"userlevel", "2", true, "2"},
      {"userlevel", "two", false, "2"},
      {"userlevel", "", false, "2"},
      {"userlevel", "0x10", false, "2"},
      {"userlevel", "$10", false, "2"},
      {"userlevel", " 3", false, "2"},
      {"forcewait", "99999999999", false, "-250"},
      {"masterhandle", "none", false, "0"},
      // Captions can be set but not read.
      {"maint", "Mon Trovik", true, "?!?!"},
      {"nosuchvariable", "true", false, "?!?!"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(setvar(r.name, r.value), r.taken) << r.name << "=" << r.value;
    EXPECT_EQ(getvar(r.name), r.reads) << r.name << "=" << r.value;
  }
  EXPECT_EQ(app.texts.maint, "Mon Trovik");
  EXPECT_EQ(getvar(nullptr), "?!?!");
  // getvar leaves the name it was asked for in cstring; setvar hands the name
  // and value on in lower case, and a slot written through it keeps its value.
  getvar("nosuch");
  EXPECT_EQ(app.events.slots.cstring, "nosuch");
  setvar("Exporting", "TRUE");
  EXPECT_TRUE(vars().exporting);
  EXPECT_EQ(app.events.slots.cstring, "exporting");
  EXPECT_EQ(app.events.slots.cstring2, "true");
  setvar("cstring2", "Kept Value");
  EXPECT_EQ(app.events.slots.cstring2, "Kept Value");
  EXPECT_EQ(getvar("cstring2"), "?!?!");
}

// The names the guide promises extensions.
TEST_F(HostApiTest, EveryOptionAndTextIsThereAndReadsBackAsWritten) {
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
    setvar(n.c_str(), old.c_str());  // what is read can be written back unchanged
    EXPECT_EQ(getvar(n.c_str()), old) << n;
  }
}

TEST_F(HostApiTest, SlotsAreReadAndWrittenByTheirKindOrAccessorWithoutEventsOfTheirOwn) {
  addDll('A', extension<'A', "getvar", "setvar", "strtobool">());
  installed({record('A', "getvar|before|setvar|before")});
  app.events.slots.cstring = "untouched";
  const Written rows[] = {
      {"CInt", "-42", true, "-42"},
      {"cint2", "4x", false, "0"},
      {"cword", "70000", true, "4464"},  // kept to 16 bits
      {"chandle", "123456", true, "123456"},
      {"nosuch", "1", false, "?!"},
      {"CStringList", "one\r\ntwo\r\n\r\nfour", true, "one\r\ntwo\r\n\r\nfour\r\n"},
      {"clistbox", "", true, ""},
      {"kn", "many", false, "1"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(setvpvar(r.name, r.value), r.taken) << r.name;
    EXPECT_EQ(getvpvar(r.name), r.reads) << r.name;
  }
  EXPECT_EQ(app.events.slots.cstringlist, (Calls{"one", "two", "", "four"}));
  EXPECT_FALSE(setvpvar("cint", nullptr));
  EXPECT_EQ(app.events.slots.cstring, "untouched");
  EXPECT_TRUE(rec.calls.empty());
  // The boolean slot goes through the conversions, which leave their text in cstring.
  EXPECT_TRUE(setvpvar("cboolean", "True"));
  EXPECT_TRUE(app.events.slots.cboolean);
  EXPECT_EQ(app.events.slots.cstring, "true");
  app.events.slots.cboolean = false;
  EXPECT_EQ(getvpvar("cboolean"), "false");
  EXPECT_EQ(app.events.slots.cstring, "false");
  // An override of strtobool leaves the answer to the extension.
  installed({record('A', "strtobool|override")});
  app.events.slots.cboolean = true;
  EXPECT_TRUE(setvpvar("cboolean", "false"));
  EXPECT_TRUE(app.events.slots.cboolean);
  // The slots reached through accessors copy their values, and records whole.
  function<TrovikSetInt>("setmousebutton")(TROVIK_MB_MIDDLE);
  EXPECT_EQ(app.events.slots.mousebutton, MouseButton::Middle);
  app.events.slots.shiftstate = ssShift | ssDouble;
  EXPECT_EQ(function<TrovikGetInt>("getshiftstate")(), TROVIK_SS_SHIFT | TROVIK_SS_DOUBLE);
  app.events.slots.wmdropfiles = {0x233, 1234, 0, 9};
  TrovikMessage m{};
  function<TrovikGetMessage>("getwmdropfiles")(&m);
  function<TrovikSetMessage>("setwmendsession")(&m);
  EXPECT_EQ(app.events.slots.wmendsession, app.events.slots.wmdropfiles);
  function<TrovikGetMessage>("getmessage")(nullptr);  // no record, nothing done
  TrovikMsg q{1, 2, 3, 4, 5, 6, 7}, back{};
  function<TrovikSetMsg>("setmsg")(&q);
  function<TrovikGetMsg>("getmsg")(&back);
  EXPECT_EQ(std::memcmp(&q, &back, sizeof q), 0);
}

TEST_F(HostApiTest, TheLoadedLibraryTableCanBeReadButStaysTheHostsOwn) {
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

TEST_F(HostApiTest, FunctionsAreFoundInAnyCaseAndAnExtensionCanAddItsOwn) {
  void* runlink = got('Z').getfunction("runlink");
  ASSERT_NE(runlink, nullptr);
  EXPECT_EQ(got('Z').getfunction("RunLink"), runlink);
  EXPECT_EQ(got('Z').getfunction("strtobool"), nullptr);  // spelled as the table has it
  EXPECT_EQ(got('Z').getfunction(nullptr), nullptr);
  EXPECT_EQ(got('Z').getfunction("nosuchroutine"), nullptr);

  // An extension after getfunction can hand out a routine of its own.
  addDll('A', extension<'A', "getfunction">());
  installed({record('A', "getfunction|after")});
  static int own;
  const std::string address = std::to_string(reinterpret_cast<std::uintptr_t>(&own));
  rec.actions["A:getfunction"] = [&] { got('A').setvpvar("cfarproc", address.c_str()); };
  EXPECT_EQ(got('Z').getfunction("MyRoutine"), &own);
}

TEST_F(HostApiTest, RoutinesRunWithTheirArgumentsAndATextAnswerLastsUntilTheNextCall) {
  auto extractcommand = function<TrovikTextToText>("extractcommand");
  const char* first = extractcommand("prog.exe>:--first");
  const char* other = function<TrovikTextToText>("removecommands")("prog.exe>:--second");
  EXPECT_STREQ(first, "--first");
  const std::string kept = first;
  extractcommand("prog.exe>:--third-and-much-longer-than-the-first-one");
  EXPECT_EQ(kept, "--first");
  EXPECT_STREQ(other, "prog.exe");

  EXPECT_EQ(function<TrovikTextToBool>("ismr")("a.exe|b.exe|"), 1);
  EXPECT_EQ(function<TrovikTextToInt>("findcommand")("a.exe>:x"), 8);
  EXPECT_STREQ(function<TrovikTextToText>("extractleafdir")("C:\\Trovik\\Games\\"), "Games");
  fs().put("C:\\Tools\\app.exe", "");
  function<TrovikTextProc>("runlink")("C:\\Tools\\app.exe");
  ASSERT_EQ(os.shell.calls.size(), 1u);
  EXPECT_EQ(os.shell.calls[0].file, "app.exe");

  app.AddEdit.path.setText("a|b|");
  function<TrovikProc>("refreshmrl")();
  EXPECT_EQ(app.AddEdit.mrl.items(), (Calls{"a", "b"}));
  function<TrovikTextProc>("autocomplete")("C:\\Tools\\a");
  EXPECT_EQ(app.AddEdit.autoclist.items(), (Calls{"C:\\Tools\\app.exe"}));
  HostApi& h = app.hostapi;
  int repaints = 0;
  h.repaintForm1 = h.repaintAddEdit = h.repaintOptionsForm = h.repaintAcf =
      h.repaintOpenFileDir = [&] { ++repaints; };
  vars().disvp = true;  // the refreshers repaint even while the system is off
  for (const char* refresher :
       {"updateform1", "updateaddedit", "updateoptions", "updateacf", "updateopenfiledir"})
    function<TrovikProc>(refresher)();
  EXPECT_EQ(repaints, 5);
}

// Each window an extension can get, and the sender of a window's own event
// (the object itself in place of a text), is a form rescalecontrols knows.
TEST_F(HostApiTest, TheWindowsHandedOutAreFormsRescalecontrolsKnows) {
  addDll('A', extension<'A', "form1activate">());
  installed({record('A', "form1activate|before")});
  void* sender = nullptr;
  rec.actions["A:form1activate"] = [&] {
    sender = const_cast<char*>(got('A').getvpvar("cobject"));
    EXPECT_TRUE(got('A').setvpvar("cobject3", static_cast<const char*>(sender)));
  };
  form().FormActivate();
  EXPECT_EQ(sender, function<TrovikGetObject>("getform1")());
  EXPECT_EQ(app.events.slots.cobject3, sender);  // an object slot takes the object itself
  auto rescalecontrols = function<TrovikRescaleControls>("rescalecontrols");
  os.windows.screenInfo.dpi = 192;
  const std::pair<const char*, ui::Control*> windows[] = {
      {"getform1", &form().List1},
      {"getaddedit", &app.AddEdit.path},
      {"getoptionsform", &app.OptionsForm.okay},
      {"getacf", &app.acf.commandtext},
      {"getopenfiledir", &app.OpenFileDir.select}};
  for (const auto& [getter, control] : windows) {
    control->setBounds({10, 20, 100, 200});
    rescalecontrols(function<TrovikGetObject>(getter)());
    const ui::Rect r = control->bounds();
    EXPECT_EQ(std::vector<int>({r.left, r.top, r.width, r.height}),
              (std::vector<int>{5, 10, 50, 100}))
        << getter;
  }
}

TEST_F(HostApiTest, FilesetAndWindowRoutinesAreReachable) {
  options("");
  putFileset("", {}, {});
  putFileset("Games\\", {"Go"}, {"C:\\g.exe"});
  app.form1.autobuild(kBase, -1);
  function<TrovikProc>("nextfileset")();
  EXPECT_EQ(vars().apppath, at("Games\\"));
  function<TrovikProc>("previousfileset")();
  EXPECT_EQ(vars().apppath, kBase);
  function<TrovikProc>("createnewfileset")();
  EXPECT_TRUE(fs().fileExists(at("NewFileSet1\\link.qdx")));
  form().Form1.setBounds({0, 0, 200, 100});
  function<TrovikProc>("centremain")();
  EXPECT_EQ(form().Form1.bounds().left, 1024 / 2 - 100);
  function<TrovikProc>("saveformstate")();
  EXPECT_NE(fs().get(at("Trovik.ini")).find("FormWidth=200"), std::string::npos);

  // A failure inside a routine is shown and returns normally into the extension.
  setList({"one"}, {"C:\\one.exe"});
  fs().failWrites("link.qdx");
  boxes().expect(Answer::Ok, "link.qdx");
  function<TrovikProc>("savelist")();
  EXPECT_TRUE(boxes().allAnswered());
}

// What an author copies from the sample works as the guide says.
TEST(SdkSample, TheTranslationRewordsTheTextsEachTimeTheyAreLoaded) {
  ExtensionHarness h;
  const std::string dll = h.at("translate.dll");
  h.fs().put(dll, "MZ");
  h.os.libraries.add(dll, {{"dllinfo2", exportOf(&::dllinfo2)},
                           {"loadformtext", exportOf(&::loadformtext)},
                           {"loadhelptext", exportOf(&::loadhelptext)}});
  h.installed({dll + "|Traduction|false|false|1.0|loadformtext|after|loadhelptext|after", ""});
  h.form().loadformtext();
  EXPECT_EQ(h.app.texts.f1delabd, "SUPPRIMER");
  // It writes in the ANSI code page, which reaches the program as UTF-8.
  EXPECT_EQ(h.app.texts.f1runminimizetag,
            " - Lancer/R\xC3\xA9"
            "duire");
  EXPECT_EQ(h.app.texts.f2usekey2, ".");
  // Texts it does not translate keep their wording.
  EXPECT_EQ(h.app.texts.f1nofileset, "File set not found in specified location: ");
  // Loaded again (as options reload does), still French; with the system off, English.
  h.form().loadhelptext();
  EXPECT_EQ(h.app.texts.f2usekey1, "Vous pouvez lancer ce lien en appuyant sur la touche ");
  h.app.vars.disvp = true;
  h.form().loadformtext();
  EXPECT_EQ(h.app.texts.f1delabd, "DELETE");
}

}  // namespace
}  // namespace trovik::test
