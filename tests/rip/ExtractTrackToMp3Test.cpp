#include "rip/ExtractTrackToMp3.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "encode/EncoderChoices.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/WatchedEncoder.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::ReadFile;
using test::TempDir;

using test::WatchedEncoder;

// The extraction's surroundings, and the real encoder, watched.
struct Rig : test::ExtractionRig {
  using ExtractionRig::ExtractionRig;
  WatchedEncoder encoder;
};

EncoderConfig Cbr128(FrameFlagBoxes boxes = {}) { return ExtractionConfig(128, 1, boxes); }

TEST(ExtractTrackToMp3, ATrackOfAnImageBecomesAnMp3OfTheChosenFormatAndLength) {
  TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(75, 1), discgen::MusicCdFrames(150, 2)};
  CdioLibrary lib({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "disc", tracks))});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  int32_t first = rig.cd.TrackFirstFrame(2);
  const auto outcome = ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "t2.mp3", first, rig.cd.TrackEndFrame(2),
                                         Cbr128({1, 1, 0, 0}));
  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(first, 225);  // the caller's first frame now points past the track
  const std::string mp3 = ReadFile(dir / "t2.mp3");
  const auto scan = test::ScanFrames(mp3);
  ASSERT_GT(scan.frames.size(), 70u);
  EXPECT_EQ(scan.strayBytes, 0u);
  for (const auto& f : scan.frames) {
    ASSERT_EQ(f.bitrateKbps, 128);
    ASSERT_EQ(f.sampleRate, 44100);
    ASSERT_EQ(f.mode, test::kModeJointStereo);
    ASSERT_TRUE(f.privateBit && f.crcProtected);
    ASSERT_FALSE(f.copyright || f.original);
  }
  const auto decoded = test::DecodeMp3(mp3);
  EXPECT_EQ(decoded.channels, 2);
  EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), 150 * 588.0, 2 * 1152 + 576);
  EXPECT_EQ(rig.encoder.closes, 1);
}

TEST(ExtractTrackToMp3, EncodesEachCdFrameAsOneChunkOf1176Samples) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({53, 0});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  int32_t first = 0;
  ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "a.mp3", first, 53, Cbr128());
  EXPECT_EQ(lib.reads, (std::vector<std::pair<int32_t, int32_t>>{{0, 26}, {26, 26}, {52, 1}}));
  EXPECT_EQ(rig.encoder.chunkSizes, std::vector<uint32_t>(53, 1176));
  EXPECT_EQ(rig.progress.Done(), (std::vector<int>{26, 52, 53}));

  // An empty track: the file holds what the end of the stream gave, and nothing else.
  rig.encoder.chunkSizes.clear();
  first = 53;
  ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "empty.mp3", first, 53, Cbr128());
  EXPECT_TRUE(rig.encoder.chunkSizes.empty());
  EXPECT_EQ(ReadFile(dir / "empty.mp3"), rig.encoder.lastBytes);
}

TEST(ExtractTrackToMp3, ACancelAtTheSecondYieldLeavesAShorterMp3ThatDecodes) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({260});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  rig.fake.loop.AtYield(2, [&] { rig.flags.CancelRequested = kTrue; });
  int32_t first = 0;
  const auto outcome = ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "c.mp3", first, 260, Cbr128());
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(first, 78);  // three blocks: the one in hand when the cancel came is finished
  EXPECT_EQ(rig.progress.Done(), (std::vector<int>{26, 52}));  // but not reported
  const auto decoded = test::DecodeMp3(ReadFile(dir / "c.mp3"));
  EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), 78 * 588.0, 2 * 1152 + 576);
}

TEST(ExtractTrackToMp3, AnEncoderThatCannotStartShowsItsTextAndWritesNothing) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({30});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  for (int32_t bitrate : {0, 33}) {
    int32_t first = 0;
    const auto outcome = ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "x.mp3", first, 30, ExtractionConfig(bitrate, 1, {}));
    EXPECT_TRUE(outcome.encoderFailed);
    EXPECT_EQ(first, 0);
  }
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, "Invalid format parameters");
  EXPECT_EQ(rig.fake.dialogs.messages[0].title, "Critical error...");
  EXPECT_EQ(rig.fake.dialogs.messages[0].icon, MsgBoxIcon::Critical);
  EXPECT_FALSE(test::Exists(dir / "x.mp3"));
  EXPECT_TRUE(lib.reads.empty());
}

TEST(ExtractTrackToMp3, RefusedChunksAreSkippedAndAFailedReadStillLeavesAValidMp3) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({120});
  lib.readFails = [](int32_t address, int32_t) { return address >= 52; };
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  rig.encoder.refuseChunk = [](std::size_t n) { return n == 5 || n == 6; };
  TempDir dir;
  int32_t first = 0;
  const auto outcome = ExtractTrackToMp3(rig.ctx, rig.encoder, dir / "r.mp3", first, 120, Cbr128());
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.framesEncoded, 52);
  EXPECT_EQ(rig.encoder.chunkSizes.size(), 52u);  // the refused chunks did not stop the track
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, rig.cd.LibraryErrorText());
  const std::string mp3 = ReadFile(dir / "r.mp3");
  EXPECT_EQ(test::ScanFrames(mp3).strayBytes, 0u);
  EXPECT_NEAR(static_cast<double>(test::DecodeMp3(mp3).SampleFrames()), 50 * 588.0, 2 * 1152 + 576);
}

}  // namespace
}  // namespace korvalin
