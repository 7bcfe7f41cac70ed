#include "platform/qt/QuitOnSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace korvalin {
namespace {

constexpr std::array<int, 3> kQuitSignals{SIGTERM, SIGINT, SIGHUP};
int wakePipe[2] = {-1, -1};
struct sigaction earlier[kQuitSignals.size()];

void OnQuitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);  // a full pipe already holds a request
  errno = saved;
}

}  // namespace

QuitOnSignal::QuitOnSignal(std::function<void()> quit) : quit_(std::move(quit)) {
  if (wakePipe[0] >= 0) throw std::logic_error("QuitOnSignal: one at a time");
  if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("QuitOnSignal: no pipe");
  notifier_ = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
    if (quit_) quit_();
  });
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kQuitSignals.size(); ++i) ::sigaction(kQuitSignals[i], &action, &earlier[i]);
}

QuitOnSignal::~QuitOnSignal() {
  for (std::size_t i = 0; i < kQuitSignals.size(); ++i) ::sigaction(kQuitSignals[i], &earlier[i], nullptr);
  notifier_.reset();
  ::close(wakePipe[0]);
  ::close(wakePipe[1]);
  wakePipe[0] = wakePipe[1] = -1;
}

}  // namespace korvalin
