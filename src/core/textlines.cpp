#include "core/textlines.h"

#include <cstring>

namespace trovik {

namespace {
// Calls line(text of the line) for every line, in order. The line ends are
// found with memchr, one search for CR and one for LF, each picking up where
// it last stopped: large lists are mostly searching.
template <class Line>
void forEachLine(std::string_view text, Nul nul, Line&& line) {
  if (nul == Nul::EndsText) text = text.substr(0, text.find('\0'));
  const char* const p = text.data();
  const size_t n = text.size();
  auto next = [&](char c, size_t from) {
    const void* hit = from < n ? std::memchr(p + from, c, n - from) : nullptr;
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - p) : n;
  };
  size_t cr = next('\r', 0), lf = next('\n', 0);
  size_t start = 0;
  while (start < n) {
    if (cr < start) cr = next('\r', start);
    if (lf < start) lf = next('\n', start);
    const size_t end = cr < lf ? cr : lf;
    line(text.substr(start, end - start));
    start = end + (end == cr && lf == end + 1 ? 2 : 1);
  }
}
}  // namespace

std::size_t countLines(std::string_view text, Nul nul) {
  std::size_t count = 0;
  forEachLine(text, nul, [&](std::string_view) { ++count; });
  return count;
}

std::vector<std::string> splitLines(std::string_view text, Nul nul) {
  std::vector<std::string> lines;
  lines.reserve(countLines(text, nul));
  forEachLine(text, nul, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace trovik
