#include "core/textlines.h"

#include <cstring>

namespace trovik {

namespace {
// Calls line(text of the line) for every line, in order.
template <class Line>
void forEachLine(std::string_view text, Nul nul, Line&& line) {
  if (nul == Nul::EndsText) text = text.substr(0, text.find('\0'));
  size_t start = 0;
  const size_t n = text.size();
  while (start < n) {
    size_t end = start;
    while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
    line(text.substr(start, end - start));
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n')
      start = end + 2;
    else
      start = end + 1;
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
