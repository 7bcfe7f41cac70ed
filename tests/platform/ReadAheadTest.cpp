#include "platform/linux/ReadAhead.h"

#include <gtest/gtest.h>

#include <cdio/cdio.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <thread>
#include <vector>

#include "encode/EncoderChoices.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CueImage.h"
#include "platform/linux/DiscReading.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/ParanoiaReader.h"
#include "platform/linux/ReadAheadDisc.h"
#include "platform/linux/SimulatedDrive.h"
#include "rip/ExtractTrackToMp3.h"
#include "rip/ExtractTrackToWav.h"
#include "tests/support/ExtractionRig.h"
#include "tests/support/FakeCdLibrary.h"
#include "tests/support/NoisyCdLibrary.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::TempDir;
constexpr std::size_t kFrame = cdrecord::kFrameSize;

// A disc in memory: each frame holds the fake library's pattern for its address, frames in `bad`
// cannot be read. It notes every read and whether two ever overlapped.
struct MemoryDisc {
  std::set<int32_t> bad;
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};

  bool Read(int32_t first, int32_t count, uint8_t* out, ReadAhead::Notes& notes) {
    if (inside.fetch_add(1) != 0) overlapped = true;
    bool ok = true;
    for (int32_t f = first; f < first + count && ok; ++f) {
      if (bad.count(f)) {
        notes.fault = "frame " + std::to_string(f) + " is scratched";
        ok = false;
      } else {
        const std::string bytes = test::FakeCdLibrary::FrameBytes(f);
        std::memcpy(out + static_cast<std::size_t>(f - first) * kFrame, bytes.data(), kFrame);
      }
    }
    inside.fetch_sub(1);
    return ok;
  }
  ReadAhead::Source Source() {
    return [this](int32_t first, int32_t count, uint8_t* out, ReadAhead::Notes& notes) {
      return Read(first, count, out, notes);
    };
  }
};

struct Request {
  int32_t first;
  int32_t count;
};

