// The catalogue of events: every event the host raises and how to raise it
// through the presenters. The guide's event table, the extension writers'
// contract, says which events there are, in what order, and the slots each
// fills; it is read here and nowhere copied. Each event is raised with three
// extensions registered on every event, one "before", one "override", one
// "after"; each must be heard in that order with the guide's slots filled and
// no others.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

// What the rows hand the handlers, and so what the slots must hold.
constexpr std::int32_t kX = 11, kY = 22, kZ = 33;
constexpr std::uint16_t kKey = 65;
constexpr std::uintptr_t kHandle = 44;
constexpr ShiftState kShift = ssShift | ssCtrl;
constexpr MouseButton kButton = MouseButton::Middle;
const char* const kText = "C:\\Canon\\app.exe";
const char* const kText2 = "second";
const MessageRecord kDrop{0x233, 55, 0, 0};

struct Heard {
  char dll;
  size_t row;
  EventSlots slots;
};
std::vector<Heard>* heard = nullptr;
const EventSlots* liveSlots = nullptr;

struct EventCatalogueTest;

struct Row {
  const char* event;  // as the host raises it
  void (*raise)(EventCatalogueTest&);
  const char* afterName = nullptr;  // the closing call's spelling, when it differs
};

struct EventCatalogueTest : ::testing::Test, ExtensionHarness {
  std::vector<Heard> log;
  EventCatalogueTest() {
    heard = &log;
    liveSlots = &app.events.slots;
  }
  ~EventCatalogueTest() override { heard = nullptr; }
  TForm1& f = app.form1;
  TAddEdit& addEdit = app.AddEdit;
  TOptionsForm& options = app.OptionsForm;
  void mouse(void (TForm1::*handler)(MouseButton, ShiftState, int, int)) {
    (f.*handler)(kButton, kShift, kX, kY);
  }
  void key(void (TForm1::*handler)(std::uint16_t&, ShiftState)) {
    std::uint16_t k = kKey;
    (f.*handler)(k, kShift);
  }
};

using C = EventCatalogueTest;

