// The Disc Information window through the real widgets, opened from the main window's CD bar.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/view/Form1View.h"
#include "tests/support/FakeServices.h"
#include "tests/view/QtTestApp.h"

namespace korvalin {
namespace {

QWidget* TopLevel(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name) return w;
  }
  return nullptr;
}

TEST(DiscInfoView, TheCdBarButtonOpensTheWindowAndWhatIsTypedReachesTheForm) {
  test::QtApp();
  test::FakeServices fake;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
  Form1View view{form};
  form.Form_Load();
  form.mnuCDbar.Click();  // the CD bar is off at first
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* button = view.findChild<QToolButton*>("cmdDiscInfo");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->toolTip(), "Disc Information");
  ASSERT_TRUE(button->isVisible());
  QTest::mouseClick(button, Qt::LeftButton);

  QWidget* window = TopLevel("frmDiscInfo");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), "Disc Information");
  for (const char* name : {"lstCandidates", "lstReasons", "lstTracks"}) EXPECT_NE(window->findChild<QListWidget*>(name), nullptr) << name;
  auto* album = window->findChild<QLineEdit*>("txtAlbum");
  ASSERT_NE(album, nullptr);
  QTest::keyClicks(album, "Typed Album");
  EXPECT_EQ(form.windows.discInfo.txtAlbum.Text(), "Typed Album");
  auto* close = window->findChild<QPushButton*>("cmdClose");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), "Close");
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace korvalin
