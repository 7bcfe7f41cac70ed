#include "discinfo/PoliteHttp.h"

#include <cctype>
#include <cstdio>

namespace korvalin {

namespace {

bool Cancelled(const std::function<bool()>& cancelled) { return cancelled && cancelled(); }

// Waits `seconds` on the loop's clock, yielding; false when cancelled meanwhile.
bool WaitYielding(EventLoop& loop, double seconds, const std::function<bool()>& cancelled) {
  const double start = loop.Clock();
  while (SecondsBetween(start, loop.Clock()) < seconds) {
    if (Cancelled(cancelled)) return false;
    loop.YieldWhileWaiting();
  }
  return !Cancelled(cancelled);
}

// Retry-After in seconds; an HTTP date or nonsense counts as 1 s, a missing header too.
double RetryAfter(const HttpResponse& r) {
  const std::string text = r.Header("Retry-After");
  if (text.empty() || text.size() > 9) return 1;
  double seconds = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 1;
    seconds = seconds * 10 + (c - '0');
  }
  return seconds;
}

HttpResponse CancelledResponse() {
  HttpResponse r;
  r.problem = "cancelled";
  return r;
}

}  // namespace

std::string ProgramUserAgent() { return "Korvalin/" KORVALIN_VERSION " ( " KORVALIN_HOMEPAGE " )"; }

std::string HostOf(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return {};
  std::string_view rest = url.substr(scheme + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  const std::size_t at = rest.rfind('@');
  if (at != std::string_view::npos) rest.remove_prefix(at + 1);
  std::string host(rest);
  for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return host;
}

bool HostGate::WaitTurn(EventLoop& loop, const std::string& url, const std::function<bool()>& cancelled) {
  const std::string host = HostOf(url);
  const auto it = last_.find(host);
  if (it != last_.end()) {
    const double since = SecondsBetween(it->second, loop.Clock());
    if (since < gap_ && !WaitYielding(loop, gap_ - since, cancelled)) return false;
  }
  if (Cancelled(cancelled)) return false;
  last_[host] = loop.Clock();
  return true;
}

HttpResponse FetchPolitely(const PoliteFetch& via, HttpRequest request, const std::function<bool()>& cancelled) {
  bool named = false;
  for (const auto& [name, value] : request.headers) named = named || name == "User-Agent";
  if (!named) request.headers.emplace_back("User-Agent", ProgramUserAgent());

  if (!via.gate.WaitTurn(via.loop, request.url, cancelled)) return CancelledResponse();
  HttpResponse r = GetYielding(via.http, via.loop, request, cancelled);
  if (r.status != 503 && r.status != 429) return r;
  const double wait = RetryAfter(r);
  if (wait > kLongestRetryWait) return r;
  if (!WaitYielding(via.loop, wait, cancelled)) return CancelledResponse();
  if (!via.gate.WaitTurn(via.loop, request.url, cancelled)) return CancelledResponse();
  return GetYielding(via.http, via.loop, request, cancelled);
}

std::string HttpFault(const HttpResponse& r) {
  if (r.status == 200) return {};
  if (r.status == 0) return r.problem.empty() ? "no answer" : r.problem;
  const std::string code = "HTTP " + std::to_string(r.status);
  if (r.status == 503 || r.status == 429) return "the server is busy (" + code + "); try again later";
  if (r.status >= 500) return "server error (" + code + ")";
  if (r.status >= 300 && r.status < 400) return "a redirect that leads nowhere (" + code + ")";
  return "the server refused the request (" + code + ")";
}

std::string QueryEncoded(std::string_view text) {
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += ch;
    } else if (c == ' ') {
      out += '+';
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace korvalin
