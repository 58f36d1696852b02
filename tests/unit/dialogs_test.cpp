// The command-line and browse dialogs, and what the three dialogs share:
// their events, help pages and host functions.
#include <gtest/gtest.h>

#include "dialogharness.h"

namespace trovik::test {
namespace {

TEST(CommandLineDialog, AddRewritesTheCommandOfTheTargetOrOfTheMemberAtTheCursor) {
  DialogHarness h;
  TAddEdit& d = h.d;
  Tacf& a = h.app.acf;
  h.openAdd();
  d.path.setText("C:\\x.exe");
  d.acClick();
  EXPECT_TRUE(a.isOpen());
  EXPECT_FALSE(d.AddEdit.enabled());
  a.commandtext.setText("-a -b");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\x.exe>:-a -b");
  EXPECT_FALSE(a.isOpen());
  EXPECT_TRUE(d.AddEdit.enabled());
  d.acClick();
  EXPECT_EQ(a.commandtext.text(), "-a -b");
  a.commandtext.setText("");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\x.exe");

  // Only the member at the cursor changes; its neighbours keep their text.
  d.path.setText("C:\\a.exe>:-1|C:\\b.exe|C:\\c.exe>:-3|");
  h.view.cursor = 15;
  d.acClick();
  EXPECT_EQ(a.commandtext.text(), "");
  a.commandtext.setText("-2");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe>:-1|C:\\b.exe>:-2|C:\\c.exe>:-3|");
  EXPECT_EQ(d.mrl.item(1), "C:\\b.exe>:-2");

  // However it closes, the Add/Edit dialog is usable again, with typing in the path.
  d.acClick();
  h.view.focused = nullptr;
  a.tcloseClick();
  EXPECT_TRUE(d.AddEdit.enabled());
  EXPECT_EQ(h.view.focused, &d.path);
  d.acClick();
  d.cancelClick();
  EXPECT_FALSE(a.isOpen());
  EXPECT_TRUE(d.AddEdit.enabled());
}

struct BrowseHarness : DialogHarness {
  TOpenFileDir& b = app.OpenFileDir;
  BrowseHarness() {
    fs().put("C:\\Apps\\tool.exe", "");
    fs().put("C:\\Apps\\readme.txt", "");
    fs().put("C:\\Apps\\go.LNK", "");
    fs().mkdirs("C:\\Apps\\Sub");
    fs().mkdirs("D:\\");
    os.shellLinks.targets["C:\\Apps\\go.LNK"] = "C:\\real.exe";
  }
  void choose(int filter, const std::string& file) {
    b.FilterComboBox1.setItemIndex(filter);
    b.FilterComboBox1Change();
    const auto& files = b.FileList.items();
    b.FileList.setItemIndex(
        static_cast<int>(std::find(files.begin(), files.end(), file) - files.begin()));
    b.selectClick();
  }
};

TEST(BrowseDialog, ShowsTheTargetsDirectoryAndChoosesAFileOrTheDirectory) {
  BrowseHarness h;
  TOpenFileDir& b = h.b;
  h.openAdd();
  h.d.path.setText("C:\\Apps\\tool.exe>:-x");
  h.d.browseClick();
  EXPECT_TRUE(b.isOpen());
  EXPECT_FALSE(h.d.AddEdit.enabled());
  EXPECT_EQ(b.Drive.items(), (Lines{"c:", "d:"}));
  EXPECT_EQ(b.Drive.itemIndex(), 0);
  EXPECT_EQ(b.DirectoryList.items(), (Lines{"c:\\", "  Apps", "    Sub"}));
  EXPECT_EQ(b.DirectoryList.itemIndex(), 1);
  EXPECT_EQ(b.FileList.items(), (Lines{"tool.exe"}));
  b.FilterComboBox1.setItemIndex(2);
  b.FilterComboBox1Change();
  EXPECT_EQ(b.FileList.items(), (Lines{"go.LNK", "readme.txt", "tool.exe"}));
  b.selectClick();  // no file selected: the directory itself
  EXPECT_EQ(h.d.path.text(), "C:\\Apps\\");
  EXPECT_FALSE(b.isOpen());
  EXPECT_TRUE(h.d.AddEdit.enabled());

  h.d.browseClick();
  b.DirectoryList.setItemIndex(2);
  b.DirectoryListDblClick();
  EXPECT_EQ(b.directory(), "C:\\Apps\\Sub\\");
  b.DirectoryList.setItemIndex(0);
  b.DirectoryListDblClick();
  EXPECT_EQ(b.directory(), "C:\\");
  b.Drive.setItemIndex(1);
  b.DriveChange();
  EXPECT_EQ(b.directory(), "D:\\");
  b.cancelClick();
  EXPECT_EQ(h.d.path.text(), "C:\\Apps\\");
  EXPECT_EQ(h.view.focused, &h.d.path);
}

TEST(BrowseDialog, WritesTheChoiceIntoThePathANewMemberOrTheEditedMember) {
  BrowseHarness h;
  TAddEdit& d = h.d;
  h.vars().ldirect = true;
  h.openAdd();
  d.path.setText("C:\\Apps\\x");
  d.browseClick();
  h.choose(1, "go.LNK");
  EXPECT_EQ(d.path.text(), "C:\\real.exe");

  // Two members added to a group that is still empty, each with the normal style.
  h.openAdd();
  d.mr.setChecked(true);
  d.mrClick();
  d.afbClick();
  h.choose(0, "tool.exe");
  d.afbClick();
  h.choose(1, "go.LNK");
  EXPECT_EQ(d.path.text(), "C:\\Apps\\tool.exe|C:\\real.exe|");
  EXPECT_EQ(d.MemberRunStyles, (Lines{"", ""}));

  h.pick(0);
  d.efClick();
  h.choose(2, "readme.txt");
  EXPECT_EQ(d.path.text(), "C:\\Apps\\readme.txt|C:\\real.exe|");
  EXPECT_FALSE(h.vars().editing);
}

TEST(DialogHelp, EachDialogOpensItsOwnPageAndTheWindowThatAsksOwnsTheBox) {
  enum : WindowHandle { kMain = 1, kAddEdit, kAcf, kBrowse };
  DialogHarness h;
  Context& ctx = h.app.ctx;
  ctx.mainWindow = kMain;
  h.d.handle = kAddEdit;
  h.fs().put(std::string(kBase) + "helpfiles\\addwindow.htm", "");
  h.d.helpClicked();
  ASSERT_EQ(h.os.shell.calls.size(), 1u);
  EXPECT_EQ(h.os.shell.calls[0].file, "addwindow.htm");
  EXPECT_EQ(h.os.shell.calls[0].show, swMaximize);
  h.fs().put(std::string(kBase) + "helpfiles\\browsewindow.htm", "");
  h.app.OpenFileDir.helpClicked();
  EXPECT_EQ(h.os.shell.calls.back().file, "browsewindow.htm");

  // A box belongs to the window whose input asked for it (the Add/Edit dialog's
  // own questions to it, whoever set it to work), a failure to the window it
  // stopped, anything else to the main window.
  for (const char* text : {"Help files not found.", "Error: Local file not found",
                           "cannot be written", "Help files not found."})
    h.boxes().expect(Answer::Ok, text);
  barrier(ctx, kBrowse, [&] {
    barrier(ctx, kAcf, [&] { h.app.acf.helpClicked(); });
    h.openAdd();
    h.type("C:\\gone.exe");
    barrier(ctx, kMain, [&] { h.d.addlinkClick(); });
    throw IoError(IoError::Op::Write, "C:\\x", "cannot be written");
  });
  h.app.acf.helpClicked();
  std::vector<WindowHandle> owners;
  for (const auto& box : h.boxes().shown()) owners.push_back(box.owner);
  EXPECT_EQ(owners, (std::vector<WindowHandle>{kAcf, kAddEdit, kBrowse, kMain}));
}

}  // namespace
}  // namespace trovik::test
