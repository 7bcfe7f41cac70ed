#include "encode/WavFileEncoding.h"

#include <gtest/gtest.h>

#include <functional>

#include "encode/EncoderChoices.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"
#include "tests/support/WatchedEncoder.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;

using test::WatchedEncoder;

struct RecordingDisplay : WavEncodingDisplay {
  void Started() override { events.push_back("started"); }
  void Progress(float percent) override { percents.push_back(percent); }
  void Ended() override { events.push_back("ended"); }
  std::vector<std::string> events;
  std::vector<float> percents;
};

constexpr uint32_t kStereoChunk = 4 * 1152 * 2;  // samples the encoder takes per chunk
constexpr std::size_t kStereoBlockBytes = kStereoChunk * 2;

class WavFileEncodingTest : public ::testing::Test {
 protected:
  WavEncodingOutcome Encode(const std::string& name) {
    return EncodeWavFile(ctx, in / name, out.Path(), [this](int32_t rate, int channels) {
      rates.push_back(rate);
      return WavEncodingConfig(8, 1, rate, channels);  // 128 kbit/s "Normal"
    });
  }

  WatchedEncoder encoder;
  test::ScriptedEventLoop loop;
  test::ScriptedDialogs dialogs;
  JobFlags flags;
  RecordingDisplay display;
  WavEncodingContext ctx{encoder, dialogs, loop, flags, display};
  std::vector<int32_t> rates;
  TempDir in, out;
};

TEST_F(WavFileEncodingTest, ReadsBlocksOfOneChunkWithAShorterLastOne) {
  // Two whole blocks and a third of 1000 bytes.
  const std::string audio = discgen::MusicBytes((2 * kStereoBlockBytes + 1000) / 4, 3);
  test::WriteFile(in / "Track 3.wav", test::PcmWav(audio, 44100, 2));
  const WavEncodingOutcome outcome = Encode("Track 3.wav");
  EXPECT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.mp3Path, out / "Track 3.mp3");
  EXPECT_EQ(encoder.chunkSizes, (std::vector<uint32_t>{kStereoChunk, kStereoChunk, 500}));
  EXPECT_EQ(display.events, (std::vector<std::string>{"started", "ended"}));
  ASSERT_EQ(display.percents.size(), 3u);
  EXPECT_FLOAT_EQ(display.percents[0], 100.0f * kStereoBlockBytes / audio.size());
  EXPECT_FLOAT_EQ(display.percents[2], 100.0f);
  EXPECT_EQ(encoder.closes, 1);
  EXPECT_TRUE(dialogs.messages.empty());

  const std::string mp3 = ReadFile(out / "Track 3.mp3");
  const auto scan = test::ScanFrames(mp3);
  ASSERT_FALSE(scan.frames.empty());
  EXPECT_EQ(scan.strayBytes, 0u);
  const auto decoded = test::DecodeMp3(mp3);
  EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), audio.size() / 4.0, 2 * 1152 + 576);
}