TEST(ReadAhead, EveryRequestGetsTheBytesAndOutcomeOfADirectReadWhateverItsOrder) {
  const int32_t end = 300;
  std::vector<Request> blocks;
  for (int32_t f = 0; f < end; f += 26) blocks.push_back({f, std::min(26, end - f)});
  std::vector<Request> twice;  // secure reading of an image reads every block two times
  for (const Request& r : blocks) twice.insert(twice.end(), {r, r});
  const struct {
    const char* what;
    std::vector<Request> requests;
    std::set<int32_t> bad;
  } cases[] = {
      {"a track from start to end", blocks, {}},
      {"every block read twice", twice, {}},
      {"seeks back and forth", {{0, 26}, {26, 26}, {52, 26}, {200, 26}, {26, 26}, {52, 26}, {78, 26}}, {}},
      {"the block size changes", {{0, 26}, {26, 26}, {52, 13}, {65, 1}, {66, 1}, {67, 26}, {93, 26}}, {}},
      {"a scratch: retried, frame by frame, then read on",
       {{0, 26}, {26, 26}, {52, 26}, {78, 26}, {78, 26}, {78, 26}, {78, 1}, {79, 1}, {80, 1}, {81, 1}, {104, 26}, {130, 26}},
       {81}},
      {"a scratch in the last block", blocks, {299}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDisc disc, direct;
    disc.bad = direct.bad = c.bad;
    std::mutex lock;
    ReadAhead ahead(disc.Source(), lock, 3 * 26);
    for (const Request& r : c.requests) {
      std::vector<uint8_t> got(static_cast<std::size_t>(r.count) * kFrame), want(got.size());
      ReadAhead::Notes gotNotes, wantNotes;
      const bool ok = ahead.Read(r.first, r.count, end, got.data(), gotNotes);
      ASSERT_EQ(ok, direct.Read(r.first, r.count, want.data(), wantNotes)) << r.first;
      EXPECT_EQ(gotNotes.fault, wantNotes.fault) << r.first;
      if (ok) {
        EXPECT_TRUE(got == want) << r.first;
      }
      EXPECT_LE(ahead.HeldFrames(), 3 * 26);
    }
    EXPECT_LE(ahead.MostHeldFrames(), 3 * 26);
    EXPECT_FALSE(disc.overlapped) << "two reads of the disc at once";
  }
}

// Waits for the reader thread to reach a state; the test fails instead of hanging.
template <typename Done>
bool Eventually(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(ReadAhead, HoldsNoMoreThanItsBoundStopsAtTheTrackEndAndLetsGoWhenStopped) {
  MemoryDisc disc;
  std::mutex lock;
  ReadAhead ahead(disc.Source(), lock, 2 * 26);
  std::vector<uint8_t> out(26 * kFrame);
  ReadAhead::Notes notes;
  ASSERT_TRUE(ahead.Read(0, 26, 10000, out.data(), notes));
  ASSERT_TRUE(Eventually([&] { return ahead.HeldFrames() == 2 * 26; }));
  EXPECT_TRUE(ahead.Reading()) << "a full buffer waits for room, it does not end the reading";
  ahead.Stop();
  EXPECT_EQ(ahead.HeldFrames(), 0);
  EXPECT_FALSE(ahead.Reading());
  EXPECT_EQ(ahead.MostHeldFrames(), 2 * 26);

  // A track of 60 frames: the thread reads the rest and ends; the last request leaves nothing.
  for (int32_t f = 0; f < 60; f += 26) ASSERT_TRUE(ahead.Read(f, std::min(26, 60 - f), 60, out.data(), notes));
  EXPECT_EQ(ahead.HeldFrames(), 0);
  EXPECT_TRUE(Eventually([&] { return !ahead.Reading(); }));
}

// --- The CD library with read-ahead on and off: what the program sees is the same. -------------

struct RipResult {
  std::string file;
  std::vector<std::string> messages;
  std::vector<int> progress;
  int32_t readCalls = 0;
  int32_t frames = 0;
  uint32_t retries = 0;
  bool operator==(const RipResult&) const = default;
};

struct RipCase {
  bool mp3 = false;
  bool secure = false;
  std::function<void(test::ExtractionRig&)> script;  // what happens during the rip
  std::function<void()> beforeOpen, afterOpen;       // what happens to the image around its opening
};

class ReadAheadRip : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int disc = 0; disc < 2; ++disc) {
      const std::vector<std::string> tracks = {discgen::MusicCdFrames(40, 1 + disc), discgen::MusicCdFrames(400, 3 + disc),
                                               discgen::MusicCdFrames(60, 5 + disc)};
      cues.push_back(discgen::WriteDiscImage(dir.Path(), "disc" + std::to_string(disc), tracks));
    }
  }

  RipResult Rip(bool readAhead, const RipCase& c) {
    test::ScopedEnv env(kReadAheadVariable, readAhead ? "1" : "0");
    CdioLibrary library({CdioLibrary::ImageDrive(cues[0]), CdioLibrary::ImageDrive(cues[1])});
    test::NoisyCdLibrary counted(library);
    counted.noisyEvery = 0;
    test::ExtractionRig rig(counted);
    rig.ctx.secureReading = c.secure;
    if (c.beforeOpen) c.beforeOpen();
    EXPECT_TRUE(rig.cd.OpenDrive(0));
    if (c.afterOpen) c.afterOpen();
    if (c.script) c.script(rig);
    const std::string out = dir / (c.mp3 ? "out.mp3" : "out.wav");
    std::filesystem::remove(out);
    RipResult result;
    int32_t first = rig.cd.TrackFirstFrame(2);
    if (c.mp3) {
      LameEncoderLibrary encoder;
      const auto outcome = ExtractTrackToMp3(rig.ctx, encoder, out, first, rig.cd.TrackEndFrame(2), ExtractionConfig(128, 1, {}));
      result.frames = outcome.framesEncoded;
      result.retries = outcome.read.retries;
    } else {
      const auto outcome = ExtractTrackToWav(rig.ctx, out, first, rig.cd.TrackEndFrame(2));
      result.frames = outcome.framesWritten;
      result.retries = outcome.read.retries;
    }
    if (std::filesystem::exists(out)) result.file = test::ReadFile(out);
    result.messages = rig.fake.dialogs.MessageTexts();
    result.progress = rig.progress.Done();
    result.readCalls = counted.readCalls;
    return result;
  }

  void ExpectSame(const RipCase& c) {
    const RipResult on = Rip(true, c);
    const RipResult off = Rip(false, c);
    EXPECT_EQ(on.file.size(), off.file.size());
    EXPECT_TRUE(on.file == off.file) << "the ripped bytes differ";
    EXPECT_EQ(on.messages, off.messages);
    EXPECT_EQ(on.progress, off.progress);
    EXPECT_EQ(on.readCalls, off.readCalls);
    EXPECT_EQ(on.frames, off.frames);
    EXPECT_EQ(on.retries, off.retries);
  }

  TempDir dir;
  std::vector<std::string> cues;
};

