#include "platform/qt/HelpWindow.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTest>

#include "platform/linux/ChmArchive.h"
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

// Every page of the contents is in the file, and so is every picture a page shows.
TEST(HelpWindow, EveryPageOfTheContentsAndEveryPictureIsInTheFile) {
  const auto archive = ChmArchive::Open(KORVALIN_BIN_DIR "/Tesmor2.chm");
  ASSERT_TRUE(archive);
  const auto toc = archive->Read("/toc.hhc");
  ASSERT_TRUE(toc);
  const QRegularExpression local(R"re(name="Local" value="([^"]+)")re"), picture(R"re(<img src="([^"]+)")re");
  int pages = 0, pictures = 0;
  for (auto page = local.globalMatch(QString::fromStdString(*toc)); page.hasNext(); ++pages) {
    const QString name = page.next().captured(1);
    const auto html = archive->Read("/" + name.toStdString());
    ASSERT_TRUE(html) << name.toStdString();
    for (auto img = picture.globalMatch(QString::fromStdString(*html)); img.hasNext(); ++pictures) {
      const std::string src = img.next().captured(1).toStdString();
      const auto png = archive->Read("/" + src);
      ASSERT_TRUE(png) << name.toStdString() << " shows " << src;
      EXPECT_EQ(png->substr(0, 4), "\x89PNG") << src;
    }
  }
  EXPECT_GE(pages, 15);
  EXPECT_GE(pictures, 9);
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
