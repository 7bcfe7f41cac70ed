#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/linux/MediaCommandInterpreter.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using namespace mcierror;

class CaptureDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    tracks = {discgen::MusicCdFrames(10, 1), discgen::MusicCdFrames(30, 2)};
    cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  }
  test::TempDir dir;
  std::vector<std::string> tracks;
  std::string cue;
};

TEST_F(CaptureDevice, AnAlsaDeviceThatCannotRecordIsRefusedAtOpen) {
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)}, "null", "hw:99,99");
  EXPECT_EQ(mci.SendCommand("open new type waveaudio alias capture"), kNoRecorder);
  for (const char* c : {"record capture overwrite", "stop capture", "save capture /tmp/x.wav", "close capture"}) {
    EXPECT_EQ(mci.SendCommand(c), kNoSuchAlias) << c;
  }
  test::ScopedEnv env("KORVALIN_CAPTURE", nullptr);
  EXPECT_EQ(CaptureSourceFromEnvironment(), "default");
  env.Set("KORVALIN_CAPTURE", "loopback");
  EXPECT_EQ(CaptureSourceFromEnvironment(), kLoopbackCapture);
}

TEST_F(CaptureDevice, TakesOnlyConsistentFormatsAndSavesAValidWavThatNeverReplacesAnotherFile) {
  // The null device records silence, paced like a real card.
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)}, "null", "null");
  ASSERT_EQ(mci.SendCommand("open new type waveaudio alias capture"), 0);
  EXPECT_EQ(mci.SendCommand("open new type waveaudio alias capture"), kAliasInUse);
  for (const char* refused : {"set capture samplespersec 0 channels 0 bitspersample 0 alignment 0 bytespersec 0",
                              "set capture samplespersec 44100 channels 2 bitspersample 24 alignment 6 bytespersec 264600",
                              "set capture samplespersec 44100 channels 2 bitspersample 16 alignment 2 bytespersec 88200",
                              "set capture samplespersec 44100 channels 3 bitspersample 16 alignment 6 bytespersec 264600",
                              "set capture channels 1 samplespersec 44100 bitspersample 16 alignment 2 bytespersec 88200"}) {
    EXPECT_EQ(mci.SendCommand(refused), kBadParameters) << refused;
  }
  ASSERT_EQ(mci.SendCommand("set capture samplespersec 44100 channels 1 bitspersample 16 alignment 2 bytespersec 88200"), 0);
  ASSERT_EQ(mci.SendCommand("record capture overwrite"), 0);
  ASSERT_EQ(mci.SendCommand("stop capture"), 0);

  const std::string path = dir / "a folder/12-3 take two.wav";
  std::filesystem::create_directories(dir / "a folder");
  ASSERT_EQ(mci.SendCommand("save capture " + path), 0);
  const std::string bytes = test::ReadFile(path);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_EQ(wav->channels, 1);
  EXPECT_EQ(wav->rate, 44100u);
  EXPECT_EQ(wav->byteRate, 88200u);
  EXPECT_LT(wav->samples.size(), 44100u);  // never faster than real time
  EXPECT_TRUE(std::all_of(wav->samples.begin(), wav->samples.end(), [](int16_t s) { return s == 0; }));
  EXPECT_EQ(mci.SendCommand("save capture " + path), 0);  // its own file again: replaced

  // A file the recorder did not write stays as it is; so does a folder that is not there.
  const std::string users = dir / "mine.wav";
  test::WriteFile(users, "the user's own");
  EXPECT_EQ(mci.SendCommand("save capture " + users), kFileExists);
  EXPECT_EQ(test::ReadFile(users), "the user's own");
  EXPECT_EQ(mci.SendCommand("save capture " + (dir / "missing/x.wav")), kSaveFailed);
  EXPECT_EQ(mci.SendCommand("save capture "), kSaveFailed);
  EXPECT_EQ(std::filesystem::directory_iterator(dir / "a folder")->path().filename(), "12-3 take two.wav");

  EXPECT_EQ(mci.SendCommand("close capture"), 0);
  EXPECT_EQ(mci.SendCommand("save capture " + path), kNoSuchAlias);
}

