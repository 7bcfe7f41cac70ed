// The encoder adapter on generated audio: its output is checked frame header by frame header and
// decoded again with libmpg123.

#include "platform/linux/LameEncoderLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "encode/EncoderChoices.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"

namespace korvalin {
namespace {

using test::DecodeMp3;
using test::MpegFrame;
using test::MpegVersion;
using test::ScanFrames;

constexpr uint32_t kCdChunk = 1176;  // one CD frame: 588 stereo pairs
// What decoding adds to the source: the encoder's delay before the audio and the padding of the
// last frame after it (no tag frame tells the decoder to drop them).
constexpr int64_t kMaxAddedSampleFrames = 576 + 2 * 1152;

std::string Pcm(const std::vector<int16_t>& samples) {
  std::string bytes(samples.size() * 2, '\0');
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto u = static_cast<uint16_t>(samples[i]);
    bytes[2 * i] = static_cast<char>(u & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(u >> 8);
  }
  return bytes;
}

// Runs one whole stream: init, the PCM in chunks of `chunkSamples`, deinit, close.
std::string Encode(EncoderLibrary& lib, const EncoderConfig& config, std::string_view pcm,
                   uint32_t chunkSamples = kCdChunk) {
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  const int32_t init = lib.beInitStream(config.Bytes(), &perChunk, &outSize, &stream);
  EXPECT_EQ(init, 0);
  if (init != 0) return {};
  std::vector<uint8_t> out(outSize);
  std::string mp3;
  for (std::size_t at = 0; at < pcm.size(); at += 2 * std::size_t{chunkSamples}) {
    const auto samples = static_cast<uint32_t>(std::min<std::size_t>(chunkSamples, (pcm.size() - at) / 2));
    uint32_t written = 0;
    EXPECT_EQ(lib.beEncodeChunk(stream, samples, reinterpret_cast<const uint8_t*>(pcm.data() + at), out.data(),
                                &written), 0);
    mp3.append(reinterpret_cast<const char*>(out.data()), written);
  }
  uint32_t written = 0;
  EXPECT_EQ(lib.beDeinitStream(stream, out.data(), &written), 0);
  mp3.append(reinterpret_cast<const char*>(out.data()), written);
  EXPECT_EQ(lib.beCloseStream(stream), 0);
  return mp3;
}

int32_t InitCode(EncoderLibrary& lib, const EncoderConfig& config) {
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  const int32_t code = lib.beInitStream(config.Bytes(), &perChunk, &outSize, &stream);
  if (code == 0) lib.beCloseStream(stream);
  return code;
}

// Checks that the data is nothing but whole audio frames that all carry the same header fields.
std::vector<MpegFrame> FramesOf(const std::string& mp3, const MpegFrame& want) {
  const auto scan = ScanFrames(mp3);
  EXPECT_EQ(scan.strayBytes, 0u);
  EXPECT_EQ(scan.id3v2Size, 0u);
  EXPECT_FALSE(scan.frames.empty());
  int wrong = 0;
  for (const MpegFrame& f : scan.frames) {
    const bool same = f.version == want.version && f.layer == 3 && f.sampleRate == want.sampleRate &&
                      f.mode == want.mode && f.bitrateKbps == want.bitrateKbps && f.privateBit == want.privateBit &&
                      f.crcProtected == want.crcProtected && f.copyright == want.copyright &&
                      f.original == want.original && f.emphasis == want.emphasis && !test::IsTagFrame(mp3, f);
    if (!same && wrong++ < 3) ADD_FAILURE() << "frame at " << f.offset << ": " << f.bitrateKbps << " kbit/s, mode "
                                            << f.mode << ", flags " << f.privateBit << f.crcProtected << f.copyright
                                            << f.original;
  }
  return scan.frames;
}

MpegFrame CdFrame(int bitrate, bool priv = false, bool crc = false, bool copyright = false, bool original = false) {
  MpegFrame f;
  f.version = MpegVersion::Mpeg1;
  f.sampleRate = 44100;
  f.mode = test::kModeJointStereo;
  f.bitrateKbps = bitrate;
  f.privateBit = priv;
  f.crcProtected = crc;
  f.copyright = copyright;
  f.original = original;
  return f;
}

void ExpectDecodesToTheSourceLength(const std::string& mp3, long rate, int channels, int64_t sourceFrames) {
  const auto decoded = DecodeMp3(mp3);
  EXPECT_EQ(decoded.rate, rate);
  EXPECT_EQ(decoded.channels, channels);
  EXPECT_GE(decoded.SampleFrames(), sourceFrames);
  EXPECT_LE(decoded.SampleFrames(), sourceFrames + kMaxAddedSampleFrames);
}

TEST(LameEncoder, EveryBitrateInEveryFrameOfCdAudio) {
  LameEncoderLibrary lib;
  const int64_t pairs = 75 * 588;  // one second of CD frames
  const std::string pcm = discgen::MusicBytes(pairs, 3);
  for (const std::string& text : BitrateListEntries()) {
    SCOPED_TRACE(text + " kbit/s");
    const int32_t kbps = BitrateFromListText(text);
    const std::string mp3 = Encode(lib, ExtractionConfig(kbps, 1, {}), pcm);
    const auto frames = FramesOf(mp3, CdFrame(kbps));
    ExpectDecodesToTheSourceLength(mp3, 44100, 2, pairs);
    EXPECT_EQ(DecodeMp3(mp3).SampleFrames(), static_cast<int64_t>(frames.size()) * 1152);  // every frame decodes
  }
}

TEST(LameEncoder, ExactlyTheRequestedFlagsInEveryFrame) {
  LameEncoderLibrary lib;
  const std::string pcm = discgen::MusicBytes(20 * 588, 5);
  for (int bits = 0; bits < 16; ++bits) {
    const bool priv = bits & 1, crc = bits & 2, copyright = bits & 4, original = bits & 8;
    SCOPED_TRACE("flags " + std::to_string(bits));
    const int32_t kbps = BitrateFromIndex(bits % 14);
    const FrameFlagBoxes boxes{int16_t{priv}, int16_t{crc}, int16_t{copyright}, int16_t{original}};
    const std::string mp3 = Encode(lib, ExtractionConfig(kbps, 1, boxes), pcm);
    FramesOf(mp3, CdFrame(kbps, priv, crc, copyright, original));
    ExpectDecodesToTheSourceLength(mp3, 44100, 2, 20 * 588);
  }
}

// Correlation of two channels of interleaved audio, the second `lag` sample frames later.
double Correlation(const std::vector<int16_t>& a, int ca, const std::vector<int16_t>& b, int cb, int64_t lag,
                   int64_t from, int64_t count) {
  double ab = 0, aa = 0, bb = 0;
  for (int64_t i = from; i < from + count; ++i) {
    const double x = a[static_cast<std::size_t>(2 * i + ca)], y = b[static_cast<std::size_t>(2 * (i + lag) + cb)];
    ab += x * y, aa += x * x, bb += y * y;
  }
  return ab / std::sqrt(aa * bb + 1e-9);
}

TEST(LameEncoder, DecodedChannelsFollowTheirSourceChannels) {
  LameEncoderLibrary lib;
  const int64_t pairs = 2 * 44100;
  const auto source = discgen::MusicSamples(pairs, 7);
  const auto decoded = DecodeMp3(Encode(lib, ExtractionConfig(192, 1, {}), Pcm(source)));
  ASSERT_GE(decoded.SampleFrames(), pairs);
  const int64_t from = 30000, count = 8192;
  int64_t lag = 0;
  double best = -1;
  for (int64_t l = 0; l <= kMaxAddedSampleFrames; ++l) {
    const double c = Correlation(source, 0, decoded.samples, 0, l, from, count);
    if (c > best) best = c, lag = l;
  }
  EXPECT_GE(lag, 576);
  EXPECT_GT(best, 0.95);
  EXPECT_GT(Correlation(source, 1, decoded.samples, 1, lag, from, count), 0.95);
  EXPECT_LT(Correlation(source, 0, decoded.samples, 1, lag, from, count), 0.8);
}

TEST(LameEncoder, MonoAndLowRatesKeepTheirFormatAndDuration) {
  LameEncoderLibrary lib;
  const int64_t frames = 22050 * 3 / 2;
  const std::string mp3 = Encode(lib, WavEncodingConfig(8, 1, 22050, 1), discgen::MusicBytes(frames, 2, 1, 22050));
  MpegFrame want;
  want.version = MpegVersion::Mpeg2;
  want.sampleRate = 22050;
  want.mode = test::kModeMono;
  want.bitrateKbps = 128;
  want.original = true;
  FramesOf(mp3, want);
  ExpectDecodesToTheSourceLength(mp3, 22050, 1, frames);

  // The lower rates carry at most 160 kbit/s: 320 asked for gives the most they can.
  const std::string high = Encode(lib, WavEncodingConfig(13, 1, 22050, 2), discgen::MusicBytes(frames, 2, 2, 22050));
  want.mode = test::kModeJointStereo;
  want.bitrateKbps = 160;
  FramesOf(high, want);
  ExpectDecodesToTheSourceLength(high, 22050, 2, frames);
}

TEST(LameEncoder, ChannelModeAndEmphasisReachEveryFrame) {
  LameEncoderLibrary lib;
  const std::string pcm = discgen::MusicBytes(10 * 588, 4);
  for (int32_t mode : {encrecord::kStereo, encrecord::kDualChannel}) {
    EncoderConfig c = ExtractionConfig(128, 1, {});
    c.mode = mode;
    MpegFrame want = CdFrame(128);
    want.mode = mode;
    FramesOf(Encode(lib, c, pcm), want);
  }
  EncoderConfig c = ExtractionConfig(96, 1, {});
  c.emphasis = 1;
  MpegFrame want = CdFrame(96);
  want.emphasis = 1;
  FramesOf(Encode(lib, c, pcm), want);
}

TEST(LameEncoder, PresetsNeverChangeBitrateModeOrFlags) {
  LameEncoderLibrary lib;
  const std::string pcm = discgen::MusicBytes(12 * 588, 6);
  for (int32_t preset : {0, 1, 2, 3, 1000, 6000, 7000, 8000, 9000, 10000, 4, -1, 5000, 123456}) {
    for (int32_t kbps : {32, 320}) {
      SCOPED_TRACE("preset " + std::to_string(preset) + " at " + std::to_string(kbps));
      EncoderConfig c = ExtractionConfig(kbps, 1, FrameFlagBoxes{1, 1, 0, 0});
      c.preset = preset;
      FramesOf(Encode(lib, c, pcm), CdFrame(kbps, true, true, false, false));
    }
  }
}

// Amplitude of the `hz` component of the left channel, between sample frames from and from+count.
double ToneAmplitude(const std::vector<int16_t>& interleaved, double hz, long rate, std::size_t from, std::size_t count) {
  const double w = 2 * 3.14159265358979 * hz / static_cast<double>(rate);
  double re = 0, im = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    re += interleaved[2 * i] * std::cos(w * static_cast<double>(i));
    im += interleaved[2 * i] * std::sin(w * static_cast<double>(i));
  }
  return 2 * std::hypot(re, im) / static_cast<double>(count);
}

TEST(LameEncoder, FilteringTuningsCutTheirBandsButNeverWidenLamesOwn) {
  LameEncoderLibrary lib;
  const double tones[] = {100, 1000, 5000, 12000};
  std::vector<int16_t> source(2 * 44100);
  for (std::size_t i = 0; i < 44100; ++i) {
    double v = 0;
    for (double hz : tones) v += 3000 * std::sin(2 * 3.14159265358979 * hz * static_cast<double>(i) / 44100);
    source[2 * i] = source[2 * i + 1] = static_cast<int16_t>(std::lround(v));
  }
  const std::string pcm = Pcm(source);
  // Which tones survive (amplitude above half the source's) for a preset at a bitrate.
  auto surviving = [&](int32_t preset, int32_t kbps) {
    EncoderConfig c = ExtractionConfig(kbps, 1, {});
    c.preset = preset;
    const auto decoded = DecodeMp3(Encode(lib, c, pcm));
    std::string kept;
    for (double hz : tones) kept += ToneAmplitude(decoded.samples, hz, 44100, 8820, 22050) > 1500 ? '1' : '0';
    return kept;
  };
  EXPECT_EQ(surviving(encpreset::kNormal, 128), "1111");
  EXPECT_EQ(surviving(encpreset::kPhone, 128), "0100");
  EXPECT_EQ(surviving(encpreset::kVoice, 128), "1110");
  EXPECT_EQ(surviving(encpreset::kRadio, 128), "1111");
  // At 64 kbit/s LAME's own lowpass (11 kHz) is below the radio band's and stays.
  EXPECT_EQ(surviving(encpreset::kRadio, 64), "1110");
}

TEST(LameEncoder, QualityLevelsChangeTheEncodingNotItsSize) {
  LameEncoderLibrary lib;
  const std::string pcm = discgen::MusicBytes(30 * 588, 8);
  const std::string normal = Encode(lib, ExtractionConfig(128, 1, {}), pcm);
  for (int32_t index : {0, 2, 9}) {
    const std::string other = Encode(lib, ExtractionConfig(128, index, {}), pcm);
    EXPECT_EQ(other.size(), normal.size()) << QualityListEntries()[static_cast<std::size_t>(index)];
    EXPECT_NE(other, normal) << QualityListEntries()[static_cast<std::size_t>(index)];
  }
}

TEST(LameEncoder, ChunkSizesDoNotChangeTheOutput) {
  LameEncoderLibrary lib;
  const std::string pcm = discgen::MusicBytes(40 * 588, 9);
  const EncoderConfig c = ExtractionConfig(160, 1, {});
  const std::string cd = Encode(lib, c, pcm);
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  ASSERT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &stream), 0);
  lib.beCloseStream(stream);
  EXPECT_EQ(Encode(lib, c, pcm, perChunk), cd);
  // Odd sample counts split a stereo pair between two chunks.
  EXPECT_EQ(Encode(lib, c, pcm, 1), cd);
  EXPECT_EQ(Encode(lib, c, pcm, 1175), cd);
  // A half pair left over at the end is dropped.
  EXPECT_EQ(Encode(lib, c, pcm + std::string("\x01\x02", 2), 777), cd);
}

