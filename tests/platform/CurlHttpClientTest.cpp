// The HTTP adapter against a loopback server: what it sends and takes, and how each failure
// ends: promptly, with a plain reason, never with a partial answer.

#include "platform/linux/CurlHttpClient.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScriptedEventLoop.h"

namespace korvalin {
namespace {

using test::LoopbackHttpServer;
using test::RecordedRequest;
using test::ScriptedAnswer;

HttpRequest To(const std::string& url, double timeout = 5) {
  HttpRequest r;
  r.url = url;
  r.timeoutSeconds = timeout;
  return r;
}

TEST(CurlHttpClient, SendsTheHeadersAndTakesStatusHeadersAndBody) {
  LoopbackHttpServer server;
  server.Queue({201, {{"X-Answer", "yes"}, {"Retry-After", "7"}}, std::string("body\0with a nul", 15)});
  CurlHttpClient client;
  test::ScriptedEventLoop loop;
  HttpRequest request = To(server.BaseUrl() + "/a/b?c=d+e");
  request.headers = {{"User-Agent", "Tester/1"}, {"Accept", "application/json"}};
  const HttpResponse r = GetYielding(client, loop, request);
  EXPECT_EQ(r.problem, "");
  EXPECT_EQ(r.status, 201);
  EXPECT_EQ(r.body, std::string("body\0with a nul", 15));
  EXPECT_EQ(r.Header("x-answer"), "yes");
  EXPECT_EQ(r.Header("RETRY-AFTER"), "7");
  EXPECT_EQ(r.Header("missing"), "");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/a/b?c=d+e");
  EXPECT_EQ(server.Requests()[0].Header("user-agent"), "Tester/1");
  EXPECT_EQ(server.Requests()[0].Header("Accept"), "application/json");
}

TEST(CurlHttpClient, FollowsRedirectsUpToFive) {
  LoopbackHttpServer server;
  server.Serve([](const RecordedRequest& r) {
    const int hop = r.Path().size() > 5 ? std::stoi(r.Path().substr(5)) : 0;  // "/hop/<n>"
    if (hop < 5) return ScriptedAnswer::Redirect("/hop/" + std::to_string(hop + 1));
    return ScriptedAnswer::Text(200, "arrived");
  });
  CurlHttpClient client;
  test::ScriptedEventLoop loop;
  const HttpResponse r = GetYielding(client, loop, To(server.BaseUrl() + "/hop/0"));
  EXPECT_EQ(r.body, "arrived");
  EXPECT_EQ(server.Requests().size(), 6u);
}

TEST(CurlHttpClient, FailuresEndWithAPlainReason) {
  const struct {
    const char* name;
    ScriptedAnswer answer;
    std::size_t maxBody;
    const char* problem;
  } rows[] = {
      {"redirect loop", ScriptedAnswer::Redirect("/same"), 1024, "too many redirects (more than 5, or a redirect loop)"},
      {"too large, length given", ScriptedAnswer::Text(200, std::string(5000, 'x')), 4096, "answer too large"},
      {"exactly the limit", ScriptedAnswer::Text(200, std::string(4096, 'x')), 4096, ""},
      {"no answer", ScriptedAnswer::Silent(), 1024, "no answer within 0.3 s"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    LoopbackHttpServer server;
    server.Serve([&](const RecordedRequest&) { return row.answer; });
    CurlHttpClient client;
    test::ScriptedEventLoop loop;
    HttpRequest request = To(server.BaseUrl() + "/same", 0.3);
    request.maxBodyBytes = row.maxBody;
    const HttpResponse r = GetYielding(client, loop, request);
    EXPECT_EQ(r.problem, row.problem);
    if (*row.problem) {
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.body, "");
    }
  }
}

TEST(CurlHttpClient, CancelEndsACallThatGetsNoAnswer) {
  LoopbackHttpServer server;
  server.Serve([](const RecordedRequest&) { return ScriptedAnswer::Silent(); });
  CurlHttpClient client;
  test::ScriptedEventLoop loop;
  const auto began = std::chrono::steady_clock::now();
  const HttpResponse r = GetYielding(client, loop, To(server.BaseUrl() + "/"), [&] { return loop.Yields() > 100; });
  EXPECT_EQ(r.problem, "cancelled");
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
}

TEST(CurlHttpClient, ADroppedCallIsCancelledAndJoined) {
  LoopbackHttpServer server;
  server.Serve([](const RecordedRequest&) { return ScriptedAnswer::Silent(); });
  CurlHttpClient client;
  const auto began = std::chrono::steady_clock::now();
  { auto call = client.Get(To(server.BaseUrl() + "/")); }
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
}

TEST(NoHttpClient, FailsAtOnceSayingSo) {
  test::ScriptedEventLoop loop;
  const HttpResponse r = GetYielding(NoHttpClient::Instance(), loop, To("http://127.0.0.1:9/"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.problem, "this program has no network access");
  EXPECT_EQ(loop.Yields(), 0);
}

}  // namespace
}  // namespace korvalin
