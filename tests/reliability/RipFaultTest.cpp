// Rips that meet a full disk or a cancel at any point: each leaves either no file or a valid,
// shorter file holding exactly the audio it announces, and shows one message at most.

#include <gtest/gtest.h>

#include "encode/EncoderChoices.h"
#include "fileout/OutputFailure.h"
#include "rip/ExtractTrackToMp3.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::SmallDisk;

constexpr int32_t kTrackFrames = 300;
constexpr int64_t kBlockBytes = 26 * 2352;

struct Disc {
  Disc() {
    lib.identifications = {"fake"};
    lib.SetTrackLengths({kTrackFrames});
  }
  FakeCdLibrary lib;
};

std::string TrackBytes(int32_t frames) {
  std::string bytes;
  for (int32_t a = 0; a < frames; ++a) bytes += FakeCdLibrary::FrameBytes(a);
  return bytes;
}

// No file, or a WAV whose header states exactly what it holds: whole frames from the track's start.
void ExpectNoFileOrValidShorterWav(const std::string& path, int32_t framesWritten) {
  if (!test::Exists(path)) return;
  const std::string bytes = test::ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav) << "not a WAV file: " << bytes.size() << " bytes";
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_EQ(wav->dataLength % 2352, 0u) << "the file ends inside a CD frame";
  EXPECT_EQ(wav->dataLength, static_cast<uint32_t>(framesWritten) * 2352u);
  EXPECT_TRUE(bytes.substr(44) == TrackBytes(framesWritten)) << "the audio differs from the track's start";
}

// No file, or an MP3 that decodes to less than the track. The encoder's output does not end on
// frame boundaries, so a disk that fills up may leave the last frame cut short, never garbage.
void ExpectNoFileOrValidShorterMp3(const std::string& path) {
  if (!test::Exists(path)) return;
  const std::string bytes = test::ReadFile(path);
  const auto scan = test::ScanFrames(bytes);
  ASSERT_FALSE(scan.frames.empty()) << "an MP3 file without a frame: " << bytes.size() << " bytes";
  if (scan.strayBytes > 0) {
    const auto cut = test::ParseFrameHeader(bytes, bytes.size() - scan.strayBytes);
    ASSERT_TRUE(cut) << "the MP3 ends in " << scan.strayBytes << " bytes that are no frame";
    EXPECT_LT(scan.strayBytes, cut->length);
  }
  const int64_t decoded = test::DecodeMp3(bytes).SampleFrames();
  EXPECT_GT(decoded, 0);
  EXPECT_LT(decoded, int64_t{kTrackFrames} * 588);
}

// Free bytes left on the disk: none at all, room for the header only, room for a few blocks.
struct FullAt {
  const char* name;
  int64_t freeBytes;
};
constexpr FullAt kFullAt[] = {{"the first write", 0}, {"the first block", 4096}, {"a later block", 3 * kBlockBytes}};
constexpr FullAt kFullAtMp3[] = {{"the first write", 0}, {"a later block", 3 * 4096}};

TEST(RipFaults, AWavRipOnAFullDiskStopsWithOneMessageAndAValidShorterFile) {
  for (const FullAt& at : kFullAt) {
    SCOPED_TRACE(at.name);
    SmallDisk disk(1 << 20);
    if (!disk.Available()) GTEST_SKIP() << disk.Why();
    disk.LeaveFree(at.freeBytes);
    Disc disc;
    test::ExtractionRig rig(disc.lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0));
    const std::string path = disk / "1-1.wav";

    const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, path, 0, kTrackFrames);
    EXPECT_TRUE(outcome.writeFailed);
    EXPECT_FALSE(outcome.complete);
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.fake.dialogs.messages[0].text, WriteFailureText(path, "No space left on device"));
    ExpectNoFileOrValidShorterWav(path, outcome.framesWritten);
  }
}

TEST(RipFaults, AnMp3RipOnAFullDiskStopsWithOneMessageAndAValidShorterFile) {
  for (const FullAt& at : kFullAtMp3) {
    SCOPED_TRACE(at.name);
    SmallDisk disk(1 << 20);
    if (!disk.Available()) GTEST_SKIP() << disk.Why();
    disk.LeaveFree(at.freeBytes);
    Disc disc;
    test::ExtractionRig rig(disc.lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0));
    const std::string path = disk / "1-1.mp3";

    int32_t first = 0;
    const auto outcome = ExtractTrackToMp3(rig.ctx, rig.fake.encoder, path, first, kTrackFrames, ExtractionConfig(128, 1, {}));
    EXPECT_TRUE(outcome.writeFailed);
    EXPECT_FALSE(outcome.complete);
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.fake.dialogs.messages[0].text, WriteFailureText(path, "No space left on device"));
    ExpectNoFileOrValidShorterMp3(path);
  }
}