// Each failure answers with a code and the system's reason, and keeps what it can: a full
// destination keeps the samples that fitted as a valid WAV file, a full temporary folder ends
// the recording early but keeps what it held.
TEST_F(CaptureDevice, AFailedRecordingOrSaveSaysWhyAndKeepsWhatFitted) {
  const char* kFormat = "set capture samplespersec 44100 channels 2 bitspersample 16 alignment 4 bytespersec 176400";
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)}, "null", "null");
  ASSERT_EQ(mci.SendCommand("open new type waveaudio alias capture"), 0);
  ASSERT_EQ(mci.SendCommand(kFormat), 0);
  EXPECT_EQ(mci.SendCommand("save capture " + (dir / "early.wav")), kSaveFailed);
  EXPECT_EQ(mci.LastErrorText(), "nothing was recorded");
  EXPECT_FALSE(std::filesystem::exists(dir / "early.wav"));
  ASSERT_EQ(mci.SendCommand("record capture overwrite"), 0);
  EXPECT_EQ(mci.LastErrorText(), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the null device keeps real time
  ASSERT_EQ(mci.SendCommand("stop capture"), 0);
  EXPECT_EQ(mci.SendCommand("save capture " + (dir / "missing/x.wav")), kSaveFailed);
  EXPECT_EQ(mci.LastErrorText(), "No such file or directory");

  test::SmallDisk full(1 << 20);
  if (!full.Available()) GTEST_SKIP() << full.Why();
  full.LeaveFree(16 << 10);
  const std::string part = full / "part.wav";
  EXPECT_EQ(mci.SendCommand("save capture " + part), kSavedInPart);
  EXPECT_EQ(mci.LastErrorText().rfind("No space left on device; the first 0.", 0), 0u) << mci.LastErrorText();
  const std::string bytes = test::ReadFile(part);
  const auto wav = test::ParseWav(bytes);
  ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
  EXPECT_GT(wav->samples.size(), 0u);
  EXPECT_EQ(wav->samples.size() % 2, 0u);  // whole sample pairs
  // The cut-short file is never replaced by another cut-short one.
  EXPECT_EQ(mci.SendCommand("save capture " + part), kSaveFailed);
  EXPECT_EQ(test::ReadFile(part), bytes);
  ASSERT_EQ(mci.SendCommand("close capture"), 0);

  test::SmallDisk spool(1 << 20);
  spool.LeaveFree(0);
  test::ScopedEnv tmp("TMPDIR", spool.Path().c_str());
  ASSERT_EQ(mci.SendCommand("open new type waveaudio alias capture"), 0);
  ASSERT_EQ(mci.SendCommand(kFormat), 0);
  ASSERT_EQ(mci.SendCommand("record capture overwrite"), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(mci.SendCommand("stop capture"), kRecordingBroken);
  EXPECT_EQ(mci.LastErrorText(), "No space left on device (temporary folder " + spool.Path() + ")");
  EXPECT_EQ(mci.SendCommand("save capture " + (dir / "kept.wav")), 0);
  EXPECT_TRUE(test::ParseWav(test::ReadFile(dir / "kept.wav")));
}

TEST_F(CaptureDevice, TheLoopbackHearsTheCdAndMixesItDownToOneChannel) {
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)}, "null", kLoopbackCapture);
  ASSERT_EQ(mci.SendCommand("open new type waveaudio alias capture"), 0);
  // The loopback hears CD audio as it is: no other rate.
  EXPECT_EQ(mci.SendCommand("set capture samplespersec 22050 channels 1 bitspersample 16 alignment 2 bytespersec 44100"),
            kBadParameters);
  ASSERT_EQ(mci.SendCommand("set capture samplespersec 44100 channels 1 bitspersample 16 alignment 2 bytespersec 88200"), 0);
  ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  ASSERT_EQ(mci.SendCommand("record capture overwrite"), 0);
  const auto began = std::chrono::steady_clock::now();
  ASSERT_EQ(mci.SendCommand("play cd from 133"), 0);  // frame 10: track 2
  char reply[64] = {};
  for (int i = 0; i < 300; ++i) {
    mci.SendCommand("status cd position", reply, sizeof reply);
    if (std::string(reply) == "533") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));  // playback keeps the pace of a real disc
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  EXPECT_EQ(std::string(reply), "533");
  EXPECT_GT(seconds, 0.35);
  ASSERT_EQ(mci.SendCommand("stop capture"), 0);
  const std::string path = dir / "mono.wav";
  ASSERT_EQ(mci.SendCommand("save capture " + path), 0);
  const auto wav = test::ParseWav(test::ReadFile(path));
  ASSERT_TRUE(wav);
  const auto* stereo = reinterpret_cast<const int16_t*>(tracks[1].data());
  std::vector<int16_t> mono(tracks[1].size() / 4);
  for (std::size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
  EXPECT_EQ(wav->samples, mono);
  EXPECT_EQ(mci.SendCommand("close cd"), 0);
  EXPECT_EQ(mci.SendCommand("close capture"), 0);
}

}  // namespace
}  // namespace korvalin
