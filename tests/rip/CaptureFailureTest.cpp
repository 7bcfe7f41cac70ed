#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>

#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "rip/AnalogCapture.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/WavAnalysis.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

namespace fs = std::filesystem;
using test::SmallDisk;

// Two selected tracks captured through the sound card into `destination`, the first one first.
struct CaptureRun {
  CaptureRun(Services& services, const std::string& destination, const std::vector<int32_t>& trackMs)
      : host(services), capture(host, services) {
    host.state.TrackLengths = {0};
    host.state.TrackLengths.insert(host.state.TrackLengths.end(), trackMs.begin(), trackMs.end());
    options.destination = destination;
    options.trackCount = static_cast<double>(trackMs.size());
    options.audioFormat = 1;
    options.toMp3 = false;
    options.discIdentity = 3000;
    host.settings.DecodePath = destination;
    host.collection.showfiles();
    auto& chosen = test::Inside(host.collection).lstRecord;
    for (int32_t t = 1; t <= static_cast<int32_t>(trackMs.size()); ++t) chosen.AddItem(TrackLine(t, "00:01"));
    host.collection.SetCurrentChosenTrack(0);
  }
  void Run(EventLoop& loop) {
    capture.StartTrackRecording2(1, options);
    while (capture.Recording()) loop.YieldWhileWaiting();
  }
  test::StandInJobHost host;
  AnalogCapture capture;
  JobOptions options;
};

std::vector<std::string> AudioFilesIn(const std::string& folder) {
  std::vector<std::string> names = test::NamesIn(folder);
  std::erase_if(names, [](const std::string& name) { return name[0] == '.'; });
  return names;
}

// Each way a recording can fail ends the whole capture with one message that names the file and
// the system's reason; what fitted on a full disk stays a valid, shorter WAV file and is listed.
TEST(CaptureFailure, EndsTheCaptureWithOneMessageNamingTheFileAndTheCause) {
  using Fault = std::function<void(test::FakeMediaControl&, SmallDisk&, const std::string& dest)>;
  struct Case {
    const char* failure;  // the message after the file's name
    bool onSmallDisk;
    Fault fault;    // breaks the destination or the recorder
    int atYield;    // when: 0 before the capture starts, else while the first track records
    bool partKept;
  };
  const Case cases[] = {
      {"could not be saved: No such file or directory", false,
       [](auto&, auto&, const std::string& dest) { fs::remove_all(dest); }, 300, false},
      {"could not be saved: Read-only file system", true, [](auto&, SmallDisk& disk, auto&) { disk.MakeReadOnly(); },
       300, false},
      {"could not be saved: No space left on device; the first 0.", true,
       [](auto&, SmallDisk& disk, auto&) { disk.LeaveFree(64 << 10); }, 300, true},
      {"could not start: Device or resource busy.", false,
       [](test::FakeMediaControl& media, auto&, auto&) {
         media.failing["record capture overwrite"] = mcierror::kRecordFailed;
         media.failureText = "Device or resource busy";
       },
       0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    SmallDisk disk(4 << 20);
    if (c.onSmallDisk && !disk.Available()) {
      std::cerr << "skipped: " << disk.Why() << "\n";
      continue;
    }
    test::TempDir place;
    const std::string dest = c.onSmallDisk ? disk / "music" : place / "music";
    fs::create_directories(dest);
    test::FakeServices fake;
    fake.media.clock = [&fake] { return fake.loop.Elapsed(); };
    fake.media.trackMs = {1000, 1000};
    CaptureRun run(fake.services, dest, fake.media.trackMs);
    if (c.atYield == 0) c.fault(fake.media, disk, dest);
    else fake.loop.AtYield(c.atYield, [&] { c.fault(fake.media, disk, dest); });
    run.Run(fake.loop);

    const std::string& path = run.host.state.CurrentOutputPath;
    const std::vector<std::string> messages = fake.dialogs.MessageTexts();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("The recording " + path + " " + c.failure, 0), 0u) << messages[0];
    EXPECT_EQ(fake.dialogs.messages[0].icon, MsgBoxIcon::Critical);
    // No second track: one recorder opened, the watch ended, the commands free again; a track
    // that nobody records is not played.
    const auto sent = fake.media.DeviceCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "open new type waveaudio alias capture"), 1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "play cd"), c.atYield == 0 ? 0 : 1);
    EXPECT_EQ(sent.back(), "close cd");
    EXPECT_FALSE(run.capture.tmrRecord.Enabled());
    EXPECT_FALSE(run.host.Locked());
    if (c.partKept) {
      const std::string bytes = test::ReadFile(path);
      const auto wav = test::ParseWav(bytes);
      ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
      EXPECT_GT(wav->samples.size(), 0u);
      EXPECT_LT(wav->samples.size(), 44100u * 2);
      EXPECT_EQ(test::Inside(run.host.collection).List1.Items(), std::vector<std::string>{path});
      EXPECT_EQ(AudioFilesIn(dest), std::vector<std::string>{fs::path(path).filename()});
    } else {
      EXPECT_TRUE(AudioFilesIn(dest).empty());
      EXPECT_EQ(test::Inside(run.host.collection).List1.ListCount(), 0);
    }
  }
}

// The real recorder behind the real interpreter, hearing a short disc through the loopback, into a
// read-only destination: the system's reason comes through the interface.
TEST(CaptureFailure, TheRealRecorderSaysWhyThroughTheInterpreter) {
  SmallDisk disk(4 << 20);
  if (!disk.Available()) GTEST_SKIP() << disk.Why();
  test::TempDir discs;
  const std::vector<CdDriveSource> drives{CdioLibrary::ImageDrive(
      discgen::WriteDiscImage(discs.Path(), "d", {discgen::MusicCdFrames(30, 1), discgen::MusicCdFrames(20, 2)}))};
  MediaCommandInterpreter media(drives, "null", kLoopbackCapture);
  test::FakeServices fake;
  HeadlessEventLoop loop;
  Services services = fake.With({.loop = &loop, .media = &media});
  const std::string dest = disk / "music";
  fs::create_directories(dest);
  CaptureRun run(services, dest, {400, 266});
  disk.MakeReadOnly();
  run.Run(loop);
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{"The recording " + run.host.state.CurrentOutputPath +
                                                                  " could not be saved: Read-only file system."});
  EXPECT_EQ(run.host.collection.CurrentChosenTrack(), 0);  // the second track never started
  EXPECT_FALSE(run.capture.tmrRecord.Enabled());
}

}  // namespace
}  // namespace korvalin