TEST_F(WavFileEncodingTest, OddAndEmptyAudioLengthsAndNamesWithoutAnExtension) {
  // No audio at all, or a header that promises audio the file does not hold: refused under
  // "Critical error...", nothing read into the encoder, and an MP3 of that name keeps its bytes.
  test::WriteFile(in / "empty.wav", test::PcmWav("", 44100, 2));
  test::WriteFile(in / "hollow.wav", test::PcmWav(std::string(8000, '\x11'), 44100, 2).substr(0, 44));
  for (const char* name : {"empty", "hollow"}) {
    SCOPED_TRACE(name);
    const std::string old = "an older, unrelated MP3 the user keeps";
    test::WriteFile(out / (std::string(name) + ".mp3"), old);
    dialogs.messages.clear();
    const auto refused = Encode(std::string(name) + ".wav");
    EXPECT_EQ(refused.result, WavEncodingOutcome::Result::Failed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, NoSamplesText(in / (std::string(name) + ".wav")));
    EXPECT_EQ(dialogs.messages[0].title, "Critical error...");
    EXPECT_EQ(ReadFile(out / (std::string(name) + ".mp3")), old);
  }
  EXPECT_TRUE(encoder.chunkSizes.empty());

  // An odd last block: its sample count rounds half to even, and the half sample's missing byte
  // is silence, not a byte left from the block before.
  for (const auto& [extra, samples] : std::vector<std::pair<std::size_t, uint32_t>>{{3, 2}, {5, 2}, {7, 4}, {1, 0}}) {
    encoder.chunkSizes.clear();
    test::WriteFile(in / "odd.wav", test::PcmWav(std::string(kStereoBlockBytes + extra, '\x7f'), 44100, 2));
    EXPECT_TRUE(Encode("odd.wav").Succeeded());
    EXPECT_EQ(encoder.chunkSizes, (std::vector<uint32_t>{kStereoChunk, samples})) << extra;
    if (samples * 2 > extra) {
      EXPECT_EQ(encoder.lastChunk, std::string(extra, '\x7f') + '\0') << extra;
    }
  }

  // The last four characters go whatever they are.
  test::WriteFile(in / "track7", test::PcmWav(discgen::MusicBytes(4410), 44100, 2));
  EXPECT_EQ(Encode("track7").mp3Path, out / "tr.mp3");
  EXPECT_TRUE(test::Exists(out / "tr.mp3"));
}

TEST_F(WavFileEncodingTest, TakesTheFilesOwnChannelsAndRateAndSkipsOtherChunks) {
  const std::string mono = discgen::MusicBytes(22050 * 2, 5, 1, 22050);  // two seconds
  test::WriteFile(in / "mono.wav", test::PcmWav(mono, 22050, 1));
  ASSERT_TRUE(Encode("mono.wav").Succeeded());
  EXPECT_EQ(rates, std::vector<int32_t>{22050});
  EXPECT_EQ(encoder.chunkSizes.front(), 4u * 1152);  // a chunk counts the samples of all channels
  const std::string mp3 = ReadFile(out / "mono.mp3");
  const auto scan = test::ScanFrames(mp3);
  ASSERT_FALSE(scan.frames.empty());
  EXPECT_EQ(scan.frames[0].mode, test::kModeMono);
  EXPECT_EQ(scan.frames[0].sampleRate, 22050);
  const auto decoded = test::DecodeMp3(mp3);
  EXPECT_EQ(decoded.channels, 1);
  EXPECT_EQ(decoded.rate, 22050);
  EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), 44100.0, 2 * 576 + 576);

  // Chunks before and after the audio change nothing: the MP3 is the same, byte for byte.
  const std::string stereo = discgen::MusicBytes(30000, 6);
  test::WriteFile(in / "plain.wav", test::PcmWav(stereo, 44100, 2));
  test::WriteFile(in / "tagged.wav", test::RiffFile({{"LIST", std::string("INFOINAM\x07\0\0\0A song\0", 19)},
                                                     {"fmt ", test::FormatBody(1, 2, 44100, 16)},
                                                     {"fact", "abc"},
                                                     {"data", stereo},
                                                     {"id3 ", std::string(300, 'T')}}));
  ASSERT_TRUE(Encode("plain.wav").Succeeded());
  ASSERT_TRUE(Encode("tagged.wav").Succeeded());
  EXPECT_EQ(ReadFile(out / "tagged.mp3"), ReadFile(out / "plain.mp3"));
}

