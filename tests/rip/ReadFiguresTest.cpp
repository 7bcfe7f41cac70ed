// The figures a rip reports are what happened: every repeated read is counted, plain or secure,
// and an image that loses its end while it is read is reported with the read's failure.

#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

#include "platform/linux/CdioLibrary.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/FakeCdLibrary.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::ReadFile;
using test::TempDir;

constexpr std::size_t kFrame = cdrecord::kFrameSize;

std::string FakeTrack(int32_t first, int32_t frames) {
  std::string bytes;
  for (int32_t f = first; f < first + frames; ++f) bytes += FakeCdLibrary::FrameBytes(f);
  return bytes;
}

TEST(ReadFigures, EveryRepeatedReadIsCountedInPlainAndSecureReading) {
  TempDir dir;
  struct Case {
    std::string name;
    bool secure;
    bool blockAlwaysFails;  // the block at 26 never reads whole, only frame by frame
    uint32_t retries;
  } cases[] = {
      {"plain, one failed call", false, false, 1},
      {"secure, one failed call", true, false, 1},
      // Two more calls for the block, then one pass over its frames one at a time.
      {"plain, block read frame by frame", false, true, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeCdLibrary lib;
    lib.identifications = {"fake"};
    lib.SetTrackLengths({60});
    bool failedOnce = false;
    lib.readFails = [&](int32_t address, int32_t frames) {
      if (address != 26 || frames != 26) return false;
      if (c.blockAlwaysFails) return true;
      return !std::exchange(failedOnce, true);
    };
    test::ExtractionRig rig(lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0));
    rig.ctx.secureReading = c.secure;
    const std::string out = dir / "t.wav";
    const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, out, 0, 60);
    EXPECT_TRUE(outcome.complete);
    EXPECT_TRUE(ReadFile(out).substr(44) == FakeTrack(0, 60));
    EXPECT_EQ(outcome.read.retries, c.retries);
    EXPECT_FALSE(outcome.read.Suspicious());
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
  }
}

TEST(ReadFigures, AnImageCutShortWhileItIsReadEndsTheTrackWithTheReadFailure) {
  TempDir dir;
  const std::string audio = discgen::MusicCdFrames(100, 1);
  for (const bool secure : {false, true}) {
    SCOPED_TRACE(secure ? "secure" : "plain");
    const std::string cue = discgen::WriteCueImage(dir.Path(), secure ? "s" : "p", {{audio, {}, false}},
                                                   discgen::ImageFiles::OneBinary);
    CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
    test::ExtractionRig rig(lib);
    ASSERT_TRUE(rig.cd.OpenDrive(0));
    rig.ctx.secureReading = secure;
    // The image loses its end after the disc was opened, halfway into a frame.
    ASSERT_EQ(::truncate((dir / (secure ? "s.bin" : "p.bin")).c_str(), 60 * kFrame + 1000), 0);
    const std::string out = dir / (secure ? "s.wav" : "p.wav");
    const ExtractionOutcome outcome = ExtractTrackToWav(rig.ctx, out, 0, 100);
    EXPECT_FALSE(outcome.complete);
    EXPECT_EQ(outcome.framesWritten, 60);
    EXPECT_TRUE(ReadFile(out).substr(44) == audio.substr(0, 60 * kFrame));
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_NE(rig.fake.dialogs.messages[0].text, AkripErrorText(0));
    EXPECT_GT(outcome.read.retries, 0u);
  }
}

}  // namespace
}  // namespace korvalin