TEST_F(ReadAheadRip, WholeTracksToWavAndMp3PlainAndSecure) {
  for (const bool mp3 : {false, true}) {
    for (const bool secure : {false, true}) {
      SCOPED_TRACE(std::string(mp3 ? "mp3" : "wav") + (secure ? " secure" : ""));
      ExpectSame({mp3, secure, {}, {}, {}});
    }
  }
  EXPECT_EQ(Rip(true, {}).frames, 400);
}

TEST_F(ReadAheadRip, AReadErrorInTheMiddleOfATrackIsReportedForItsBlock) {
  // The image's file ends 3/4 of the way into track 2 (and in the middle of a frame).
  const std::string bin = dir / "disc0.bin";
  const auto cut = static_cast<std::uintmax_t>((40 + 300) * kFrame + 1000);
  const auto whole = std::filesystem::file_size(bin);
  for (const bool mp3 : {false, true}) {
    for (const bool secure : {false, true}) {
      SCOPED_TRACE(std::string(mp3 ? "mp3" : "wav") + (secure ? " secure" : ""));
      // The whole file when the disc is opened, cut short before it is read.
      const RipCase c{mp3, secure, {}, [&] { std::filesystem::resize_file(bin, whole); },
                      [&] { std::filesystem::resize_file(bin, cut); }};
      ExpectSame(c);
      const RipResult r = Rip(true, c);
      EXPECT_EQ(r.frames, 300);
      ASSERT_EQ(r.messages.size(), 1u);
      EXPECT_NE(r.messages[0].find("frame 340"), std::string::npos) << r.messages[0];
    }
  }
}

TEST_F(ReadAheadRip, ACancelAtEveryYieldAndADriveChangeMidRip) {
  const int blocks = (400 + 25) / 26;
  for (int yield = 1; yield <= blocks; ++yield) {
    SCOPED_TRACE("cancel at yield " + std::to_string(yield));
    ExpectSame({false, false, [yield](test::ExtractionRig& rig) {
                  rig.fake.loop.AtYield(yield, [&rig] { rig.flags.CancelRequested = kTrue; });
                }, {}, {}});
  }
  for (const bool secure : {false, true}) {
    SCOPED_TRACE(secure ? "drive change, secure" : "drive change");
    ExpectSame({false, secure, [](test::ExtractionRig& rig) {
                  rig.fake.loop.AtYield(4, [&rig] {
                    rig.cd.CloseDrive();
                    rig.cd.OpenDrive(1);
                  });
                }, {}, {}});
  }
}

// --- Secure reading on a real drive: the correcting reader runs ahead the same way. ---------------

