#include "rip/ExtractTrackToWav.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "fileout/OutputFailure.h"
#include "platform/linux/CdioLibrary.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;
using test::ReadFile;
using test::WriteFile;
using test::TempDir;

uint32_t Le32(const std::string& s, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

using Rig = test::ExtractionRig;

TEST(ExtractTrackToWav, EveryTrackOfAnImageRipsBitExactly) {
  TempDir dir;
  const std::vector<int32_t> lengths = {27, 53, 312, 2600};
  std::vector<std::string> tracks;
  for (std::size_t i = 0; i < lengths.size(); ++i) tracks.push_back(discgen::MusicCdFrames(lengths[i], static_cast<uint32_t>(i + 7)));
  CdioLibrary lib({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "disc", tracks))});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  for (int32_t t = 1; t <= 4; ++t) {
    const std::string out = dir / ("t" + std::to_string(t) + ".wav");
    const auto outcome = ExtractTrackToWav(rig.ctx, out, rig.cd.TrackFirstFrame(t), rig.cd.TrackEndFrame(t));
    EXPECT_TRUE(outcome.complete);
    const std::string wav = ReadFile(out);
    ASSERT_EQ(wav.size(), 44 + tracks[static_cast<std::size_t>(t - 1)].size()) << "track " << t;
    EXPECT_EQ(Le32(wav, 40), tracks[static_cast<std::size_t>(t - 1)].size());
    EXPECT_TRUE(wav.substr(44) == tracks[static_cast<std::size_t>(t - 1)]) << "track " << t << " differs";
  }
  EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(ExtractTrackToWav, ReadsBlocksOf26FramesAndReportsProgressAfterEach) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({27, 312});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;

  ExtractTrackToWav(rig.ctx, dir / "a.wav", 0, 27);
  EXPECT_EQ(lib.reads, (std::vector<std::pair<int32_t, int32_t>>{{0, 26}, {26, 1}}));
  ASSERT_EQ(rig.progress.calls.size(), 2u);
  EXPECT_EQ(rig.progress.calls[0].status, "Extracting track " + (dir / "a.wav"));
  EXPECT_EQ(rig.progress.calls[0].done, 26);
  EXPECT_EQ(rig.progress.calls[1].done, 27);
  EXPECT_EQ(rig.progress.calls[1].total, 27);
  EXPECT_EQ(ReadFile(dir / "a.wav").substr(44 + 26 * 2352), FakeCdLibrary::FrameBytes(26));

  lib.reads.clear();
  ExtractTrackToWav(rig.ctx, dir / "b.wav", 27, 339);  // 312 = 12 x 26: the block never shrinks
  ASSERT_EQ(lib.reads.size(), 12u);
  for (const auto& r : lib.reads) EXPECT_EQ(r.second, 26);
  EXPECT_EQ(rig.fake.loop.Yields(), 2 + 12);
}

TEST(ExtractTrackToWav, AnEmptyTrackGivesAHeaderOnlyAndNoRead) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({0, 5});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  EXPECT_TRUE(ExtractTrackToWav(rig.ctx, dir / "e.wav", 0, 0).complete);
  const std::string wav = ReadFile(dir / "e.wav");
  ASSERT_EQ(wav.size(), 44u);
  EXPECT_EQ(Le32(wav, 4), 36u);
  EXPECT_TRUE(lib.reads.empty());
  EXPECT_TRUE(rig.progress.calls.empty());
  // A table whose next entry lies before this one is an empty track too, not an endless loop.
  EXPECT_EQ(ExtractTrackToWav(rig.ctx, dir / "n.wav", 5, 0).framesWritten, 0);
  EXPECT_EQ(ReadFile(dir / "n.wav").size(), 44u);
}

TEST(ExtractTrackToWav, AFailingBlockEndsTheTrackWithAValidShorterWav) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({100});
  lib.readFails = [](int32_t address, int32_t) { return address == 52; };
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  const auto outcome = ExtractTrackToWav(rig.ctx, dir / "f.wav", 0, 100);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.framesWritten, 52);
  EXPECT_EQ(lib.reads.size(), 2u + 3u + 1u);  // two good blocks, three attempts, then its first frame alone
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text,
            "An error was returned by the ASPI manager. Use GetAspiLibAspiError to retrieve the actual ASPI error.");
  EXPECT_EQ(rig.fake.dialogs.messages[0].icon, MsgBoxIcon::None);
  EXPECT_EQ(rig.fake.dialogs.messages[0].title, "");
  const std::string wav = ReadFile(dir / "f.wav");
  EXPECT_EQ(wav.size(), 44u + 52 * 2352);
  EXPECT_EQ(Le32(wav, 40), 52u * 2352);
  EXPECT_EQ(Le32(wav, 4), 52u * 2352 + 36);

  // A read that fails twice and then succeeds is retried, not reported.
  int failures = 0;
  lib.readFails = [&](int32_t, int32_t) { return ++failures <= 2; };
  lib.reads.clear();
  EXPECT_TRUE(ExtractTrackToWav(rig.ctx, dir / "g.wav", 0, 26).complete);
  EXPECT_EQ(lib.reads.size(), 3u);
  EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u);

  // A disc that ends inside a block (an image cut short): every frame before the end is kept.
  lib.readFails = [](int32_t address, int32_t frames) { return address + frames > 60; };
  const auto cut = ExtractTrackToWav(rig.ctx, dir / "h.wav", 0, 100);
  EXPECT_EQ(cut.framesWritten, 60);
  EXPECT_EQ(rig.fake.dialogs.messages.size(), 2u);
  const std::string kept = ReadFile(dir / "h.wav");
  ASSERT_EQ(kept.size(), 44u + 60 * 2352);
  EXPECT_EQ(Le32(kept, 40), 60u * 2352);
  for (int32_t frame : {0, 52, 59}) {
    EXPECT_EQ(kept.substr(44 + static_cast<std::size_t>(frame) * 2352, 2352), FakeCdLibrary::FrameBytes(frame)) << frame;
  }
}

