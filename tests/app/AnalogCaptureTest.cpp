#include "rip/AnalogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/Form1.h"
#include "common/TrackLine.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::ReadFile;

// A decimal number without leading zeros, then `tail`.
bool IsNumberThen(const std::string& text, const std::string& tail) {
  if (text.size() <= tail.size() || text.compare(text.size() - tail.size(), tail.size(), tail) != 0) return false;
  const std::string digits = text.substr(0, text.size() - tail.size());
  return digits.find_first_not_of("0123456789") == std::string::npos && (digits == "0" || digits[0] != '0');
}

// A main window over the scripted media interface: a disc of three short tracks, read, with
// "1 Step Extraction" cleared so that Start captures through the sound card.
class CaptureRig : public ::testing::Test {
 protected:
  CaptureRig() {
    fake.media.trackMs = {2000, 1500, 1000};
    fake.media.clock = [this] { return fake.loop.Elapsed(); };
    form.settings.DecodePath = dest.Path();
    form.settings.AudioFormat = 1;
    form.cdBar.cmdRefresh_Click();
    form.collection.showfiles();
    form.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
    form.options.optWAV.SetValue(true);
    fake.media.commands.clear();
  }
  void Start(std::initializer_list<int32_t> tracks) {
    for (int32_t t : tracks) test::Inside(form.collection).lstRecord.AddItem(TrackLine(t, "00:01"));
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Selected Tracks"));
    form.CmdSelectAction_Click();
  }
  // The commands one track's capture sends, in order, from opening the recorder to closing the cd.
  static std::vector<std::string> TrackCommands(const std::string& play, const std::string& path,
                                                const std::string& channels = "2") {
    const std::string align = channels == "2" ? "4" : "2";
    const std::string rate = channels == "2" ? "176400" : "88200";
    return {"open new type waveaudio alias capture",
            "set capture samplespersec 44100 channels " + channels + " bitspersample 16 alignment " + align +
                " bytespersec " + rate,
            "open cdaudio alias cd", "set cd time format milliseconds", "record capture overwrite", play,
            "stop capture", "stop cd", "save capture " + path, "close capture", "close cd"};
  }
  test::FakeServices fake;
  test::TempDir dest;
  ProgramJobs formJobs{fake.services};
  Form1 form{fake.services, formJobs};
};

TEST_F(CaptureRig, ThreeTracksInARowPlayFromTheirStartsAndAreSavedAndListed) {
  std::vector<std::string> percents;
  fake.loop.EveryYield([&] {
    const std::string& p = form.displays.Label33.Caption();
    if (percents.empty() || percents.back() != p) percents.push_back(p);
  });
  form.settings.DeleteWAV = 1;
  Start({1, 2, 3});

  ASSERT_EQ(fake.media.savedFiles.size(), 3u);
  std::vector<std::string> expected;
  const char* plays[] = {"play cd", "play cd from 2000", "play cd from 3500"};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string& path = fake.media.savedFiles[i];
    EXPECT_EQ(std::filesystem::path(path).parent_path(), dest.Path());
    EXPECT_TRUE(IsNumberThen(std::filesystem::path(path).filename().string(), "-" + std::to_string(i + 1) + ".wav"));
    const auto track = TrackCommands(plays[i], path);
    expected.insert(expected.end(), track.begin(), track.end());
    // Each file holds its track, and at most one tick more.
    const auto wav = test::ParseWav(ReadFile(path));
    ASSERT_TRUE(wav);
    const double seconds = wav->samples.size() / 2 / 44100.0;
    EXPECT_GE(seconds, fake.media.trackMs[i] / 1000.0 - 0.002);
    EXPECT_LE(seconds, fake.media.trackMs[i] / 1000.0 + 0.15);
  }
  EXPECT_EQ(fake.media.DeviceCommands(), expected);

  // A normal end lists every recording, even with "Delete WAV" on; the window is free and idle
  // again.
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (std::vector<std::string>{fake.media.savedFiles.rbegin(),
                                                                     fake.media.savedFiles.rend()}));
  EXPECT_EQ(form.collection.FindText("WAV Files")->Children().size(), 3u);
  EXPECT_FALSE(form.programJobs.capture.tmrRecord.Enabled());
  EXPECT_TRUE(form.toolbar.C777.Enabled());
  EXPECT_EQ(form.jobs.state.CurrentTrack, 3);
  EXPECT_TRUE(fake.dialogs.messages.empty());
  // Whole percentages without leading zeros, rising through each track.
  int highest = 0;
  for (const auto& p : percents) {
    if (p.empty() || p == "OFF") continue;
    EXPECT_TRUE(IsNumberThen(p, "%")) << p;
    highest = std::max(highest, std::stoi(p));
  }
  EXPECT_GE(highest, 90);
}

