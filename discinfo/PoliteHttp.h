#pragma once
// How the program asks the online disc databases: it names itself on every request, sends at
// most one request a second to one host, and when a server says it is busy and when to come
// back, waits that long (on the event loop's clock, yielding) and tries once more.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/EventLoop.h"
#include "platform/HttpClient.h"

namespace korvalin {

// "Korvalin/<version> ( <home page> )"
std::string ProgramUserAgent();

// The host (and port) of an http(s) address; "" when there is none.
std::string HostOf(std::string_view url);

// Spaces requests to each host at least `gapSeconds` apart. Shared by every source that may
// ask the same host.
class HostGate {
 public:
  explicit HostGate(double gapSeconds = 1.0) : gap_(gapSeconds) {}
  // Waits, yielding, until a request to the host of `url` may go, and books it; false when
  // cancelled meanwhile.
  bool WaitTurn(EventLoop& loop, const std::string& url, const std::function<bool()>& cancelled);

 private:
  double gap_;
  std::map<std::string, double> last_;  // host -> the loop's clock at its last request
};

// The longest wait a busy server may ask for before the program gives up at once.
inline constexpr double kLongestRetryWait = 60;

struct PoliteFetch {
  HttpClient& http;
  EventLoop& loop;
  HostGate& gate;
};

// One GET with the program's User-Agent through the gate; a 503 or 429 is retried once after
// the server's Retry-After (1 s when it names none). A cancel gives status 0, "cancelled".
HttpResponse FetchPolitely(const PoliteFetch& via, HttpRequest request, const std::function<bool()>& cancelled);

// Why an answer is of no use, in plain words; "" for a 200.
std::string HttpFault(const HttpResponse& response);

// Blanks as "+", everything but letters, digits and "-._~" percent-encoded.
std::string QueryEncoded(std::string_view text);

}  // namespace korvalin
