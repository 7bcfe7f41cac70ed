#include "app/view/Form1View.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QTest>

#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

TEST(Form1View, ShowsTheMainWindowAndFollowsItsForm) {
  test::QtApp();
  test::FakeServices fake;
  Form1 form(fake.services);
  Form1View view(form);
  form.window.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  EXPECT_EQ(view.windowTitle(), "Korvalin V 2.1");

  auto* strip = view.findChild<QFrame*>("Picture5");
  ASSERT_NE(strip, nullptr);
  auto labels = strip->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels[0]->text(), "Next Action: Make a selection");

  // A new window size reaches the form as twips, and the form's layout reaches the widgets.
  view.resize(700, 500);
  QCoreApplication::processEvents();
  const QWidget* surface = view.centralWidget();
  EXPECT_EQ(form.window.ScaleWidth(), surface->width() * 15);
  auto* tree = view.findChild<QFrame*>("Picture7");
  EXPECT_EQ(tree->width(), surface->width() - form.Picture8.Width() / 15 - 3);  // 50 twips round to 3 px
  EXPECT_EQ(tree->y(), (360 + 285) / 15);

  form.window.SetCaption("Progress 07.50 %");
  EXPECT_EQ(view.windowTitle(), "Progress 07.50 %");
}

}  // namespace
}  // namespace korvalin
