#include "platform/HttpClient.h"

#include <cctype>

namespace korvalin {

namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// A call that has failed before it began.
class FailedCall : public HttpCall {
 public:
  explicit FailedCall(std::string problem) { response_.problem = std::move(problem); }
  bool Finished() override { return true; }
  void Cancel() override {}
  HttpResponse Result() override { return response_; }

 private:
  HttpResponse response_;
};

}  // namespace

std::string HttpResponse::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameWithoutCase(key, name)) return value;
  }
  return {};
}

HttpResponse GetYielding(HttpClient& client, EventLoop& loop, const HttpRequest& request,
                         const std::function<bool()>& cancelled) {
  std::unique_ptr<HttpCall> call = client.Get(request);
  while (!call->Finished()) {
    if (cancelled && cancelled()) {
      call->Cancel();
      // The call ends within moments of a cancel; the window stays live meanwhile.
      while (!call->Finished()) loop.YieldWhileWaiting();
      break;
    }
    loop.YieldWhileWaiting();
  }
  return call->Result();
}

NoHttpClient& NoHttpClient::Instance() {
  static NoHttpClient none;
  return none;
}

std::unique_ptr<HttpCall> NoHttpClient::Get(const HttpRequest&) {
  return std::make_unique<FailedCall>("this program has no network access");
}

}  // namespace korvalin