// clang-format off
const Row kRows[] = {
  // The main window.
  {"form1create", [](C& c) { c.app.FormCreate(); }},
  {"form1activate", [](C& c) { c.f.FormActivate(); }},
  {"form1deactivate", [](C& c) { c.f.FormDeactivate(); }},
  {"form1resize", [](C& c) { c.f.FormResize(); }},
  {"form1paint", [](C& c) { c.f.FormPaint(); }},
  {"form1close", [](C& c) { CloseAction a = CloseAction::Free; c.f.FormClose(a); }},
  {"form1mousedown", [](C& c) { c.mouse(&TForm1::FormMouseDown); }},
  {"form1list1click", [](C& c) { c.f.List1Click(); }},
  {"form1list1doubleclick", [](C& c) { c.f.List1DblClick(); }},
  {"form1list1mousedown", [](C& c) { c.mouse(&TForm1::List1MouseDown); }},
  {"form1list1keydown", [](C& c) { c.key(&TForm1::List1KeyDown); }},
  {"form1list1keyup", [](C& c) { c.key(&TForm1::List1KeyUp); }},
  {"form1list1dragdrop", [](C& c) { c.f.List1DragDrop(&c.f.List1, kX, kY); }},
  {"form1mmlistclick", [](C& c) { c.f.mmlistClick(); }},
  {"form1mmlistkeydown", [](C& c) { c.key(&TForm1::mmlistKeyDown); }},
  {"form1mmlistkeyup", [](C& c) { c.key(&TForm1::mmlistKeyUp); }},
  {"form1qswitchchange", [](C& c) { c.f.qswitchChange(); }},
  {"form1qswitchchanging", [](C& c) { c.f.qswitchChanging(); }},
  {"form1qswitchmousedown", [](C& c) { c.mouse(&TForm1::qswitchMouseDown); }},
  {"form1qmclick", [](C& c) { c.f.qmClick(&c.f.tmlm); }},
  {"form1upclick", [](C& c) { c.f.upClick(); }},
  {"form1downclick", [](C& c) { c.f.downClick(); }},
  {"form1moveitemsclick", [](C& c) { c.f.Moveitems1Click(&c.f.moveitems); }},
  {"form1deleteitemclick", [](C& c) { c.f.Deleteitem1Click(); }},
  {"form1edititemclick", [](C& c) { c.f.Edititem1Click(); }},
  {"form1additemclick", [](C& c) { c.f.Additem1Click(); }},
  {"form1copyitemclick", [](C& c) { c.f.Copy1Click(); }},
  {"form1cutitemsclick", [](C& c) { c.f.CutitemsClick(); }},
  {"form1pasteitemsclick", [](C& c) { c.f.PasteItemsClick(); }},
  {"form1selectallclick", [](C& c) { c.f.SelectallClick(); }},
  {"form1selectnoneclick", [](C& c) { c.f.SelectnoneClick(); }},
  {"form1invertselectionclick", [](C& c) { c.f.InvertselectionClick(); }},
  {"form1clearlistclick", [](C& c) { c.f.Clearlist1Click(); }},
  {"form1refreshlistclick", [](C& c) { c.f.Refreshlist1Click(); }},
  {"form1savelistclick", [](C& c) { c.f.Savelist1Click(); }},
  {"form1createmultirunclick", [](C& c) { c.f.CreatemultirunClick(); }},
  {"form1cmrbclick", [](C& c) { c.f.cmrbClick(); }},
  {"form1optionsclick", [](C& c) { c.f.Options1Click(); }},
  {"form1importclick", [](C& c) { c.f.Import1Click(); }},
  {"form1exportclick", [](C& c) { c.f.Export1Click(); }},
  {"form1newfilesetclick", [](C& c) { c.f.NewfilesetClick(); }},
  {"form1deletefilesetclick", [](C& c) { c.f.DeletefilesetClick(); }},
  {"form1runexitclick", [](C& c) { c.f.RunExit1Click(); }},
  {"form1droplaunchclick", [](C& c) { c.f.DropLaunchClick(); }},
  {"form1droplaunchexitclick", [](C& c) { c.f.DropLaunchExitClick(); }},
  {"form1runminimizeclick", [](C& c) { c.f.RunMinimizeClick(); }},
  {"form1droplaunchminimizeclick", [](C& c) { c.f.DropLaunchMinimize1Click(); }},
  {"form1opendirectoryclick", [](C& c) { c.f.Opendirectory1Click(); }},
  {"form1linknameclick", [](C& c) { c.f.Linkname1Click(&c.f.Linkname); }},
  {"form1filenameclick", [](C& c) { c.f.Filename1Click(&c.f.Filename); }},
  {"form1filepathclick", [](C& c) { c.f.filepath1Click(&c.f.Filepath); }},
  {"form1filetypeclick", [](C& c) { c.f.Filetype1Click(&c.f.Filetype); }},
  {"form1reverseclick", [](C& c) { c.f.Reverse1Click(); }},
  {"form1shutdownwindowsclick", [](C& c) { c.f.SWindows1Click(); }},
  {"form1restartwindowsclick", [](C& c) { c.f.RWindows1Click(); }},
  {"form1centremainclick", [](C& c) { c.f.Centremain2Click(); }},
  {"form1helpclick", [](C& c) { c.f.HelpClick(); }},
  {"form1sizeclick", [](C& c) { c.f.Size1Click(); }},
  {"form1moveclick", [](C& c) { c.f.Move1Click(); }},
  {"form1minimize3click", [](C& c) { c.f.Minimize3Click(); }},
  {"form1maximize3click", [](C& c) { c.f.Maximize3Click(); }},
  {"form1closeclick", [](C& c) { c.f.Close1Click(); }},
  {"form1tosnapbarclick", [](C& c) { c.f.tosnapbarClick(); }},
  {"form1systrayclick", [](C& c) { c.f.SysTrayClick(); }},
  {"form1systraydoubleclick", [](C& c) { c.f.SysTrayDblClick(); }},
  {"form1systrayrightclick", [](C& c) { c.mouse(&TForm1::SysTrayRightClick); }},
  {"form1tbarmousedown", [](C& c) { c.mouse(&TForm1::tbarMouseDown); }},
  {"form1tbardoubleclick", [](C& c) { c.f.tbarDblClick(); }},
  {"form1ttitlemousedown", [](C& c) { c.mouse(&TForm1::ttitleMouseDown); }},
  {"form1ttitledoubleclick", [](C& c) { c.f.ttitleDblClick(); }},
  {"form1ticonclick", [](C& c) { c.f.ticonClick(); }},
  {"form1ticondoubleclick", [](C& c) { c.f.ticonDblClick(); }},
  {"form1tcloseclick", [](C& c) { c.f.tcloseClick(); }},
  {"form1tclosemousedown", [](C& c) { c.f.titleButtonMouse(c.f.tclose, true, kButton, kShift, kX, kY); }},
  {"form1tclosemouseup", [](C& c) { c.f.titleButtonMouse(c.f.tclose, false, kButton, kShift, kX, kY); }},
  {"form1tminimizeclick", [](C& c) { c.f.tminimizeClick(&c.f.tminimize); }},
  {"form1tminimizemousedown", [](C& c) { c.f.titleButtonMouse(c.f.tminimize, true, kButton, kShift, kX, kY); }},
  {"form1tminimizemouseup", [](C& c) { c.f.titleButtonMouse(c.f.tminimize, false, kButton, kShift, kX, kY); }},
  {"form1tmaximizeclick", [](C& c) { c.f.tmaximizeClick(); }},
  {"form1tmaximizemousedown", [](C& c) { c.f.titleButtonMouse(c.f.tmaximize, true, kButton, kShift, kX, kY); }},
  {"form1tmaximizemouseup", [](C& c) { c.f.titleButtonMouse(c.f.tmaximize, false, kButton, kShift, kX, kY); }},
  {"form1thelpclick", [](C& c) { c.f.thelpClick(); }},
  {"form1thelpmousedown", [](C& c) { c.f.titleButtonMouse(c.f.thelp, true, kButton, kShift, kX, kY); }},
  {"form1thelpmouseup", [](C& c) { c.f.titleButtonMouse(c.f.thelp, false, kButton, kShift, kX, kY); }},
  {"form1.histhandler", [](C& c) { c.f.HistHandler(c.f.Switch); }},
  {"form1rlhandler", [](C& c) { c.f.RLHandler(c.f.fscmenu); }},
  {"form1wmdropfiles", [](C& c) { c.f.form1wmdropfiles(kDrop, {kText}, kX, kY); }},
  // Routines of the main window and the core.
  {"loadoptions", [](C& c) { c.f.loadoptions(); }},
  {"saveformstate", [](C& c) { c.f.saveformstate(); }},
  {"blankset", [](C& c) { blankset(c.app.ctx, kText); }},
  {"loadlist", [](C& c) { c.f.loadlist(); }},
  {"savelist", [](C& c) { c.f.savelist(); }},
  {"autobuild", [](C& c) { c.f.autobuild(kText, kX); }},
  {"madd", [](C& c) { c.addEdit.madd(kX); }},
  {"clcommmrl", [](C& c) { c.addEdit.clcommmrl(kX); }},
  {"clcommedit2", [](C& c) { c.addEdit.clcommedit2(); }},
  {"runlink", [](C& c) { c.f.launcher.runlink(kText); }},
  {"forcehold", [](C& c) { c.f.launcher.forcehold(kX, kY, kZ, kText, true); }},
  {"ismr", [](C& c) { c.app.syntax.ismr(kText); }},
  {"islocalfile", [](C& c) { c.app.syntax.islocalfile(kText); }},
  {"findcommand", [](C& c) { c.app.syntax.findcommand(kText); }},
  {"extractcommand", [](C& c) { c.app.syntax.extractcommand(kText); }},
  {"removecommands", [](C& c) { c.app.syntax.removecommands(kText); }},
  {"extractleafdir", [](C& c) { c.app.syntax.extractleafdir(kText); }},
  {"refreshmrl", [](C& c) { c.addEdit.refreshmrl(); }},
  {"resort", [](C& c) { c.f.resort(); }},
  {"sortoff", [](C& c) { c.f.sortoff(); }},
  {"modesoff", [](C& c) { c.f.modesoff(); }},
  {"showhints", [](C& c) { c.f.showhints(); }},
  {"switch", [](C& c) { c.f.switchfileset(); }},
  {"nextfileset", [](C& c) { c.f.nextfileset(); }},
  {"previousfileset", [](C& c) { c.f.previousfileset(); }},
  {"createnewfileset", [](C& c) { c.f.createnewfileset(); }},
  {"clearhistory", [](C& c) { c.f.clearhistory(); }},
  {"centremain", [](C& c) { c.f.centremain(); }},
  {"sethotkey", [](C& c) { c.f.sethotkey(); }},
  {"forceforegroundwindow", [](C& c) { c.f.forceforegroundwindow(kHandle); }},
  {"shutdownwindows", [](C& c) { c.f.launcher.shutdownwindows(kKey); }},
  {"wmendsession", [](C& c) { c.f.wmendsession(true); }},
  {"loadformtext", [](C& c) { c.f.loadformtext(); }},
  {"loadhelptext", [](C& c) { c.f.loadhelptext(); }},
  // The dialogs.
  {"OptionsFormcreate", [](C& c) { c.options.FormCreate(96); }},
  {"OptionsFormshow", [](C& c) { c.options.FormShow(); }},
  {"OptionsFormactivate", [](C& c) { c.options.FormActivate(); }},
  {"OptionsFormapplyclick", [](C& c) { c.options.applyClick(); }},
  {"OptionsFormcancelclick", [](C& c) { c.options.cancelClick(); }},
  {"optionsformthelpclick", [](C& c) { c.options.thelpClick(); }, "OptionsFormthelpclick"},
  {"loadvplist", [](C& c) { c.options.loadvplist(); }},
  {"AddEditshow", [](C& c) { c.addEdit.FormShow(); }},
  {"dmrun", [](C& c) { c.addEdit.dmrun(); }},
  {"autocomplete", [](C& c) { c.addEdit.autocomplete(kText); }},
  {"autosize", [](C& c) { c.addEdit.autosize(); }},
  {"formacactivate", [](C& c) { c.app.acf.FormActivate(); }},
  // The extension interface itself.
  {"getfunction", [](C& c) { c.app.hostapi.getfunction(kText); }},
  {"getvar", [](C& c) { c.app.hostapi.getvar(kText); }},
  {"setvar", [](C& c) { c.app.hostapi.setvar(kText, kText2); }},
  {"strtobool", [](C& c) { c.app.hostapi.strtobool(kText); }},
  {"booltostr", [](C& c) { c.app.hostapi.booltostr(true); }},
  {"updateform1", [](C& c) { c.app.hostapi.updateform1(); }},
  {"updateaddedit", [](C& c) { c.app.hostapi.updateaddedit(); }},
  {"updateOptionsForm", [](C& c) { c.app.hostapi.updateoptions(); }},
  {"updateacf", [](C& c) { c.app.hostapi.updateacf(); }},
  {"updateopenfiledir", [](C& c) { c.app.hostapi.updateopenfiledir(); }},
  {"stopvp", [](C& c) { c.host().stopvp(kX); }},
};
// clang-format on