TEST(LameEncoder, StreamWithoutAWholeSampleFrameEndsWithoutBytes) {
  LameEncoderLibrary lib;
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  const EncoderConfig c = ExtractionConfig(128, 1, {});
  for (uint32_t samples : {0u, 1u}) {
    ASSERT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &stream), 0);
    std::vector<uint8_t> out(outSize);
    const uint8_t pcm[2] = {0x10, 0x20};
    uint32_t written = 99;
    EXPECT_EQ(lib.beEncodeChunk(stream, samples, pcm, out.data(), &written), 0);
    EXPECT_EQ(written, 0u);
    written = 99;
    EXPECT_EQ(lib.beDeinitStream(stream, out.data(), &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(lib.beCloseStream(stream), 0);
  }
}

TEST(LameEncoder, StreamValuesFitBothCallers) {
  LameEncoderLibrary lib;
  uint32_t perChunk = 0, outSize = 0, stream = 0;
  const EncoderConfig c = ExtractionConfig(320, 1, {});
  ASSERT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &stream), 0);
  EXPECT_GE(perChunk, kCdChunk);
  EXPECT_EQ(perChunk % 2, 0u);
  // Full chunks of loud noise at the highest bitrate never outgrow the buffer.
  std::vector<int16_t> noise(perChunk);
  uint32_t state = 1;
  for (auto& s : noise) s = static_cast<int16_t>((state = state * 1664525u + 1013904223u) >> 16);
  const std::string pcm = Pcm(noise);
  std::vector<uint8_t> out(outSize);
  uint32_t written = 0;
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(lib.beEncodeChunk(stream, perChunk, reinterpret_cast<const uint8_t*>(pcm.data()), out.data(), &written), 0);
    EXPECT_LE(written, outSize);
  }
  // One sample more than a chunk takes is refused and gives nothing.
  std::vector<uint8_t> big(2 * std::size_t{perChunk} + 2);
  written = 99;
  EXPECT_EQ(lib.beEncodeChunk(stream, perChunk + 1, big.data(), out.data(), &written), encerror::kBufferTooSmall);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(lib.beDeinitStream(stream, out.data(), &written), 0);
  EXPECT_GT(written, 0u);
  EXPECT_EQ(lib.beCloseStream(stream), 0);
}

