#include "encode/EncodeWavToMp3.h"

#include <gtest/gtest.h>

#include "controls/CheckBox.h"

#include "tests/support/FakeServices.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;

constexpr std::size_t kStereoBlockBytes = 4 * 1152 * 2 * 2;

class EncodeWavToMp3Test : public ::testing::Test {
 protected:
  EncodeWavToMp3Test() { form.settings.DecodePath = out.Path(); }

  // The bitrate index in the settings: the job reads it as it starts.
  void ChooseBitrateIndex(int16_t index) { form.settings.EncodingBitrate = index; }

  // Encodes with the options of the moment, as a job starting now would.
  WavEncodingOutcome Encode(const std::string& path) {
    return EncodeWavToMp3(form, fake.services, path, form.ReadJobOptions());
  }

  test::FakeServices fake;
  test::StandInJobHost form{fake.services};
  TempDir in, out;
};

TEST_F(EncodeWavToMp3Test, EncodesAtTheStoredBitrateWithOnlyTheOriginalFlagWhileTheCommandsAreLocked) {
  test::WriteFile(in / "Track 3.wav", test::PcmWav(discgen::MusicBytes(30000, 3), 44100, 2));
  form.options.privateBox = controls::CheckBox::Checked;  // the boxes count for ripping, not here
  form.options.crcBox = controls::CheckBox::Checked;
  form.options.copyrightedBox = controls::CheckBox::Checked;
  ChooseBitrateIndex(8);
  bool lockedWhileEncoding = false;
  fake.loop.EveryYield([&] { lockedWhileEncoding |= form.Locked() && form.cancelShown; });

  EXPECT_TRUE(Encode(in / "Track 3.wav").Succeeded());
  EXPECT_TRUE(lockedWhileEncoding);
  EXPECT_EQ(form.disables, 1);
  EXPECT_EQ(form.enables, 1);
  EXPECT_FALSE(form.Locked());
  EXPECT_EQ(form.percent, "100.0%");
  EXPECT_EQ(form.bar, 100);
  EXPECT_TRUE(fake.dialogs.messages.empty());
  const auto scan = test::ScanFrames(ReadFile(out / "Track 3.mp3"));
  ASSERT_FALSE(scan.frames.empty());
  for (const auto& f : scan.frames) {
    ASSERT_EQ(f.bitrateKbps, 128);
    ASSERT_EQ(f.mode, test::kModeJointStereo);
    ASSERT_TRUE(f.original);
    ASSERT_FALSE(f.privateBit || f.crcProtected || f.copyright);
  }

  // The bitrate is read from the store again at the next call, into the folder of that moment.
  ChooseBitrateIndex(13);
  form.settings.DecodePath = in.Path();
  EXPECT_TRUE(Encode(in / "Track 3.wav").Succeeded());
  EXPECT_EQ(test::ScanFrames(ReadFile(in / "Track 3.mp3")).frames.at(0).bitrateKbps, 320);
}

TEST_F(EncodeWavToMp3Test, ShowsThePercentageAfterEachBlockWithOneDecimal) {
  // 40 blocks: the first reads 2.5 %.
  test::WriteFile(in / "a.wav", test::PcmWav(std::string(40 * kStereoBlockBytes, '\0'), 44100, 2));
  std::vector<std::string> shown;
  std::vector<int32_t> bar;
  fake.loop.EveryYield([&] {
    shown.push_back(form.percent);
    bar.push_back(form.bar);
  });
  ASSERT_TRUE(Encode(in / "a.wav").Succeeded());
  ASSERT_GE(shown.size(), 4u);
  // The first yield comes before any block.
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.begin() + 4),
            (std::vector<std::string>{"02.5%", "05.0%", "07.5%"}));
  EXPECT_EQ(std::vector<int32_t>(bar.begin() + 1, bar.begin() + 4), (std::vector<int32_t>{2, 5, 7}));
}

TEST_F(EncodeWavToMp3Test, AMissingFileIsReportedBeforeAnythingIsLockedOrRead) {
  EXPECT_FALSE(Encode(in / "gone.wav").Succeeded());
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].text, "File not found...");
  EXPECT_EQ(fake.dialogs.messages[0].title, "Critical Error");
  EXPECT_EQ(fake.dialogs.messages[0].icon, MsgBoxIcon::Critical);
  EXPECT_EQ(form.disables + form.enables, 0);
  EXPECT_FALSE(form.cancelShown);
  EXPECT_TRUE(fake.store.asked.empty());
  EXPECT_FALSE(test::Exists(out / "gone.mp3"));
}

}  // namespace
}  // namespace korvalin