constexpr size_t kEvents = std::size(kRows);

// The slots as the rows fill them; an object slot counts as filled when it
// holds any object.
EventSlots filledSlots() {
  static int anObject;
  EventSlots s;
  s.cobject = s.cobject2 = &anObject;
  s.cint = kX, s.cint2 = kY, s.cint3 = kZ, s.cword = kKey, s.chandle = kHandle;
  s.cstring = kText, s.cstring2 = kText2, s.cboolean = true;
  s.mousebutton = kButton, s.shiftstate = kShift, s.closeaction = CloseAction::Free;
  s.wmdropfiles = kDrop;
  return s;
}
template <auto Member>
bool same(const EventSlots& a, const EventSlots& b) {
  if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(a.*Member)>>)
    return (a.*Member == nullptr) == (b.*Member == nullptr);
  else
    return a.*Member == b.*Member;
}
using S = EventSlots;
// Each slot by name, with how to compare it.
#define SLOT(name) std::pair(#name, &same<&S::name>)
const std::pair<const char*, bool (*)(const S&, const S&)> kSlots[] = {
    SLOT(cobject),  SLOT(cobject2),    SLOT(cint),       SLOT(cint2),       SLOT(cint3),
    SLOT(cword),    SLOT(cstring),     SLOT(cstring2),   SLOT(cboolean),    SLOT(chandle),
    SLOT(cfarproc), SLOT(mousebutton), SLOT(shiftstate), SLOT(closeaction), SLOT(wmdropfiles)};