TEST(LameEncoder, RecordsOfTheWrongKindVersionOrSizeAreInvalidFormat) {
  LameEncoderLibrary lib;
  const EncoderConfig good = ExtractionConfig(128, 1, {});
  EXPECT_EQ(InitCode(lib, good), 0);
  for (auto spoil : std::vector<std::function<void(EncoderConfig&)>>{
           [](EncoderConfig& c) { c.kind = 0; }, [](EncoderConfig& c) { c.kind = 255; },
           [](EncoderConfig& c) { c.version = 0; }, [](EncoderConfig& c) { c.version = 2; },
           [](EncoderConfig& c) { c.size = 0; }, [](EncoderConfig& c) { c.size = 333; }}) {
    EncoderConfig c = good;
    spoil(c);
    EXPECT_EQ(InitCode(lib, c), encerror::kInvalidFormat);
  }
  EncoderConfig full = good;
  full.size = 332;
  EXPECT_EQ(InitCode(lib, full), 0);
  uint32_t a = 0, b = 0, h = 0;
  EXPECT_EQ(lib.beInitStream(nullptr, &a, &b, &h), encerror::kInvalidFormat);
}

TEST(LameEncoder, UnsupportedRatesBitratesAndModesAreInvalidFormatParameters) {
  LameEncoderLibrary lib;
  const EncoderConfig good = ExtractionConfig(128, 1, {});
  for (auto spoil : std::vector<std::function<void(EncoderConfig&)>>{
           [](EncoderConfig& c) { c.bitrate = 0; }, [](EncoderConfig& c) { c.bitrate = 33; },
           [](EncoderConfig& c) { c.bitrate = 8; },  // a low-rate bitrate at 44100 Hz
           [](EncoderConfig& c) { c.bitrate = 384; }, [](EncoderConfig& c) { c.bitrate = -128; },
           [](EncoderConfig& c) { c.sampleRate = 0; }, [](EncoderConfig& c) { c.sampleRate = 44000; },
           [](EncoderConfig& c) { c.sampleRate = 96000; }, [](EncoderConfig& c) { c.outputSampleRate = 12345; },
           [](EncoderConfig& c) { c.mode = 4; }, [](EncoderConfig& c) { c.mode = -1; },
           [](EncoderConfig& c) { c.emphasis = 2; }, [](EncoderConfig& c) { c.enableVbr = -1; }}) {
    EncoderConfig c = good;
    spoil(c);
    EXPECT_EQ(InitCode(lib, c), encerror::kInvalidFormatParameters);
  }
  EncoderConfig lowRate = good;
  lowRate.sampleRate = 16000;
  lowRate.bitrate = 8;
  EXPECT_EQ(InitCode(lib, lowRate), 0);
}

