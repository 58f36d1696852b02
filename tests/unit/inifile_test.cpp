#include "config/inifile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "fakefs.h"

namespace trovik::test {
namespace {

const std::string kPath = "C:\\Trovik\\Trovik.ini";

TEST(BigIniFile, ReadingToleratesNoiseAndRewriteLosesWhatItDropped) {
  FakeFileSystem fs;
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    const std::string e = eol;
    fs.put(kPath, "[Main]" + e + "\x1A" + e + e + "A=1" + e + "[Other]" + e + "B=2=3");
    TBigIniFile ini(fs, kPath);
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Main", "Other"}));
    EXPECT_EQ(ini.ReadString("Main", "A", "-"), "1");
    EXPECT_EQ(ini.ReadString("Other", "b", "-"), "2=3");  // the key ends at the first "="
    EXPECT_FALSE(ini.changed());
  }

  // Only the first of two same-named sections counts, nothing is merged,
  // and the repeat is gone from disk after Free even with no writes.
  fs.put(kPath, "[Main]\r\nA=1\r\n[other]\r\nC=3\r\n[MAIN]\r\nA=2\r\nB=3\r\n");
  TBigIniFile ini(fs, kPath);
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Main", "other"}));
  EXPECT_EQ(ini.ReadString("main", "A", "-"), "1");
  EXPECT_EQ(ini.ReadString("main", "B", "-"), "-");
  EXPECT_TRUE(ini.changed());
  ini.Free();
  EXPECT_EQ(fs.get(kPath), "[Main]\r\nA=1\r\n\r\n[other]\r\nC=3\r\n\r\n");
  EXPECT_THROW(ini.ReadString("Main", "A", ""), std::logic_error);
  EXPECT_THROW(ini.sectionNames(), std::logic_error);

  const std::string longLine = "Path=" + std::string(295, 'x');
  fs.put(kPath, "; before any section\r\nStray=1\r\n[Empty]\r\n[Main]\r\n\x1A\r\n; keep me\r\n" +
                    longLine + "\r\nno equals sign\r\n");
  TBigIniFile noisy(fs, kPath);
  EXPECT_EQ(noisy.ReadString("Main", "Path", ""), longLine.substr(5, 250));
  EXPECT_EQ(noisy.ReadString("Main", "no equals sign", "def"), "def");
  noisy.WriteInteger("New", "Level", -12);
  noisy.Free();
  EXPECT_EQ(fs.get(kPath), "[Main]\r\n; keep me\r\n" + longLine.substr(0, 255) +
                               "\r\nno equals sign\r\n\r\n[New]\r\nLevel=-12\r\n\r\n");
}

TEST(BigIniFile, ReadIntegerAcceptsDecimalAndHexOnly) {
  // Hex is a number like decimal, so beyond 2147483647 it is out of range;
  // only blanks lead, not tabs; a sign before "$" is refused.
  // clang-format off
  const std::pair<const char*, int32_t> numbers[] = {
      {"0x10", 16}, {"0X1f", 31}, {"$1F", 31}, {" 42", 42}, {"  $10", 16}, {"+7", 7}, {"-7", -7},
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"$7FFFFFFF", INT32_MAX}};
  // clang-format on
  FakeFileSystem fs;
  TBigIniFile ini(fs, kPath);
  for (const auto& [text, expected] : numbers) {
    ini.WriteString("N", "V", text);
    EXPECT_EQ(ini.ReadInteger("N", "V", 99), expected) << '"' << text << '"';
  }
  for (const char* wrong : {"$FFFFFFFF", "$80000000", "0x80000000", "0XFFFFFFFF",
                            "$0000000080000000", "\t42", " \t42", "12abc", "42 ", "2147483648",
                            "-2147483649", "$100000000", "-$10", " 0x10", "$", "-", "0x"}) {
    ini.WriteString("N", "V", wrong);
    EXPECT_EQ(ini.ReadInteger("N", "V", 99), 99) << '"' << wrong << '"';
  }
}

TEST(BigIniFile, WritesOnlyWhenSomethingChanged) {
  FakeFileSystem fs;
  fs.mkdirs("C:\\Trovik");
  TBigIniFile fresh(fs, kPath);  // a missing file is an empty copy
  EXPECT_TRUE(fresh.sectionNames().empty());
  fresh.WriteInteger("Main", "A", 1);
  fresh.FlushFile();
  EXPECT_FALSE(fresh.changed());
  fresh.Free();
  EXPECT_EQ(fs.get(kPath), "[Main]\r\nA=1\r\n\r\n");

  const int writes = fs.writeCount(kPath);
  TBigIniFile same(fs, kPath);
  same.WriteString("Main", "A", "1");
  EXPECT_FALSE(same.changed());
  same.Free();
  EXPECT_EQ(fs.writeCount(kPath), writes);

  // A failed write leaves the old file byte for byte, and the copy still
  // knows it has something to save.
  {
    TBigIniFile ini(fs, kPath);
    ini.WriteString("Main", "A", "2");
    fs.failWrites("Trovik.ini");
    EXPECT_THROW(ini.FlushFile(), IoError);
    EXPECT_TRUE(ini.changed());
    EXPECT_EQ(fs.get(kPath), "[Main]\r\nA=1\r\n\r\n");
    EXPECT_EQ(fs.allFiles(), std::vector<std::string>{kPath});
    fs.clearFailures();
  }  // never freed: the destructor writes the change back
  EXPECT_EQ(fs.get(kPath), "[Main]\r\nA=2\r\n\r\n");
}

}  // namespace
}  // namespace trovik::test
