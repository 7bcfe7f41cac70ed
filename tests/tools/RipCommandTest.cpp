#include <gtest/gtest.h>

#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliRip, CopiesATrackOfAnImageBitExactlyAndExplainsFailures) {
  test::TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(75, 2)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "two tracks", tracks);

  const auto ok = RunCli({"rip", "--image", cue, "2", dir / "out.wav"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(test::ReadFile(dir / "out.wav").substr(44), tracks[1]);

  const auto noTrack = RunCli({"rip", "--image", cue, "3", dir / "x.wav"});
  EXPECT_EQ(noTrack.status, 1);
  EXPECT_EQ(noTrack.err, "korvalin-cli: the disc has no track 3\n");

  const auto noImage = RunCli({"rip", "--image", dir / "none.cue", "1", dir / "x.wav"});
  EXPECT_EQ(noImage.status, 1);
  EXPECT_NE(noImage.err.find("cannot read the disc"), std::string::npos);

  const auto usage = RunCli({"rip", "1"});
  EXPECT_EQ(usage.status, 1);
  EXPECT_NE(usage.err.find("usage: rip"), std::string::npos);
  EXPECT_FALSE(test::Exists(dir / "x.wav"));

  const auto unwritable = RunCli({"rip", "--image", cue, "1", dir / "no-folder/x.wav"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("Could not write"), std::string::npos);
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(CliRipMp3, EncodesATrackWithTheGivenBitrateAndFlags) {
  test::TempDir dir;
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "d", {discgen::MusicCdFrames(120, 4)});
  const auto ok = test::RunCli({"rip-mp3", "--image", cue, "--bitrate", "192", "--copyright", "1", dir / "o.mp3"});
  ASSERT_EQ(ok.status, 0) << ok.err;
  const auto scan = test::ScanFrames(test::ReadFile(dir / "o.mp3"));
  ASSERT_FALSE(scan.frames.empty());
  for (const auto& f : scan.frames) {
    ASSERT_EQ(f.bitrateKbps, 192);
    ASSERT_TRUE(f.copyright);
    ASSERT_FALSE(f.original || f.privateBit || f.crcProtected);
  }
  const auto refused = test::RunCli({"rip-mp3", "--image", cue, "--bitrate", "33", "1", dir / "x.mp3"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Invalid format parameters"), std::string::npos);
  EXPECT_FALSE(test::Exists(dir / "x.mp3"));
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(CliCdInfo, ShowsTheIdentityAndTheTrackLines) {
  test::TempDir dir;
  const std::string cue =
      discgen::WriteDiscImage(dir.Path(), "d", {std::string(75 * 2352 * 3, '\0'), std::string(75 * 2352 * 62, '\0')});
  const auto r = test::RunCli({"cdinfo", "--image", cue});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Tracks: 2\nTrack  1 - 00:03\nTrack  2 - 01:02\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.rfind("Identity: ", 0), 0u);
  EXPECT_EQ(test::RunCli({"cdinfo", "--image", dir / "none.cue"}).err, "korvalin-cli: no disc in the drive\n");
}

}  // namespace
}  // namespace korvalin
