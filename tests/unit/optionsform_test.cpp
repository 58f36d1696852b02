// The options dialog: showing it from Trovik.ini, Apply (what it refuses,
// what it writes, what changes at once in the running program), Cancel and
// help, and the shell shortcuts of the General page.
#include "config/options.h"
#include "harness.h"

namespace trovik::test {
namespace {

struct OptionsFormTest : ::testing::Test, AppHarness {
  OptionsFormTest() { putFileset("", {"a"}, {"C:\\a.exe"}); }
  TOptionsForm& dlg() { return app.OptionsForm; }
  void choose(ui::ListBox& list, const std::string& item) {
    for (int i = 0; i < list.count(); ++i)
      if (list.item(i) == item) list.setItemIndex(i);
  }
};

TEST_F(OptionsFormTest, ShowingReadsTheFileAndApplyWritesItAndActsAtOnce) {
  options(
      "[Options]\r\nClick=1\r\nColumns=3\r\nShowOnKey=f5\r\nForceWait=3000\r\n"
      "ForceOrderStyle=1\r\nProxy=1\r\nProxyName=proxy.lan\r\nProxyPort=8080\r\n"
      "RetainSortOrder=1\r\n");
  dlg().showPage(OptionsPage::Links);
  EXPECT_EQ(dlg().page(), OptionsPage::Links);
  EXPECT_TRUE(dlg().singlecc.checked() && !dlg().doublecc.checked());
  EXPECT_TRUE(dlg().scrollhr.checked() && dlg().columnNumber.enabled());
  EXPECT_EQ(dlg().pkey.item(dlg().pkey.itemIndex()), "F5");
  EXPECT_EQ(dlg().fos.position(), 3);
  EXPECT_TRUE(dlg().fowait.checked());
  EXPECT_EQ(dlg().updates.pname.text(), "proxy.lan");
  EXPECT_TRUE(dlg().updates.pport.enabled());
  EXPECT_FALSE(dlg().showhintc.checked());  // absent counts as off here

  dlg().doublecc.setChecked(true);
  dlg().doubleccClick();
  EXPECT_FALSE(dlg().singlecc.checked());
  choose(dlg().pkey, "PAUSE");
  dlg().mintrayc.setChecked(true);
  dlg().qswitchc.setChecked(true);
  dlg().qsodefsizetext.setText("25");
  dlg().updates.ppw.setText("s3cret");
  dlg().applyClick();
  const char* written[][3] = {{"Options", "ShowOnKey", "PAUSE"}, {"Options", "Columns", "3"},
                              {"Options", "ForceWait", "3000"},  {"Options", "ProxyPort", "8080"},
                              {"QSOptions", "QSTabSize", "25"},  {"Form", "Version", "1000"},
                              {"Options", "Click", "0"},         {"Options", "SysTray", "1"}};
  for (const auto& w : written) EXPECT_EQ(option(w[0], w[1]), w[2]) << w[1];
  EXPECT_EQ(fs().get(at("Trovik.ini")).find("s3cret"), std::string::npos);
  EXPECT_EQ(os.windows.hotkeys.at(1), 19u);
  EXPECT_EQ(form().qswitch.tabWidth(), 25);
  EXPECT_TRUE(form().qswitch.visible() && form().SysTray.visible() && os.windows.toolWindow);
  EXPECT_TRUE(dlg().OptionsForm.visible());  // Apply keeps the dialog open
  EXPECT_FALSE(form().Linkname.checked() || form().Filetype.checked());  // a kept order, no key yet

  // Unticking the key writes "&0" and the key stops working at once.
  dlg().showonc.setChecked(false);
  dlg().showoncClick();
  dlg().okayClick();
  EXPECT_EQ(option("Options", "ShowOnKey"), "&0");
  EXPECT_TRUE(os.windows.hotkeys.empty());
  EXPECT_FALSE(dlg().OptionsForm.visible());
}

TEST_F(OptionsFormTest, ARefusedValueNamesItsFieldAndNothingIsWritten) {
  using Field = ui::Edit& (*)(TOptionsForm&);
  const Field tab = [](TOptionsForm& d) -> ui::Edit& { return d.qsodefsizetext; };
  const Field columns = [](TOptionsForm& d) -> ui::Edit& { return d.columnNumber; };
  const Field port = [](TOptionsForm& d) -> ui::Edit& { return d.updates.pport; };
  const struct {
    Field field;
    std::string text, message;
    OptionsPage page;
  } cases[] = {{tab, "12a", "tab width", OptionsPage::FilesetManager},
               {tab, "", "tab width", OptionsPage::FilesetManager},
               {columns, "-1", "columns", OptionsPage::General},
               {columns, "x", "columns", OptionsPage::General},
               {port, "80x", "proxy port", OptionsPage::Updates},
               {port, "65536", "proxy port", OptionsPage::Updates}};
  options("[Options]\r\nQuickSwitch=0\r\n[QSOptions]\r\nQSTabSize=7\r\n");
  const std::string before = fs().get(at("Trovik.ini"));
  const int width = form().qswitch.tabWidth();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dlg().showPage(OptionsPage::Links);
    dlg().qswitchc.setChecked(true);
    dlg().updates.proxyc.setChecked(true);
    c.field(dlg()).setText(c.text);
    boxes().expect(Answer::Ok, c.message);
    dlg().okayClick();
    EXPECT_EQ(dlg().page(), c.page);
    EXPECT_TRUE(dlg().OptionsForm.visible()) << "OK keeps a refused value on screen";
    EXPECT_EQ(fs().get(at("Trovik.ini")), before);
    EXPECT_EQ(form().qswitch.tabWidth(), width);
    dlg().cancelClick();
  }