TEST(RipFaults, AnExistingFileIsReplacedOnlyByATrackThatGaveAudio) {
  constexpr const char* kOld = "the user's earlier file";
  const struct {
    const char* what;
    int32_t failAt;  // the first frame whose read fails (-1: none)
    int32_t framesKept;
  } cases[] = {{"the first read fails", 0, 0}, {"a later read fails", 52, 52}, {"every read succeeds", -1, kTrackFrames}};
  for (const auto& c : cases) {
    for (const bool mp3 : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (mp3 ? ", to MP3" : ", to WAV"));
      test::TempDir dir;
      const std::string path = dir / (mp3 ? "1-1.mp3" : "1-1.wav");
      test::WriteFile(path, kOld);
      Disc disc;
      disc.lib.readFails = [&](int32_t address, int32_t frames) {
        return c.failAt >= 0 && address <= c.failAt && c.failAt < address + frames;
      };
      test::ExtractionRig rig(disc.lib);
      ASSERT_TRUE(rig.cd.OpenDrive(0));
      int32_t first = 0;
      const bool created = mp3 ? ExtractTrackToMp3(rig.ctx, rig.fake.encoder, path, first, kTrackFrames,
                                                   ExtractionConfig(128, 1, {})).created
                               : ExtractTrackToWav(rig.ctx, path, 0, kTrackFrames).created;
      EXPECT_EQ(created, c.framesKept > 0);
      if (c.framesKept == 0) {
        EXPECT_EQ(test::ReadFile(path), kOld);
      } else if (mp3) {
        ExpectNoFileOrValidShorterMp3(c.framesKept < kTrackFrames ? path : dir / "none");
        EXPECT_NE(test::ReadFile(path), kOld);
      } else {
        ExpectNoFileOrValidShorterWav(path, c.framesKept);
      }
      EXPECT_EQ(test::NamesIn(dir.Path()).size(), 1u) << "a temporary file was left";
    }
  }
}

TEST(RipFaults, ACancelAtAnyYieldLeavesAValidFileOfTheFramesDone) {
  const int32_t blocks = (kTrackFrames + 25) / 26;
  for (int yield = 1; yield <= blocks; ++yield) {
    SCOPED_TRACE("cancel at yield " + std::to_string(yield));
    // In memory where it can be: the rips flush after every write.
    SmallDisk disk(16 << 20);
    test::TempDir fallback;
    const std::string folder = disk.Available() ? disk.Path() : fallback.Path();
    auto dir = [&](const char* name) { return folder + "/" + name; };
    Disc disc;
    test::ExtractionRig wavRig(disc.lib);
    ASSERT_TRUE(wavRig.cd.OpenDrive(0));
    wavRig.fake.loop.AtYield(yield, [&] { wavRig.flags.CancelRequested = kTrue; });
    const ExtractionOutcome wav = ExtractTrackToWav(wavRig.ctx, dir("a.wav"), 0, kTrackFrames);
    EXPECT_EQ(wav.complete, wav.framesWritten == kTrackFrames);
    EXPECT_EQ(wav.framesWritten, std::min(kTrackFrames, 26 * (yield + 1)));
    ExpectNoFileOrValidShorterWav(dir("a.wav"), wav.framesWritten);

    test::ExtractionRig mp3Rig(disc.lib);
    ASSERT_TRUE(mp3Rig.cd.OpenDrive(0));
    mp3Rig.fake.loop.AtYield(yield, [&] { mp3Rig.flags.CancelRequested = kTrue; });
    int32_t first = 0;
    const auto mp3 = ExtractTrackToMp3(mp3Rig.ctx, mp3Rig.fake.encoder, dir("a.mp3"), first, kTrackFrames,
                                       ExtractionConfig(128, 1, {}));
    EXPECT_EQ(mp3.complete, first == kTrackFrames);
    EXPECT_EQ(first, std::min(kTrackFrames, 26 * (yield + 1)));
    const auto scan = test::ScanFrames(test::ReadFile(dir("a.mp3")));
    EXPECT_EQ(scan.strayBytes, 0u);
    EXPECT_TRUE(wavRig.fake.dialogs.messages.empty() && mp3Rig.fake.dialogs.messages.empty());
  }
}

}  // namespace
}  // namespace korvalin
