#include "platform/linux/ChmArchive.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

TEST(ChmArchive, ReadsTheBuiltHelpFilesDefaultTopicAndPages) {
  const auto help = ChmArchive::Open(KORVALIN_BIN_DIR "/Tesmor2.chm");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->DefaultTopic(), "/index.htm");
  const auto index = help->Read(help->DefaultTopic());
  ASSERT_TRUE(index.has_value());
  EXPECT_NE(index->find("<title>Korvalin Help</title>"), std::string::npos);
  EXPECT_NE(index->find("href=\"ripping.htm\""), std::string::npos);
  // Every page the contents lead to is in the file; names are matched in either case.
  for (const char* page : {"/mainwindow.htm", "/ripping.htm", "/encoding.htm", "/decoding.htm", "/collection.htm",
                           "/settings.htm", "/discimages.htm", "/RIPPING.HTM"}) {
    EXPECT_TRUE(help->Read(page).has_value()) << page;
  }
  EXPECT_FALSE(help->Read("/missing.htm").has_value());
}

TEST(ChmArchive, RefusesWhatIsNotAHelpFile) {
  test::TempDir dir;
  test::WriteFile(dir / "fake.chm", "ITSF but not really");
  EXPECT_EQ(ChmArchive::Open(dir / "fake.chm"), nullptr);
  EXPECT_EQ(ChmArchive::Open(dir / "missing.chm"), nullptr);
}

}  // namespace
}  // namespace korvalin
