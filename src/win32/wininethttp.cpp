#include "win32/wininethttp.h"

#include <windows.h>
// after windows.h, which it needs
#include <wininet.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/webaddress.h"
#include "win32/systemlibrary.h"
#include "win32/wide.h"
#include "win32/win32platform.h"

namespace trovik::win32 {

namespace {

// WinINet, loaded with the first request: most runs never make one.
#define TROVIK_WININET(f) decltype(&::f) f = systemFunction<decltype(&::f)>("wininet.dll", #f)
struct WinInet {
  TROVIK_WININET(HttpOpenRequestW);
  TROVIK_WININET(HttpQueryInfoW);
  TROVIK_WININET(HttpSendRequestW);
  TROVIK_WININET(InternetCloseHandle);
  TROVIK_WININET(InternetConnectW);
  TROVIK_WININET(InternetOpenW);
  TROVIK_WININET(InternetReadFile);
  TROVIK_WININET(InternetSetOptionW);
};
#undef TROVIK_WININET
const WinInet& inet() {
  static const WinInet api;
  return api;
}

// What one request shares between the waiting thread and the worker. The
// worker owns the WinINet handles; the waiting thread only ever closes the
// session handle, under the lock, to cut a request short, which WinINet
// answers by failing whatever the worker is blocked in.
struct Job {
  HttpRequest request;
  WebAddress address;
  std::mutex lock;
  HINTERNET session = nullptr;  // under lock
  bool abandoned = false;       // under lock: the waiting thread has given up
  HttpResponse response;        // under lock
};

std::string seconds(int ms) {
  const int s = (ms + 999) / 1000;
  return std::to_string(s) + (s == 1 ? " second" : " seconds");
}

std::string timedOut(const HttpRequest& r) {
  return "the server did not answer within " + seconds(r.timeoutMs);
}

// WinINet's errors in the words the user reads after "Could not fetch <address>: ".
std::string reason(DWORD code, const Job& job) {
  const bool proxied = !job.request.proxy.host.empty();
  switch (code) {
    case ERROR_INTERNET_TIMEOUT:
      return timedOut(job.request);
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      return proxied ? "the proxy server " + job.request.proxy.host + " could not be found"
                     : "the server " + job.address.host + " could not be found";
    case ERROR_INTERNET_CANNOT_CONNECT:
      return proxied ? "could not connect to the proxy server " + job.request.proxy.host + ":" +
                           job.request.proxy.port
                     : "could not connect to the server " + job.address.host;
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
      return "the connection was broken off";
    case ERROR_INTERNET_OPERATION_CANCELLED:
      return "the request was cancelled";
    case ERROR_INTERNET_INVALID_URL:
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
      return "the address is not valid";
    case ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR:
    case ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR:
      return "the server redirected to an address of another kind";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
      return "the server's certificate is not valid";
    default:
      break;
  }
  return systemReason(code, GetModuleHandleW(L"wininet.dll"));
}

std::string queryText(HINTERNET request, DWORD what) {
  wchar_t buf[256] = {};
  DWORD size = sizeof buf - sizeof *buf;  // in bytes; a NUL stays at the end
  if (!inet().HttpQueryInfoW(request, what, buf, &size, nullptr)) return {};
  // What comes back in size is counted differently from version to version:
  // the text ends at its NUL.
  return narrow(buf);
}

bool queryNumber(HINTERNET request, DWORD what, DWORD& value) {
  DWORD size = sizeof value;
  return inet().HttpQueryInfoW(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) !=
         FALSE;
}

void setText(HINTERNET h, DWORD option, const std::string& text) {
  std::wstring w = wide(text);
  inet().InternetSetOptionW(h, option, w.data(), static_cast<DWORD>(w.size()));
}

void setNumber(HINTERNET h, DWORD option, DWORD value) {
  inet().InternetSetOptionW(h, option, &value, sizeof value);
}

// Reads what is left of an answer, keeping at most max + 1 bytes (one more
// than allowed shows that there was too much). False on a read failure.
bool readBody(HINTERNET request, std::size_t max, std::string& body, DWORD& error) {
  char buf[1024];
  for (;;) {
    DWORD got = 0;
    if (!inet().InternetReadFile(request, buf, sizeof buf, &got)) {
      error = GetLastError();
      return false;
    }
    if (got == 0) return true;
    if (body.size() <= max) body.append(buf, std::min<std::size_t>(got, max + 1 - body.size()));
    if (body.size() > max) return true;
  }
}

// Reads the rest of an answer that is not wanted, so the request can be sent again.
bool drain(HINTERNET request, DWORD& error) {
  char buf[1024];
  for (DWORD got = 1; got > 0;) {
    if (!inet().InternetReadFile(request, buf, sizeof buf, &got)) {
      error = GetLastError();
      return false;
    }
  }
  return true;
}

// The request itself, on the worker thread. Fills the response.
HttpResponse perform(Job& job, HINTERNET session) {
  const HttpRequest& r = job.request;
  const WebAddress& a = job.address;
  HttpResponse out;
  auto fail = [&](DWORD code) {
    out.error = reason(code, job);
    return out;
  };

  // The worker gives up on its own too, so that a request the waiting
  // thread abandoned does not hang on: on every handle, as some versions of
  // WinINet read the timeouts from the session and others from the request.
  const DWORD ms = static_cast<DWORD>(r.timeoutMs > 0 ? r.timeoutMs : 1);
  auto limit = [ms](HINTERNET h) {
    setNumber(h, INTERNET_OPTION_CONNECT_TIMEOUT, ms);
    setNumber(h, INTERNET_OPTION_SEND_TIMEOUT, ms);
    setNumber(h, INTERNET_OPTION_RECEIVE_TIMEOUT, ms);
  };
  limit(session);
  setNumber(session, INTERNET_OPTION_CONNECT_RETRIES, 1);

  std::string host = a.host;
  if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
  HINTERNET connect =
      inet().InternetConnectW(session, wide(host).c_str(), static_cast<INTERNET_PORT>(a.port),
                              nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  if (!connect) return fail(GetLastError());
  // Children of the session: closing the session (here, or by the waiting
  // thread giving up) closes them too.

  std::vector<std::wstring> acceptTypes;
  for (const char* type : kHttpAccept) acceptTypes.push_back(wide(type));
  std::vector<const wchar_t*> accept;
  for (const std::wstring& type : acceptTypes) accept.push_back(type.c_str());
  accept.push_back(nullptr);
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_KEEP_CONNECTION;
  if (a.https) flags |= INTERNET_FLAG_SECURE;
  HINTERNET request = inet().HttpOpenRequestW(connect, L"GET", wide(a.path).c_str(), nullptr,
                                              nullptr, accept.data(), flags, 0);
  if (!request) return fail(GetLastError());
  limit(connect);
  limit(request);
  // Proxy credentials belong on the request: on the session WinINet refuses them.
  if (!r.proxy.host.empty() && !r.proxy.user.empty()) {
    setText(request, INTERNET_OPTION_PROXY_USERNAME, r.proxy.user);
    setText(request, INTERNET_OPTION_PROXY_PASSWORD, r.proxy.password);
  }
  const std::wstring headers =
      wide(std::string("From: ") + kHttpFrom + "\r\nCache-Control: no-cache\r\n");

  DWORD status = 0;
  for (int attempt = 0;; ++attempt) {
    if (!inet().HttpSendRequestW(request, headers.c_str(), static_cast<DWORD>(headers.size()),
                                 nullptr, 0))
      return fail(GetLastError());
    if (!queryNumber(request, HTTP_QUERY_STATUS_CODE, status)) return fail(GetLastError());
    // A proxy asks for its password first; WinINet answers the challenge
    // with the credentials above when the request is sent again.
    if (status != HTTP_STATUS_PROXY_AUTH_REQ || r.proxy.user.empty() || attempt > 0) break;
    DWORD error = 0;
    if (!drain(request, error)) return fail(error);
  }
  out.status = static_cast<int>(status);
  if (status >= 400) {
    std::string text = queryText(request, HTTP_QUERY_STATUS_TEXT);
    if (status == HTTP_STATUS_PROXY_AUTH_REQ)
      out.error = r.proxy.user.empty() ? "the proxy server asks for a user name and password"
                                       : "the proxy server refused the user name or password";
    else if (!r.proxy.host.empty())
      out.error = "the answer through the proxy server " + r.proxy.host + ":" + r.proxy.port +
                  " was " + std::to_string(status);
    else
      out.error = "the server answered " + std::to_string(status);
    out.error += text.empty() ? "" : " (" + text + ")";
    return out;
  }

  DWORD length = 0;
  if (queryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length) && length > r.maxBytes) {
    out.error = "the answer is longer than " + std::to_string(r.maxBytes) + " bytes";
    return out;
  }
  DWORD error = 0;
  if (!readBody(request, r.maxBytes, out.body, error)) return fail(error);
  if (out.body.size() > r.maxBytes) {
    out.body.clear();
    out.error = "the answer is longer than " + std::to_string(r.maxBytes) + " bytes";
    return out;
  }
  out.ok = true;
  return out;
}

DWORD WINAPI worker(void* parameter) {
  const std::unique_ptr<std::shared_ptr<Job>> holder(static_cast<std::shared_ptr<Job>*>(parameter));
  Job& job = **holder;
  const HttpProxy& p = job.request.proxy;
  const std::wstring proxy = wide(p.host + ":" + p.port);
  HINTERNET session =
      inet().InternetOpenW(wide(kHttpUserAgent).c_str(),
                           p.host.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                           p.host.empty() ? nullptr : proxy.c_str(), nullptr, 0);
  HttpResponse response;
  if (!session) {
    response.error = reason(GetLastError(), job);
  } else {
    {
      std::lock_guard<std::mutex> guard(job.lock);
      if (job.abandoned) {
        inet().InternetCloseHandle(session);
        return 0;
      }
      job.session = session;
    }
    response = perform(job, session);
  }
  std::lock_guard<std::mutex> guard(job.lock);
  if (job.session) inet().InternetCloseHandle(job.session);  // and with it every child handle
  job.session = nullptr;
  job.response = std::move(response);
  return 0;
}

// Cuts the request short: closing the session fails the worker's blocking call.
void abandon(Job& job) {
  std::lock_guard<std::mutex> guard(job.lock);
  job.abandoned = true;
  if (job.session) inet().InternetCloseHandle(job.session);
  job.session = nullptr;
}

}  // namespace

HttpResponse WinInetHttp::get(const HttpRequest& request) {
  auto job = std::make_shared<Job>();
  job->request = request;
  HttpResponse failed;
  const std::optional<WebAddress> address = parseWebAddress(request.url);
  if (!address) {
    failed.error = "the address is not an http:// or https:// web address";
    return failed;
  }
  job->address = *address;
  // Loaded here, before the worker needs it, so a system without it fails
  // the request with the reason instead of the worker's thread.
  try {
    inet();
  } catch (const std::exception& e) {
    failed.error = e.what();
    return failed;
  }

  auto holder = std::make_unique<std::shared_ptr<Job>>(job);
  HANDLE raw = CreateThread(nullptr, 0, worker, holder.get(), 0, nullptr);
  if (!raw) {
    failed.error = "no thread could be started for the request";
    return failed;
  }
  holder.release();  // the worker owns it now
  const std::unique_ptr<void, decltype(&CloseHandle)> thread(raw, &CloseHandle);

  // Wait for the worker while the windows keep handling their messages.
  const ULONGLONG deadline =
      GetTickCount64() + static_cast<ULONGLONG>(std::max(request.timeoutMs, 0));
  std::string givenUp;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
      givenUp = timedOut(request);
      break;
    }
    const DWORD waited =
        MsgWaitForMultipleObjects(1, &raw, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (waited == WAIT_OBJECT_0) break;
    if (waited == WAIT_OBJECT_0 + 1) {
      pump_.processMessages();
      // The program is ending: the pump left the quit for the main loop,
      // and nobody waits for this answer any more.
      MSG quit;
      if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
        givenUp = "the program is closing";
        break;
      }
      continue;
    }
    if (waited != WAIT_TIMEOUT) {
      givenUp = "waiting for the answer failed";
      break;
    }
  }
  if (!givenUp.empty() && WaitForSingleObject(raw, 0) != WAIT_OBJECT_0) {
    // Closing the session fails whatever the worker is blocked in. Should
    // WinINet not let go at once, the worker ends at its own timeout; the
    // job it shares stays alive until then, and nobody waits for it.
    abandon(*job);
    failed.error = givenUp;
    return failed;
  }
  std::lock_guard<std::mutex> guard(job->lock);
  // The worker ended just as the time ran out: an answer that came stands,
  // but no answer is the timeout's. (WinINet's own timeout, the same length,
  // can end the worker a moment before ours, with a reason of its own.)
  if (!givenUp.empty() && !job->response.ok && job->response.status == 0)
    job->response.error = givenUp;
  return job->response;
}

}  // namespace trovik::win32
