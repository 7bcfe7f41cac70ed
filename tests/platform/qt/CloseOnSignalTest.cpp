#include "platform/qt/CloseOnSignal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QWidget>
#include <csignal>

#include "platform/qt/QtDialogs.h"

namespace korvalin {
namespace {

void ProcessEvents() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// A box the load shows runs the event loop: a request then must not pull the window from under
// the load, yet the box must not wait for an answer nobody gives.
TEST(CloseOnSignal, ARequestDuringTheLoadEndsTheDialogsAtOnceAndClosesTheWindowOnceItHasLoaded) {
  QtDialogs dialogs;
  QWidget window;
  window.show();
  CloseOnSignal closeOnSignal(dialogs, window);
  QDialog box;
  box.show();
  ::raise(SIGTERM);
  ProcessEvents();
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(window.isVisible()) << "closed while loading";
  closeOnSignal.Loaded();
  EXPECT_TRUE(window.isVisible()) << "the close runs from the event loop";
  ProcessEvents();
  EXPECT_FALSE(window.isVisible());
}

TEST(CloseOnSignal, ARequestAfterTheLoadClosesTheWindowAndNoneLeavesItOpen) {
  QtDialogs dialogs;
  QWidget window;
  window.show();
  CloseOnSignal closeOnSignal(dialogs, window);
  closeOnSignal.Loaded();
  ProcessEvents();
  EXPECT_TRUE(window.isVisible()) << "closed with no request";
  QDialog box;
  box.show();
  ::raise(SIGINT);
  ProcessEvents();
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace korvalin
