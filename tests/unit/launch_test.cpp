// Running links: what the shell is asked, the checks before it, the waits of
// forced order and what the modes do afterwards.
#include "harness.h"

namespace trovik::test {
namespace {

struct LaunchTest : ::testing::Test, AppHarness {
  LaunchTest() {
    vars().masterhandle = 77;
    for (const char* f : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) fs().put(f, "");
  }
  void run(const std::string& entry) { app.launcher.runlink(entry); }
  const std::vector<ShellCall>& calls() { return os.shell.calls; }
};

TEST_F(LaunchTest, TheShellGetsFileParametersDirectoryAndShowCommand) {
  const std::string dir50 = "C:\\" + std::string(46, 'a') + "\\";  // 50 characters
  const std::string dir51 = "C:\\" + std::string(47, 'b') + "\\";
  for (const std::string& f : Lines{"C:\\Tools\\notepad.exe", "C:\\Tools\\calc.exe",
                                    "C:\\Links\\editor.lnk", dir50 + "x.exe", dir51 + "x.exe"})
    fs().put(f, "");
  fs().mkdirs("D:\\Music");
  const struct {
    std::string entry, file, parameters, directory;
    int show = 5;
    std::string current = "";  // the directory made current, when the shell cannot take it
  } cases[] = {
      {"C:\\Tools\\notepad.exe>:C:\\Docs\\Notes.TXT", "notepad.exe", "c:\\docs\\notes.txt",
       "c:\\tools\\"},
      {"C:\\Tools\\notepad.exe>:C:\\Docs\\notes.txt+lrma", "notepad.exe", "c:\\docs\\notes.txt",
       "c:\\tools\\", 3},
      {"C:\\Tools\\calc.exe+lrmi", "calc.exe", "", "c:\\tools\\", 2},
      // An existing folder: no file, the folder as directory.
      {"D:\\Music\\", "", "", "d:\\music\\"},
      // Internet addresses are never checked and go whole; the directory is up to the last colon.
      {"http://Example.com/Page", "http://example.com/page", "", "http:"},
      {"C:\\Links\\editor.lnk", "editor.lnk", "", "c:\\links\\"},
      // A directory over 50 characters becomes the current directory instead.
      {dir50 + "x.exe", "x.exe", "", lower(dir50)},
      {dir51 + "x.exe", "x.exe", "", "", 5, lower(dir51)},
  };
  for (const auto& c : cases) {
    os.shell.calls.clear();
    os.system.currentDirectory = "";
    run(c.entry);
    ASSERT_EQ(calls().size(), 1u) << c.entry;
    const ShellCall& g = calls()[0];
    EXPECT_EQ(std::tie(g.owner, g.file, g.parameters, g.directory, g.show),
              std::make_tuple(WindowHandle{77}, c.file, c.parameters, c.directory, c.show))
        << c.entry;
    EXPECT_EQ(os.system.currentDirectory, c.current) << c.entry;
  }
  EXPECT_TRUE(boxes().shown().empty());
  EXPECT_FALSE(form().status.visible());

  // Open directory opens the folder of a local target only.
  form().Opendirectory1Click();
  run("C:\\Tools\\notepad.exe");
  run("www.example.com");
  EXPECT_EQ(calls()[1].file, "");
  EXPECT_EQ(calls()[1].directory, "c:\\tools\\");
  EXPECT_EQ(calls()[2].file, "www.example.com");
}

TEST_F(LaunchTest, AMissingTargetOrADriveNotReadyIsOfferedAndCanBeSkipped) {
  boxes().expect(Answer::No, "The file \"c:\\gone\\x.exe\" was not found.");
  run("C:\\Gone\\x.exe");
  EXPECT_TRUE(calls().empty());
  boxes().expect(Answer::Yes);
  run("C:\\Gone\\x.exe>:-a");
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].parameters, "-a");

  // Retry asks again for the same member; Cancel skips it and goes on. A
  // network path's drive is its server and share.
  os.system.drives["e:\\"] = dtCdRom;
  os.system.drives["\\\\srv\\disc\\"] = dtRemovable;
  boxes().expect(Answer::Retry, "Drive not ready");
  boxes().expect(Answer::Cancel, "Drive not ready");
  boxes().expect(Answer::Cancel, "Drive not ready");
  run("E:\\setup.exe|C:\\a.exe|\\\\srv\\disc\\x.exe|");
  fs().put("E:\\setup.exe", "");  // once the disc is in, the member runs
  run("E:\\setup.exe");
  EXPECT_EQ(started(), (Lines{"x.exe -a", "a.exe", "setup.exe"}));

  // A folder whose name has a dot counts as missing; with Open directory the
  // question names the folder.
  fs().mkdirs("C:\\My.Dir");
  form().Opendirectory1Click();
  boxes().expect(Answer::No, "The file \"c:\\\"");
  run("C:\\My.Dir");
  // With the check switched off nothing is asked and the target goes whole.
  vars().disablelocalcheck = true;
  run("C:\\Gone\\y.exe");
  EXPECT_EQ(calls().back().file, "c:\\gone\\y.exe");
  EXPECT_TRUE(boxes().allAnswered());
}

