#include "tools/StopSignals.h"

#include <cstdio>
#include <cstring>

namespace korvalin::cli {
namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t received = 0;

extern "C" void Record(int signal) { received = signal; }

}  // namespace

StopSignals::StopSignals() {
  received = 0;
  struct sigaction action {};
  action.sa_handler = Record;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and writes in progress simply go on
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
}

int StopSignals::Received() { return received; }

void StoppingEventLoop::Yield() {
  HeadlessEventLoop::Yield();
  if (StopSignals::Received() != 0 && flags_ != nullptr) flags_->CancelRequested = kTrue;
}

int ReportStopped(const std::string& kept) {
  const int signal = StopSignals::Received();
  const char* name = signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : signal == SIGHUP ? "SIGHUP" : "a signal";
  std::fprintf(stderr, "korvalin-cli: stopped by %s; %s\n", name, kept.c_str());
  return StopSignals::ExitStatus();
}

}  // namespace korvalin::cli
