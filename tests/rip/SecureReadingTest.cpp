#include <gtest/gtest.h>

#include <vector>

#include "encode/EncoderChoices.h"
#include "rip/ExtractTrackToMp3.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/NoisyCdLibrary.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/support/WatchedEncoder.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::NoisyCdLibrary;
using test::ReadFile;
using test::TempDir;
using Rig = test::ExtractionRig;
using Reads = std::vector<std::pair<int32_t, int32_t>>;

constexpr std::size_t kFrame = cdrecord::kFrameSize;

std::string FrameOf(const std::string& wav, int32_t frame) {
  return wav.substr(44 + static_cast<std::size_t>(frame) * kFrame, kFrame);
}

int BitsDiffering(const std::string& a, const std::string& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += __builtin_popcount(static_cast<unsigned char>(a[i] ^ b[i]));
  return n;
}

TEST(SecureReading, ANoisyDiscImageRipsExactlyAndTheReportCountsTheReReads) {
  TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(130, 1), discgen::MusicCdFrames(900, 2),
                                           discgen::MusicCdFrames(27, 3)};
  CdioLibrary image({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "disc", tracks))});
  NoisyCdLibrary noisy(image);  // a bit flipped in one read of three
  Rig rig(noisy);
  ASSERT_TRUE(rig.cd.OpenDrive(0));

  // Without secure reading the noise reaches the file: the test's noise is real.
  const auto plain = ExtractTrackToWav(rig.ctx, dir / "plain.wav", rig.cd.TrackFirstFrame(2), rig.cd.TrackEndFrame(2));
  EXPECT_TRUE(plain.complete);
  EXPECT_FALSE(ReadFile(dir / "plain.wav").substr(44) == tracks[1]);
  EXPECT_FALSE(plain.read.secure);
  EXPECT_EQ(plain.read.retries, 0u);

  rig.ctx.secureReading = true;
  uint32_t retries = 0;
  for (int32_t t = 1; t <= 3; ++t) {
    SCOPED_TRACE(t);
    const std::string out = dir / ("t" + std::to_string(t) + ".wav");
    const auto outcome = ExtractTrackToWav(rig.ctx, out, rig.cd.TrackFirstFrame(t), rig.cd.TrackEndFrame(t));
    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(ReadFile(out).substr(44) == tracks[static_cast<std::size_t>(t - 1)]);
    EXPECT_TRUE(outcome.read.secure);
    EXPECT_FALSE(outcome.read.Suspicious());
    retries += outcome.read.retries;
  }
  // 41 blocks read at least twice each; a spoiled read among the first two costs one more.
  EXPECT_GT(retries, 5u);
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  EXPECT_EQ(rig.progress.calls.back().status, "Extracting track " + (dir / "t3.wav"));
}