TEST_F(LaunchTest, ForcedOrderWaitsBetweenMembersOnly) {
  vars().forcewait = 1000;
  // Adaptive: nobody comes to the front, so five half-steps after A and after B.
  run("+fC:\\a.exe|C:\\b.exe|C:\\c.exe|");
  EXPECT_EQ(calls().size(), 3u);
  EXPECT_EQ(os.clock.sleeps, std::vector<int>(10, 500));

  // The wait ends as soon as another window is in front: each started
  // program shows its window 700 ms after the shell call.
  os.clock.sleeps.clear();
  long long shownAt = 0;
  WindowHandle started = 100;
  os.shell.onExecute = [&] {
    shownAt = os.clock.elapsedMs + 700;
    ++started;
  };
  os.windows.current = [&] { return os.clock.elapsedMs >= shownAt ? started : started - 1; };
  run("C:\\a.exe|+fC:\\b.exe|C:\\c.exe|");
  EXPECT_EQ(os.clock.sleeps, std::vector<int>(4, 500));  // two half-steps after A and after B
  os.shell.onExecute = nullptr;
  os.windows.current = nullptr;

  // Simple style: exactly one wait of forcewait after each but the last.
  os.clock.sleeps.clear();
  vars().fostyle = 1;
  vars().forcewait = 2000;
  run("+fC:\\a.exe|C:\\b.exe|C:\\c.exe|");
  EXPECT_EQ(os.clock.sleeps, (std::vector<int>{2000, 2000}));
  // Without the mark there is no wait at all.
  os.clock.sleeps.clear();
  run("C:\\a.exe|C:\\b.exe|");
  EXPECT_TRUE(os.clock.sleeps.empty());
}

// Each choice replaces the mode before it, so only its own effect follows the run.
TEST_F(LaunchTest, OneModeAtATimeActsAfterTheRunAsItsNameSays) {
  const struct {
    void (TForm1::*choose)();
    int closes, minimizes;
  } cases[] = {{&TForm1::RunExit1Click, 1, 0},
               {&TForm1::DropLaunchClick, 0, 0},
               {&TForm1::DropLaunchExitClick, 1, 0},
               {&TForm1::RunMinimizeClick, 0, 1},
               {&TForm1::DropLaunchMinimize1Click, 0, 1}};
  for (const auto& c : cases) {
    view.closes = os.windows.minimized = 0;
    os.windows.forced.clear();
    (form().*c.choose)();
    run("C:\\a.exe");
    // What came to the front is left there when the window closes.
    EXPECT_EQ(std::make_tuple(view.closes, os.windows.minimized, os.windows.forced.size()),
              std::make_tuple(c.closes, c.minimizes, static_cast<size_t>(c.closes)));
  }
  // A second choice of the mode switches it off; Open directory goes with any.
  form().DropLaunchMinimize1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
  form().DropLaunchMinimize1Click();
  form().Opendirectory1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Drop/Launch/Minimize - Open directory");
  form().DropLaunchExitClick();
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Open directory - Drop/Launch/Exit");

  // Shut on exit is used up by the close; a mode stays without one-time mode.
  form().RunExit1Click();
  vars().shutonx = true;
  vars().exceptonmode = true;
  run("C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(calls().size(), 7u);  // every member starts before the window closes
  EXPECT_EQ(view.closes, 1);
  EXPECT_FALSE(vars().shutonx);
  EXPECT_TRUE(form().runexit.checked());
  vars().onetimemode = true;
  run("C:\\a.exe");
  EXPECT_FALSE(form().runexit.checked());
  EXPECT_FALSE(form().Opendirectory.checked());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
}

// A name without a link, however it is run: the question, No pads the links with empty ones,
// Yes drops the names without links. A launch asked for goes on; a click has nothing to run.
TEST_F(LaunchTest, ANameWithoutALinkOffersToResynchroniseHoweverItIsRun) {
  std::uint16_t enter = 13;
  // Clicks and Enter in single-click mode, the double click in double-click mode.
  const std::function<void()> ways[] = {[&] { run("C:\\a.exe"); }, [&] { form().List1Click(); },
                                        [&] { form().List1KeyDown(enter, ShiftState{}); },
                                        [&] {
                                          vars().lclick = false;
                                          form().List1DblClick();
                                        }};
  vars().lclick = true;
  for (const auto& way : ways) {
    for (Answer answer : {Answer::No, Answer::Yes}) {
      setList({"a", "b", "c"}, {"C:\\a.exe"});
      form().List1.setItemIndex(2);
      boxes().expect(answer,
                     "There is no link for the selected item. Do you wish to re-synchronize "
                     "your links? (This will remove 2 unlinked items.");
      way();
      if (answer == Answer::No)
        EXPECT_EQ(links(), (Lines{"C:\\a.exe", "", ""}));
      else
        EXPECT_EQ(names(), Lines{"a"});
    }
  }
  EXPECT_EQ(calls().size(), 2u);
}

TEST_F(LaunchTest, ALaunchAskedForDuringAnotherWaitsItsTurn) {
  // A click handled while the first group is starting asks for another launch.
  os.shell.onExecute = [&] {
    if (calls().size() == 1) run("C:\\c.exe");
  };
  run("C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(started(), (Lines{"a.exe", "b.exe", "c.exe"}));
}

}  // namespace
}  // namespace trovik::test