TEST(LameEncoder, HandlesRunOutAndClosedOnesAreUnknown) {
  LameEncoderLibrary lib;
  const EncoderConfig c = ExtractionConfig(128, 1, {});
  uint32_t perChunk = 0, outSize = 0;
  std::vector<uint32_t> handles(LameEncoderLibrary::kMaxStreams);
  for (uint32_t& h : handles) ASSERT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &h), 0);
  EXPECT_EQ(std::set<uint32_t>(handles.begin(), handles.end()).size(), handles.size());
  uint32_t extra = 0;
  EXPECT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &extra), encerror::kNoMoreHandles);

  const uint32_t closed = handles[3];
  EXPECT_EQ(lib.beCloseStream(closed), 0);
  ASSERT_EQ(lib.beInitStream(c.Bytes(), &perChunk, &outSize, &handles[3]), 0);  // the slot is free again
  EXPECT_NE(handles[3], closed);

  std::vector<uint8_t> out(outSize);
  const uint8_t pcm[4] = {};
  uint32_t written = 0;
  for (uint32_t unknown : {closed, 0u, 12345u}) {
    EXPECT_EQ(lib.beEncodeChunk(unknown, 2, pcm, out.data(), &written), encerror::kInvalidHandle);
    EXPECT_EQ(lib.beDeinitStream(unknown, out.data(), &written), encerror::kInvalidHandle);
    EXPECT_EQ(lib.beCloseStream(unknown), encerror::kInvalidHandle);
  }
  // A drained stream takes no more audio, only its close.
  EXPECT_EQ(lib.beDeinitStream(handles[0], out.data(), &written), 0);
  EXPECT_EQ(lib.beEncodeChunk(handles[0], 2, pcm, out.data(), &written), encerror::kInvalidHandle);
  EXPECT_EQ(lib.beDeinitStream(handles[0], out.data(), &written), encerror::kInvalidHandle);
  for (uint32_t h : handles) EXPECT_EQ(lib.beCloseStream(h), 0);
}

