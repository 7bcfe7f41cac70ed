#pragma once
// Plain HTTP GET, as the program's logic sees it. The real adapter runs each request on a thread
// of its own; the program starts a call, goes on yielding to the event loop, and takes the answer
// once the call has finished, so a look-up never blocks the window.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/EventLoop.h"

namespace korvalin {

struct HttpRequest {
  std::string url;
  std::vector<std::pair<std::string, std::string>> headers;  // name, value
  double timeoutSeconds = 15;
  std::size_t maxBodyBytes = std::size_t{8} << 20;  // a longer answer is a failure, not cut short
};

struct HttpResponse {
  int status = 0;  // 0: no HTTP answer at all (see problem)
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // Why there is no usable answer, in plain words (timeout, refused, too large, cancelled);
  // empty when the server answered, whatever its status.
  std::string problem;

  // The first header of that name, compared without case; empty when missing.
  std::string Header(std::string_view name) const;
};

class HttpCall {
 public:
  virtual ~HttpCall() = default;
  virtual bool Finished() = 0;
  // Ends the call as soon as it can; Result() then says "cancelled".
  virtual void Cancel() = 0;
  // The answer; only once Finished().
  virtual HttpResponse Result() = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  [[nodiscard]] virtual std::unique_ptr<HttpCall> Get(const HttpRequest& request) = 0;
};

// Runs one GET to its end, yielding on the loop meanwhile; `cancelled` is asked between yields.
HttpResponse GetYielding(HttpClient& client, EventLoop& loop, const HttpRequest& request,
                         const std::function<bool()>& cancelled = {});

// The client of a program without network access: every call fails at once, saying so.
class NoHttpClient : public HttpClient {
 public:
  static NoHttpClient& Instance();
  std::unique_ptr<HttpCall> Get(const HttpRequest& request) override;
};

}  // namespace korvalin
