#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace korvalin::test {

namespace {

bool SameWithoutCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

// Reads up to the end of the request's header block; false when the client gave up or stalled.
bool ReadHead(int connection, std::string& head) {
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    pollfd p{connection, POLLIN, 0};
    if (::poll(&p, 1, 2000) <= 0) return false;
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    head.append(buffer, static_cast<std::size_t>(n));
    if (head.size() > (1u << 20)) return false;
  }
  return true;
}

RecordedRequest ParseHead(const std::string& head) {
  RecordedRequest r;
  std::size_t lineEnd = head.find("\r\n");
  const std::string first = head.substr(0, lineEnd);
  const std::size_t s1 = first.find(' '), s2 = first.rfind(' ');
  if (s1 != std::string::npos && s2 > s1) {
    r.method = first.substr(0, s1);
    r.target = first.substr(s1 + 1, s2 - s1 - 1);
  }
  std::size_t at = lineEnd + 2;
  while (at < head.size()) {
    const std::size_t end = head.find("\r\n", at);
    if (end == std::string::npos || end == at) break;
    const std::string line = head.substr(at, end - at);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
      std::size_t v = colon + 1;
      while (v < line.size() && line[v] == ' ') ++v;
      r.headers.emplace_back(line.substr(0, colon), line.substr(v));
    }
    at = end + 2;
  }
  return r;
}

// A proxy named in the environment (as on some CI machines) must not stand between the tests'
// clients and this server.
void BypassProxiesForLoopback() {
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    const char* old = std::getenv(name);
    std::string list = old ? old : "";
    if (list.find("127.0.0.1") != std::string::npos) continue;
    if (!list.empty()) list += ",";
    list += "127.0.0.1";
    ::setenv(name, list.c_str(), 1);
  }
}

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;  // the client went away (it may refuse a long answer)
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameWithoutCase(key, name)) return value;
  }
  return {};
}

LoopbackHttpServer::LoopbackHttpServer() {
  BypassProxiesForLoopback();
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe2(wake_, O_CLOEXEC) != 0) {
    throw std::runtime_error("the loopback HTTP server cannot listen");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_.store(true);
  const char byte = 0;
  [[maybe_unused]] const auto n = ::write(wake_[1], &byte, 1);
  thread_.join();
  for (int fd : silent_) ::close(fd);
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

std::string LoopbackHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::Serve(std::function<ScriptedAnswer(const RecordedRequest&)> handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

void LoopbackHttpServer::Queue(ScriptedAnswer answer) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(answer));
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

ScriptedAnswer LoopbackHttpServer::AnswerFor(const RecordedRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (handler_) return handler_(request);
  if (queue_.empty()) return ScriptedAnswer::Text(404, "nothing scripted");
  ScriptedAnswer a = std::move(queue_.front());
  queue_.pop_front();
  return a;
}

void LoopbackHttpServer::Run() {
  while (!stopping_.load()) {
    pollfd p[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) continue;
    if (p[1].revents) break;
    if (!(p[0].revents & POLLIN)) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) Handle(connection);
  }
}

void LoopbackHttpServer::Handle(int connection) {
  std::string head;
  if (!ReadHead(connection, head)) {
    ::close(connection);
    return;
  }
  const ScriptedAnswer answer = AnswerFor(ParseHead(head));
  if (answer.neverAnswer) {
    silent_.push_back(connection);
    return;
  }
  if (answer.delaySeconds > 0) {
    // Waits on the wake pipe, so that stopping the server cuts the delay short.
    pollfd p{wake_[0], POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(answer.delaySeconds * 1000));
  }
  std::string out = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) + "\r\n";
  for (const auto& [name, value] : answer.headers) out += name + ": " + value + "\r\n";
  out += "Content-Length: " + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
  SendAll(connection, out);
  SendAll(connection, answer.body);
  ::shutdown(connection, SHUT_WR);
  ::close(connection);
}

}  // namespace korvalin::test