TEST(SecureReading, FramesThatNeverAgreeAreKeptFromOneOfTheirReadsAndReportedAfterTheTrack) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({60});
  NoisyCdLibrary noisy(lib);
  noisy.noisyEvery = 0;
  noisy.unstableFrames = {3, 40, 41};
  Rig rig(noisy);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  const std::string out = dir / "a.wav";

  // Off: one read a block, exactly as ever, and what the drive gave is written unreported.
  const auto plain = ExtractTrackToWav(rig.ctx, out, 0, 60);
  EXPECT_EQ(lib.reads, (Reads{{0, 26}, {26, 26}, {52, 8}}));
  EXPECT_EQ(BitsDiffering(FrameOf(ReadFile(out), 40), FakeCdLibrary::FrameBytes(40)), 1);
  EXPECT_FALSE(plain.read.secure || plain.read.Suspicious());
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());

  lib.reads.clear();
  rig.progress.calls.clear();
  rig.ctx.secureReading = true;
  const auto outcome = ExtractTrackToWav(rig.ctx, out, 0, 60);
  EXPECT_TRUE(outcome.complete);
  // The blocks with an unstable frame are read the most times allowed; the clean one twice.
  EXPECT_EQ(lib.reads.size(), 16u + 16u + 2u);
  EXPECT_EQ(outcome.read.retries, 14u + 14u);
  EXPECT_EQ(outcome.read.suspiciousFrames, (std::vector<int32_t>{3, 40, 41}));

  const std::string wav = ReadFile(out);
  for (int32_t f = 0; f < 60; ++f) {
    const int bits = BitsDiffering(FrameOf(wav, f), FakeCdLibrary::FrameBytes(f));
    // An unstable frame holds one of its reads (one bit off), never a mix or nothing.
    EXPECT_EQ(bits, noisy.unstableFrames.count(f) ? 1 : 0) << "frame " << f;
  }
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text,
            "\"" + out + "\" may not be an exact copy: 3 frames could not be read the same way twice; the file holds "
            "the best read of each (disc frames 3, 40, 41).");
  ASSERT_EQ(rig.progress.calls.size(), 3u);
  EXPECT_EQ(rig.progress.calls[0].status, "Extracting track " + out + " (1 suspicious frame)");
  EXPECT_EQ(rig.progress.calls[2].status, "Extracting track " + out + " (3 suspicious frames)");
}

TEST(SecureReading, TheBestReadIsTheOneClosestToAllTheOthers) {
  // Every read of frame 5 loses a bit of its own; the first loses 40 more. The later reads sit
  // closest to the rest, so one of them is kept, not the first.
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({10});
  NoisyCdLibrary noisy(lib);
  noisy.noisyEvery = 0;
  noisy.unstableFrames = {5};
  noisy.firstReadExtraFlips = 40;
  Rig rig(noisy);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  rig.ctx.secureReading = true;
  TempDir dir;
  const auto outcome = ExtractTrackToWav(rig.ctx, dir / "b.wav", 0, 10);
  ASSERT_EQ(outcome.read.suspiciousFrames, (std::vector<int32_t>{5}));
  EXPECT_EQ(BitsDiffering(FrameOf(ReadFile(dir / "b.wav"), 5), FakeCdLibrary::FrameBytes(5)), 1);
  for (int32_t f : {0, 4, 6, 9}) EXPECT_TRUE(FrameOf(ReadFile(dir / "b.wav"), f) == FakeCdLibrary::FrameBytes(f)) << f;
}

TEST(SecureReading, AFailingReadEndsTheTrackAsBeforeWithTheFramesBeforeItKept) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({60});
  lib.readFails = [](int32_t address, int32_t frames) { return address <= 30 && address + frames > 30; };
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  rig.ctx.secureReading = true;
  TempDir dir;
  const auto outcome = ExtractTrackToWav(rig.ctx, dir / "c.wav", 0, 60);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.framesWritten, 30);
  EXPECT_FALSE(outcome.read.Suspicious());
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, rig.cd.LibraryErrorText());
  EXPECT_EQ(FrameOf(ReadFile(dir / "c.wav"), 29), FakeCdLibrary::FrameBytes(29));
}

TEST(SecureReading, AStraightToMp3RipReportsItsSuspiciousFramesToo) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({80});
  NoisyCdLibrary noisy(lib);
  noisy.unstableFrames = {50};
  Rig rig(noisy);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  rig.ctx.secureReading = true;
  test::WatchedEncoder encoder;
  TempDir dir;
  int32_t first = 0;
  const auto outcome = ExtractTrackToMp3(rig.ctx, encoder, dir / "d.mp3", first, 80, ExtractionConfig(128, 1, {}));
  EXPECT_TRUE(outcome.complete);
  EXPECT_TRUE(outcome.read.secure);
  EXPECT_EQ(outcome.read.suspiciousFrames, (std::vector<int32_t>{50}));
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_NE(rig.fake.dialogs.messages[0].text.find("(disc frames 50)"), std::string::npos);
}

}  // namespace
}  // namespace korvalin
