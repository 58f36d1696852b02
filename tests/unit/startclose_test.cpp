// Opening BaseDirectory at start and saving at close.
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
  // The fresh options file: the defaults, today's date.
  const char* fresh[][3] = {
      {"Form", "FormWidth", "128"},     {"Form", "UpdateChecked", "06/12/2026"},
      {"Options", "ShowOnKey", "F9"},   {"Options", "QuickSwitch", "1"},
      {"Options", "DisableFlyMR", "1"}, {"TaskEvent", "Mode", "0"}};
  for (const auto& f : fresh) EXPECT_EQ(option(f[0], f[1]), f[2]) << f[1];
  EXPECT_EQ(form().Form1.bounds().width, 145);  // raised to the least width
  EXPECT_EQ(os.windows.hotkeys.at(1), 120u);    // F9
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
  EXPECT_TRUE(links().empty());
  EXPECT_EQ(fs().get(at("name.qdx")), "orphan\r\n");
  // Closing does not wipe the names the user needs once link.qdx is restored.
  EXPECT_TRUE(app.close());
  EXPECT_EQ(fs().get(at("name.qdx")), "orphan\r\n");
}

// A list or options file that cannot be written at close is reported, and the program stays
// unless the user says otherwise; what was on disk stays as it was.
TEST_F(StartupQuestions, ASaveThatFailsAtCloseAsksBeforeLosingAnything) {
  for (const char* file : {"link.qdx", "Trovik.ini"}) {
    SCOPED_TRACE(file);
    options("[Form]\r\nCurrentFileSet=\r\n");
    putFileset("", {"a"}, {"C:\\a.exe"});
    app.FormCreate();
    const std::string before = fs().get(at(file));
    form().List1.add("b");
    form().link1.add("C:\\b.exe");
    form().Form1.setBounds({0, 0, 300, 400});  // the options change too
    fs().failWrites(lower(file));
    boxes().expect(Answer::No, file);
    EXPECT_FALSE(app.close());
    EXPECT_EQ(boxes().shown().back().icon, Icon::Error);
    boxes().expect(Answer::Yes, "Close Trovik anyway?");
    EXPECT_TRUE(app.close());
    EXPECT_EQ(fs().get(at(file)), before);
    fs().clearFailures();
  }
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

}  // namespace
}  // namespace trovik::test
