#include "platform/storedtext.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace trovik {

// Eight bytes at a time: a list of 100,000 links is looked through in a
// fraction of the time its lines take to split.
bool isAscii(std::string_view s) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  std::size_t i = 0;
  std::uint64_t seen = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, sizeof word);
    seen |= word;
  }
  for (; i < s.size(); ++i) seen |= static_cast<unsigned char>(s[i]);
  return (seen & kHighBits) == 0;
}

bool isUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more = 0;
    unsigned lowest = 0;  // the smallest code point this length may carry
    unsigned cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1, lowest = 0x80, cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, lowest = 0x800, cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, lowest = 0x10000, cp = c & 0x07u;
    } else {
      return false;  // a continuation byte alone, or a lead byte no code point has
    }
    if (end - p <= more) return false;
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += more + 1;
  }
  return true;
}

std::string storedText(const FileSystem& fs, std::string bytes, const std::string& path) {
  if (std::string_view(bytes).substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    bytes.erase(0, kUtf8Mark.size());
    if (!isUtf8(bytes))
      throw IoError(IoError::Op::Read, path,
                    "the file is marked as UTF-8 but holds bytes that are not UTF-8; it was "
                    "left as it is");
    return bytes;
  }
  // ASCII is the same in every code page, and most lists are nothing else.
  if (isAscii(bytes)) return bytes;
  return fs.ansiToUtf8(bytes);
}

std::string readStoredText(const FileSystem& fs, const std::string& path) {
  return storedText(fs, fs.readFile(path), path);
}

std::string storedBytes(const FileSystem& fs, std::string text) {
  if (isAscii(text)) return text;
  bool exact = false;
  std::string ansi = fs.utf8ToAnsi(text, &exact);
  if (exact) return ansi;
  std::string out(kUtf8Mark);
  out += text;
  return out;
}

}  // namespace trovik
