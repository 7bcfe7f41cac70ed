#include "fileout/WavInput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/RaisedError.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::FormatBody;
using test::RiffFile;
using test::TempDir;
using namespace std::string_literals;

std::string Bytes(std::size_t n, char first = 'a') {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 23);
  return s;
}

// Everything the reader gives, in blocks of `block` bytes; the block sizes go to `sizes`.
std::string ReadAll(WavInput& wav, int32_t block, std::vector<int32_t>* sizes = nullptr) {
  std::string all;
  std::vector<char> buffer(static_cast<std::size_t>(block));
  for (;;) {
    const int32_t n = wav.Read(buffer.data(), block);
    if (n == 0) return all;
    if (sizes) sizes->push_back(n);
    all.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

TEST(WavInput, APlainCdWavHasItsAudioRightBehindTheFortyFourByteHeader) {
  TempDir dir;
  const std::string audio = Bytes(1000);
  test::WriteFile(dir / "cd.wav", test::PcmWav(audio, 44100, 2));
  WavInput wav(dir / "cd.wav");
  EXPECT_EQ(wav.Format().channels, 2);
  EXPECT_EQ(wav.Format().sampleRate, 44100);
  EXPECT_EQ(wav.Format().dataOffset, 44);
  EXPECT_EQ(wav.Format().dataLength, 1000);
  std::vector<int32_t> sizes;
  EXPECT_EQ(ReadAll(wav, 300, &sizes), audio);
  EXPECT_EQ(sizes, (std::vector<int32_t>{300, 300, 300, 100}));
}

TEST(WavInput, FindsTheChunksWhereverTheyLieAndReadsOnlyTheAudio) {
  TempDir dir;
  const std::string audio = Bytes(501);  // odd: a pad byte follows it
  // A list chunk of odd size before the format, the audio before the format, a trailing chunk.
  test::WriteFile(dir / "odd.wav", RiffFile({{"LIST", "INFOISFT\x05\0\0\0Tool\0"s},
                                             {"data", audio},
                                             {"fmt ", FormatBody(1, 1, 22050, 16)},
                                             {"id3 ", "TAG and more"}}));
  WavInput wav(dir / "odd.wav");
  EXPECT_EQ(wav.Format().channels, 1);
  EXPECT_EQ(wav.Format().sampleRate, 22050);
  EXPECT_EQ(wav.Format().dataLength, 501);
  EXPECT_EQ(ReadAll(wav, 4096), audio);

  // The extensible format with a PCM sub-format is PCM.
  test::WriteFile(dir / "ext.wav", RiffFile({{"fmt ", test::ExtensibleFormatBody(1, 2, 48000, 16)}, {"data", audio}}));
  WavInput ext(dir / "ext.wav");
  EXPECT_EQ(ext.Format().sampleRate, 48000);
  EXPECT_EQ(ReadAll(ext, 64), audio);
}

TEST(WavInput, ADataLengthBeyondTheEndIsWhatTheFileHolds) {
  TempDir dir;
  const std::string audio = Bytes(700);
  for (int64_t declared : {int64_t{100000}, int64_t{0xFFFFFFFF}}) {
    test::WriteFile(dir / "cut.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", audio, declared}}));
    WavInput wav(dir / "cut.wav");
    EXPECT_EQ(wav.Format().dataLength, 700);
    EXPECT_EQ(ReadAll(wav, 256), audio);
  }
  // A shorter declared length ends the audio there, even with bytes behind it.
  test::WriteFile(dir / "short.wav", RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"data", audio, 600}}));
  WavInput wav(dir / "short.wav");
  EXPECT_EQ(ReadAll(wav, 256), audio.substr(0, 600));
}

TEST(WavInput, RefusesWhatIsNotSixteenBitPcmInOneOrTwoChannelsSayingWhy) {
  TempDir dir;
  const std::string audio = Bytes(64);
  struct Case {
    std::string bytes;
    std::string why;
  };
  const std::vector<Case> cases = {
      {RiffFile({{"fmt ", FormatBody(1, 2, 44100, 24)}, {"data", audio}}), "it holds 24-bit samples."},
      {RiffFile({{"fmt ", FormatBody(3, 2, 44100, 32)}, {"data", audio}}), "its audio is not PCM (format 3)."},
      {RiffFile({{"fmt ", test::ExtensibleFormatBody(3, 2, 44100, 16)}, {"data", audio}}),
       "its audio is not PCM (format 3)."},
      {RiffFile({{"fmt ", FormatBody(1, 6, 44100, 16)}, {"data", audio}}), "it has 6 channels."},
      {RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16)}, {"LIST", audio}}), "it has no audio data chunk."},
      {RiffFile({{"data", audio}}), "it has no format chunk."},
      {RiffFile({{"fmt ", FormatBody(1, 2, 44100, 16).substr(0, 14)}, {"data", audio}}), "its format chunk is damaged."},
      {"RIFF\x10\0\0\0AVI LIST"s, "it is not a WAV file."},
      {"", "it is not a WAV file."},
  };
  for (const Case& c : cases) {
    test::WriteFile(dir / "bad.wav", c.bytes);
    try {
      WavInput wav(dir / "bad.wav");
      ADD_FAILURE() << "accepted: " << c.why;
    } catch (const RaisedError& e) {
      EXPECT_EQ(e.Number(), kInvalidFileFormat);
      EXPECT_EQ(e.Description(), "Cannot encode \"" + (dir / "bad.wav") + "\": " + c.why +
                                     " Only 16-bit PCM WAV files, mono or stereo, can be encoded.");
    }
  }
}

TEST(WavInput, AFileThatCannotBeOpenedIsReportedWithTheSystemsReason) {
  TempDir dir;
  try {
    WavInput wav(dir / "none.wav");
    ADD_FAILURE();
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::FileNotFound);
    EXPECT_EQ(e.Description(), "Cannot read \"" + (dir / "none.wav") + "\": File not found.");
  }
  // A write-protected WAV is read all the same: reading needs no more than read access.
  test::WriteFile(dir / "ro.wav", test::PcmWav(Bytes(10), 44100, 2));
  ::chmod((dir / "ro.wav").c_str(), 0444);
  WavInput ro(dir / "ro.wav");
  EXPECT_EQ(ReadAll(ro, 16), Bytes(10));
}

}  // namespace
}  // namespace korvalin
