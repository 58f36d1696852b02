#pragma once
// The HTTP client over WinINet. WinINet does the proxy, the proxy's Basic
// authentication, redirects and the connection itself; this class runs one
// request on a worker thread while the calling (GUI) thread keeps handling
// window messages, and gives up on it at the request's timeout.
#include "net/http.h"
#include "platform/dialogs.h"

namespace trovik::win32 {

class WinInetHttp final : public HttpClient {
 public:
  // pump: handles the program's messages while a request is waited for.
  explicit WinInetHttp(MessagePump& pump) : pump_(pump) {}
  HttpResponse get(const HttpRequest& request) override;

 private:
  MessagePump& pump_;
};

}  // namespace trovik::win32
