#include "config/inifile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "core/paths.h"
#include "platform/storedtext.h"

namespace trovik {

namespace {

constexpr char kCtrlZ = 26;

// Names and keys match without regard to case, the way the Western ANSI
// code page folds them: A-Z, and the accented capitals U+00C0 to U+00DE (not
// the multiplication sign among them), which UTF-8 writes as 0xC3 0x80-0x9E
// and whose small letters are 0x20 further on. Folding keeps the length, so
// it goes byte by byte: this is the byte at i folded.
char foldedAt(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 0x20);
  if (i > 0 && static_cast<unsigned char>(s[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97)
    return static_cast<char>(c + 0x20);
  return s[i];
}

std::string folded(std::string_view s) {
  std::string out(s.size(), '\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = foldedAt(s, i);
  return out;
}

// Without a copy: every key lookup compares against each line of its section.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldedAt(a, i) != foldedAt(b, i)) return false;
  return true;
}

std::string cut(std::string_view s) { return std::string(textPrefix(s, TBigIniFile::kMaxText)); }

// A line answers to a key only when it has an "="; the key is everything
// before the first one, blanks included, so "Name = x" is not the key "Name".
bool lineHasKey(std::string_view line, std::string_view key) {
  const std::size_t eq = line.find('=');
  return eq != std::string_view::npos && sameName(line.substr(0, eq), key);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// Leading blanks (spaces only: a tab is refused), then either an optional
// sign and decimal digits, or "$" and hex digits, up to the end of the text.
// Hex is a number like decimal, not a bit pattern: beyond 2147483647 it is
// out of range. A sign before "$" is refused: no version ever wrote one, and
// refusing keeps a typo from becoming a value.
std::optional<int32_t> parseInteger(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  if (i < s.size() && s[i] == '$') {
    ++i;
    if (i == s.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
      const int d = hexDigit(s[i]);
      if (d < 0) return std::nullopt;
      v = v * 16 + d;
      if (v > INT32_MAX) return std::nullopt;
    }
    return static_cast<int32_t>(v);
  }
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

TBigIniFile::TBigIniFile(FileSystem& fs, std::string fileName) : fs_(fs), fileName_(cut(fileName)) {
  if (!fileName_.empty() && fs_.fileExists(fileName_)) load(readStoredText(fs_, fileName_));
}

TBigIniFile::~TBigIniFile() {
  if (freed_ || !changed_) return;
  try {
    FlushFile();
  } catch (...) {
    // Already unwinding from another error; that one is what the user sees.
  }
}

void TBigIniFile::load(const std::string& bytes) {
  // Names already seen, folded. A hash set keeps loading a large file linear.
  std::unordered_set<std::string> seen;
  Section* current = nullptr;  // null before the first header and inside a repeat
  std::size_t pos = 0;
  const std::size_t n = bytes.size();
  while (pos < n) {
    std::size_t end = pos;
    while (end < n && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    const std::string_view line =
        textPrefix(std::string_view(bytes).substr(pos, end - pos), kMaxText);
    pos = (end + 1 < n && bytes[end] == '\r' && bytes[end + 1] == '\n') ? end + 2 : end + 1;

    // An editor's end-of-file mark on a line of its own is no content.
    if (line.empty() || (line.size() == 1 && line[0] == kCtrlZ)) continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      std::string_view name = line.substr(1, line.size() - 2);
      if (seen.insert(folded(name)).second) {
        sections_.push_back(Section{std::string(name), {}});
        current = &sections_.back();
      } else {
        // A repeated section is thrown away whole rather than merged, so the
        // first one keeps meaning what it always meant; the rewrite then
        // removes the repeat from disk.
        current = nullptr;
        changed_ = true;
      }
      continue;
    }
    if (current != nullptr) current->lines.emplace_back(line);
  }
}

std::string TBigIniFile::render() const {
  std::string out;
  for (const auto& s : sections_) {
    if (s.lines.empty()) continue;
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const auto& l : s.lines) {
      out += l;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

std::size_t TBigIniFile::findSection(std::string_view name) {
  // Options are read a section at a time, so start where the last search
  // ended and go round once.
  const std::size_t n = sections_.size();
  if (hint_ >= n) hint_ = 0;
  for (std::size_t k = 0, i = hint_; k < n; ++k, i = (i + 1 == n) ? 0 : i + 1) {
    if (sameName(sections_[i].name, name)) {
      hint_ = i;
      return i;
    }
  }
  return std::string::npos;
}

void TBigIniFile::checkAlive() const {
  if (freed_) throw std::logic_error("TBigIniFile used after Free");
}

std::string TBigIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) {
  checkAlive();
  const std::size_t s = findSection(section);
  if (s != std::string::npos) {
    for (const auto& line : sections_[s].lines)
      if (lineHasKey(line, key)) return line.substr(line.find('=') + 1);
  }
  return cut(def);
}

int32_t TBigIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) {
  std::string text = ReadString(section, key, "");
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.replace(0, 2, "$");
  return parseInteger(text).value_or(def);
}

void TBigIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  checkAlive();
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);
  line.resize(textPrefix(line, kMaxText).size());

  std::size_t s = findSection(section);
  if (s == std::string::npos) {
    sections_.push_back(Section{std::string(section), {}});
    s = hint_ = sections_.size() - 1;
  }
  auto& lines = sections_[s].lines;
  for (auto& existing : lines) {
    if (!lineHasKey(existing, key)) continue;
    // Writing back what is already there must not cost a rewrite; a change
    // of key spelling alone does count, the writer's spelling wins.
    if (existing != line) {
      existing = std::move(line);
      changed_ = true;
    }
    return;
  }
  lines.push_back(std::move(line));
  changed_ = true;
}

void TBigIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TBigIniFile::FlushFile() {
  checkAlive();
  if (!changed_ || fileName_.empty()) return;
  writeFileAtomic(fs_, fileName_, storedBytes(fs_, render()));
  changed_ = false;
}

void TBigIniFile::Free() {
  FlushFile();
  freed_ = true;
  sections_.clear();
  sections_.shrink_to_fit();
  hint_ = 0;
}

std::vector<std::string> TBigIniFile::sectionNames() const {
  checkAlive();
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& s : sections_) names.push_back(s.name);
  return names;
}

}  // namespace trovik