TEST(LameEncoder, OpenStreamsDoNotDisturbEachOther) {
  LameEncoderLibrary lib;
  const std::string a = discgen::MusicBytes(20 * 588, 11), b = discgen::MusicBytes(20 * 588, 12);
  const EncoderConfig ca = ExtractionConfig(128, 1, {}), cb = ExtractionConfig(256, 2, FrameFlagBoxes{0, 1, 0, 1});
  const std::string aloneA = Encode(lib, ca, a), aloneB = Encode(lib, cb, b);

  uint32_t perChunk = 0, outSize = 0, ha = 0, hb = 0;
  ASSERT_EQ(lib.beInitStream(ca.Bytes(), &perChunk, &outSize, &ha), 0);
  ASSERT_EQ(lib.beInitStream(cb.Bytes(), &perChunk, &outSize, &hb), 0);
  std::vector<uint8_t> out(outSize);
  std::string mixedA, mixedB;
  auto take = [&](uint32_t h, const std::string& pcm, std::size_t at, std::string& into) {
    uint32_t written = 0;
    ASSERT_EQ(lib.beEncodeChunk(h, kCdChunk, reinterpret_cast<const uint8_t*>(pcm.data() + at), out.data(), &written), 0);
    into.append(reinterpret_cast<const char*>(out.data()), written);
  };
  for (std::size_t at = 0; at < a.size(); at += 2 * kCdChunk) take(ha, a, at, mixedA), take(hb, b, at, mixedB);
  uint32_t written = 0;
  lib.beDeinitStream(ha, out.data(), &written);
  mixedA.append(reinterpret_cast<const char*>(out.data()), written);
  lib.beDeinitStream(hb, out.data(), &written);
  mixedB.append(reinterpret_cast<const char*>(out.data()), written);
  lib.beCloseStream(ha);
  lib.beCloseStream(hb);
  EXPECT_EQ(mixedA, aloneA);
  EXPECT_EQ(mixedB, aloneB);
}

}  // namespace
}  // namespace korvalin
