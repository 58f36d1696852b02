#include "fakehttp.h"

namespace trovik::test {

HttpResponse FakeHttp::get(const HttpRequest& request) {
  requests.push_back(request);
  if (whileWaiting) whileWaiting();
  const auto it = answers_.find(request.url);
  if (it == answers_.end()) return {false, 404, "", "the server answered 404 (Not Found)"};
  return it->second;
}

std::vector<std::string> FakeHttp::urls() const {
  std::vector<std::string> out;
  for (const HttpRequest& r : requests) out.push_back(r.url);
  return out;
}

}  // namespace trovik::test
