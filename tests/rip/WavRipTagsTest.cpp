// A rip to WAV with the track's tags: the tags follow the audio, which stays bit for bit the
// track's; a rip without tags writes the very bytes it always did.

#include <gtest/gtest.h>

#include "fileout/OutputFailure.h"
#include "fileout/WavTagChunks.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;

constexpr int32_t kTrackFrames = 60;

std::string TrackBytes(int32_t frames) {
  std::string bytes;
  for (int32_t a = 0; a < frames; ++a) bytes += FakeCdLibrary::FrameBytes(a);
  return bytes;
}

struct Disc {
  Disc() {
    lib.identifications = {"fake"};
    lib.SetTrackLengths({kTrackFrames});
  }
  FakeCdLibrary lib;
};

TrackTags Tags(std::size_t commentLength) {
  TrackTags t;
  t.title = "Title \xF0\x9F\x8E\xB5";
  t.artist = "\xD8\xB9\xD9\x85\xD8\xB1";  // right-to-left
  t.track = 1;
  t.trackCount = 1;
  t.comment = std::string(commentLength, 'c');
  return t;
}

TEST(WavRipTags, TheTagsFollowTheAudioWhichStaysTheTracksAndAWavWithoutTagsIsAsBefore) {
  const struct {
    const char* what;
    std::vector<uint8_t> chunks;
    int cancelAtYield;  // 0: none
    int32_t frames;     // the frames kept
  } cases[] = {
      {"no tags", {}, 0, kTrackFrames},
      {"tags", InfoListChunk(Tags(600)), 0, kTrackFrames},
      {"tags on a cancelled track", InfoListChunk(Tags(3)), 1, 52},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    Disc disc;
    test::ExtractionRig rig(disc.lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0));
    if (c.cancelAtYield > 0) rig.fake.loop.AtYield(c.cancelAtYield, [&] { rig.flags.CancelRequested = kTrue; });
    const std::string path = dir / "1-1.wav";

    const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, path, 0, kTrackFrames, c.chunks);
    EXPECT_FALSE(outcome.writeFailed);
    EXPECT_EQ(outcome.framesWritten, c.frames);
    const std::string bytes = test::ReadFile(path);
    const auto wav = test::ParseWav(bytes);
    ASSERT_TRUE(wav.has_value());
    const std::size_t audio = static_cast<std::size_t>(c.frames) * 2352;
    EXPECT_EQ(wav->dataLength, audio);
    EXPECT_EQ(wav->riffLength, bytes.size() - 8);
    EXPECT_EQ(bytes.size(), 44 + audio + c.chunks.size());
    EXPECT_TRUE(bytes.substr(44, audio) == TrackBytes(c.frames));
    EXPECT_TRUE(bytes.substr(44 + audio) == std::string(c.chunks.begin(), c.chunks.end()));
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  }
}

TEST(WavRipTags, ADiskThatFillsWhileTheTagsAreWrittenKeepsTheWholeAudioAndSaysSo) {
  test::SmallDisk disk(1 << 20);
  if (!disk.Available()) GTEST_SKIP() << disk.Why();
  Disc disc;
  test::ExtractionRig rig(disc.lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  const std::string path = disk / "1-1.wav";
  // Room for the audio, not for a tag of 300 kB.
  disk.LeaveFree(44 + kTrackFrames * 2352 + 8192);

  const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, path, 0, kTrackFrames, InfoListChunk(Tags(300000)));
  EXPECT_TRUE(outcome.writeFailed);
  EXPECT_EQ(outcome.framesWritten, kTrackFrames);
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, WriteFailureText(path, "No space left on device"));
  // The file replaced nothing, so it stays: the whole track, no tags, a header that says so.
  const std::string bytes = test::ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav.has_value());
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_TRUE(bytes.substr(44) == TrackBytes(kTrackFrames));
}

}  // namespace
}  // namespace korvalin
