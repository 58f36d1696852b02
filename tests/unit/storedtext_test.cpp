// Names in any script: the stored files keep the form they have (the ANSI
// code page) while their text fits it and turn UTF-8 only for a character it
// lacks; extensions get the ANSI code page unless they ask for UTF-8.
#include "platform/storedtext.h"

#include <random>

#include "extensions_dll.h"

namespace trovik::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kMark = "\xEF\xBB\xBF";
// The fake code page is Latin-1: "é" is in it, Greek, CJK and emoji are not.
const std::string kCafe = "Caf\xC3\xA9", kCafeAnsi = "Caf\xE9";
const std::string kOmega = "\xCE\xA9mega", kCjk = "\xE6\x96\x87\xE6\xA1\xA3",
                  kEmoji = "\xF0\x9F\x98\x80";

// Random text from characters of every width, at and around the code page's edge: what is
// written reads back whole, and goes into the code page exactly when every character fits it.
// Behind the mark only well-formed UTF-8 is taken: a false mark is an error naming the file (a
// fileset that cannot be read is then not saved over: the save safety test's).
TEST(StoredText, TextRoundTripsThroughItsFileAndOnlyWellFormedUtf8IsTakenBehindTheMark) {
  FakeFileSystem fs;
  std::mt19937 random(26);
  const std::string pool[] = {
      "a",        "~",        "\xC2\xA0",     "\xC3\xBF" /* U+00FF, the last that fits */,
      "\xC4\x80", "\xCE\xA9", "\xE6\x96\x87", "\xEF\xBF\xBF" /* U+FFFF, the last of three bytes */,
      kEmoji};
  for (int round = 0; round < 500; ++round) {
    std::string text;
    bool fits = true;
    const size_t widest = 4 + random() % 6;
    for (int n = static_cast<int>(random() % 40); n > 0; --n) {
      const size_t c = random() % widest;
      fits = fits && c < 4;
      text += pool[c];
    }
    const std::string bytes = storedBytes(fs, text);
    ASSERT_EQ(bytes.rfind(kMark, 0) != 0, fits) << testing::PrintToString(text);
    ASSERT_EQ(storedText(fs, bytes, "f"), text);
  }
  // A marked file is UTF-8 even where its text would fit the code page.
  EXPECT_EQ(storedText(fs, kMark + kCafe, "f"), kCafe);

  for (const char* bad : {"\x80", "\xC0\xAF", "\xC3", "\xE2\x82", "\xED\xA0\x80" /* a surrogate */,
                          "\xF4\x90\x80\x80" /* above U+10FFFF */, "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(isUtf8(bad)) << testing::PrintToString(std::string(bad));
    try {
      storedText(fs, kMark + "ok " + bad, "C:\\T\\name.qdx");
      ADD_FAILURE() << "accepted " << testing::PrintToString(std::string(bad));
    } catch (const IoError& e) {
      EXPECT_EQ(e.path(), "C:\\T\\name.qdx");
      EXPECT_NE(e.reason().find("UTF-8"), std::string::npos);
    }
  }
}

// Lengths and cuts count characters as Windows does (an emoji is two UTF-16
// units) and never split one, so a cut text is still whole UTF-8.
TEST(StoredText, CutsKeepWholeCharacters) {
  const std::string text = "ab" + kCafe + kEmoji + kCjk;  // 2 + 4 + 2 + 2 units
  EXPECT_EQ(utf16Length(text), 10u);
  const struct {
    std::size_t units;
    std::string kept;
  } rows[] = {{0, ""},
              {5, "abCaf"},
              {6, "ab" + kCafe},
              {7, "ab" + kCafe},
              {8, "ab" + kCafe + kEmoji},
              {9, "ab" + kCafe + kEmoji + "\xE6\x96\x87"},
              {99, text}};
  for (const auto& row : rows) EXPECT_EQ(textPrefix(text, row.units), row.kept) << row.units;
  // An options line longer than the file allows is cut the same way.
  FakeFileSystem fs;
  TBigIniFile ini(fs, "C:\\T.ini");
  ini.WriteString("S", "K", std::string(250, 'x') + kEmoji + kEmoji);
  EXPECT_EQ(ini.ReadString("S", "K", ""), std::string(250, 'x') + kEmoji);
}

struct FilesInAnyScript : ::testing::Test, ExtensionHarness {};

TrovikBool TROVIK_CALL takesUtf8() { return 1; }

// A fileset of today's form loads into UTF-8 and is written back byte for
// byte; a name the code page lacks turns only its own file to UTF-8, and a
// NUL still ends the text. An extension of today gets the ANSI code page ("?" for what it
// lacks) and is read in it; one that exports "dllutf8" gets and gives UTF-8.
TEST_F(FilesInAnyScript, ListFilesKeepTheirFormUntilANameNeedsUtf8AndExtensionsGetTheirOwn) {
  const std::string names = "Caf\xE9 corner\r\nPlain\r\n";
  const std::string links = "C:\\Caf\xE9\\a.exe\r\nC:\\b.exe\r\n";
  fs().put(at("name.qdx"), names);
  fs().put(at("link.qdx"), links);
  form().loadlist();
  EXPECT_EQ(form().List1.items(), (Lines{kCafe + " corner", "Plain"}));
  EXPECT_EQ(form().link1.item(0), "C:\\" + kCafe + "\\a.exe");
  form().List1.setItems({kCafe + " corner", "Plain"});  // the same text, held anew
  store().write(kBase, form().List1.items(), form().link1.items());
  EXPECT_EQ(fs().get(at("name.qdx")), names);
  EXPECT_EQ(fs().get(at("link.qdx")), links);

  store().write(kBase, {kOmega + " " + kEmoji, kCjk}, form().link1.items());
  EXPECT_EQ(fs().get(at("name.qdx")), kMark + kOmega + " " + kEmoji + "\r\n" + kCjk + "\r\n");
  EXPECT_EQ(fs().get(at("link.qdx")), links);
  form().loadlist();
  EXPECT_EQ(form().List1.items(), (Lines{kOmega + " " + kEmoji, kCjk}));

  fs().put(at("name.qdx"), kMark + kOmega + "\r\n" + std::string("b\0c\r\nd\r\n", 8));
  form().loadlist();
  EXPECT_EQ(form().List1.items(), (Lines{kOmega, "b"}));

  auto utf8 = extension<'U', "go">();
  utf8.emplace("dllutf8", exportOf(&takesUtf8));
  addDll('A', extension<'A', "go">());
  addDll('U', std::move(utf8));
  vars().apppath = "C:\\" + kOmega + "\\" + kCafe + "\\";
  std::map<char, std::string> seen;
  for (char dll : {'A', 'U'})
    rec.actions[std::string(1, dll) + ":go"] = [&, dll] {
      seen[dll] = got(dll).getvar("apppath");
      got(dll).setvar("usite", dll == 'A' ? "http://caf\xE9/" : "http://caf\xC3\xA9/");
      EXPECT_EQ(vars().usite, "http://" + std::string("caf\xC3\xA9") + "/");
    };
  host().runvpa(dllPath('A'), "go");
  host().runvpa(dllPath('U'), "go");
  EXPECT_EQ(seen['A'], "C:\\?mega\\" + kCafeAnsi + "\\");
  EXPECT_EQ(seen['U'], vars().apppath);
}

}  // namespace
}  // namespace trovik::test
