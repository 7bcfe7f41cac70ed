#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliEncode, EncodesAWavIntoTheFolderAtTheChosenBitrateIndexAndPrintsTheName) {
  test::TempDir dir;
  const std::string pcm = discgen::MusicBytes(44100, 2);
  test::WriteFile(dir / "Take 1.wav", test::PcmWav(pcm, 44100, 2));
  const auto ok = RunCli({"encode", "--bitrate-index", "9", "--quality", "1", dir / "Take 1.wav", dir.Path()});
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, dir / "Take 1.mp3" + "\n");
  const std::string mp3 = test::ReadFile(dir / "Take 1.mp3");
  const auto scan = test::ScanFrames(mp3);
  ASSERT_FALSE(scan.frames.empty());
  for (const auto& f : scan.frames) {
    ASSERT_EQ(f.bitrateKbps, 160);
    ASSERT_TRUE(f.original);
  }
  EXPECT_NEAR(static_cast<double>(test::DecodeMp3(mp3).SampleFrames()), 44100.0, 2 * 1152 + 576);

  // Without options: a fresh installation's bitrate, 80 kbit/s.
  ASSERT_EQ(RunCli({"encode", dir / "Take 1.wav", dir.Path()}).status, 0);
  EXPECT_EQ(test::ScanFrames(test::ReadFile(dir / "Take 1.mp3")).frames.at(0).bitrateKbps, 80);
}

TEST(CliEncode, SaysWhyAFileWasNotEncoded) {
  test::TempDir dir;
  test::WriteFile(dir / "float.wav", test::RiffFile({{"fmt ", test::FormatBody(3, 2, 44100, 32)}, {"data", "12345678"}}));
  const auto refused = RunCli({"encode", dir / "float.wav", dir.Path()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "korvalin-cli: Cannot encode \"" + (dir / "float.wav") +
                             "\": its audio is not PCM (format 3). Only 16-bit PCM WAV files, mono or stereo, can be "
                             "encoded.\n");
  EXPECT_FALSE(test::Exists(dir / "float.mp3"));

  EXPECT_EQ(RunCli({"encode", dir / "none.wav", dir.Path()}).err, "korvalin-cli: no such file: " + (dir / "none.wav") + "\n");
  EXPECT_EQ(RunCli({"encode", dir / "float.wav", dir / "nowhere"}).err, "korvalin-cli: no such folder: " + (dir / "nowhere") + "\n");
  const auto usage = RunCli({"encode", dir / "float.wav"});
  EXPECT_EQ(usage.status, 1);
  EXPECT_NE(usage.err.find("usage: encode"), std::string::npos);
  EXPECT_NE(RunCli({"encode", "--quality", "high", dir / "float.wav", dir.Path()}).err.find("--quality must be a whole number"),
            std::string::npos);

  // A WAV without samples leaves an MP3 of its name alone; a short name gets a sentence.
  test::WriteFile(dir / "silent.wav", test::PcmWav("", 44100, 2));
  ASSERT_EQ(::mkdir((dir / "out").c_str(), 0700), 0);
  test::WriteFile(dir / "out/silent.mp3", "the user's own MP3");
  const auto empty = RunCli({"encode", dir / "silent.wav", dir / "out"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "korvalin-cli: Cannot encode \"" + dir / "silent.wav" + "\": it holds no audio samples. Nothing was written.\n");
  EXPECT_EQ(test::ReadFile(dir / "out/silent.mp3"), "the user's own MP3");
  test::WriteFile(dir / "ab", test::PcmWav(std::string(4000, '\x10'), 44100, 2));
  const auto shortName = RunCli({"encode", dir / "ab", dir.Path()});
  EXPECT_EQ(shortName.status, 1);
  EXPECT_NE(shortName.err.find("its name has fewer than four characters"), std::string::npos) << shortName.err;
}

TEST(CliFind, AFolderThatCannotBeReadIsAFailureWithItsReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "every folder can be read by root";
  test::TempDir dir;
  ASSERT_EQ(::mkdir((dir / "locked").c_str(), 0), 0);
  const auto r = RunCli({"find", dir / "locked", "wav"});
  ::chmod((dir / "locked").c_str(), 0700);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "korvalin-cli: cannot read the folder " + dir / "locked" + ": Permission denied\n");
}

}  // namespace
}  // namespace korvalin
