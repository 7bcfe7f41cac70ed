#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests of the program's HTTP clients: it listens on a
// port the system picks, answers each request on its own thread as the test scripts it, and
// records what it was asked. One request per connection; every answer closes its connection.

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace korvalin::test {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query, as sent
  std::vector<std::pair<std::string, std::string>> headers;

  std::string Path() const { return target.substr(0, target.find('?')); }
  std::string Query() const {
    const auto q = target.find('?');
    return q == std::string::npos ? "" : target.substr(q + 1);
  }
  // The first header of that name, compared without case; empty when missing.
  std::string Header(std::string_view name) const;
};

struct ScriptedAnswer {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  double delaySeconds = 0;   // before the answer starts (real time: keep it tiny)
  bool neverAnswer = false;  // the connection stays open and silent until the server stops

  static ScriptedAnswer Text(int status, std::string body, std::string contentType = "text/plain; charset=utf-8") {
    return {status, {{"Content-Type", std::move(contentType)}}, std::move(body)};
  }
  static ScriptedAnswer Json(std::string body, int status = 200) {
    return Text(status, std::move(body), "application/json");
  }
  static ScriptedAnswer Silent() {
    ScriptedAnswer a;
    a.neverAnswer = true;
    return a;
  }
  static ScriptedAnswer Redirect(std::string location) { return {302, {{"Location", std::move(location)}}, ""}; }
};

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // "http://127.0.0.1:<port>"
  std::string BaseUrl() const;

  // Answers come from the handler when one is set; otherwise queued answers are taken in the
  // order requests arrive; with none left, 404.
  void Serve(std::function<ScriptedAnswer(const RecordedRequest&)> handler);
  void Queue(ScriptedAnswer answer);

  std::vector<RecordedRequest> Requests() const;

 private:
  void Run();
  void Handle(int connection);
  ScriptedAnswer AnswerFor(const RecordedRequest& request);

  int listener_ = -1;
  int wake_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::function<ScriptedAnswer(const RecordedRequest&)> handler_;
  std::deque<ScriptedAnswer> queue_;
  std::vector<RecordedRequest> requests_;
  std::vector<int> silent_;  // connections left without an answer
  std::thread thread_;
};

}  // namespace korvalin::test
