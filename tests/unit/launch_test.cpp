// Running links: what the shell is asked, the checks before it, the waits of
// forced order and what the modes do afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "core/paths.h"
#include "harness.h"

namespace trovik::test {
namespace {

struct LaunchTest : ::testing::Test, AppHarness {
  LaunchTest() { vars().masterhandle = 77; }
  void run(const std::string& entry) { app.launcher.runlink(entry); }
  const std::vector<ShellCall>& calls() { return os.shell.calls; }
};

TEST_F(LaunchTest, TheShellGetsFileParametersDirectoryAndShowCommand) {
  fs().put("C:\\Tools\\notepad.exe", "");
  fs().put("C:\\Tools\\calc.exe", "");
  fs().put("C:\\Links\\editor.lnk", "");
  fs().mkdirs("D:\\Music");
  const struct {
    const char* entry;
    ShellCall expected;
  } cases[] = {
      {"C:\\Tools\\notepad.exe>:C:\\Docs\\Notes.TXT",
       {77, "notepad.exe", "c:\\docs\\notes.txt", "c:\\tools\\", 5}},
      {"C:\\Tools\\notepad.exe>:C:\\Docs\\notes.txt+lrma",
       {77, "notepad.exe", "c:\\docs\\notes.txt", "c:\\tools\\", 3}},
      {"C:\\Tools\\calc.exe+lrmi", {77, "calc.exe", "", "c:\\tools\\", 2}},
      // An existing folder: no file, the folder as directory.
      {"D:\\Music\\", {77, "", "", "d:\\music\\", 5}},
      // Internet addresses are never checked and go whole; the directory is up to the last colon.
      {"http://Example.com/Page", {77, "http://example.com/page", "", "http:", 5}},
      // A shortcut is opened like any file.
      {"C:\\Links\\editor.lnk", {77, "editor.lnk", "", "c:\\links\\", 5}},
  };
  for (const auto& c : cases) {
    os.shell.calls.clear();
    run(c.entry);
    ASSERT_EQ(calls().size(), 1u) << c.entry;
    const ShellCall &g = calls()[0], &e = c.expected;
    EXPECT_EQ(std::tie(g.owner, g.file, g.parameters, g.directory, g.show),
              std::tie(e.owner, e.file, e.parameters, e.directory, e.show))
        << c.entry;
  }
  EXPECT_TRUE(boxes().shown().empty());
  EXPECT_FALSE(form().status.visible());
}

TEST_F(LaunchTest, HelpPagesOpenMaximisedFromTheProgramsDirectoryOrAreReportedMissing) {
  vars().apppath = "D:\\Sets\\Work\\";  // the open fileset does not matter
  boxes().expect(Answer::Ok, "Help files not found.");
  app.launcher.openHelp("mainwindow.htm", "Error");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(boxes().shown().back().caption, "Error");

  fs().put(std::string(kBase) + "helpfiles\\mainwindow.htm", "<html>");
  app.launcher.openHelp("mainwindow.htm", "Error");
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].file, "mainwindow.htm");
  EXPECT_EQ(calls()[0].directory, "c:\\trovik\\helpfiles\\");
  EXPECT_EQ(calls()[0].show, 3);
  EXPECT_EQ(boxes().shown().size(), 1u);
}

TEST_F(LaunchTest, OpenDirectoryOpensTheFolderOfALocalTargetOnly) {
  fs().put("C:\\Tools\\notepad.exe", "");
  form().Opendirectory1Click();
  run("C:\\Tools\\notepad.exe");
  EXPECT_EQ(calls()[0].file, "");
  EXPECT_EQ(calls()[0].directory, "c:\\tools\\");
  run("www.example.com");
  EXPECT_EQ(calls()[1].file, "www.example.com");
}

TEST_F(LaunchTest, AMissingTargetIsOfferedAndNoSkipsIt) {
  boxes().expect(Answer::No, "The file \"c:\\gone\\x.exe\" was not found.");
  run("C:\\Gone\\x.exe");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(boxes().shown()[0].caption, "Warning");

  boxes().expect(Answer::Yes);
  run("C:\\Gone\\x.exe>:-a");
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].file, "x.exe");
  EXPECT_EQ(calls()[0].parameters, "-a");

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
}

TEST_F(LaunchTest, ALongDirectoryBecomesTheCurrentDirectory) {
  const std::string dir50 = "C:\\" + std::string(46, 'a') + "\\";  // 50 characters
  const std::string dir51 = "C:\\" + std::string(47, 'b') + "\\";  // 51 characters
  fs().put(dir50 + "x.exe", "");
  fs().put(dir51 + "x.exe", "");
  run(dir50 + "x.exe");
  EXPECT_EQ(calls()[0].directory, lower(dir50));
  EXPECT_EQ(os.system.currentDirectory, "");
  run(dir51 + "x.exe");
  EXPECT_EQ(calls()[1].directory, "");
  EXPECT_EQ(os.system.currentDirectory, lower(dir51));
}

TEST_F(LaunchTest, ADriveNotReadyCanBeRetriedOrSkipped) {
  os.system.drives["e:\\"] = dtCdRom;
  os.system.drives["f:\\"] = dtFixed;
  boxes().expect(Answer::Retry, "Drive not ready");
  boxes().expect(Answer::Cancel, "Drive not ready");
  fs().put("C:\\a.exe", "");
  run("E:\\setup.exe|C:\\a.exe|");
  // Retry asked again for the same member; Cancel skipped it and went on.
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].file, "a.exe");

  // Once the disc is in, the member runs.
  fs().put("E:\\setup.exe", "");
  run("E:\\setup.exe");
  EXPECT_EQ(calls().back().file, "setup.exe");

  // A network path's drive is its server and share.
  os.system.drives["\\\\srv\\disc\\"] = dtRemovable;
  boxes().expect(Answer::Cancel, "Drive not ready");
  run("\\\\srv\\disc\\x.exe");
}

