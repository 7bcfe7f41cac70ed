#include "platform/linux/CurlHttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>

namespace korvalin {

namespace {

constexpr long kMostRedirects = 5;

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) {
    text.pop_back();
  }
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t')) ++first;
  return text.substr(first);
}

// What a call shares with its worker thread. The worker writes `response` and sets `finished`
// last; the program's thread reads the response only after that.
struct Transfer {
  HttpRequest request;
  HttpResponse response;
  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  bool tooLarge = false;
};

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  if (t->response.body.size() + n > t->request.maxBodyBytes) {
    t->tooLarge = true;
    return 0;  // ends the transfer: a longer answer is refused, not cut short
  }
  t->response.body.append(data, n);
  return n;
}

std::size_t TakeHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  const std::string line(data, n);
  // Each answer of a redirect chain starts with its status line: keep the last answer's headers.
  if (line.rfind("HTTP/", 0) == 0) {
    t->response.headers.clear();
    return n;
  }
  const std::size_t colon = line.find(':');
  if (colon != std::string::npos) {
    t->response.headers.emplace_back(Trimmed(line.substr(0, colon)), Trimmed(line.substr(colon + 1)));
  }
  return n;
}

int CheckCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Transfer*>(user)->cancelled.load() ? 1 : 0;
}

std::string Describe(CURLcode code, const Transfer& t, const char* detail) {
  switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
      return "no answer within " + Seconds(t.request.timeoutSeconds) + " s";
    case CURLE_ABORTED_BY_CALLBACK:
      return "cancelled";
    case CURLE_TOO_MANY_REDIRECTS:
      return "too many redirects (more than " + std::to_string(kMostRedirects) + ", or a redirect loop)";
    case CURLE_FILESIZE_EXCEEDED:
      return "answer too large";
    case CURLE_COULDNT_RESOLVE_HOST:
      return "the server's name cannot be found";
    case CURLE_COULDNT_CONNECT:
      return "the server refused the connection or cannot be reached";
    case CURLE_UNSUPPORTED_PROTOCOL:
      return "not an http or https address";
    default:
      break;
  }
  std::string text = curl_easy_strerror(code);
  if (detail && *detail) text += std::string(": ") + detail;
  return text;
}

void Run(Transfer& t) {
  CURL* curl = curl_easy_init();
  if (!curl) {
    t.response.problem = "the HTTP library could not start";
    return;
  }
  char detail[CURL_ERROR_SIZE] = {};
  curl_slist* headers = nullptr;
  for (const auto& [name, value] : t.request.headers) {
    headers = curl_slist_append(headers, (name + ": " + value).c_str());
  }
  const long timeoutMs = std::lround(std::max(0.001, t.request.timeoutSeconds) * 1000.0);
  curl_easy_setopt(curl, CURLOPT_URL, t.request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
  // No signals from the library: it runs on a worker thread of a program that has its own handlers.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMostRedirects);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // Compressed answers are welcome; the size limit counts what they unpack to.
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t.request.maxBodyBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, TakeHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckCancel);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);

  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    t.response.status = static_cast<int>(status);
  } else {
    t.response.status = 0;
    t.response.headers.clear();
    t.response.body.clear();
    t.response.problem = t.tooLarge ? "answer too large" : Describe(code, t, detail);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
}

class CurlCall : public HttpCall {
 public:
  explicit CurlCall(const HttpRequest& request) : transfer_(std::make_unique<Transfer>()) {
    transfer_->request = request;
    Transfer* t = transfer_.get();
    worker_ = std::thread([t] {
      Run(*t);
      t->finished.store(true);
    });
  }
  ~CurlCall() override {
    transfer_->cancelled.store(true);
    if (worker_.joinable()) worker_.join();
  }
  bool Finished() override { return transfer_->finished.load(); }
  void Cancel() override { transfer_->cancelled.store(true); }
  HttpResponse Result() override {
    if (worker_.joinable()) worker_.join();
    HttpResponse r = transfer_->response;
    if (transfer_->cancelled.load() && r.status == 0) r.problem = "cancelled";
    return r;
  }

 private:
  std::unique_ptr<Transfer> transfer_;
  std::thread worker_;
};

}  // namespace

CurlHttpClient::CurlHttpClient() { InitialiseCurlOnce(); }

std::unique_ptr<HttpCall> CurlHttpClient::Get(const HttpRequest& request) { return std::make_unique<CurlCall>(request); }

std::string CurlHttpClient::Version() {
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  return std::string("libcurl ") + (info && info->version ? info->version : "?");
}

}  // namespace korvalin