#undef SLOT

// The extensions: DLL 'B' registers every event "before", 'O' "override",
// 'A' "after"; each export records which DLL heard which row, and the slots.

template <char Dll, size_t Row>
void TROVIK_CALL hear() {
  heard->push_back({Dll, Row, *liveSlots});
}

template <char Dll, size_t... I>
FakeLibraries::Exports everyEvent(std::index_sequence<I...>) {
  FakeLibraries::Exports e{{"dllinfo2", exportOf(&dllinfo2<Dll>)}};
  auto name = [](size_t i) {
    return Dll == 'A' && kRows[i].afterName ? kRows[i].afterName : kRows[i].event;
  };
  (e.emplace(name(I), exportOf(&hear<Dll, I>)), ...);
  return e;
}

// A row of the guide's event table: the event and its slots, the arguments
// before the ";" and the results after it.
struct Listed {
  std::string event;
  std::vector<std::string> args, results;
};
std::vector<std::string> words(std::string text) {
  for (char& c : text)
    if (c == '`' || c == ',' || c == ';') c = ' ';
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}
std::vector<Listed> guideTable() {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../../sdk/GUIDE.md");
  std::vector<Listed> listed;
  bool inEvents = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("## ", 0) == 0) inEvents = line.find("The events") != std::string::npos;
    if (!inEvents || line.rfind("| `", 0) != 0) continue;
    // "| `event` | what raises it | `args`; `results` |"
    const size_t end = line.rfind('|'), start = line.rfind('|', end - 1) + 1;
    const std::string slots = line.substr(start, end - start);
    const size_t semicolon = std::min(slots.find(';'), slots.size());
    listed.push_back({line.substr(3, line.find('`', 3) - 3), words(slots.substr(0, semicolon)),
                      words(slots.substr(semicolon))});
  }
  return listed;
}

