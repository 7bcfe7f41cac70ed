// korvalin-cli encode and decode carry a track's tags: WAV -> MP3 -> WAV keeps them, and a second
// reader finds them in the MP3.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "fileout/WavTagChunks.h"
#include "platform/WavTags.h"
#include "platform/linux/TagLibTags.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/SecondReader.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliTags, EncodeAndDecodeKeepEveryTagOfTheWav) {
  test::TempDir dir, back;
  TagLibTags library;
  TrackTags tags;
  tags.title = "\xCE\x9D\xCF\x8D\xCF\x87\xCF\x84\xCE\xB1 \xF0\x9F\x8C\x99";  // Greek and an emoji: UTF-16 in v2.3
  tags.artist = "\xD8\xB9\xD9\x85\xD8\xB1";
  tags.album = "Album";
  tags.albumArtist = "Various";
  tags.track = 2, tags.trackCount = 9;
  tags.disc = 1, tags.discCount = 2;
  tags.albumId = "0a5d5a6e-6c2b-4d1f-9d8a-0e2b6f9c1a01";
  const std::string wav = dir / "Take 2.wav";
  test::WriteFile(wav, test::PcmWav(discgen::MusicBytes(22050, 2), 44100, 2));
  const int fd = ::open(wav.c_str(), O_RDWR | O_CLOEXEC);
  int error = 0;
  ASSERT_TRUE(AppendWavChunks(fd, test::FileSize(wav), RenderWavTags(library, tags, 3), error));
  ::close(fd);

  const auto encoded = RunCli({"encode", wav, dir.Path()});
  ASSERT_EQ(encoded.status, 0) << encoded.err;
  const std::string mp3 = dir / "Take 2.mp3";
  const Id3v2Reading id3 = library.ReadId3v2File(mp3);
  EXPECT_EQ(id3.version, 3);
  EXPECT_EQ(id3.tags, tags);
  const test::SecondReading second = test::ReadWithMutagen(mp3);
  ASSERT_TRUE(second.ran) << second.output;
  EXPECT_EQ(second.v2, "3") << second.output;
  EXPECT_EQ(test::FrameText(second, "TIT2"), tags.title) << second.output;
  EXPECT_EQ(test::FrameText(second, "TPOS"), "1/2") << second.output;
  EXPECT_FALSE(second.v1.empty()) << second.output;

  const auto decoded = RunCli({"decode", mp3, back.Path()});
  ASSERT_EQ(decoded.status, 0) << decoded.err;
  EXPECT_EQ(ReadWavTags(library, back / "Take 2.wav"), tags);
}

TEST(CliTags, ARipToWavWritesTheTagsGivenAfterTheAudioAndNoneWithoutThem) {
  test::TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(30, 1), discgen::MusicCdFrames(45, 2)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  TagLibTags library;

  const auto tagged = RunCli({"rip", "--image", cue, "--title", "Zwei", "--artist", "Band", "--tracks", "2",
                              "--id3", "4", "2", dir / "tagged.wav"});
  ASSERT_EQ(tagged.status, 0) << tagged.err;
  const std::string bytes = test::ReadFile(dir / "tagged.wav");
  EXPECT_TRUE(bytes.substr(44, tracks[1].size()) == tracks[1]);
  const TrackTags read = ReadWavTags(library, dir / "tagged.wav");
  EXPECT_EQ(read.title, "Zwei");
  EXPECT_EQ(read.artist, "Band");
  EXPECT_EQ(read.track, 2);
  EXPECT_EQ(read.trackCount, 2);
  EXPECT_EQ(ReadWavTagChunks(dir / "tagged.wav").id3.at(3), 4);  // the ID3v2 version asked for

  for (const std::vector<std::string>& options : {std::vector<std::string>{}, {"--title", "Zwei", "--id3", "0"}}) {
    std::vector<std::string> command = {"rip", "--image", cue};
    command.insert(command.end(), options.begin(), options.end());
    command.insert(command.end(), {"2", dir / "plain.wav"});
    ASSERT_EQ(RunCli(command).status, 0);
    EXPECT_EQ(test::ReadFile(dir / "plain.wav").size(), 44 + tracks[1].size());
  }
}

}  // namespace
}  // namespace korvalin
