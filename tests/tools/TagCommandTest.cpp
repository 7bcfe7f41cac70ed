// korvalin-cli rip-mp3 with tag options writes the tags and names them; tag --show prints an MP3's
// ID3v2 frames and ID3v1 fields, and says so of a tag that is missing or damaged.

#include <gtest/gtest.h>

#include "tests/support/Mp3Analysis.h"
#include "tests/support/SecondReader.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::RunCli;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliTag, ARipWithTagOptionsWritesTheTagsAndShowPrintsThem) {
  test::TempDir dir;
  const std::string cue =
      discgen::WriteDiscImage(dir.Path(), "d", {discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(60, 2)});
  const auto tagged = RunCli({"rip-mp3", "--image", cue, "--title", "Second\nSong", "--artist", "Anna Vector", "--album",
                              "Vector Album", "--year", "1994", "--genre", "Rock", "--tracks", "2", "--id3", "4", "2",
                              dir / "t.mp3"});
  ASSERT_EQ(tagged.status, 0) << tagged.err;
  EXPECT_TRUE(Has(tagged.out, "Tags: ID3v2.4 (6 frames) and ID3v1\n")) << tagged.out;

  const auto shown = RunCli({"tag", "--show", dir / "t.mp3"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out,
            "ID3v2.4 tag, 6 frames:\n"
            "  TIT2: Second\\nSong\n"
            "  TPE1: Anna Vector\n"
            "  TALB: Vector Album\n"
            "  TDRC: 1994\n"
            "  TCON: Rock\n"
            "  TRCK: 2/2\n"
            "ID3v1 tag:\n"
            "  Title: Second\\nSong\n"
            "  Artist: Anna Vector\n"
            "  Album: Vector Album\n"
            "  Year: 1994\n"
            "  Comment: \n"
            "  Track: 2\n"
            "  Genre: 17\n");
  const test::SecondReading second = test::ReadWithMutagen(dir / "t.mp3");
  EXPECT_EQ(second.v2, "4");
  EXPECT_EQ(test::FrameText(second, "TIT2"), "Second\\nSong");

  // No tag option, or the choice "no tags": the file is an untagged rip.
  const auto plain = RunCli({"rip-mp3", "--image", cue, "2", dir / "plain.mp3"});
  const auto none = RunCli({"rip-mp3", "--image", cue, "--title", "T", "--id3", "0", "2", dir / "none.mp3"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(none.status, 0) << none.err;
  EXPECT_FALSE(Has(plain.out + none.out, "Tags:"));
  EXPECT_TRUE(test::ReadFile(dir / "plain.mp3") == test::ReadFile(dir / "none.mp3"));
  EXPECT_EQ(RunCli({"tag", "--show", dir / "plain.mp3"}).out, "ID3v2 tag: none\nID3v1 tag: none\n");

  const auto badVersion = RunCli({"rip-mp3", "--image", cue, "--title", "T", "--id3", "2", "2", dir / "v2.mp3"});
  EXPECT_EQ(badVersion.status, 1);
  EXPECT_TRUE(Has(badVersion.err, "--id3 takes 3, 4 or 0")) << badVersion.err;
  EXPECT_FALSE(test::Exists(dir / "v2.mp3"));
}

TEST(CliTag, ShowSaysWhatItCannotRead) {
  test::TempDir dir;
  struct Row {
    const char* name;
    std::string bytes;
    int status;
    std::string out;  // the first line, or the message on stderr when refused
  };
  const std::string frames(4000, '\xff');
  const std::vector<Row> rows = {
      {"a damaged ID3v2 tag", std::string("ID3\x03\x00\x00\x00\x00\x7f\x7f", 10) + frames, 0,
       "ID3v2.3 tag: damaged, cannot be read\n"},
      {"a version to come", std::string("ID3\x05\x00\x00\x00\x00\x00\x00", 10) + frames, 0,
       "ID3v2.5 tag: damaged, cannot be read\n"},
      {"too short to hold audio", "ID3", 1, "File contains no data"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::WriteFile(dir / "f.mp3", row.bytes);
    const auto r = RunCli({"tag", "--show", dir / "f.mp3"});
    EXPECT_EQ(r.status, row.status);
    EXPECT_TRUE(Has(row.status == 0 ? r.out : r.err, row.out)) << r.out << r.err;
    EXPECT_TRUE(test::ReadFile(dir / "f.mp3") == row.bytes);  // showing never writes
  }
  EXPECT_EQ(RunCli({"tag", "--show"}).status, 1);
  EXPECT_EQ(RunCli({"tag", "--show", dir / "missing.mp3"}).status, 1);
}

}  // namespace
}  // namespace korvalin
