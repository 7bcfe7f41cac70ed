#include "platform/qt/QuitOnSignal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <csignal>

namespace korvalin {
namespace {

void ProcessEvents() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

TEST(QuitOnSignal, EachEndingSignalAsksTheEventLoopToQuitAndTheEarlierHandlingComesBack) {
  struct sigaction before {};
  ::sigaction(SIGTERM, nullptr, &before);
  int quits = 0;
  {
    QuitOnSignal quitOnSignal([&] { ++quits; });
    ProcessEvents();
    EXPECT_EQ(quits, 0);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
      const int earlier = quits;
      ::raise(signal);  // the process survives: the handler only wakes the event loop
      EXPECT_EQ(quits, earlier) << "the handler itself must not run the close";
      ProcessEvents();
      EXPECT_EQ(quits, earlier + 1) << "signal " << signal;
    }
    ::raise(SIGTERM);
    ::raise(SIGTERM);
    ProcessEvents();
    EXPECT_EQ(quits, 4) << "requests that arrive together close once";
  }
  struct sigaction after {};
  ::sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace korvalin
