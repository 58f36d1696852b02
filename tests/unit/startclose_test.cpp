// Opening BaseDirectory at start and saving at close.
#include <gtest/gtest.h>

#include "harness.h"

namespace trovik::test {
namespace {

struct StartCloseTest : ::testing::Test, AppHarness {};

// The same with the lists in place.
struct StartupQuestions : StartCloseTest {
  StartupQuestions() { putFileset("", {}, {}); }
};

TEST_F(StartCloseTest, AFirstRunCreatesTheFilesAndWelcomesOnce) {
  boxes().expect(Answer::Ok, "Welcome to Trovik.");
  vars().realpath = vars().apppath = "";  // the files go beside the program whatever came before
  app.FormCreate();
  EXPECT_EQ(fs().get(at("link.qdx")), "");
  EXPECT_EQ(fs().get(at("name.qdx")), "");
  EXPECT_EQ(fs().get(at("vp2.qdx")), "");  // an empty list of extensions
  EXPECT_TRUE(app.extensions.hasList());
  EXPECT_EQ(boxes().shown().size(), 1u);
  // The fresh options file, exactly as written.
  const std::string expected =
      "[Form]\r\nFormHeight=256\r\nFormWidth=128\r\nFormTop=0\r\nFormLeft=0\r\nMaximized=0\r\n"
      "Snapbar=0\r\nCurrentFileSet=\r\nUpdateChecked=06/12/2026\r\n\r\n"
      "[Options]\r\nUserLevel=0\r\nConfirmDelete=1\r\nConfirmFSDelete=1\r\nClick=1\r\n"
      "RemPosition=0\r\nColumns=1\r\nProxy=0\r\nProxyName=0\r\nProxyUserName=0\r\nProxyPort=0\r\n"
      "RemoveDropExtension=1\r\nDirectExe=0\r\nLSStart=0\r\nDesktopLink=0\r\nStartmenuLink=0\r\n"
      "QuickLaunchLink=0\r\nSysTray=0\r\nShowHints=1\r\nShowOnKey=F9\r\nQuickSwitch=1\r\n"
      "ConfirmShutdown=1\r\nConfirmRestart=1\r\nShutdownOnExit=0\r\nKeepOnDesktop=0\r\n"
      "RetainSortOrder=0\r\nAutoCompleteLevel=0\r\nDisableFlyMR=1\r\nForceFlyMR=0\r\n"
      "DisableLocalFileCheck=0\r\nRememberTaskEvent=0\r\nOneTimeMode=1\r\nExceptOnMode=1\r\n\r\n"
      "[Sort]\r\nType=0\r\nReverseSortOrder=0\r\n\r\n[TaskEvent]\r\nMode=0\r\n\r\n";
  EXPECT_EQ(fs().get(at("Trovik.ini")), expected);
  // The window's size and tabs at a first start are the options' tests.
  EXPECT_TRUE(vars().dropext);

  // The second start is quiet, and clears what single-file saves that a
  // stop cut short left behind: files of its own names only.
  AppHarness again;
  for (const auto& f : fs().allFiles()) again.fs().put(f, fs().get(f));
  for (const char* scratch : {"Trovik.ini.new", "vp2.qdx.new", "trovik+1.qdx", "notes.new"})
    again.fs().put(at(scratch), "half");
  again.app.FormCreate();
  EXPECT_TRUE(again.boxes().shown().empty());
  EXPECT_EQ(again.fs().allFiles().size(), fs().allFiles().size() + 1);
  EXPECT_EQ(again.fs().get(at("notes.new")), "half");

  // Lists gone but the options kept: new lists, and the options stay the user's.
  options("[Options]\r\nClick=0\r\n");
  fs().deleteFile(at("link.qdx"));
  fs().deleteFile(at("name.qdx"));
  boxes().expect(Answer::Ok, "Welcome to Trovik.");
  app.FormCreate();
  EXPECT_EQ(option("Options", "Click"), "0");
}

TEST_F(StartCloseTest, TheRememberedFilesetOpensAndClosingRemembersIt) {
  options("[Form]\r\nCurrentFileSet=Games\r\n[Options]\r\nQuickSwitch=1\r\n");
  fs().put(at("link.qdx"), "C:\\base.exe\r\n");
  fs().put(at("name.qdx"), "base\r\n");
  fs().put(at("Games\\link.qdx"), "C:\\chess.exe\rC:\\go.exe\r");
  fs().put(at("Games\\name.qdx"), "Chess\rGo\r");
  app.FormCreate();
  EXPECT_EQ(vars().apppath, at("Games\\"));
  EXPECT_EQ(form().List1.items(), (std::vector<std::string>{"Chess", "Go"}));
  EXPECT_EQ(form().qswitch.tabIndex(), 1);

  EXPECT_TRUE(app.close());
  EXPECT_EQ(fs().get(at("Games\\name.qdx")), "Chess\r\nGo\r\n");
  EXPECT_EQ(option("Form", "CurrentFileSet"), "Games");

  vars().apppath = kBase;
  app.close();
  EXPECT_EQ(option("Form", "CurrentFileSet"), "");
}

TEST_F(StartupQuestions, OlderOptionsAndVanishedFilesetsFallBackToTheBase) {
  options("[Form]\r\nVersion=800\r\nCurrentFileSet=Games\r\n");
  fs().put(at("Games\\link.qdx"), "");
  fs().put(at("Games\\name.qdx"), "");
  app.FormCreate();
  EXPECT_EQ(vars().apppath, kBase);
  EXPECT_EQ(option("Form", "Version"), "1000");
  EXPECT_EQ(option("Form", "CurrentFileSet"), "");

  AppHarness other;
  other.putFileset("", {}, {});
  other.options("[Form]\r\nCurrentFileSet=Gone\r\n");
  other.boxes().expect(Answer::Ok, "Last directory used no longer exists.");
  other.app.FormCreate();
  EXPECT_EQ(other.vars().apppath, kBase);
}

TEST_F(StartCloseTest, ListFilesWithoutOptionsWarnAndAMissingLinkFileIsReported) {
  fs().put(at("name.qdx"), "orphan\r\n");
  boxes().expect(Answer::Ok, "Your link file is missing");
  boxes().expect(Answer::Ok, "An options file was not found. Trovik has created a new one.");
  app.FormCreate();
  EXPECT_NE(fs().get(at("Trovik.ini")), "<missing>");
  // Without links nothing is loaded, and the names file stays as it was.
  EXPECT_TRUE(form().link1.items().empty());
  EXPECT_EQ(fs().get(at("name.qdx")), "orphan\r\n");
  // Closing does not wipe the names the user needs once link.qdx is restored.
  EXPECT_TRUE(app.close());
  EXPECT_EQ(fs().get(at("name.qdx")), "orphan\r\n");
}

TEST_F(StartupQuestions, SeparatorsOfTheWrongLengthAreIgnored) {
  options("[Form]\r\nCommandSeperator=>>>\r\nMRSeperator=;\r\n");
  app.FormCreate();
  EXPECT_EQ(vars().commandsep, ">:");
  EXPECT_EQ(vars().mrs, ";");
  options("[Form]\r\nCommandSeperator=::\r\nMRSeperator=||\r\n");
  app.FormCreate();
  EXPECT_EQ(vars().commandsep, "::");
  EXPECT_EQ(vars().mrs, "|");
}

TEST_F(StartCloseTest, ASaveThatFailsAtCloseAsksBeforeLosingAnything) {
  options("[Form]\r\n");
  fs().put(at("link.qdx"), "C:\\a.exe\r\n");
  fs().put(at("name.qdx"), "a\r\n");
  app.FormCreate();
  form().List1.add("b");
  form().link1.add("C:\\b.exe");
  fs().failWrites("link.qdx");
  boxes().expect(Answer::No, "link.qdx");
  EXPECT_FALSE(app.close());
  EXPECT_EQ(boxes().shown().back().icon, Icon::Error);
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\a.exe\r\n");
  boxes().expect(Answer::Yes, "Close Trovik anyway?");
  EXPECT_TRUE(app.close());
  EXPECT_EQ(fs().get(at("link.qdx")), "C:\\a.exe\r\n");
}

TEST_F(StartupQuestions, AnOptionsFileThatCannotBeWrittenIsReportedAndKept) {
  options("[Form]\r\nCurrentFileSet=\r\n");
  fs().put(at("Sub\\link.qdx"), "");
  fs().put(at("Sub\\name.qdx"), "");
  app.FormCreate();
  const std::string before = fs().get(at("Trovik.ini"));
  vars().apppath = at("Sub\\");
  fs().failWrites("trovik.ini");
  boxes().expect(Answer::No, "Trovik.ini");
  EXPECT_FALSE(app.close());
  EXPECT_EQ(fs().get(at("Trovik.ini")), before);
}

TEST_F(StartupQuestions, TheUpdateReminderComesAfterSixtyDaysAndRestartsTheCount) {
  const struct {
    const char* checked;
    bool reminds;
    const char* after;
  } cases[] = {{"07/10/2026", true, "06/12/2026"},   // 60 days before 6 December
               {"08/10/2026", false, "08/10/2026"},  // 59 days: nothing shown or written
               // An unreadable date starts counting again, quietly.
               {"Tuesday", false, "06/12/2026"},
               {"", false, "06/12/2026"}};
  for (const auto& c : cases) {
    options(std::string("[Form]\r\nUpdateChecked=") + c.checked + "\r\n");
    if (c.reminds)
      boxes().expect(Answer::Ok, "You have not checked for an update for over 2 months");
    app.FormCreate();
    EXPECT_EQ(option("Form", "UpdateChecked"), c.after) << c.checked;
  }
}

TEST_F(StartupQuestions, ObsoleteFilesAreOfferedForDeletionUntilDeclined) {
  options("[Form]\r\nUpdateChecked=06/12/2026\r\n");
  fs().put(at("qslist.qdx"), "");
  fs().put(at("fshist.txt"), "");
  boxes().expect(Answer::No, "qslist.qdx, Morvath.dll, vp.qdx, fshist.txt.");
  app.FormCreate();
  EXPECT_EQ(option("Help", "DeleteOldFiles"), "1");
  EXPECT_TRUE(fs().fileExists(at("qslist.qdx")));
  app.FormCreate();  // not asked again

  options("[Form]\r\nUpdateChecked=06/12/2026\r\n");
  boxes().expect(Answer::Yes);
  app.FormCreate();
  EXPECT_FALSE(fs().fileExists(at("qslist.qdx")));
  EXPECT_FALSE(fs().fileExists(at("fshist.txt")));
  EXPECT_EQ(option("Help", "DeleteOldFiles"), "<absent>");
}

TEST_F(StartupQuestions, TrayModeHasNoTaskbarButtonFromTheStart) {
  options("[Form]\r\nUpdateChecked=06/12/2026\r\n[Options]\r\nSysTray=1\r\n");
  app.FormCreate();
  EXPECT_TRUE(os.windows.toolWindow);
  EXPECT_TRUE(form().SysTray.visible());
}

TEST_F(StartupQuestions, ClosingSavesTheStateAndReleasesTheHotkey) {
  options("[Form]\r\nUpdateChecked=06/12/2026\r\n[Options]\r\nShowOnKey=F9\r\n");
  app.FormCreate();
  EXPECT_EQ(os.windows.hotkeys.count(1), 1u);
  form().Form1.setBounds({0, 0, 300, 400});
  EXPECT_TRUE(app.close());
  EXPECT_EQ(os.windows.hotkeys.count(1), 0u);
  EXPECT_EQ(option("Form", "FormWidth"), "300");  // the rest of the state: the options' tests
}

}  // namespace
}  // namespace trovik::test
