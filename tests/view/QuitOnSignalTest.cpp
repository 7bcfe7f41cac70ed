#include "platform/qt/QuitOnSignal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <csignal>

#include "platform/qt/QtDialogs.h"

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

// A program asked to end must not wait on a dialog nobody will answer.
TEST(QtDialogs, EndingClosesTheOpenDialogAndAnswersLaterOnesUnshown) {
  QtDialogs dialogs;
  bool shownAfterEnding = false;
  QTimer::singleShot(0, [&] { dialogs.EndAll(); });
  EXPECT_EQ(dialogs.InputBox("Name a folder", "", "Rips"), std::nullopt);
  // A dialog that did show would be closed by this watchdog, and noted.
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) {
        shownAfterEnding = true;
        d->reject();
      }
    }
  });
  watchdog.start(2000);
  EXPECT_EQ(dialogs.MsgBox("Delete it?", MsgBoxButtons::YesNo, MsgBoxIcon::Question, ""), MsgBoxResult::No);
  EXPECT_EQ(dialogs.MsgBox("Done", MsgBoxButtons::OK, MsgBoxIcon::None, ""), MsgBoxResult::OK);
  EXPECT_EQ(dialogs.PickFolder("Destination", "/"), std::nullopt);
  EXPECT_FALSE(shownAfterEnding);
}

}  // namespace
}  // namespace korvalin