TEST_F(LaunchTest, ForcedOrderWaitsBetweenMembersOnly) {
  for (const char* f : {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}) fs().put(f, "");
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

TEST_F(LaunchTest, ModesActAfterTheRun) {
  fs().put("C:\\a.exe", "");
  fs().put("C:\\b.exe", "");
  form().RunExit1Click();
  vars().shutonx = true;
  vars().exceptonmode = true;
  run("C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(calls().size(), 2u);  // every member starts before the window closes
  EXPECT_EQ(view.closes, 1);
  EXPECT_FALSE(vars().shutonx);
  EXPECT_EQ(os.windows.forced.size(), 2u);

  // What each mode does after the run is the table below's; a mode stays without one-time mode.
  form().RunMinimizeClick();
  run("C:\\a.exe");
  EXPECT_TRUE(form().RunMinimize.checked());

  vars().onetimemode = true;
  form().Opendirectory1Click();
  run("C:\\a.exe");
  EXPECT_EQ(os.windows.minimized, 2);
  EXPECT_FALSE(form().RunMinimize.checked());
  EXPECT_FALSE(form().Opendirectory.checked());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
}

TEST_F(LaunchTest, ModeCommandsAreExclusiveAndTitledInOrder) {
  form().RunExit1Click();
  form().DropLaunchMinimize1Click();
  form().RunExit1Click();
  EXPECT_TRUE(form().runexit.checked());
  EXPECT_FALSE(form().DropLaunchMinimize.checked());
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Run/Exit");
  form().RunExit1Click();  // a second choice switches it off
  EXPECT_FALSE(form().runexit.checked());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");

  form().DropLaunchMinimize1Click();
  form().Opendirectory1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Drop/Launch/Minimize - Open directory");
  form().DropLaunchExitClick();
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Open directory - Drop/Launch/Exit");
  form().Opendirectory1Click();
  EXPECT_EQ(form().ttitle.caption(), "Trovik - Drop/Launch/Exit");
  form().modesoff();
  EXPECT_FALSE(form().droplaunchexit.checked());
  EXPECT_EQ(form().ttitle.caption(), "Trovik");
}

// A name without a link, however it is run: the question, No pads the links with empty ones,
// Yes drops the names without links. A launch asked for goes on; a click has nothing to run.
TEST_F(LaunchTest, ANameWithoutALinkOffersToResynchroniseHoweverItIsRun) {
  fs().put("C:\\a.exe", "");
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
      form().List1.setItems({"a", "b", "c"});
      form().link1.setItems({"C:\\a.exe"});
      form().List1.setItemIndex(2);
      boxes().expect(answer,
                     "There is no link for the selected item. Do you wish to re-synchronize "
                     "your links? (This will remove 2 unlinked items.");
      way();
      if (answer == Answer::No)
        EXPECT_EQ(form().link1.items(), (Lines{"C:\\a.exe", "", ""}));
      else
        EXPECT_EQ(form().List1.items(), Lines{"a"});
    }
  }
  EXPECT_EQ(calls().size(), 2u);
}

TEST_F(LaunchTest, ALaunchAskedForDuringAnotherWaitsItsTurn) {
  fs().put("C:\\a.exe", "");
  fs().put("C:\\b.exe", "");
  fs().put("C:\\c.exe", "");
  // A click handled while the first group is starting asks for another launch.
  bool clicked = false;
  os.shell.onExecute = [&] {
    if (!clicked) {
      clicked = true;
      run("C:\\c.exe");
    }
  };
  run("C:\\a.exe|C:\\b.exe|");
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0].file, "a.exe");
  EXPECT_EQ(calls()[1].file, "b.exe");
  EXPECT_EQ(calls()[2].file, "c.exe");
}

// Which clicks run in which mode is the main list's test; here the dialog that takes them over.
TEST_F(LaunchTest, ADoubleClickWhileTheAddEditDialogIsOpenRunsNothing) {
  fs().put("C:\\a.exe", "");
  form().List1.setItems({"a"});
  form().link1.setItems({"C:\\a.exe"});
  form().List1.setItemIndex(0);
  app.AddEdit.AddEdit.setVisible(true);
  form().List1DblClick();
  EXPECT_TRUE(calls().empty());
  app.AddEdit.AddEdit.setVisible(false);
  form().List1DblClick();
  EXPECT_EQ(calls().size(), 1u);
}

TEST(LaunchModes, EachModeActsAfterTheRunAsItsNameSays) {
  struct Case {
    void (TForm1::*choose)();
    bool closes, minimizes;
  };
  const Case cases[] = {{&TForm1::RunExit1Click, true, false},
                        {&TForm1::DropLaunchClick, false, false},
                        {&TForm1::DropLaunchExitClick, true, false},
                        {&TForm1::RunMinimizeClick, false, true},
                        {&TForm1::DropLaunchMinimize1Click, false, true}};
  for (const Case& c : cases) {
    AppHarness h;
    h.fs().put("C:\\a.exe", "");
    (h.form().*c.choose)();
    h.app.launcher.runlink("C:\\a.exe");
    EXPECT_EQ(h.view.closes, c.closes ? 1 : 0);
    EXPECT_EQ(h.os.windows.minimized, c.minimizes ? 1 : 0);
  }
}

}  // namespace
}  // namespace trovik::test
