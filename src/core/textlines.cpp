#include "core/textlines.h"

#include <cstdint>
#include <cstring>

namespace trovik {

namespace {
#ifdef __SSE2__
// Sixteen bytes at a time: GCC and Clang make one SSE2 instruction of each
// operation. (The i686 release assumes no SSE2 and searches line by line.)
using Bytes = signed char __attribute__((vector_size(16)));
Bytes load(const char* p) {
  Bytes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
#endif

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
  if (nul == Nul::EndsText) text = text.substr(0, text.find('\0'));
  const size_t n = text.size();
  if (n == 0) return 0;
#ifdef __SSE2__
  // Every LF ends a line, and every CR that no LF follows: LFs plus CRs less
  // CR LF pairs, counted sixteen bytes at a time (far cheaper than a search
  // per line on large lists). A comparison gives -1 where it holds, so each
  // byte of the sum counts down, at most 127 times before it is emptied.
  const char* p = text.data();
  const size_t m = n - 1;  // the bytes that have a next byte
  const Bytes lf = Bytes{} + '\n', cr = Bytes{} + '\r';
  size_t ends = 0, i = 0;
  while (i + sizeof(Bytes) <= m) {
    Bytes sum{};
    for (int k = 0; k < 127 && i + sizeof(Bytes) <= m; ++k, i += sizeof(Bytes)) {
      const Bytes here = load(p + i), next = load(p + i + 1);
      sum += (here == lf) + (here == cr) - ((here == cr) & (next == lf));
    }
    for (size_t b = 0; b < sizeof(Bytes); ++b) ends += static_cast<size_t>(-sum[b]);
  }
  for (; i < m; ++i) ends += p[i] == '\n' || (p[i] == '\r' && p[i + 1] != '\n');
  // The last byte ends the last line, or the last line has no end: one more either way.
  return ends + 1;
#else
  std::size_t count = 0;
  forEachLine(text, Nul::IsText, [&](std::string_view) { ++count; });
  return count;
#endif
}

std::vector<std::string> splitLines(std::string_view text, Nul nul) {
  std::vector<std::string> lines;
  lines.reserve(countLines(text, nul));
  forEachLine(text, nul, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

void splitLinesInto(std::string_view text, std::vector<std::string>& lines, Nul nul) {
  lines.resize(countLines(text, nul));
  size_t i = 0;
  forEachLine(text, nul, [&](std::string_view line) { lines[i++].assign(line); });
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