TEST_F(CaptureRig, TheTickShowsThePercentageAndEndsThePlayedTrack) {
  form.jobs.state.CaptureStart = 1000;
  form.jobs.state.CaptureEnd = 3000;
  form.jobs.state.CurrentOutputPath = dest / "5-2.wav";
  fake.media.SendCommand("open cdaudio alias cd", nullptr, 0);
  fake.media.SendCommand("open new type waveaudio alias capture", nullptr, 0);
  fake.media.SendCommand("record capture overwrite", nullptr, 0);
  form.programJobs.capture.tmrRecord.SetEnabled(true);
  // No disc position yet (a tick while an error about the sound card is on screen): no share.
  fake.media.position = 0;
  const std::string before = form.displays.Label33.Caption();
  form.programJobs.capture.tmrRecord_Timer();
  EXPECT_EQ(form.displays.Label33.Caption(), before);
  EXPECT_TRUE(form.programJobs.capture.tmrRecord.Enabled());
  fake.media.position = 1140;
  form.programJobs.capture.tmrRecord_Timer();
  EXPECT_EQ(form.displays.Label33.Caption(), "7%");
  EXPECT_EQ(form.displays.ProgressBar1.Value(), 7);
  EXPECT_TRUE(form.programJobs.capture.tmrRecord.Enabled());
  fake.media.position = 3000;
  form.programJobs.capture.tmrRecord_Timer();
  EXPECT_FALSE(form.programJobs.capture.tmrRecord.Enabled());
  EXPECT_EQ(fake.media.savedFiles, std::vector<std::string>{dest / "5-2.wav"});
}

TEST_F(CaptureRig, EachSetUpErrorSaysWhichAndAbandonsTheCapture) {
  struct Case {
    const char* failing;  // the command that fails (none: the format is refused)
    const char* message;
  };
  for (const Case& c : {Case{"open new type waveaudio alias capture", "Error opening waveaudio"},
                        Case{nullptr, "Error setting capture recording paramaters"},
                        Case{"open cdaudio alias cd", "Error opening cd!"}, Case{"play cd", "Error playing cd!"}}) {
    SCOPED_TRACE(c.message);
    test::FakeServices f;
    f.media.trackMs = {2000, 1500};
    f.media.clock = [&f] { return f.loop.Elapsed(); };
    ProgramJobs wJobs{f.services};
    Form1 w(f.services, wJobs);
    w.settings.DecodePath = dest.Path();
    w.settings.AudioFormat = c.failing ? 1 : 2;  // 2 is no format: every figure is 0
    w.cdBar.cmdRefresh_Click();
    w.collection.showfiles();
    w.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
    w.options.optWAV.SetValue(true);
    if (c.failing) f.media.failing[c.failing] = 7;
    f.media.commands.clear();
    test::Inside(w.collection).lstRecord.AddItem(TrackLine(1, "00:02"));
    test::Inside(w.collection).lstRecord.AddItem(TrackLine(2, "00:01"));
    test::Inside(w.collection).TreeView1.SetSelectedItem(w.collection.FindText("Selected Tracks"));
    w.CmdSelectAction_Click();  // returns: nothing waits for a capture that never began

    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, c.message);
    EXPECT_EQ(f.dialogs.messages[0].icon, MsgBoxIcon::Critical);
    const auto sent = f.media.DeviceCommands();
    const std::string failed =
        c.failing ? c.failing : "set capture samplespersec 0 channels 0 bitspersample 0 alignment 0 bytespersec 0";
    auto at = std::find(sent.begin(), sent.end(), failed);
    ASSERT_NE(at, sent.end());
    if (!c.failing) {
      ASSERT_NE(++at, sent.end());
      EXPECT_EQ(*at, "close capture");
    }
    const std::vector<std::string> cancel{"stop capture", "stop cd", "save capture " + w.jobs.state.CurrentOutputPath,
                                          "close capture", "close cd"};
    ASSERT_GE(sent.end() - at, 6);
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 6), cancel);
    // Nothing was recorded and the second track never started.
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "record capture overwrite"), c.failing && std::string(c.failing) == "play cd");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "open new type waveaudio alias capture"), 1);
    EXPECT_EQ(w.jobs.state.CaptureEnd, 0);
    EXPECT_EQ(w.collection.CurrentChosenTrack(), 1);
    EXPECT_FALSE(w.programJobs.capture.tmrRecord.Enabled());
    EXPECT_TRUE(w.toolbar.C777.Enabled());
  }
}

