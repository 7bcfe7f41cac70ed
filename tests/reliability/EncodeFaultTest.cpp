// The encode batch meeting a full disk, a destination that goes away between two files, a source
// cut short while it is read, and a cancel at every yield. Each leaves no MP3 or a valid shorter
// one, shows one message at most, and never deletes a source that was not encoded completely.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "encode/EncodeBatch.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/OpenFiles.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/StandInJobHost.h"

namespace korvalin {
namespace {

namespace fs = std::filesystem;
using test::SmallDisk;

constexpr int64_t kSampleFrames = 3 * 44100;  // three seconds: several encoder blocks

// No MP3, or one whose frames decode to less than the source holds; its end may cut a frame (an
// encoder's output does not end on frame boundaries) but never holds garbage.
void ExpectNoFileOrValidShorterMp3(const std::string& path, bool drained) {
  if (!test::Exists(path)) return;
  const std::string bytes = test::ReadFile(path);
  const auto scan = test::ScanFrames(bytes);
  ASSERT_FALSE(scan.frames.empty()) << path << " is an MP3 file without a frame: " << bytes.size() << " bytes";
  if (drained) {
    EXPECT_EQ(scan.strayBytes, 0u) << "a finished stream ends on a whole frame";
  }
  if (scan.strayBytes > 0) {
    const auto cut = test::ParseFrameHeader(bytes, bytes.size() - scan.strayBytes);
    ASSERT_TRUE(cut) << "the MP3 ends in " << scan.strayBytes << " bytes that are no frame";
  }
  EXPECT_LE(test::DecodeMp3(bytes).SampleFrames(), kSampleFrames + 2 * 1152);
}

// The main window over a destination folder, with WAV sources listed under "WAV Files".
struct EncodeRig {
  explicit EncodeRig(const std::string& destination) {
    form->settings.DecodePath = destination;
    form->settings.DeleteWAV = 1;
    form->settings.ShowFullPath = 1;
    form->collection.showfiles();
  }
  std::string AddWav(const std::string& path, uint32_t seed, int64_t frames = kSampleFrames) {
    test::WriteFile(path, test::PcmWav(discgen::MusicBytes(frames, seed), 44100, 2));
    test::Inside(form->collection).List1.AddItem(path);
    sources.push_back(path);
    contents.push_back(test::ReadFile(path));
    return path;
  }
  void Run() {
    test::Inside(form->collection).TreeView1.SetSelectedItem(form->collection.FindText("WAV Files"));
    cmdEncFile_Click(*form, fake.services);
  }
  std::string Mp3For(std::size_t i) const {
    return form->settings.DecodePath + "/" + fs::path(sources[i]).stem().string() + ".mp3";
  }

  test::FakeServices fake;
  std::unique_ptr<test::StandInJobHost> form = std::make_unique<test::StandInJobHost>(fake.services);
  std::vector<std::string> sources, contents;
};

TEST(EncodeFaults, AFullDiskShowsOneMessageKeepsEverySourceAndLeavesValidFiles) {
  struct Case {
    const char* name;
    int64_t freeBytes;
  };
  for (const Case c : {Case{"the first write", 0}, Case{"a later block", 5 * 4096}}) {
    SCOPED_TRACE(c.name);
    SmallDisk disk(4 << 20);
    if (!disk.Available()) GTEST_SKIP() << disk.Why();
    EncodeRig rig(disk.Path());
    // Sources lie in the destination itself: the files "Delete WAV" may remove.
    rig.AddWav(disk / "first.wav", 1);
    rig.AddWav(disk / "second.wav", 2);
    disk.LeaveFree(c.freeBytes);
    rig.Run();

    EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u) << "a full disk fails every file alike: one message is enough";
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_TRUE(test::ReadFile(rig.sources[i]) == rig.contents[i]) << rig.sources[i] << " changed or went";
      ExpectNoFileOrValidShorterMp3(rig.Mp3For(i), false);
    }
  }
}

TEST(EncodeFaults, ADestinationMovedAwayOrMadeReadOnlyBetweenTwoFilesStopsTheBatch) {
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only" : "moved away");
    SmallDisk disk(8 << 20);
    if (readOnly && !disk.Available()) GTEST_SKIP() << disk.Why();
    test::TempDir place, in;
    const std::string dest = readOnly ? disk.Path() : place / "music";
    fs::create_directories(dest);
    EncodeRig rig(dest);
    for (uint32_t i = 1; i <= 3; ++i) rig.AddWav(in / ("song " + std::to_string(i) + ".wav"), i);
    bool changed = false;
    rig.fake.loop.EveryYield([&] {
      if (changed || !test::Exists(rig.Mp3For(0)) || test::HoldsFileUnder(dest)) return;
      changed = true;
      if (readOnly) {
        disk.MakeReadOnly();
      } else {
        fs::rename(dest, place / "moved");
      }
    });
    rig.Run();

    ASSERT_TRUE(changed);
    const std::string first = readOnly ? rig.Mp3For(0) : place / "moved/song 1.mp3";
    ExpectNoFileOrValidShorterMp3(first, true);
    EXPECT_NEAR(static_cast<double>(test::DecodeMp3(test::ReadFile(first)).SampleFrames()), kSampleFrames, 2 * 1152);
    EXPECT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fs::exists(dest), readOnly) << "the batch made the destination again";
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(test::Exists(rig.sources[i]));
  }
}

TEST(EncodeFaults, ASourceCutShortWhileItIsEncodedIsReportedAndKept) {
  test::TempDir dest;
  EncodeRig rig(dest.Path());
  const std::string source = rig.AddWav(dest / "cut.wav", 4);
  rig.fake.loop.AtYield(4, [&] { fs::resize_file(source, 44 + 100000); });
  rig.Run();

  ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
  EXPECT_NE(rig.fake.dialogs.messages[0].text.find(source), std::string::npos) << rig.fake.dialogs.messages[0].text;
  EXPECT_TRUE(test::Exists(source)) << "a source that was not encoded completely was deleted";
  ExpectNoFileOrValidShorterMp3(rig.Mp3For(0), false);
}

TEST(EncodeFaults, ACancelAtAnyYieldLeavesAValidMp3AndTheSourceUnlessItWasAllEncoded) {
  for (int yield = 1;; ++yield) {
    SCOPED_TRACE("cancel at yield " + std::to_string(yield));
    SmallDisk disk(8 << 20);
    test::TempDir fallback;
    const std::string dest = disk.Available() ? disk.Path() : fallback.Path();
    EncodeRig rig(dest);
    constexpr int64_t kShort = 6 * 1152;  // six encoder blocks
    const std::string source = rig.AddWav(dest + "/take.wav", 5, kShort);
    rig.fake.loop.AtYield(yield, [&] { rig.form->flags.CancelRequested = kTrue; });
    rig.Run();

    const int yields = rig.fake.loop.Yields();
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
    ExpectNoFileOrValidShorterMp3(rig.Mp3For(0), true);
    const bool all = test::Exists(rig.Mp3For(0)) &&
                     std::abs(test::DecodeMp3(test::ReadFile(rig.Mp3For(0))).SampleFrames() - kShort) <= 2 * 1152;
    if (!all) {
      EXPECT_TRUE(test::Exists(source)) << "a source cancelled part-way was deleted";
    }
    if (yield >= yields) break;  // the cancel came after the last yield: every yield was tried
  }
}

}  // namespace
}  // namespace korvalin