// A disc image read as a drive would be, paranoia included, through libcdio's own image driver.
class ParanoiaImage : public DiscReader {
 public:
  explicit ParanoiaImage(const std::string& cue) : image_(CueImage::Open(cue)), cdio_(cdio_open(cue.c_str(), DRIVER_BINCUE)) {
    tracks_ = image_->Tracks();
    leadOut_ = image_->LeadOut();
  }
  ~ParanoiaImage() override { cdio_destroy(cdio_); }
  bool ReadAudio(int32_t first, int32_t count, uint8_t* out) override { return image_->ReadAudio(first, count, out); }
  std::vector<std::string> SourceFiles() const override { return {}; }
  std::unique_ptr<CorrectingReader> OpenCorrectingReader() override { return ParanoiaReader::Open(cdio_); }

 private:
  std::unique_ptr<CueImage> image_;
  CdIo_t* cdio_;
};

TEST(ReadAheadParanoia, ACorrectingReaderReadsAheadExactlyAndStillSeeks) {
  TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(150, 4), discgen::MusicCdFrames(400, 5)};
  ReadAheadDisc disc(std::make_unique<ParanoiaImage>(discgen::WriteDiscImage(dir.Path(), "disc", tracks)));
  auto reader = disc.OpenCorrectingReader();
  ASSERT_NE(reader, nullptr);
  CorrectingReader::Findings findings;
  std::string track2(tracks[1].size(), '\0');
  auto* out = reinterpret_cast<uint8_t*>(track2.data());
  for (int32_t f = 0; f < 400; f += 26) {
    ASSERT_TRUE(reader->Read(150 + f, std::min(26, 400 - f), out + static_cast<std::size_t>(f) * kFrame, findings)) << f;
  }
  EXPECT_TRUE(track2 == tracks[1]);
  std::string head(26 * kFrame, '\0');
  ASSERT_TRUE(reader->Read(0, 26, reinterpret_cast<uint8_t*>(head.data()), findings));
  EXPECT_TRUE(head == tracks[0].substr(0, head.size()));
  EXPECT_EQ(findings.rereads, 0u);
  EXPECT_TRUE(findings.uncorrected.empty());
  // Plain reads of the same drive meanwhile, as secure reading falls back to them.
  std::string plain(26 * kFrame, '\0');
  ASSERT_TRUE(disc.ReadAudio(150, 26, reinterpret_cast<uint8_t*>(plain.data())));
  EXPECT_TRUE(plain == tracks[1].substr(0, plain.size()));
}

// --- The simulated drive. ------------------------------------------------------------------------

TEST(SimulatedDrive, SpeedsAreReadFromTheirTextAndTheImageIsServedUnchanged) {
  const struct {
    const char* text;
    bool valid;
    double speed;
    double seek;
  } cases[] = {{"37x", true, 37, 0.075},        {"8X", true, 8, 0.075},   {"24x,seek=120ms", true, 24, 0.12},
               {"1.5x,seek=0ms", true, 1.5, 0}, {"37", false, 0, 0},      {"x", false, 0, 0},
               {"0x", false, 0, 0},             {"-4x", false, 0, 0},     {"37x,seek=5", false, 0, 0},
               {"37x,", false, 0, 0},           {"fastx", false, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto speed = ParseDriveSpeed(c.text);
    ASSERT_EQ(speed.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_DOUBLE_EQ(speed->speed, c.speed);
    EXPECT_DOUBLE_EQ(speed->seekSeconds, c.seek);
  }

  TempDir dir;
  const std::string audio = discgen::MusicCdFrames(100, 7);
  SimulatedDrive drive(CueImage::Open(discgen::WriteDiscImage(dir.Path(), "disc", {audio})), {10000, 0});
  EXPECT_EQ(drive.ReadTime(75 * 10000).count(), 1'000'000'000);
  std::string got(audio.size(), '\0');
  ASSERT_TRUE(drive.ReadAudio(0, 100, reinterpret_cast<uint8_t*>(got.data())));
  EXPECT_TRUE(got == audio);
  EXPECT_FALSE(drive.ReadAudio(90, 20, reinterpret_cast<uint8_t*>(got.data())));
  EXPECT_NE(drive.ReadFault().find("ends at frame 100"), std::string::npos) << drive.ReadFault();
}

}  // namespace
}  // namespace korvalin