TEST(AnalogCaptureStops, EveryStopKeepsAndListsTheWavAndStartsNoFurtherTrack) {
  const std::pair<const char*, std::function<void(Form1&)>> stops[] = {
      {"Stop", [](Form1& f) { f.toolbar.Command1.Click(); }},
      {"Cancel", [](Form1& f) { f.toolbar.Command2.Click(); }},
      {"Stop Everything", [](Form1& f) { f.jobButtons.Command8.Click(); }},
      {"the CD bar's stop", [](Form1& f) { f.cdBar.Command12_Click(); }},
      {"the window's close", [](Form1& f) {
         bool cancel = false;
         f.window.OnQueryUnload(cancel);
       }}};
  for (const auto& [name, stop] : stops) {
    SCOPED_TRACE(name);
    test::FakeServices fake;
    test::TempDir dest;
    fake.media.trackMs = {2000, 1500};
    fake.media.clock = [&fake] { return fake.loop.Elapsed(); };
    ProgramJobs formJobs{fake.services};
    Form1 form(fake.services, formJobs);
    form.settings.DecodePath = dest.Path();
    form.settings.AudioFormat = 1;
    form.settings.DeleteWAV = 1;
    form.cdBar.cmdRefresh_Click();
    form.collection.showfiles();
    form.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
    form.options.optWAV.SetValue(true);
    fake.media.commands.clear();
    fake.loop.AtYield(800, [&form, &stop = stop] { stop(form); });
    test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
    form.CmdSelectAction_Click();

    ASSERT_EQ(fake.media.savedFiles.size(), 1u);
    const std::string& wav = fake.media.savedFiles[0];
    EXPECT_TRUE(std::filesystem::exists(wav));  // "Delete WAV" is for encoded files, not this one
    EXPECT_EQ(test::Inside(form.collection).List1.Items(), std::vector<std::string>{wav});
    const auto sent = fake.media.DeviceCommands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "open new type waveaudio alias capture"), 1);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 5, sent.end()),
              (std::vector<std::string>{"stop capture", "stop cd", "save capture " + wav, "close capture", "close cd"}));
    EXPECT_FALSE(form.programJobs.capture.tmrRecord.Enabled());
    EXPECT_TRUE(form.toolbar.C777.Enabled());
  }
}

