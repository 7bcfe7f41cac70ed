#include <gtest/gtest.h>

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

TEST(CliDecode, WritesTheWavBesideItsNameAndExplainsFailures) {
  test::TempDir dir;
  const std::string mp3 = dir / "Song Name.Mp3";
  test::WriteFile(mp3, test::EncodeMp3(discgen::MusicBytes(3 * 44100, 2), 44100, 2, 160));

  const auto ok = test::RunCli({"decode", mp3, dir.Path()});
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.out, dir / "Song Name.wav\n");
  const std::string bytes = test::ReadFile(dir / "Song Name.wav");
  const auto ours = test::ParseWav(bytes);
  ASSERT_TRUE(ours && test::HeaderIsExact(*ours, bytes.size()));
  ASSERT_EQ(test::RunTool({"mpg123", "-q", "-w", dir / "reference.wav", mp3}), 0);
  const auto reference = test::ParseWav(test::ReadFile(dir / "reference.wav"));
  ASSERT_TRUE(reference);
  const int difference = test::LargestSampleDifference(ours->samples, reference->samples);
  EXPECT_TRUE(difference == 0 || difference == 1) << difference;

  // A file with no MP3 audio leaves the user's WAV of that name exactly as it was.
  test::WriteFile(dir / "notes.mp3", "not audio at all, only words\n");
  test::WriteFile(dir / "notes.wav", bytes);
  const auto text = test::RunCli({"decode", dir / "notes.mp3", dir.Path()});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.err, "korvalin-cli: " + dir / "notes.mp3 holds no MP3 audio; nothing was written\n");
  EXPECT_TRUE(test::ReadFile(dir / "notes.wav") == bytes);

  // A name too short to lose an extension is said in a sentence.
  test::WriteFile(dir / "ab", test::ReadFile(mp3));
  const auto shortName = test::RunCli({"decode", dir / "ab", dir.Path()});
  EXPECT_EQ(shortName.status, 1);
  EXPECT_NE(shortName.err.find("fewer than four characters"), std::string::npos) << shortName.err;

  // A damaged file ends the WAV where the damage starts; the decoder itself prints nothing.
  const std::string good = test::ReadFile(mp3);
  test::WriteFile(dir / "cut.mp3", good.substr(0, good.size() / 2) + std::string(4096, '\x55') + good.substr(good.size() / 2));
  const auto damaged = test::RunCli({"decode", dir / "cut.mp3", dir.Path()});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_EQ(damaged.err, "korvalin-cli: " + dir / "cut.mp3 is damaged; " + dir / "cut.wav holds the audio before the damage\n");
  EXPECT_LT(test::FileSize(dir / "cut.wav"), test::FileSize(dir / "Song Name.wav") * 6 / 10);

  const auto missing = test::RunCli({"decode", dir / "gone.mp3", dir.Path()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "korvalin-cli: no such file: " + dir / "gone.mp3\n");
  const auto noFolder = test::RunCli({"decode", mp3, dir / "nowhere"});
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_EQ(noFolder.err, "korvalin-cli: no such folder: " + dir / "nowhere\n");
  const auto usage = test::RunCli({"decode", mp3});
  EXPECT_EQ(usage.status, 1);
  EXPECT_NE(usage.err.find("usage: decode IN.mp3 DESTDIR"), std::string::npos);
}

}  // namespace
}  // namespace korvalin
