#include "encode/EncodeWavToMp3.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/Form1.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Mp3Inspect.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;

// The real encoder, watched: the sample count and bytes of every chunk, what the stream's end
// gave, and chunks it can be made to refuse.
class WatchedEncoder : public EncoderLibrary {
 public:
  int32_t beInitStream(const uint8_t* c, uint32_t* s, uint32_t* o, uint32_t* h) override {
    ++starts;
    return real.beInitStream(c, s, o, h);
  }
  int32_t beEncodeChunk(uint32_t h, uint32_t samples, const uint8_t* pcm, uint8_t* out, uint32_t* bytes) override {
    chunkSizes.push_back(samples);
    lastChunk.assign(reinterpret_cast<const char*>(pcm), samples * 2);
    if (refuseChunk && refuseChunk(chunkSizes.size())) {
      *bytes = 0;
      return 4;
    }
    return real.beEncodeChunk(h, samples, pcm, out, bytes);
  }
  int32_t beDeinitStream(uint32_t h, uint8_t* out, uint32_t* bytes) override {
    const int32_t r = real.beDeinitStream(h, out, bytes);
    lastBytes.assign(reinterpret_cast<char*>(out), *bytes);
    return r;
  }
  int32_t beCloseStream(uint32_t h) override {
    ++closes;
    return real.beCloseStream(h);
  }
  LameEncoderLibrary real;
  int starts = 0;
  std::vector<uint32_t> chunkSizes;
  std::string lastChunk;
  std::function<bool(std::size_t chunkNumber)> refuseChunk;
  std::string lastBytes;
  int closes = 0;
};

// The main window, counting how often a job locks and frees its commands.
struct CountingForm : Form1 {
  using Form1::Form1;
  void Disablem() override {
    ++disables;
    Form1::Disablem();
  }
  void Enablem() override {
    ++enables;
    Form1::Enablem();
  }
  int disables = 0;
  int enables = 0;
};

constexpr uint32_t kStereoChunk = 4 * 1152 * 2;  // samples the encoder takes per chunk
constexpr std::size_t kStereoBlockBytes = kStereoChunk * 2;

class EncodeWavToMp3Test : public ::testing::Test {
 protected:
  EncodeWavToMp3Test() { form.settings.DecodePath = out.Path(); }

  void StoreBitrateIndex(const std::string& index) {
    fake.store.values[{"Korvalin v2.0", "Settings", "Encoding bitrate"}] = index;
  }

  test::FakeServices fake;
  WatchedEncoder encoder;
  Services services{fake.loop,    fake.dialogs,        fake.screen, fake.cd, encoder, fake.store,
                    fake.media,   fake.exceptionFilter, fake.help,   fake.programFolder.Path()};
  CountingForm form{services};
  TempDir in, out;
};

TEST_F(EncodeWavToMp3Test, ACdWavBecomesAnMp3OfTheStoredBitrateWithOnlyTheOriginalFlag) {
  // Two whole blocks and a third of 1000 bytes.
  const std::string audio = discgen::MusicBytes((2 * kStereoBlockBytes + 1000) / 4, 3);
  test::WriteFile(in / "Track 3.wav", test::PcmWav(audio, 44100, 2));
  form.chkPrivate.SetValue(controls::CheckBox::Checked);  // the boxes count for ripping, not here
  form.chkCRC.SetValue(controls::CheckBox::Checked);
  form.chkCopyright.SetValue(controls::CheckBox::Checked);
  StoreBitrateIndex("8");
  bool lockedWhileEncoding = false;
  fake.loop.EveryYield([&] { lockedWhileEncoding |= !form.C777.Enabled() && form.Command2.Visible(); });

  EXPECT_TRUE(EncodeWavToMp3(form, in / "Track 3.wav"));
  EXPECT_EQ(encoder.chunkSizes, (std::vector<uint32_t>{kStereoChunk, kStereoChunk, 500}));
  EXPECT_EQ(form.settings.EncodingBitrate, 8);
  EXPECT_TRUE(lockedWhileEncoding);
  EXPECT_EQ(form.disables, 1);
  EXPECT_EQ(form.enables, 1);
  EXPECT_TRUE(form.C777.Enabled());
  EXPECT_EQ(form.Label33.Caption(), "100.0%");
  EXPECT_EQ(form.ProgressBar1.Value(), 100);
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(encoder.closes, 1);

  const std::string mp3 = ReadFile(out / "Track 3.mp3");
  const auto scan = test::ScanFrames(mp3);
  ASSERT_FALSE(scan.frames.empty());
  EXPECT_EQ(scan.strayBytes, 0u);
  for (const auto& f : scan.frames) {
    ASSERT_EQ(f.bitrateKbps, 128);
    ASSERT_EQ(f.sampleRate, 44100);
    ASSERT_EQ(f.mode, test::kModeJointStereo);
    ASSERT_TRUE(f.original);
    ASSERT_FALSE(f.privateBit || f.crcProtected || f.copyright);
  }
  const auto decoded = test::DecodeMp3(mp3);
  EXPECT_NEAR(static_cast<double>(decoded.SampleFrames()), audio.size() / 4.0, 2 * 1152 + 576);

  // The bitrate is read from the store again at the next call.
  StoreBitrateIndex("13");
  EXPECT_TRUE(EncodeWavToMp3(form, in / "Track 3.wav"));
  EXPECT_EQ(test::ScanFrames(ReadFile(out / "Track 3.mp3")).frames.at(0).bitrateKbps, 320);
  EXPECT_EQ(form.settings.EncodingBitrate, 13);
}

