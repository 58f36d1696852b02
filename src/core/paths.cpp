#include "core/paths.h"

namespace trovik {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

namespace {
// The bytes of the UTF-8 character that starts with lead, and its UTF-16 units.
std::size_t charBytes(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}
}  // namespace

std::size_t utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size(); ++units) {
    const std::size_t n = charBytes(static_cast<unsigned char>(text[i]));
    if (n == 4) ++units;
    i += n;
  }
  return units;
}

std::string_view textPrefix(std::string_view text, std::size_t maxUnits) {
  std::size_t i = 0, units = 0;
  while (i < text.size()) {
    const std::size_t n = charBytes(static_cast<unsigned char>(text[i]));
    const std::size_t u = n == 4 ? 2 : 1;
    if (units + u > maxUnits || i + n > text.size()) break;
    units += u;
    i += n;
  }
  return text.substr(0, i);
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string withBackslash(std::string_view dir) {
  std::string out(dir);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

namespace {
size_t nameStart(std::string_view path) {
  const size_t sep = path.find_last_of("\\:");
  return sep == std::string_view::npos ? 0 : sep + 1;
}
size_t extensionStart(std::string_view path) {
  const size_t start = nameStart(path);
  const size_t dot = path.rfind('.');
  return dot == std::string_view::npos || dot < start ? path.size() : dot;
}
}  // namespace

std::string fileNamePart(std::string_view path) {
  return std::string(path.substr(nameStart(path)));
}

std::string fileExtension(std::string_view path) {
  return std::string(path.substr(extensionStart(path)));
}

std::string withoutExtension(std::string_view path) {
  return std::string(path.substr(0, extensionStart(path)));
}

std::string directoryPart(std::string_view path) {
  return std::string(path.substr(0, nameStart(path)));
}

}  // namespace trovik
