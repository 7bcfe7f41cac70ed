#include "platform/qt/QuitOnSignal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
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

// Counts the dialogs that come on screen.
struct ShownDialogs : QObject {
  int count = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched)) ++count;
    return false;
  }
};

// A program asked to end must not wait on a dialog nobody will answer.
TEST(QtDialogs, EndingClosesTheOpenDialogAndAnswersLaterOnesUnshown) {
  QtDialogs dialogs;
  QDialog open;
  open.show();
  dialogs.EndAll();
  EXPECT_FALSE(open.isVisible());
  EXPECT_EQ(open.result(), QDialog::Rejected);

  ShownDialogs shown;
  qApp->installEventFilter(&shown);
  // A dialog that did come up is closed again, so that the fault fails the test instead of hanging it.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
    }
  });
  watchdog.start(500);
  EXPECT_EQ(dialogs.MsgBox("Delete it?", MsgBoxButtons::YesNo, MsgBoxIcon::Question, ""), MsgBoxResult::No);
  EXPECT_EQ(dialogs.MsgBox("Done", MsgBoxButtons::OK, MsgBoxIcon::None, ""), MsgBoxResult::OK);
  EXPECT_EQ(dialogs.InputBox("Name a folder", "", "Rips"), std::nullopt);
  EXPECT_EQ(dialogs.PickFolder("Destination", "/"), std::nullopt);
  qApp->removeEventFilter(&shown);
  EXPECT_EQ(shown.count, 0);
}

}  // namespace
}  // namespace korvalin