TEST_F(EncodeWavToMp3Test, ShowsThePercentageAfterEachBlockWithOneDecimal) {
  // 40 blocks: the first reads 2.5 %.
  test::WriteFile(in / "a.wav", test::PcmWav(std::string(40 * kStereoBlockBytes, '\0'), 44100, 2));
  std::vector<std::string> shown;
  std::vector<int32_t> bar;
  fake.loop.EveryYield([&] {
    shown.push_back(form.Label33.Caption());
    bar.push_back(form.ProgressBar1.Value());
  });
  ASSERT_TRUE(EncodeWavToMp3(form, in / "a.wav"));
  ASSERT_GE(shown.size(), 4u);
  // The first yield comes before any block.
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.begin() + 4),
            (std::vector<std::string>{"02.5%", "05.0%", "07.5%"}));
  EXPECT_EQ(std::vector<int32_t>(bar.begin() + 1, bar.begin() + 4), (std::vector<int32_t>{2, 5, 7}));
}

TEST_F(EncodeWavToMp3Test, OddAndEmptyAudioLengthsAndNamesWithoutAnExtension) {
  // No audio at all: the MP3 holds what the end of the stream gave, which is nothing.
  test::WriteFile(in / "empty.wav", test::PcmWav("", 44100, 2));
  EXPECT_TRUE(EncodeWavToMp3(form, in / "empty.wav"));
  EXPECT_TRUE(encoder.chunkSizes.empty());
  EXPECT_EQ(ReadFile(out / "empty.mp3"), encoder.lastBytes);

  // An odd last block: its sample count rounds half to even, and the half sample's missing byte
  // is silence, not a byte left from the block before.
  for (const auto& [extra, samples] : std::vector<std::pair<std::size_t, uint32_t>>{{3, 2}, {5, 2}, {7, 4}, {1, 0}}) {
    encoder.chunkSizes.clear();
    test::WriteFile(in / "odd.wav", test::PcmWav(std::string(kStereoBlockBytes + extra, '\x7f'), 44100, 2));
    EXPECT_TRUE(EncodeWavToMp3(form, in / "odd.wav"));
    EXPECT_EQ(encoder.chunkSizes, (std::vector<uint32_t>{kStereoChunk, samples})) << extra;
    if (samples * 2 > extra) {
      EXPECT_EQ(encoder.lastChunk, std::string(extra, '\x7f') + '\0') << extra;
    }
  }

  // The last four characters go whatever they are.
  test::WriteFile(in / "track7", test::PcmWav(discgen::MusicBytes(4410), 44100, 2));
  EXPECT_TRUE(EncodeWavToMp3(form, in / "track7"));
  EXPECT_TRUE(test::Exists(out / "tr.mp3"));
}

TEST_F(EncodeWavToMp3Test, TakesTheFilesOwnChannelsAndRateAndSkipsOtherChunks) {
  const std::string mono = discgen::MusicBytes(22050 * 2, 5, 1, 22050);  // two seconds
  test::WriteFile(in / "mono.wav", test::PcmWav(mono, 22050, 1));
  ASSERT_TRUE(EncodeWavToMp3(form, in / "mono.wav"));
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
  ASSERT_TRUE(EncodeWavToMp3(form, in / "plain.wav"));
  ASSERT_TRUE(EncodeWavToMp3(form, in / "tagged.wav"));
  EXPECT_EQ(ReadFile(out / "tagged.mp3"), ReadFile(out / "plain.mp3"));
}

TEST_F(EncodeWavToMp3Test, AFileTheEncoderCannotTakeIsRefusedAndNothingIsWritten) {
  test::WriteFile(in / "deep.wav", test::RiffFile({{"fmt ", test::FormatBody(1, 2, 44100, 24)},
                                                   {"data", std::string(6000, '\1')}}));
  test::WriteFile(in / "fast.wav", test::PcmWav(std::string(4000, '\1'), 96000, 2));
  EXPECT_FALSE(EncodeWavToMp3(form, in / "deep.wav"));
  EXPECT_FALSE(EncodeWavToMp3(form, in / "fast.wav"));
  ASSERT_EQ(fake.dialogs.messages.size(), 2u);
  for (const auto& m : fake.dialogs.messages) {
    EXPECT_EQ(m.title, "Critical error...");
    EXPECT_EQ(m.icon, MsgBoxIcon::Critical);
  }
  EXPECT_EQ(fake.dialogs.messages[0].text, "Cannot encode \"" + (in / "deep.wav") +
                                               "\": it holds 24-bit samples. Only 16-bit PCM WAV files, mono or "
                                               "stereo, can be encoded.");
  EXPECT_EQ(fake.dialogs.messages[1].text, "Invalid format parameters");  // the encoder would not start
  EXPECT_EQ(encoder.starts, 1);  // the refused file never reached the encoder
  EXPECT_FALSE(test::Exists(out / "deep.mp3"));
  EXPECT_FALSE(test::Exists(out / "fast.mp3"));
  EXPECT_EQ(form.disables, 2);
  EXPECT_EQ(form.enables, 2);
}

