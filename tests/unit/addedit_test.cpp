// The Add/Edit dialog and the two it opens (the command line and browsing): reading a link
// entry into it, and their handlers as the user reaches them.
#include "harness.h"

namespace trovik::test {
namespace {

// A window that remembers what it was asked (cursor, drop-down, focus).
struct FakeDialogView final : DialogView {
  int cursor = 0;
  bool dropped = false;
  ui::Control* focused = nullptr;
  int fronts = 0;  // times brought to the front
  void focus(ui::Control& c) override { focused = &c; }
  int caret(const ui::Edit&) const override { return cursor; }
  void setCaret(ui::Edit&, int p) override { cursor = p; }
  void dropDown(ui::ListBox&, bool open, int) override { dropped = open; }
  bool droppedDown(const ui::ListBox&) const override { return dropped; }
  void bringToFront() override { ++fronts; }
};

// The Add/Edit dialog opened as the main window's Add item opens it.
struct DialogHarness : AppHarness {
  FakeDialogView view;
  TAddEdit& d = app.AddEdit;

  DialogHarness() {
    d.attachView(&view);
    vars().userlevel = 1;  // no beginner's tips unless a test asks for them
  }
  void list(const Lines& names, const Lines& links) {
    setList(names, links);
    form().mmlist.setItems(names);
  }
  void openAdd() {
    d.mrl.clear();
    d.itemLabel.setText("");
    d.path.setText("");
    d.AddPending = true;
    d.EditPending = false;
    d.showDialog();
  }
  // Types into the path field: the text, the cursor at its end, the change.
  void type(const std::string& text) {
    d.path.setText(text);
    view.cursor = static_cast<int>(text.size());
    d.pathChange();
  }
  // Ticks or unticks the multirun box.
  void tick(bool on) {
    d.mr.setChecked(on);
    d.mrClick();
  }
  // Clicks member i of the member list alone.
  void pick(int i) {
    for (int k = 0; k < d.mrl.count(); ++k) d.mrl.setSelected(k, k == i);
    d.mrl.setItemIndex(i);
    d.mrlClick();
  }
  // Clicks item i of the main list.
  void click(int i) {
    form().List1.setItemIndex(i);
    form().List1Click();
  }
};

struct AddEditTest : ::testing::Test, DialogHarness {};

// An item clicked in the main list while the dialog is open joins a group, replaces a single path
// after asking, or makes a group with the members of a group link; what it brings keeps its run
// style apart from its path, and a forced order.
TEST_F(AddEditTest, ItemsClickedInTheMainListWhileItIsOpenGoToIt) {
  list({"G", "A", "B", "C", "D", "E", "H"},
       {"+fC:\\a.exe+lrma||D:\\b.exe>:-x+lrmi|trailing", "C:\\a.exe", "C:\\b.exe+lrma",
        "C:\\x.exe>:-a+lrmi", "C:\\x.exe+lrma", "C:\\x.exe+LRMA", "x+lrmi+lrma|"});
  openAdd();
  d.mr.setChecked(true);
  click(1);
  click(2);
  form().List1DblClick();  // the dialog has taken the item: nothing runs
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(d.MemberRunStyles, (Lines{"", "+lrma"}));
  EXPECT_EQ(d.itemLabel.text(), "A");
  EXPECT_TRUE(os.shell.calls.empty());
  // A No keeps the path, and the dialog comes forward either way.
  d.mr.setChecked(false);
  view.fronts = 0;
  const char* overwrite = "This will overwrite the existing item path, proceed?";
  boxes().expect(Answer::No, overwrite);
  click(3);
  EXPECT_EQ(d.path.text(), "C:\\a.exe|C:\\b.exe|");
  EXPECT_EQ(view.fronts, 1);
  const struct {
    int item;
    const char* left;
    ui::RadioButton& mode;
  } singles[] = {{3, "C:\\x.exe>:-a", d.runmin},
                 {4, "C:\\x.exe", d.runmax},
                 {5, "C:\\x.exe+LRMA", d.runnormal}};  // only lower case marks
  for (const auto& c : singles) {
    boxes().expect(Answer::Yes, overwrite);
    click(c.item);
    EXPECT_EQ(d.path.text(), c.left);
    for (const ui::RadioButton* m : {&d.runmin, &d.runmax, &d.runnormal})
      EXPECT_EQ(m->checked(), m == &c.mode) << c.left << " " << m->name();
  }
  EXPECT_EQ(view.fronts, 4);
  // A group link over a single path makes a group of them all; of two suffixes the inner one is
  // moved last and wins.
  d.mrl.clear();
  for (int group : {0, 6}) {
    boxes().expect(Answer::Yes, "Do you want to make your new item a multirun item?");
    click(group);
  }
  EXPECT_EQ(d.mrl.items(), (Lines{"C:\\x.exe+LRMA", "C:\\a.exe", "", "D:\\b.exe>:-x", "x"}));
  EXPECT_EQ(d.MemberRunStyles, (Lines{"", "+lrma", "", "+lrmi", "+lrmi"}));
  EXPECT_EQ(d.path.text(), "C:\\x.exe+LRMA|C:\\a.exe||D:\\b.exe>:-x|x|");
  EXPECT_TRUE(d.foc.checked());
}

// A link that runs nothing, or a local file that is missing, is refused with the dialog open; a
// local folder may be written without its closing backslash, and is stored with its run style.
TEST_F(AddEditTest, ConfirmRefusesALinkThatRunsNothingOrAMissingLocalFile) {
  fs().mkdirs("C:\\Games");
  fs().put("C:\\Tools\\a.exe", "");
  openAdd();
  type("C:\\GAMES");
  d.runminClick();
  d.addlinkClick();
  EXPECT_EQ(links(), (Lines{"C:\\GAMES+lrmi"}));
  EXPECT_FALSE(d.AddPending);  // stored: no longer waiting to be added
  const char* nothing = "This link has nothing to run.";
  const struct {
    bool localCheck, multirun;
    std::string path;
    const char* box;
  } cases[] = {{false, false, "", nothing},
               {false, false, "  >:-x+lrma", nothing},
               {true, true, "", nothing},
               {true, false, "C:\\Tools\\a.exe>:-x|C:\\Tools\\gone.exe|",
                "Error: Local file \"C:\\Tools\\gone.exe\" not found"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    vars().userlevel = c.box == nothing ? 0 : 1;  // a beginner's tip comes after this check only
    openAdd();
    d.itemLabel.setText("Label");
    d.lfc.setChecked(c.localCheck);
    type(c.path);
    if (c.multirun) tick(true);
    view.focused = nullptr;
    boxes().expect(Answer::Ok, c.box);
    d.addlinkClick();
    EXPECT_TRUE(boxes().allAnswered() && d.isOpen());
    EXPECT_EQ(form().link1.count(), 1);
    if (c.box == nothing) {
      EXPECT_EQ(view.focused, &d.path);
    }
  }
}

TEST_F(AddEditTest, EditingAnItemOfAnotherFilesetWritesThatFilesetOrNothing) {
  const std::string other = at("Other\\");
  list({"Cur"}, {"C:\\cur.exe"});
  putFileset("Other\\", {"O0", "O1"}, {"C:\\o0.exe", "C:\\o1.exe"});
  auto edit = [&](const std::string& home, int item) {
    d.EditHome = home;
    d.EditPending = true;
    vars().curitem = item;
    d.showDialog();
    d.lfc.setChecked(false);
    d.itemLabel.setText("New");
    type("C:\\new.exe");
    d.addlinkClick();
  };
  edit(other, 1);
  EXPECT_EQ(fs().get(other + "link.qdx"), "C:\\o0.exe\r\nC:\\new.exe\r\n");
  EXPECT_EQ(fs().get(other + "name.qdx"), "O0\r\nNew\r\n");
  EXPECT_EQ(names(), (Lines{"Cur"}));
  EXPECT_FALSE(d.isOpen());

  // Refused, nothing written, and the dialog stays open for Copy to list.
  boxes().expect(Answer::Ok, "no longer in its fileset");
  edit(other, 2);
  EXPECT_TRUE(d.isOpen());
  fs().failWrites("Other");
  boxes().expect(Answer::Ok, "Other\\name.qdx");
  edit(other, 0);
  fs().clearFailures();
  boxes().expect(Answer::Ok, "The fileset that this link belongs to cannot be found.");
  edit(at("Gone\\"), 0);
  EXPECT_TRUE(d.isOpen() && d.EditPending);
  EXPECT_EQ(fs().get(other + "link.qdx"), "C:\\o0.exe\r\nC:\\new.exe\r\n");
  EXPECT_EQ(fs().get(other + "name.qdx"), "O0\r\nNew\r\n");
}

TEST_F(AddEditTest, EveryWayOfClosingEndsTheOpenStateSoLinksRunAgain) {
  list({"A", "B"}, {"C:\\a.exe", "C:\\b.exe"});
  fs().put("C:\\a.exe", "");
  for (void (TAddEdit::*close)() : {&TAddEdit::cancelClick, &TAddEdit::tcloseClick,
                                    &TAddEdit::closeDialog, &TAddEdit::addlinkClick}) {
    openAdd();
    d.lfc.setChecked(false);
    type("C:\\a.exe|C:\\b.exe|");
    d.foc.setChecked(true);
    form().List1.setItemIndex(1);
    (d.*close)();
    EXPECT_FALSE(d.isOpen());
    // What the group left behind does not join the next link.
    EXPECT_TRUE(d.mrl.count() == 0 && d.MemberRunStyles.empty() && !d.foc.checked());
    EXPECT_EQ(form().mmlist.items(), names());
    EXPECT_EQ(form().mmlist.itemIndex(), 1);
  }
  form().List1.setItemIndex(0);
  form().List1DblClick();
  EXPECT_EQ(os.shell.calls.size(), 1u);
}

struct BrowseTest : AddEditTest {
  TOpenFileDir& b = app.OpenFileDir;
  BrowseTest() {
    fs().put("C:\\Apps\\tool.exe", "");
    fs().put("C:\\Apps\\readme.txt", "");
    fs().put("C:\\Apps\\go.LNK", "");
    fs().mkdirs("C:\\Apps\\Sub");
    fs().mkdirs("D:\\");
    os.shellLinks.targets["C:\\Apps\\go.LNK"] = "C:\\real.exe";
  }
  // Opens the browser with the button and chooses the file that the filter shows.
  void browse(void (TAddEdit::*button)(), int filter, const std::string& file) {
    (d.*button)();
    b.FilterComboBox1.setItemIndex(filter);
    b.FilterComboBox1Change();
    const auto& files = b.FileList.items();
    b.FileList.setItemIndex(
        static_cast<int>(std::find(files.begin(), files.end(), file) - files.begin()));
    b.selectClick();
  }
};

// The path field, the member list and the run styles are three views of one group: whatever the
// user does to it (browsing and copies to the label and the list included), they stay in step with
// the entry it would store, each member picked shows its style and puts the cursor at its
// separator, and the stored entry keeps every member's style.
TEST_F(BrowseTest, GroupEditsKeepPathMembersAndRunStylesInStep) {
  vars().ldirect = vars().dropext = true;
  fs().put("C:\\s.lnk", "");
  os.shellLinks.targets["C:\\s.lnk"] = "C:\\s";
  os.shellLinks.targets["C:\\x.lnk"] = "C:\\x";
  const std::string a = "C:\\a", ag = "C:\\a+lrma|C:\\gone.lnk|";
  const std::string n = "C:\\" + std::string(300, 'n'), xn = "C:\\x|" + n + "|";
  const std::string ags = ag + "C:\\s.lnk|";
  const Lines dropped = {"C:\\x.lnk", n};
  const char* only = "add only the selected item";
  const std::string tool = "C:\\Apps\\tool.exe|", real = "C:\\real.exe|";
  const std::string file = "C:\\Apps\\Tool.exe>:-x";  // a single path, for its labels
  std::string many;  // a long group, and then with its last member maximized
  for (int i = 0; i < 14; ++i) many += "m" + std::to_string(i) + "|";
  const std::string manyMax = many.substr(0, many.size() - 1) + "+lrma|";
  const struct {
    std::function<void()> act;
    std::string entry;  // a single link while it has no separator
    int picked = -1;
    const char* box = nullptr;
    Answer answer = Answer::Ok;
    const char* label = nullptr;  // copied to the label, from every member or the picked one
  } steps[] = {
      {[&] { type(file); }, file},
      {[&] { d.cppClick(); }, file, -1, nullptr, Answer::Ok, "Tool.exe"},
      {[&] { d.cppeClick(); }, file, -1, nullptr, Answer::Ok, "Tool"},
      {[&] { d.cpClick(); }, file, -1, nullptr, Answer::Ok, file.c_str()},
      {[&] { type("C:\\Games\\"); }, "C:\\Games\\"},
      {[&] { d.cppClick(); }, "C:\\Games\\", -1, nullptr, Answer::Ok, "C:\\Games"},
      {[&] { type("C:\\gone.lnk"); }, "C:\\gone.lnk"},
      {[&] { d.deClick(); }, "C:\\gone.lnk", -1, "Selected .lnk file does not"},
      {[&] { type(a); }, a},
      {[&] { d.runmaxClick(); }, a},
      {[&] { d.ctlClick(); }, a},           // copied to the list with its style
      {[&] { tick(true); }, a + "+lrma|"},  // the path goes in with its style
      {[&] { type("C:\\a|C:\\gone.lnk|C:\\s.lnk|"); }, ags},
      {[&] { d.deClick(); }, ags},  // no member picked
      {[&] { d.cppeClick(); }, ags, -1, only, Answer::No, "a, gone, s"},
      {[&] { pick(1); }, ags, 1},
      {[&] { d.cppClick(); }, ags, 1, only, Answer::Yes, "gone.lnk"},
      {[&] { d.deClick(); }, ags, 1, "Selected .lnk file does not"},
      {[&] { pick(2); }, ags, 2},
      {[&] { d.runminClick(); }, ag + "C:\\s.lnk+lrmi|", 2},
      {[&] { d.ctlClick(); }, ag + "C:\\s.lnk+lrmi|", 2},  // the picked member alone
      {[&] { d.deClick(); }, ag + "C:\\s+lrmi|", 2},
      {[&] { d.mrlDragDrop(0); }, "C:\\s+lrmi|" + ag, 0},
      {[&] { d.mrlDropFiles(dropped, 3); }, "C:\\s+lrmi|" + ag + xn, 0},
      {[&] { d.rfClick(); }, ag + xn},
      {[&] { d.ctlClick(); }, ag + xn, -1, "copy the entire multirun item", Answer::Yes},
      {[&] { d.lcaseClick(); }, lower(ag + xn)},
      {[&] { tick(false); }, lower(a), -1, "switching to manual", Answer::No},
      {[&] { type("a|b|"); }, "a+lrma|b|"},
      {[&] { d.clClick(); }, "", -1, "clear the whole multiple run list", Answer::Yes},
      {[&] { browse(&TAddEdit::afbClick, 0, "tool.exe"); }, tool},
      {[&] { browse(&TAddEdit::afbClick, 1, "go.LNK"); }, tool + real},
      {[&] { pick(0); }, tool + real, 0},
      {[&] { browse(&TAddEdit::afbClick, 0, "tool.exe"); }, tool + real + tool, 0},
      {[&] { browse(&TAddEdit::efClick, 2, "readme.txt"); }, "C:\\Apps\\readme.txt|" + real + tool,
       0},
      {[&] { type(many); }, many},
      {[&] { pick(13); }, many, 13},
      {[&] { d.runmaxClick(); }, manyMax, 13},
  };
  b.showDialog("C:\\Apps\\");  // where the browser was last left
  b.cancelClick();
  openAdd();
  d.lfc.setChecked(false);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.entry);
    if (step.box) boxes().expect(step.answer, step.box);
    step.act();
    EXPECT_TRUE(boxes().allAnswered() && d.isOpen());
    if (step.label) {
      EXPECT_EQ(d.itemLabel.text(), step.label);
    }
    const bool group = step.entry.empty() || endsWith(step.entry, "|");
    EXPECT_TRUE(d.mr.checked() == group && d.mrl.visible() == group);
    if (!group) {
      EXPECT_EQ(d.path.text(), step.entry);
      continue;
    }
    ASSERT_EQ(d.mrl.count(), std::count(step.entry.begin(), step.entry.end(), '|'));
    ASSERT_EQ(d.MemberRunStyles.size(), static_cast<size_t>(d.mrl.count()));
    for (int k = 0; k < d.mrl.count(); ++k) EXPECT_EQ(d.mrl.selected(k), k == step.picked);
    std::string path;
    for (size_t k = 0, begin = 0; k < d.MemberRunStyles.size(); ++k) {
      const std::string token = step.entry.substr(begin, step.entry.find('|', begin) - begin);
      begin += token.size() + 1;
      const size_t plus = std::min(token.find('+'), token.size());
      path += token.substr(0, plus) + "|";
      EXPECT_EQ(d.mrl.item(static_cast<int>(k)), token.substr(0, plus));
      EXPECT_EQ(d.MemberRunStyles[k], token.substr(plus));
      pick(static_cast<int>(k));
      EXPECT_EQ(d.runmax.checked(), token.substr(plus) == "+lrma");
      EXPECT_EQ(d.runmin.checked(), token.substr(plus) == "+lrmi");
      EXPECT_EQ(d.runnormal.checked(), token.substr(plus).empty());
      EXPECT_EQ(view.cursor, static_cast<int>(path.size()) - 1);
    }
    EXPECT_EQ(d.path.text(), path);
    for (int k = 0; k < d.mrl.count(); ++k) d.mrl.setSelected(k, k == step.picked);
    d.mrl.setItemIndex(step.picked);
  }
  d.foc.setChecked(true);
  d.addlinkClick();
  EXPECT_EQ(links(), (Lines{a + "+lrma", "C:\\s.lnk+lrmi", ag + xn, "+f" + manyMax}));
  EXPECT_EQ(names(), (Lines{"C:\\Games", "s", "gone.lnk", "gone.lnk"}));
  EXPECT_EQ(fs().get(at("link.qdx")), joinLines(links()));
  EXPECT_FALSE(vars().editing);
}

TEST_F(AddEditTest, CompletionOffersTheTypedDirectorysEntries) {
  vars().autoclevel = 1;
  fs().put("C:\\Tools\\Alpha.exe", "");
  fs().put("C:\\Tools\\alps.txt", "");
  fs().put("C:\\Tools\\beta.exe", "");
  fs().mkdirs("C:\\Tools\\ALbum");
  openAdd();
  type("c:\\tools\\al");
  EXPECT_EQ(d.autoclist.items(),
            (Lines{"c:\\tools\\ALbum\\", "c:\\tools\\Alpha.exe", "c:\\tools\\alps.txt"}));
  EXPECT_TRUE(view.dropped);
  type("c:\\tools\\alps.txt");  // the whole name is no completion
  EXPECT_TRUE(d.autoclist.items().empty());
  EXPECT_FALSE(view.dropped);

  // Escape closes the list until it is opened by hand.
  type("c:\\tools\\al");
  EXPECT_TRUE(d.pathEscape());
  type("c:\\tools\\alp");
  EXPECT_FALSE(view.dropped);
  d.autoclistDropDown();
  EXPECT_FALSE(vars().nolist);

  // A group completes its last member; a choice replaces the member at the cursor.
  type("c:\\tools\\beta.exe|c:\\tools\\al");
  EXPECT_EQ(d.autoclist.count(), 3);
  d.path.setText("c:\\tools\\al|x|");
  view.cursor = 3;
  d.autoclist.setItemIndex(1);
  d.autoclistClick();
  EXPECT_EQ(d.path.text(), "c:\\tools\\Alpha.exe|x|");
  EXPECT_EQ(view.cursor, 18);

  // A keystroke served during a completion leaves the list to the newer one.
  for (int i = 0; i < 600; ++i) fs().put("C:\\Big\\f" + std::to_string(1000 + i), "");
  bool nested = false;
  os.pump.onProcess = [&] {
    if (nested) return;
    nested = true;
    d.autocomplete("C:\\Big\\f15");
  };
  d.autocomplete("C:\\Big\\f");
  EXPECT_EQ(d.autoclist.count(), 100);  // f1500 to f1599, not the 600 of the outer run
}

// A beginner's new label that clashes gets a free access character in front; a list past 50
// links is offered a new fileset.
TEST_F(AddEditTest, BeginnersAreOfferedAFreeAccessCharacterAndANewFileset) {
  vars().userlevel = 0;
  list({"Alpha", "!bang", "beta"}, {"a", "b", "c"});
  openAdd();
  d.lfc.setChecked(false);
  d.itemLabel.setText("Apple");
  type("x");
  // "A" clashes; "A", "a", "!", "b" and "B" are taken, so the quote is free.
  boxes().expect(Answer::Yes, "pressing the \" key. Would you like");
  d.addlinkClick();
  EXPECT_EQ(names().back(), "\" Apple");
  list(Lines(51, "x"), Lines(51, "x"));
  openAdd();
  d.itemLabel.setText("z");
  type("z");
  boxes().expect(Answer::Ok, "pressing the z key");
  boxes().expect(Answer::Yes, "over 50 links");
  d.addlinkClick();
  EXPECT_TRUE(fs().directoryExists(at("NewFileSet1")));
}

TEST_F(AddEditTest, AddRewritesTheCommandOfTheTargetOrOfTheMemberAtTheCursor) {
  Tacf& a = app.acf;
  openAdd();
  d.path.setText("C:\\x.exe");
  d.acClick();
  EXPECT_TRUE(a.isOpen() && !d.AddEdit.enabled());
  a.commandtext.setText("-a -b");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\x.exe>:-a -b");
  EXPECT_TRUE(!a.isOpen() && d.AddEdit.enabled());
  d.acClick();  // shown again with the command, and cleared with it
  EXPECT_EQ(a.commandtext.text(), "-a -b");
  a.commandtext.setText("");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\x.exe");

  // Only the member at the cursor changes; its neighbours keep their text.
  d.path.setText("C:\\a.exe>:-1|C:\\b.exe|C:\\c.exe>:-3|");
  view.cursor = 15;
  d.acClick();
  EXPECT_EQ(a.commandtext.text(), "");
  a.commandtext.setText("-2");
  a.acaClick();
  EXPECT_EQ(d.path.text(), "C:\\a.exe>:-1|C:\\b.exe>:-2|C:\\c.exe>:-3|");
  EXPECT_EQ(d.mrl.item(1), "C:\\b.exe>:-2");

  // However it closes, the Add/Edit dialog is usable again, with typing in the path.
  d.acClick();
  view.focused = nullptr;
  a.tcloseClick();
  EXPECT_TRUE(d.AddEdit.enabled());
  EXPECT_EQ(view.focused, &d.path);
  d.acClick();
  d.cancelClick();
  EXPECT_TRUE(!a.isOpen() && d.AddEdit.enabled());
}

TEST_F(BrowseTest, ShowsTheTargetsDirectoryAndChoosesAFileOrTheDirectory) {
  vars().ldirect = true;
  openAdd();
  d.path.setText("C:\\Apps\\tool.exe>:-x");
  d.browseClick();
  EXPECT_TRUE(b.isOpen() && !d.AddEdit.enabled());
  EXPECT_EQ(b.Drive.items(), (Lines{"c:", "d:"}));
  EXPECT_EQ(b.Drive.itemIndex(), 0);
  EXPECT_EQ(b.DirectoryList.items(), (Lines{"c:\\", "  Apps", "    Sub"}));
  EXPECT_EQ(b.DirectoryList.itemIndex(), 1);
  EXPECT_EQ(b.FileList.items(), (Lines{"tool.exe"}));
  b.FilterComboBox1.setItemIndex(2);
  b.FilterComboBox1Change();
  EXPECT_EQ(b.FileList.items(), (Lines{"go.LNK", "readme.txt", "tool.exe"}));
  b.selectClick();  // no file selected: the directory itself
  EXPECT_EQ(d.path.text(), "C:\\Apps\\");
  EXPECT_TRUE(!b.isOpen() && d.AddEdit.enabled());

  d.browseClick();
  b.DirectoryList.setItemIndex(2);
  b.DirectoryListDblClick();
  EXPECT_EQ(b.directory(), "C:\\Apps\\Sub\\");
  b.DirectoryList.setItemIndex(0);
  b.DirectoryListDblClick();
  EXPECT_EQ(b.directory(), "C:\\");
  b.Drive.setItemIndex(1);
  b.DriveChange();
  EXPECT_EQ(b.directory(), "D:\\");
  b.DirectoryList.setItemIndex(0);  // the rows of the drive left behind are gone
  b.DirectoryListDblClick();
  EXPECT_EQ(b.directory(), "D:\\");
  b.cancelClick();
  EXPECT_EQ(d.path.text(), "C:\\Apps\\");
  EXPECT_EQ(view.focused, &d.path);
  browse(&TAddEdit::browseClick, 1, "go.LNK");  // a shortcut chosen stands for its target
  EXPECT_EQ(d.path.text(), "C:\\real.exe");
}

// A box belongs to the window whose input asked for it (the Add/Edit dialog's own questions to
// it, whoever set it to work), a failure to the window it stopped, anything else to the main
// window.
TEST_F(AddEditTest, TheWindowThatAsksOwnsTheBox) {
  enum : WindowHandle { kMain = 1, kAddEdit, kAcf, kBrowse };
  Context& ctx = app.ctx;
  ctx.mainWindow = kMain;
  d.handle = kAddEdit;
  for (const char* text : {"Help files not found.", "Error: Local file not found",
                           "cannot be written", "Help files not found."})
    boxes().expect(Answer::Ok, text);
  barrier(ctx, kBrowse, [&] {
    barrier(ctx, kAcf, [&] { app.acf.helpClicked(); });
    openAdd();
    type("C:\\gone.exe");
    barrier(ctx, kMain, [&] { d.addlinkClick(); });
    throw IoError(IoError::Op::Write, "C:\\x", "cannot be written");
  });
  app.acf.helpClicked();
  std::vector<WindowHandle> owners;
  for (const auto& box : boxes().shown()) owners.push_back(box.owner);
  EXPECT_EQ(owners, (std::vector<WindowHandle>{kAcf, kAddEdit, kBrowse, kMain}));
}

}  // namespace
}  // namespace trovik::test
