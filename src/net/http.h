#pragma once
// Fetching a small document over HTTP, directly or through a proxy that may
// ask for a user name and password. The update check is the only user; the
// Windows build answers with WinINet, the unit tests with a fake.
#include <cstddef>
#include <string>

namespace trovik {

// What every request says about itself.
inline constexpr const char* kHttpUserAgent = "Mozilla/3.0 (compatible)";
inline constexpr const char* kHttpAccept[] = {"image/gif", "image/x-xbitmap", "image/jpeg",
                                              "image/pjpeg", "*/*"};
inline constexpr const char* kHttpFrom = "Trovik";  // the From header

struct HttpProxy {
  std::string host;  // empty: connect directly
  std::string port = "80";
  std::string user, password;  // empty user: no proxy authentication
};

struct HttpRequest {
  std::string url;  // an absolute http:// or https:// address
  HttpProxy proxy;
  // How long the whole request may take, connecting and reading included.
  int timeoutMs = 30000;
  // A longer answer is refused without being read further.
  std::size_t maxBytes = 4096;
};

struct HttpResponse {
  bool ok = false;
  int status = 0;     // the HTTP status, 0 when none arrived
  std::string body;   // the whole body, exactly as received, when ok
  std::string error;  // when not ok: the reason, in words for the user
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // One GET, no cache, redirects between web addresses followed. The caller
  // waits, while the program's windows keep handling their messages, until
  // the answer, a failure, or the timeout. A status of 400 or more is a
  // failure. The error never names the proxy password.
  virtual HttpResponse get(const HttpRequest& request) = 0;
};

}  // namespace trovik