  // A count of 0 with Horizontal chosen is a plain vertical list; a proxy without a port is
  // taken.
  dlg().showPage(OptionsPage::Links);
  dlg().updates.proxyc.setChecked(true);
  dlg().updates.pport.setText("");
  dlg().scrollhrClick();
  dlg().columnNumber.setText("0");
  dlg().applyClick();
  EXPECT_EQ(option("Options", "Columns"), "0");
  EXPECT_EQ(option("Options", "Proxy"), "1");
}

TEST_F(OptionsFormTest, CancelWritesNothingClosingReloadsTheListAndHelpFollowsTheTab) {
  options("[Options]\r\nUserLevel=1\r\n");
  dlg().showPage(OptionsPage::General);
  dlg().buser.setChecked(true);
  dlg().auser.setChecked(false);
  putFileset("", {"a", "b"}, {"C:\\a.exe", "C:\\b.exe"});
  const int writes = fs().writeCount(at("Trovik.ini"));
  dlg().tcloseClick();
  EXPECT_FALSE(dlg().OptionsForm.visible());
  EXPECT_EQ(fs().writeCount(at("Trovik.ini")), writes);
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
  dlg().showPage(OptionsPage::General);
  EXPECT_TRUE(dlg().auser.checked());

  fs().put(at("helpfiles\\updateoptions.htm"), "<html>");
  dlg().showPage(OptionsPage::Updates);
  dlg().thelpClick();
  ASSERT_EQ(os.shell.calls.size(), 1u);
  EXPECT_EQ(lower(os.shell.calls[0].directory + os.shell.calls[0].file),
            lower(at("helpfiles\\updateoptions.htm")));
  EXPECT_EQ(os.shell.calls[0].show, swMaximize);
  dlg().poptions.setTabIndex(static_cast<int>(OptionsPage::TrovikPlus));
  boxes().expect(Answer::Ok, "Help files not found.");
  dlg().thelpClick();
}

// The shell shortcuts: made in the folders the registry names, removed from
// there and from where older Windows kept them, and only when they are ours.
struct ShellShortcutTest : OptionsFormTest {
  ShellShortcutTest() {
    options("[Options]\r\n");
    const std::string shell =
        "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders|";
    os.shortcuts.registry[shell + "Desktop"] = "C:\\Users\\me\\Desktop";
    os.shortcuts.registry[shell + "Start Menu"] = "C:\\Users\\me\\Start Menu";
    os.shortcuts.registry
        ["Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups|"
         "Quick Launch"] = "C:\\Users\\me\\QL";
    for (const char* dir : {"C:\\Users\\me\\Desktop", "C:\\Users\\me\\Start Menu\\Programs",
                            "C:\\Users\\me\\QL", "C:\\WINDOWS\\Desktop"})
      fs().mkdirs(dir);
  }
  void applyBoxes(bool on) {
    dlg().showPage(OptionsPage::General);
    for (ui::CheckBox* b : {&dlg().lstartupc, &dlg().ideskc, &dlg().istartc, &dlg().iqlc})
      b->setChecked(on);
    dlg().applyClick();
  }
  static constexpr const char* kDesktopLink = "C:\\Users\\me\\Desktop\\Trovik.lnk";
};

TEST_F(ShellShortcutTest, TickingMakesEachShortcutAndUntickingRemovesOnlyOurs) {
  // Declined or failing (the box names the file), the rest of Apply is still done.
  boxes().expect(Answer::No, "Startup directory");
  fs().failWrites("Desktop\\Trovik.lnk");
  boxes().expect(Answer::Ok, kDesktopLink);
  applyBoxes(true);
  EXPECT_FALSE(fs().directoryExists("C:\\Users\\me\\Start Menu\\Programs\\Startup"));
  EXPECT_EQ(option("Options", "LSStart"), "1");
  fs().clearFailures();
  os.shortcuts.saved.clear();

  boxes().expect(Answer::Yes, "Startup directory does not exists. Create?");
  applyBoxes(true);
  std::vector<std::string> paths;
  for (const auto& s : os.shortcuts.saved) paths.push_back(s.path);
  EXPECT_EQ(paths, (std::vector<std::string>{
                       "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Trovik.lnk", kDesktopLink,
                       "C:\\Users\\me\\Start Menu\\Trovik.lnk", "C:\\Users\\me\\QL\\Trovik.lnk"}));
  EXPECT_EQ(os.shortcuts.saved[1].link.target, "C:\\Trovik\\Trovik.exe");
  EXPECT_EQ(os.shortcuts.saved[1].link.workingDirectory, "C:\\Trovik\\");
  applyBoxes(true);  // again: rewritten in place
  EXPECT_EQ(os.shortcuts.saved[4].path, os.shortcuts.saved[0].path);

  fs().put("C:\\WINDOWS\\Desktop\\Trovik.lnk", "lnk\r\nC:\\Trovik\\Trovik.exe");
  fs().put("C:\\Users\\me\\Start Menu\\Trovik.lnk", "lnk\r\nC:\\Other\\Trovik.exe");
  applyBoxes(false);
  for (const char* gone :
       {kDesktopLink, "C:\\WINDOWS\\Desktop\\Trovik.lnk", "C:\\Users\\me\\QL\\Trovik.lnk",
        "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Trovik.lnk"})
    EXPECT_FALSE(fs().fileExists(gone)) << gone;
  EXPECT_TRUE(fs().fileExists("C:\\Users\\me\\Start Menu\\Trovik.lnk"));
}

}  // namespace
}  // namespace trovik::test