TEST_F(EventCatalogueTest, EveryEventIsHeardBeforeOverriddenAndAfterWithItsSlots) {
  const std::vector<Listed> guide = guideTable();
  std::vector<std::string> listed, raised;
  for (const Listed& l : guide) listed.push_back(l.event);
  for (const Row& r : kRows) raised.push_back(r.event);
  ASSERT_EQ(listed, raised) << "the guide lists the events this table raises, in its order";
  addDll('B', everyEvent<'B'>(std::make_index_sequence<kEvents>()));
  addDll('O', everyEvent<'O'>(std::make_index_sequence<kEvents>()));
  addDll('A', everyEvent<'A'>(std::make_index_sequence<kEvents>()));
  std::string before, override, after;
  for (const Row& r : kRows) {
    before += std::string(r.event) + "|before|";
    override += std::string(r.event) + "|override|";
    after += std::string(r.event) + "|after|";
  }
  installed({record('B', before), record('O', override), record('A', after)});

  for (size_t i = 0; i < kEvents; ++i) {
    const Row& row = kRows[i];
    SCOPED_TRACE(row.event);
    app.events.slots = EventSlots{};
    log.clear();
    row.raise(*this);
    std::string order;
    const EventSlots* opening = nullptr;
    for (const Heard& h : log)
      if (h.row == i) {
        order += h.dll;
        if (h.dll == 'B') opening = &h.slots;
      }
    EXPECT_EQ(order, "BOA");
    if (!opening) continue;
    const auto& [event, args, results] = guide[i];
    auto has = [](const std::vector<std::string>& list, const char* name) {
      return std::find(list.begin(), list.end(), name) != list.end();
    };
    // A sender is one of the five windows or a control of it.
    if (has(args, "cobject")) {
      const auto sender = reinterpret_cast<std::uintptr_t>(opening->cobject);
      bool inWindow = false;
      auto within = [&](const auto& window) {
        const auto start = reinterpret_cast<std::uintptr_t>(&window);
        inWindow = inWindow || (sender >= start && sender < start + sizeof window);
      };
      within(app.form1), within(app.AddEdit), within(app.OptionsForm), within(app.acf);
      within(app.OpenFileDir);
      EXPECT_TRUE(inWindow) << "the sender is no window nor a control of one";
    }
    const EventSlots filled = filledSlots(), untouched;
    size_t named = 0;
    for (const auto& [name, same] : kSlots) {
      named += has(args, name);
      if (has(args, name)) {
        EXPECT_TRUE(same(*opening, filled)) << name << " is not what the handler was given";
      } else if (!has(results, name)) {
        EXPECT_TRUE(same(*opening, untouched)) << name << " is filled but not in the guide";
      }
    }
    EXPECT_EQ(named, args.size()) << "the guide names a slot that is not there";
  }
}

}  // namespace
}  // namespace trovik::test
