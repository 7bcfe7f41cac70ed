#include <gtest/gtest.h>

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

TEST(CliMp3Info, PrintsTheHeaderViewAndTagAndTagWritesThroughTheSameCode) {
  test::TempDir dir;
  const std::string mp3 = dir / "song.mp3";
  test::WriteFile(mp3, test::EncodeMp3(discgen::MusicBytes(2 * 44100, 4), 44100, 2, 128));
  const auto size = test::FileSize(mp3);

  const auto tagged = test::RunCli({"tag", "--title", "Café", "--genre", "17", "--year", "1984", mp3});
  ASSERT_EQ(tagged.status, 0) << tagged.err;
  EXPECT_EQ(test::FileSize(mp3), size + 128);
  // Fields not given keep what the tag holds.
  ASSERT_EQ(test::RunCli({"tag", "--artist", "Someone", mp3}).status, 0);
  EXPECT_EQ(test::FileSize(mp3), size + 128);

  const auto shown = test::RunCli({"mp3info", mp3});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out,
            "Bitrate            128\n"
            "Frequency       44100\n"
            "Duration          " + std::to_string((size + 128) * 8 / 128000) + "\n"
            "MpegVersion   1\n"
            "MpegLayer      3\n"
            "Original           yes\n"
            "Emphasis        no\n"
            "CopyRight        no\n"
            "Mode               joint stereo\n"
            "Padding           no\n"
            "CRC                no\n"
            "Private             no\n"
            "Artist: Someone\n"
            "Title: Café\n"
            "Album: \n"
            "Year: 1984\n"
            "Comment: \n"
            "Genre: 17\n"
            "HasTag: True\n"
            "Length: " + std::to_string(size + 128) + " bytes\n");

  test::WriteFile(dir / "short.mp3", std::string(99, 'x'));
  const auto tiny = test::RunCli({"mp3info", dir / "short.mp3"});
  EXPECT_EQ(tiny.status, 1);
  EXPECT_EQ(tiny.err, "korvalin-cli: " + dir / "short.mp3: File contains no data\n");
  const auto missing = test::RunCli({"tag", "--title", "x", dir / "none.mp3"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_FALSE(test::Exists(dir / "none.mp3"));
  EXPECT_EQ(test::RunCli({"tag", "--bogus", "x", mp3}).status, 1);
}

}  // namespace
}  // namespace korvalin
