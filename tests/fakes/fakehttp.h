#pragma once
// A web of documents held in memory: each address answers with a body or a
// failure, and every request is kept for the test to look at.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "net/http.h"

namespace trovik::test {

class FakeHttp : public HttpClient {
 public:
  // The address answers 200 with this body.
  void serve(const std::string& url, std::string body) { answers_[url] = {true, 200, body, ""}; }
  // The address fails with this reason (an HTTP status, a timeout...).
  void fail(const std::string& url, int status, std::string reason) {
    answers_[url] = {false, status, "", std::move(reason)};
  }

  HttpResponse get(const HttpRequest& request) override;

  std::vector<HttpRequest> requests;
  std::vector<std::string> urls() const;
  // Runs inside each request, as messages handled during the wait would.
  std::function<void()> whileWaiting;

 private:
  std::map<std::string, HttpResponse> answers_;
};

}  // namespace trovik::test
