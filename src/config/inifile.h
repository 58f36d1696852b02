#pragma once
// Trovik.ini held whole in memory. The file is read once when the object is
// made; reads and writes work on that copy, and Free() puts the copy back on
// disk in one complete rewrite, only when something changed. Users edit the
// file by hand, so reading is forgiving and writing is plain: what was on disk
// comes back out as it was, apart from what the rules below drop.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"

namespace trovik {

// A number as the options file holds it: leading blanks, then an optional
// sign and decimal digits, or "$" and hexadecimal digits, up to the end of the
// text; nothing for anything else or a value beyond 32 bits.
std::optional<int32_t> parseInteger(std::string_view s);

class TBigIniFile {
 public:
  // Longest line, value, section name or file name the options file deals in,
  // in characters as Windows counts them; anything longer is cut (never inside
  // a character), as older versions of the file were written.
  static constexpr std::size_t kMaxText = 255;

  // Loads the file when it exists; a missing file gives an empty copy. A file
  // that exists but cannot be read throws IoError.
  TBigIniFile(FileSystem& fs, std::string fileName);
  // Writes a changed copy back if Free() was never reached (that only happens
  // while an exception unwinds), and swallows any error doing so.
  ~TBigIniFile();

  TBigIniFile(const TBigIniFile&) = delete;
  TBigIniFile& operator=(const TBigIniFile&) = delete;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def);
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def);
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);

  // Writes the copy back now if it changed. Throws IoError; the file on disk
  // then stays as it was and the copy stays marked changed.
  void FlushFile();
  // FlushFile, then releases the copy. Any further use throws std::logic_error.
  void Free();

  bool changed() const { return changed_; }
  std::vector<std::string> sectionNames() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;  // verbatim, in file order
  };

  void load(const std::string& bytes);
  std::string render() const;
  // The index of the section, or npos. Moves the search hint onto it.
  std::size_t findSection(std::string_view name);
  void checkAlive() const;

  FileSystem& fs_;
  std::string fileName_;
  bool changed_ = false;
  bool freed_ = false;
  std::vector<Section> sections_;
  std::size_t hint_ = 0;  // the section found last
};

}  // namespace trovik
