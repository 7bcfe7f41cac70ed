// A rip that fills the destination drive is stopped by the low-disk-space watch and leaves a
// valid, shorter WAV.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Form1.h"
#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeDrives.h"
#include "tests/support/FakeServices.h"
#include "tests/support/WavAnalysis.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The destination's drive: its free space shrinks by what lands in the destination folder.
class FillingDrive : public test::FakeDrives {
 public:
  FillingDrive(std::string folder, int64_t freeAtStart) : folder_(std::move(folder)), freeAtStart_(freeAtStart) {
    (*this)[fs::canonical(folder_).string()] = {fs::canonical(folder_).string(), 1000000000000, 0};
  }
  void DriveInfo(const std::string& root, int64_t& total, int64_t& free) override {
    FakeDrives::DriveInfo(root, total, free);
    int64_t written = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) written += static_cast<int64_t>(entry.file_size());
    free = freeAtStart_ - written;
  }

 private:
  std::string folder_;
  int64_t freeAtStart_;
};

TEST(LowSpaceStop, ARipThatFillsTheDestinationStopsAndLeavesAValidShorterWav) {
  constexpr int32_t kFrames = 1000;  // 2.35 MB of audio
  TempDir discs;
  TempDir dest;
  const std::string track = discgen::MusicCdFrames(kFrames, 7);
  CdioLibrary image({CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs.Path(), "disc", {track}))});
  test::FakeServices fake;
  Services services = fake.With(image);
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  form.settings.DecodePath = dest.Path();
  form.settings.HDWarning = 1;
  form.settings.HDWarningNo = 100;
  form.settings.HDstopdecoding = 1;
  form.settings.HDStopNo = 50;
  // 50.6 MB free at the start: the warning shows at the first look, the stop comes once 1.1 MB
  // are written.
  FillingDrive drive(dest.Path(), 50600000);
  form.programJobs.diskMonitor.SetDriveSource(drive);
  form.cdBar.lblCDID.SetCaption("3000");
  form.options.optWAV.SetValue(true);
  ASSERT_TRUE(form.programJobs.cd.OpenDrive(0));
  form.collection.AddAvailableTrack(TrackLine(1, "01:00"));
  form.collection.showfiles();
  test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
  fake.loop.SetSecondsPerYield(0.5);  // a look at the drives every four blocks

  form.CmdSelectAction_Click();

  std::vector<std::string> wavs, logs;
  for (const auto& entry : fs::directory_iterator(dest.Path())) {
    (entry.path().string().ends_with("-rip.log") ? logs : wavs).push_back(entry.path());
  }
  // Why the job ended is said, not taken for the user's cancel; the status line keeps it.
  const std::string why = "low disk space, " + form.programJobs.diskMonitor.DestinationFigure() + " MB free on the destination drive";
  EXPECT_EQ(form.displays.lblStatus.Caption(), "Job stopped: " + why);
  fake.loop.Advance(2);
  EXPECT_EQ(form.displays.lblStatus.Caption(), "Job stopped: " + why);
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_NE(test::ReadFile(logs[0]).find("stopped: " + why), std::string::npos);
  ASSERT_EQ(wavs.size(), 1u);
  const std::string bytes = test::ReadFile(wavs[0]);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav);
  EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
  const std::string data = bytes.substr(wav->dataOffset);
  EXPECT_GT(data.size(), 1100000u);
  EXPECT_LT(data.size(), 1500000u);
  EXPECT_EQ(data.size() % 2352, 0u);
  EXPECT_TRUE(data == track.substr(0, data.size()));
  EXPECT_LT(std::stoll(form.programJobs.diskMonitor.DestinationFigure()), 50);
  EXPECT_TRUE(form.toolbar.Label5.Visible());
  EXPECT_FALSE(form.programJobs.tmrWarning.Enabled());
  EXPECT_TRUE(form.toolbar.C777.Enabled());
}

}  // namespace
}  // namespace korvalin