TEST_F(CaptureRig, Mp3OutputIsEncodedFromTheMonoRecordingListedAndTheWavDeleted) {
  form.settings.AudioFormat = 0;
  form.settings.DeleteWAV = 1;
  form.options.optMP3.SetValue(true);
  Start({3});
  ASSERT_EQ(fake.media.savedFiles.size(), 1u);
  const std::string wav = fake.media.savedFiles[0];
  EXPECT_EQ(fake.media.DeviceCommands(), TrackCommands("play cd from 3500", wav, "1"));
  EXPECT_FALSE(std::filesystem::exists(wav));
  const std::string mp3 = wav.substr(0, wav.size() - 4) + ".mp3";
  EXPECT_EQ(test::NamesIn(dest.Path()), std::vector<std::string>{std::filesystem::path(mp3).filename()});
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), std::vector<std::string>{mp3});
  const test::DecodedAudio audio = test::DecodeMp3(ReadFile(mp3));
  EXPECT_EQ(audio.channels, 1);
  EXPECT_EQ(audio.rate, 44100);
  EXPECT_NEAR(audio.SampleFrames() / 44100.0, 1.05, 0.1);  // the track, not half or twice of it
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(CaptureRig, WithoutTrackLengthsNothingIsRecorded) {
  form.jobs.state.TrackLengths.clear();
  Start({2});
  EXPECT_TRUE(fake.media.DeviceCommands().empty());
  EXPECT_FALSE(form.programJobs.capture.tmrRecord.Enabled());
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

// The real interpreter, on a machine without a recording input: the user is told, and Start
// returns.
TEST(AnalogCaptureDevices, WithoutASoundCardTheRecorderCannotOpenAndSaysSo) {
  test::FakeServices fake;
  test::TempDir discs;
  const std::vector<CdDriveSource> drives{CdioLibrary::ImageDrive(
      discgen::WriteDiscImage(discs.Path(), "d", {discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(50, 2)}))};
  CdioLibrary library(drives);
  MediaCommandInterpreter media(drives, "null", "hw:99,99");
  Services services = fake.With({.cdLibrary = &library, .media = &media});
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  test::TempDir dest;
  form.settings.DecodePath = dest.Path();
  form.cdBar.cmdRefresh_Click();
  form.collection.showfiles();
  form.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
  test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Available Tracks"));
  form.CmdSelectAction_Click();
  // Said once: with MP3 output there is no recording to encode, and no second message about it.
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{"Error opening waveaudio"});
  EXPECT_FALSE(form.programJobs.capture.tmrRecord.Enabled());
  EXPECT_TRUE(test::NamesIn(form.settings.DecodePath).empty());
}

// One real capture through the loopback, in real time: track 2 of a generated disc comes back
// sample for sample.
TEST(AnalogCaptureDevices, TheLoopbackRecordsWhatTheCdPlaysInRealTime) {
  test::FakeServices fake;
  test::TempDir discs;
  const std::vector<std::string> tracks{discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(190, 2),
                                        discgen::MusicCdFrames(30, 3)};
  const std::vector<CdDriveSource> drives{CdioLibrary::ImageDrive(discgen::WriteDiscImage(discs.Path(), "d", tracks))};
  CdioLibrary library(drives);
  MediaCommandInterpreter media(drives, "null", kLoopbackCapture);
  HeadlessEventLoop loop;
  Services services = fake.With({.loop = &loop, .cdLibrary = &library, .media = &media});
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  form.settings.DecodePath = fake.programFolder.Path();
  form.settings.AudioFormat = 1;
  form.settings.DeleteWAV = 0;
  form.cdBar.cmdRefresh_Click();
  form.collection.showfiles();
  form.options.Chk2Stage.SetValue(controls::CheckBox::Unchecked);
  form.options.optWAV.SetValue(true);
  test::Inside(form.collection).lstRecord.AddItem(test::Inside(form.collection).lstTracks.List(1));
  test::Inside(form.collection).TreeView1.SetSelectedItem(form.collection.FindText("Selected Tracks"));

  const auto began = std::chrono::steady_clock::now();
  form.CmdSelectAction_Click();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_GT(seconds, 190 / 75.0 - 0.05);  // played at the pace of real playback
  EXPECT_LT(seconds, 190 / 75.0 + 2.0);

  const std::string bytes = ReadFile(form.jobs.state.CurrentOutputPath);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_EQ(wav->channels, 2);
  // The recording starts within a few frames of the track and holds all of it, plus at most a
  // tick of what follows; the overlap is the track exactly.
  const auto* track = reinterpret_cast<const int16_t*>(tracks[1].data());
  const std::size_t trackSamples = tracks[1].size() / 2;
  const std::vector<int16_t>& got = wav->samples;
  bool matched = false;
  for (int shiftFrames = -3; shiftFrames <= 3 && !matched; ++shiftFrames) {
    const long shift = shiftFrames * 588L * 2;  // where the track starts in the recording
    const std::size_t from = static_cast<std::size_t>(std::max(0L, -shift));
    const std::size_t to = std::min(trackSamples, got.size() - static_cast<std::size_t>(std::max(0L, shift)));
    if (to <= from + trackSamples - 6 * 588 * 2) continue;
    matched = std::equal(track + from, track + to, got.begin() + static_cast<long>(from) + shift);
  }
  EXPECT_TRUE(matched);
  EXPECT_LE(got.size(), trackSamples + 3 * 588 * 2 + 44100 * 2 / 4);
}

}  // namespace
}  // namespace korvalin