TEST_F(WavFileEncodingTest, AFileTheEncoderCannotTakeIsRefusedAndNothingIsWritten) {
  test::WriteFile(in / "deep.wav", test::RiffFile({{"fmt ", test::FormatBody(1, 2, 44100, 24)},
                                                   {"data", std::string(6000, '\1')}}));
  test::WriteFile(in / "fast.wav", test::PcmWav(std::string(4000, '\1'), 96000, 2));
  EXPECT_EQ(Encode("deep.wav").result, WavEncodingOutcome::Result::Failed);
  EXPECT_EQ(Encode("fast.wav").result, WavEncodingOutcome::Result::Failed);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const auto& m : dialogs.messages) {
    EXPECT_EQ(m.title, "Critical error...");
    EXPECT_EQ(m.icon, MsgBoxIcon::Critical);
  }
  EXPECT_EQ(dialogs.messages[0].text, "Cannot encode \"" + (in / "deep.wav") +
                                          "\": it holds 24-bit samples. Only 16-bit PCM WAV files, mono or stereo, "
                                          "can be encoded.");
  EXPECT_NE(dialogs.messages[1].text.find("\": its sample rate is 96000 Hz, and an MP3 file holds only 8000, "),
            std::string::npos);
  EXPECT_EQ(encoder.starts, 0);  // neither refused file reached the encoder
  EXPECT_FALSE(test::Exists(out / "deep.mp3"));
  EXPECT_FALSE(test::Exists(out / "fast.mp3"));
  EXPECT_EQ(display.events, (std::vector<std::string>{"started", "ended", "started", "ended"}));
}

TEST_F(WavFileEncodingTest, ACancelFinishesTheBlockInHandAndReplacesAnOlderLongerMp3) {
  test::WriteFile(out / "song.mp3", std::string(2'000'000, 'x'));  // an old encoding, longer than the new
  test::WriteFile(in / "song.wav", test::PcmWav(discgen::MusicBytes(6 * kStereoBlockBytes / 4, 7), 44100, 2));
  flags.CancelRequested = kTrue;  // left over from an earlier job: cleared at the start
  loop.AtYield(2, [&] { flags.CancelRequested = kTrue; });  // the first yield comes before any block
  EXPECT_EQ(Encode("song.wav").result, WavEncodingOutcome::Result::Cancelled);
  EXPECT_EQ(encoder.chunkSizes.size(), 2u);
  EXPECT_EQ(display.percents.size(), 2u);
  const std::string mp3 = ReadFile(out / "song.mp3");
  EXPECT_EQ(test::ScanFrames(mp3).strayBytes, 0u);  // the old tail is gone
  EXPECT_NEAR(static_cast<double>(test::DecodeMp3(mp3).SampleFrames()), 2.0 * kStereoChunk / 2, 2 * 1152 + 576);

  // A cancel after the last block leaves nothing out.
  loop.AtYield(1, [&] {});
  flags.CancelRequested = kFalse;
  test::WriteFile(in / "one.wav", test::PcmWav(discgen::MusicBytes(1000), 44100, 2));
  loop.EveryYield([&] { flags.CancelRequested = kTrue; });
  EXPECT_TRUE(Encode("one.wav").Succeeded());
}

TEST_F(WavFileEncodingTest, AChunkTheEncoderRefusesOrAnUnwritableFolderEndsTheEncoding) {
  test::WriteFile(in / "b.wav", test::PcmWav(discgen::MusicBytes(5 * kStereoBlockBytes / 4, 8), 44100, 2));
  encoder.refuseChunk = [](std::size_t n) { return n == 3; };
  EXPECT_EQ(Encode("b.wav").result, WavEncodingOutcome::Result::Failed);
  EXPECT_EQ(encoder.chunkSizes.size(), 3u);
  EXPECT_EQ(encoder.closes, 1);  // closed once, before the message
  EXPECT_EQ(dialogs.MessageTexts(), std::vector<std::string>{"Invalid handle"});
  // Two blocks went in; the encoder gave out the frames it had finished, and they stay.
  EXPECT_FALSE(test::ScanFrames(ReadFile(out / "b.mp3")).frames.empty());

  encoder.refuseChunk = nullptr;
  const WavEncodingOutcome outcome =
      EncodeWavFile(ctx, in / "b.wav", out / "no such folder", [](int32_t rate, int channels) {
        return WavEncodingConfig(8, 1, rate, channels);
      });
  EXPECT_EQ(outcome.message,
            "Could not create \"" + (out / "no such folder/b.mp3") + "\": No such file or directory.");
  EXPECT_EQ(dialogs.messages.back().text, outcome.message);
  EXPECT_EQ(encoder.closes, 2);
  EXPECT_EQ(display.events.back(), "ended");
}

}  // namespace
}  // namespace korvalin
