#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

TEST(CliDrives, ListsTheProgramsDemoDiscThenTheImagesInTheUsersDataFolder) {
  test::TempDir data;
  test::ScopedEnv env("XDG_DATA_HOME", data.Path().c_str());
  const auto before = test::RunCli({"drives"});
  EXPECT_EQ(before.status, 0) << before.err;
  EXPECT_NE(before.out.find("Korvalin Demo Disc.cue"), std::string::npos) << before.out;
  EXPECT_EQ(before.out.find(": \n"), std::string::npos) << "a blank entry: " << before.out;

  for (const char* folder : {"/Korvalin", "/Korvalin/discs"}) ::mkdir((data.Path() + folder).c_str(), 0755);
  discgen::WriteDiscImage(data / "Korvalin/discs", "A Disc Of My Own", {discgen::MusicCdFrames(30, 1)});
  const auto after = test::RunCli({"drives"});
  EXPECT_EQ(after.status, 0) << after.err;
  const std::size_t demo = after.out.find("Korvalin Demo Disc.cue"), mine = after.out.find("A Disc Of My Own.cue");
  ASSERT_NE(mine, std::string::npos) << after.out;
  EXPECT_LT(demo, mine) << "the program's own discs come first";
  EXPECT_NE(after.out.find("frames 0 to 30 (30 frames)", mine), std::string::npos) << after.out;
}

}  // namespace
}  // namespace korvalin
