#pragma once
// Turns a request to end the program from outside (SIGTERM from a session manager or `kill`,
// SIGINT from a terminal, SIGHUP when the terminal goes) into the same close as the window's own,
// run from the event loop, so that a job in progress stops and the program ends normally.
// The signal handler only writes a byte to a pipe; the event loop reads it and calls `quit`.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace korvalin {

class QuitOnSignal {
 public:
  explicit QuitOnSignal(std::function<void()> quit);
  ~QuitOnSignal();  // restores the signals' earlier handling
  QuitOnSignal(const QuitOnSignal&) = delete;
  QuitOnSignal& operator=(const QuitOnSignal&) = delete;

 private:
  std::function<void()> quit_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace korvalin
