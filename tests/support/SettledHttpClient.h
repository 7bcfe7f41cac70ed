#pragma once
// A real HTTP client whose calls have finished by the time Get returns: the request runs on the
// real clock while the scripted loop's virtual clock stands still, so the program's own waits
// (the gap between requests to one host, a busy server's Retry-After) are all that moves it.
// Records the virtual time at which each request was started.

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/HttpClient.h"
#include "tests/support/ScriptedEventLoop.h"

namespace korvalin::test {

class SettledHttpClient : public HttpClient {
 public:
  SettledHttpClient(HttpClient& inner, ScriptedEventLoop& loop) : inner_(inner), loop_(loop) {}

  std::unique_ptr<HttpCall> Get(const HttpRequest& request) override {
    startedAt.push_back(loop_.Elapsed());
    requests.push_back(request);
    auto call = inner_.Get(request);
    while (!call->Finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return call;
  }

  std::vector<double> startedAt;  // the loop's Elapsed() at each Get
  std::vector<HttpRequest> requests;

 private:
  HttpClient& inner_;
  ScriptedEventLoop& loop_;
};

}  // namespace korvalin::test
