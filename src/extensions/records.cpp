#include "extensions/records.h"

#include "core/textlines.h"

namespace trovik {

std::vector<std::string> extensionLines(std::string_view bytes) {
  return splitLines(bytes, Nul::IsText);
}

std::vector<std::string_view> recordFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, bar - start));
    start = bar + 1;
  }
}

std::string_view recordField(std::string_view line, size_t n) {
  size_t start = 0;
  for (size_t i = 1; i < n; ++i) {
    const size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) return {};
    start = bar + 1;
  }
  const size_t bar = line.find('|', start);
  return line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
}

std::vector<Block> fileBlocks(const std::vector<std::string>& lines) {
  std::vector<Block> blocks;
  size_t i = 0;
  while (i < lines.size()) {
    Block b{i, i};
    while (b.end < lines.size() && !lines[b.end].empty()) ++b.end;
    if (b.end < lines.size()) ++b.end;  // the ending empty line belongs to the block
    blocks.push_back(b);
    i = b.end;
  }
  return blocks;
}

std::vector<std::string> withoutBlock(const std::vector<std::string>& lines, size_t k) {
  const std::vector<Block> blocks = fileBlocks(lines);
  if (k >= blocks.size()) return lines;
  std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<long>(blocks[k].first));
  out.insert(out.end(), lines.begin() + static_cast<long>(blocks[k].end), lines.end());
  return out;
}

}  // namespace trovik
