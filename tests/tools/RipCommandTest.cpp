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
  EXPECT_EQ(noImage.err, "korvalin-cli: The disc image \"" + dir / "none.cue" +
                             "\" cannot be used: the sheet cannot be read (No such file or directory).\n");

  const auto usage = RunCli({"rip", "1"});
  EXPECT_EQ(usage.status, 1);
  EXPECT_NE(usage.err.find("usage: rip"), std::string::npos);
  EXPECT_FALSE(test::Exists(dir / "x.wav"));

  const auto unwritable = RunCli({"rip", "--image", cue, "1", dir / "no-folder/x.wav"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("Could not create \"" + dir / "no-folder/x.wav\""), std::string::npos) << unwritable.err;

  // Options that name no drive are refused, never taken for drive 0.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"rip", "--image", "", "1", dir / "y.wav"}, {"rip", "--drive", "99", "1", dir / "y.wav"},
           {"rip-mp3", "--drive", "99", "1", dir / "y.mp3"}, {"cdinfo", "--drive", "99"}}) {
    const auto refused = RunCli(args);
    EXPECT_EQ(refused.status, 1) << args[2];
    EXPECT_TRUE(refused.err.find("--image needs") != std::string::npos ||
                refused.err.find("there is no drive 99") != std::string::npos)
        << refused.err;
  }
  EXPECT_FALSE(test::Exists(dir / "y.wav") || test::Exists(dir / "y.mp3"));
}

TEST(CliRip, NeverWritesOverTheImageItReadsOrCopiesADataTrack) {
  test::TempDir dir;
  const std::string cue = discgen::WriteCueImage(
      dir.Path(), "d", {{discgen::MusicCdFrames(40, 1), {}, false}, {std::string(20 * 2352, 'D'), {}, true}},
      discgen::ImageFiles::BinaryPerTrack);
  const std::string sheet = test::ReadFile(cue), bin = test::ReadFile(dir / "d 01.bin");
  for (const char* command : {"rip", "rip-mp3"}) {
    for (const std::string& target : {dir / "d 01.bin", cue, dir / "d 02.bin"}) {
      const auto r = RunCli({command, "--image", cue, "1", target});
      EXPECT_EQ(r.status, 1) << command << " " << target;
      EXPECT_NE(r.err.find("it is a file of the disc being read"), std::string::npos) << r.err;
    }
  }
  EXPECT_TRUE(test::ReadFile(cue) == sheet);
  EXPECT_TRUE(test::ReadFile(dir / "d 01.bin") == bin);
  EXPECT_EQ(test::FileSize(dir / "d 02.bin"), 20 * 2352);

  const auto data = RunCli({"rip", "--image", cue, "2", dir / "data.wav"});
  EXPECT_EQ(data.status, 1);
  EXPECT_EQ(data.err, "korvalin-cli: track 2 is a data track and holds no audio\n");
  EXPECT_FALSE(test::Exists(dir / "data.wav"));
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
  EXPECT_NE(test::RunCli({"cdinfo", "--image", dir / "none.cue"}).err.find("the sheet cannot be read"), std::string::npos);

  // One audio track is a music CD: its line is shown.
  const std::string one = discgen::WriteDiscImage(dir.Path(), "one", {std::string(75 * 2352 * 4, '\0')});
  const auto single = test::RunCli({"cdinfo", "--image", one});
  ASSERT_EQ(single.status, 0) << single.err;
  EXPECT_NE(single.out.find("Tracks: 1\nTrack  1 - 00:04\n"), std::string::npos) << single.out;
  // A sheet with a mistake says what is wrong, and no length can come out negative.
  test::WriteFile(dir / "bad.cue", "FILE \"one.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:02:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n");
  const auto bad = test::RunCli({"cdinfo", "--image", dir / "bad.cue"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "korvalin-cli: The disc image \"" + dir / "bad.cue" +
                         "\" cannot be used: the indexes of track 2 go backwards or leave the track before it empty.\n");
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(CliRip, SecureReadingGivesTheSameBytesAndPrintsWhatItFound) {
  test::TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(60, 1), discgen::MusicCdFrames(90, 2)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  const auto wav = test::RunCli({"rip", "--secure", "--image", cue, "2", dir / "s.wav"});
  EXPECT_EQ(wav.status, 0) << wav.err;
  EXPECT_TRUE(test::ReadFile(dir / "s.wav").substr(44) == tracks[1]);
  EXPECT_EQ(wav.out.rfind("secure reading: 0 re-reads, no suspicious frames\nTrack 2\n", 0), 0u) << wav.out;

  const auto mp3 = test::RunCli({"rip-mp3", "--image", cue, "--secure", "1", dir / "s.mp3"});
  EXPECT_EQ(mp3.status, 0) << mp3.err;
  EXPECT_EQ(mp3.out.rfind("secure reading: 0 re-reads, no suspicious frames\nTrack 1\n", 0), 0u) << mp3.out;

  // Without the flag only the track's figures are printed.
  const auto plain = test::RunCli({"rip", "--image", cue, "2", dir / "p.wav"});
  EXPECT_EQ(plain.out.rfind("Track 2\n", 0), 0u) << plain.out;
}

}  // namespace
}  // namespace korvalin