TEST(ExtractTrackToWav, ACancelAtTheThirdYieldLeavesAValidWavOfThreeBlocks) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({500});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  rig.flags.CancelRequested = kTrue;  // set before the call: cleared at its start
  rig.fake.loop.AtYield(2, [&] { rig.flags.CancelRequested = kTrue; });
  const auto outcome = ExtractTrackToWav(rig.ctx, dir / "c.wav", 0, 500);
  EXPECT_EQ(outcome.framesWritten, 78);
  EXPECT_EQ(rig.progress.calls.size(), 3u);  // the block in hand is written and reported
  const std::string wav = ReadFile(dir / "c.wav");
  EXPECT_EQ(wav.size(), 44u + 78 * 2352);
  EXPECT_EQ(Le32(wav, 40), 78u * 2352);
}

TEST(ExtractTrackToWav, AFolderThatIsMissingOrAFullDiskIsReportedAsWhatHappened) {
  FakeCdLibrary lib;
  lib.identifications = {"fake"};
  lib.SetTrackLengths({60});
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  TempDir dir;
  const auto missing = ExtractTrackToWav(rig.ctx, dir / "no-such-folder/x.wav", 0, 60);
  EXPECT_FALSE(missing.complete || missing.created);
  EXPECT_TRUE(missing.writeFailed);
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.messages[0].text, CannotCreateText(dir / "no-such-folder/x.wav", "No such file or directory"));
  EXPECT_TRUE(lib.reads.empty());  // nothing is read for a file that cannot be made

  struct stat full {};
  if (::stat("/dev/full", &full) != 0 || !S_ISCHR(full.st_mode)) GTEST_SKIP() << "no /dev/full here";
  const auto outcome = ExtractTrackToWav(rig.ctx, "/dev/full", 0, 60);
  EXPECT_TRUE(outcome.writeFailed);
  ASSERT_EQ(rig.fake.dialogs.messages.size(), 2u);
  EXPECT_EQ(rig.fake.dialogs.messages[1].text, WriteFailureText("/dev/full", "No space left on device"));
}

// The library of a disc read from files: the sources it names are those of the fake disc.
struct ImageLibrary : FakeCdLibrary {
  std::vector<std::string> sources;
  std::vector<std::string> SourceFiles(int32_t) const override { return sources; }
};

TEST(ExtractTrackToWav, AnOutputThatIsAFileOfTheDiscIsRefusedAndTheFileKept) {
  TempDir dir;
  WriteFile(dir / "d.cue", "FILE \"d.bin\" BINARY\n");
  WriteFile(dir / "d.bin", std::string(3000, 'b'));
  ASSERT_EQ(::symlink((dir / "d.bin").c_str(), (dir / "link.wav").c_str()), 0);
  ImageLibrary lib;
  lib.identifications = {"image"};
  lib.SetTrackLengths({30});
  lib.sources = {dir / "d.cue", dir / "d.bin"};
  Rig rig(lib);
  ASSERT_TRUE(rig.cd.OpenDrive(0));
  for (const std::string& target : {dir / "d.bin", dir / "d.cue", dir / "link.wav", dir / "./d.bin"}) {
    SCOPED_TRACE(target);
    rig.fake.dialogs.messages.clear();
    const auto outcome = ExtractTrackToWav(rig.ctx, target, 0, 30);
    EXPECT_FALSE(outcome.created);
    EXPECT_TRUE(outcome.writeFailed);
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.fake.dialogs.messages[0].text, OutputIsDiscSourceText(target));
  }
  EXPECT_TRUE(lib.reads.empty());
  EXPECT_EQ(ReadFile(dir / "d.bin"), std::string(3000, 'b'));
  EXPECT_EQ(ReadFile(dir / "d.cue"), "FILE \"d.bin\" BINARY\n");
  EXPECT_TRUE(ExtractTrackToWav(rig.ctx, dir / "other.wav", 0, 30).complete);  // any other name is written
}

}  // namespace
}  // namespace korvalin