TEST_F(EncodeWavToMp3Test, AMissingFileIsReportedBeforeAnythingIsLockedOrRead) {
  EXPECT_FALSE(EncodeWavToMp3(form, in / "gone.wav"));
  ASSERT_EQ(fake.dialogs.messages.size(), 1u);
  EXPECT_EQ(fake.dialogs.messages[0].text, "File not found...");
  EXPECT_EQ(fake.dialogs.messages[0].title, "Critical Error");
  EXPECT_EQ(fake.dialogs.messages[0].icon, MsgBoxIcon::Critical);
  EXPECT_EQ(form.disables + form.enables, 0);
  EXPECT_FALSE(form.Command2.Visible());
  EXPECT_TRUE(fake.store.asked.empty());
  EXPECT_FALSE(test::Exists(out / "gone.mp3"));
}

TEST_F(EncodeWavToMp3Test, ACancelFinishesTheBlockInHandAndReplacesAnOlderLongerMp3) {
  test::WriteFile(out / "song.mp3", std::string(2'000'000, 'x'));  // an old encoding, longer than the new
  test::WriteFile(in / "song.wav", test::PcmWav(discgen::MusicBytes(6 * kStereoBlockBytes / 4, 7), 44100, 2));
  form.flags.CancelRequested = kTrue;  // left over from an earlier job: cleared at the start
  fake.loop.AtYield(2, [&] { form.flags.CancelRequested = kTrue; });  // during the yield after block 1
  EXPECT_FALSE(EncodeWavToMp3(form, in / "song.wav"));
  EXPECT_EQ(encoder.chunkSizes.size(), 2u);
  EXPECT_EQ(form.Label33.Caption(), "33.3%");
  EXPECT_EQ(form.enables, 1);
  const std::string mp3 = ReadFile(out / "song.mp3");
  const auto scan = test::ScanFrames(mp3);
  EXPECT_EQ(scan.strayBytes, 0u);  // the old tail is gone
  EXPECT_NEAR(static_cast<double>(test::DecodeMp3(mp3).SampleFrames()), 2.0 * kStereoChunk / 2, 2 * 1152 + 576);
}

TEST_F(EncodeWavToMp3Test, AChunkTheEncoderRefusesEndsTheEncodingKeepingWhatWasWritten) {
  test::WriteFile(in / "b.wav", test::PcmWav(discgen::MusicBytes(5 * kStereoBlockBytes / 4, 8), 44100, 2));
  encoder.refuseChunk = [](std::size_t n) { return n == 3; };
  EXPECT_FALSE(EncodeWavToMp3(form, in / "b.wav"));
  EXPECT_EQ(encoder.chunkSizes.size(), 3u);
  EXPECT_EQ(encoder.closes, 1);  // closed once, before the message
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{"Invalid handle"});
  EXPECT_EQ(fake.dialogs.messages[0].title, "Critical error...");
  EXPECT_EQ(form.enables, 1);
  // Two blocks went in; the encoder gave out the frames it had finished.
  EXPECT_FALSE(test::ScanFrames(ReadFile(out / "b.mp3")).frames.empty());
}

TEST_F(EncodeWavToMp3Test, AnUnwritableDestinationOrAnUnreadableSettingIsACriticalError) {
  test::WriteFile(in / "c.wav", test::PcmWav(discgen::MusicBytes(20000), 44100, 2));
  form.settings.DecodePath = out / "no such folder";
  EXPECT_FALSE(EncodeWavToMp3(form, in / "c.wav"));
  EXPECT_EQ(fake.dialogs.MessageTexts(),
            std::vector<std::string>{"Could not create \"" + (out / "no such folder/c.mp3") +
                                     "\". The folder may be missing or not writable."});
  EXPECT_EQ(encoder.closes, 1);

  form.settings.DecodePath = out.Path();
  StoreBitrateIndex("fast");
  EXPECT_FALSE(EncodeWavToMp3(form, in / "c.wav"));
  EXPECT_EQ(fake.dialogs.messages.back().text, "Type mismatch");
  EXPECT_FALSE(test::Exists(out / "c.mp3"));
  EXPECT_EQ(form.enables, 2);
}

}  // namespace
}  // namespace korvalin
