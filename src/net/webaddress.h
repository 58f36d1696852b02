#pragma once
// Web addresses as the update check accepts them. Only http:// and https://
// addresses of a plain host are ever fetched or handed to the shell, so an
// update site can never make the program open a local file or start a program.
#include <optional>
#include <string>
#include <string_view>

namespace trovik {

struct WebAddress {
  bool https = false;
  std::string host;  // a name, an IPv4 address, or an IPv6 address in brackets
  int port = 80;     // 80 or 443 unless the address names one
  std::string path;  // from the first "/" on, query included; "/" when none
};

// Takes an absolute http:// or https:// address apart (the scheme in any
// case). Nothing for anything else: other schemes, paths, names without a
// scheme, a user name in the address, control characters, spaces,
// backslashes and the other characters that never stand in an address.
std::optional<WebAddress> parseWebAddress(std::string_view text);

// Why text cannot be the base address of an update site, or empty when it can:
// a web address as above, ending in "/", with no query or fragment (file
// names are appended to it), at most 255 characters (the options file keeps
// no more).
std::string siteAddressProblem(std::string_view text);

// A proxy host as a name or address, and a port from 1 to 65535.
bool isProxyHost(std::string_view host);
bool isPort(std::string_view port);

// Text received from a server as it may appear in a message: line ends and
// other control characters made visible (\r, \n, \xNN), cut after max
// characters with "...".
std::string shownText(std::string_view text, std::size_t max = 80);

}  // namespace trovik
