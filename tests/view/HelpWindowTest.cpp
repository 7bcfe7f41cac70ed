#include "platform/qt/HelpWindow.h"

#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

TEST(HelpWindow, OpensTheDefaultTopicAndFollowsLinksInsideTheFile) {
  QtHelpViewer viewer;
  ASSERT_TRUE(viewer.ShowHelp(KORVALIN_BIN_DIR "/Tesmor2.chm"));
  HelpWindow* window = viewer.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_NE(window->toPlainText().indexOf("Korvalin copies the tracks"), -1);
  window->setSource(window->source().resolved(QUrl("ripping.htm")));
  EXPECT_NE(window->toPlainText().indexOf("1 Step Extraction"), -1);
  window->backward();
  EXPECT_NE(window->toPlainText().indexOf("Korvalin copies the tracks"), -1);
}

TEST(HelpWindow, AMissingOrDamagedFileIsRefused) {
  test::TempDir dir;
  test::WriteFile(dir / "Tesmor2.chm", "");
  QtHelpViewer viewer;
  EXPECT_FALSE(viewer.ShowHelp(dir / "Tesmor2.chm"));
  EXPECT_FALSE(viewer.ShowHelp(dir / "elsewhere.chm"));
  EXPECT_EQ(viewer.Window(), nullptr);
}

}  // namespace
}  // namespace korvalin
