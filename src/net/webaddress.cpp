#include "net/webaddress.h"

#include <cctype>

#include "core/paths.h"

namespace trovik {

namespace {

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Dot-separated labels of letters, digits, "-" and "_"; or an IPv6 address
// in brackets.
bool isHost(std::string_view host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    const std::string_view inner = host.substr(1, host.size() - 2);
    if (inner.find(':') == std::string_view::npos) return false;
    for (char c : inner)
      if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    return true;
  }
  if (host.empty() || host.size() > 253) return false;
  std::size_t label = 0;
  for (char c : host) {
    if (c == '.') {
      if (label == 0) return false;
      label = 0;
      continue;
    }
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
    ++label;
  }
  return label > 0;
}

// Printable ASCII that may stand in the path of an address as written.
bool isPathChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c <= 0x20 || c >= 0x7F) return false;
  for (char bad : std::string_view("\\\"<>^`{|}"))
    if (ch == bad) return false;
  return true;
}

}  // namespace

bool isPort(std::string_view port) {
  if (!isDigits(port) || port.size() > 5) return false;
  int value = 0;
  for (char c : port) value = value * 10 + (c - '0');
  return value >= 1 && value <= 65535;
}

bool isProxyHost(std::string_view host) { return isHost(host); }

std::optional<WebAddress> parseWebAddress(std::string_view text) {
  WebAddress a;
  if (startsWithNoCase(text, "http://")) {
    text.remove_prefix(7);
  } else if (startsWithNoCase(text, "https://")) {
    text.remove_prefix(8);
    a.https = true;
    a.port = 443;
  } else {
    return std::nullopt;
  }
  const std::size_t end = text.find_first_of("/?#");
  std::string_view authority = text.substr(0, end);
  std::string_view rest = end == std::string_view::npos ? std::string_view() : text.substr(end);

  // host[:port]; the colon of a port comes after any IPv6 bracket.
  const std::size_t bracket = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    const std::string_view port = authority.substr(colon + 1);
    if (!isPort(port)) return std::nullopt;
    a.port = 0;
    for (char c : port) a.port = a.port * 10 + (c - '0');
    authority = authority.substr(0, colon);
  }
  if (!isHost(authority)) return std::nullopt;
  a.host = std::string(authority);

  for (char c : rest)
    if (!isPathChar(c)) return std::nullopt;
  a.path = rest.empty() || rest.front() != '/' ? "/" + std::string(rest) : std::string(rest);
  return a;
}

std::string siteAddressProblem(std::string_view text) {
  if (text.empty()) return "The address is empty.";
  for (char c : text)
    if (isControl(static_cast<unsigned char>(c)))
      return "The address holds a line end or another control character.";
  if (utf16Length(text) > 255) return "The address is longer than 255 characters.";
  if (!startsWithNoCase(text, "http://") && !startsWithNoCase(text, "https://"))
    return "It is not an http:// or https:// web address.";
  if (!parseWebAddress(text)) return "It is not a valid web address.";
  if (text.find_first_of("?#") != std::string_view::npos)
    return "It holds a query or a fragment (\"?\" or \"#\").";
  if (text.back() != '/') return "It does not end in \"/\".";
  return {};
}

std::string shownText(std::string_view text, std::size_t max) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == max) return out + "...";
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (isControl(c)) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace trovik
