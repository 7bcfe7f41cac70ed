#include "platform/linux/LameEncoderLibrary.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <iterator>
#include <optional>
#include <vector>

namespace korvalin {
namespace {

using namespace encrecord;
using namespace encerror;

int32_t Field(const uint8_t* record, std::size_t offset) {
  const uint32_t value = uint32_t{record[offset]} | uint32_t{record[offset + 1]} << 8 |
                         uint32_t{record[offset + 2]} << 16 | uint32_t{record[offset + 3]} << 24;
  return static_cast<int32_t>(value);
}

constexpr int32_t kMpegRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr int32_t kMpeg1Bitrates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int32_t kLowRateBitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int32_t kLowRateMaxBitrate = 160;

template <typename List>
bool Contains(const List& list, int32_t value) {
  return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

// MPEG frames of 1152 samples per channel; a chunk takes four of them.
constexpr uint32_t kSamplesPerFrame = 1152;
constexpr uint32_t kFramesPerChunk = 4;
// LAME's own bound on the MP3 bytes one call can give: 1.25 bytes a sample plus 7200.
uint32_t OutputBound(uint32_t samplesPerChannel) { return (5 * samplesPerChannel + 3) / 4 + 7200; }

// The format a record asks for, checked.
struct Format {
  int32_t inputRate = 0;
  int32_t outputRate = 0;
  int channels = 2;
  MPEG_mode mode = JOINT_STEREO;
  int32_t bitrate = 0;
  int32_t preset = 0;
  int32_t emphasis = 0;
  bool privateBit = false, crc = false, copyright = false, original = false;
};

int32_t ReadFormat(const uint8_t* record, Format& f) {
  const int32_t declaredSize = Field(record, kDeclaredSize);
  if (Field(record, kKind) != kExtendedKind || Field(record, kVersion) != kCurrentVersion ||
      (declaredSize != kDeclaredSizeValue && declaredSize != static_cast<int32_t>(kSize))) {
    return kInvalidFormat;
  }

  // The output keeps the input's rate unless the record names another MP3 rate: LAME would
  // otherwise resample low bitrates to a lower rate (and another MPEG version).
  f.inputRate = Field(record, kSampleRate);
  const int32_t outputRate = Field(record, kOutputSampleRate);
  f.outputRate = outputRate == 0 ? f.inputRate : outputRate;
  if (!Contains(kMpegRates, f.inputRate) || !Contains(kMpegRates, f.outputRate)) return kInvalidFormatParameters;

  switch (Field(record, kMode)) {
    case kStereo: f.mode = STEREO; break;
    case kJointStereo: f.mode = JOINT_STEREO; break;
    case kDualChannel: f.mode = DUAL_CHANNEL; break;
    case kMono: f.mode = MONO; break;
    default: return kInvalidFormatParameters;
  }
  f.channels = f.mode == MONO ? 1 : 2;

  // Rates of 32 kHz and up carry the MPEG-1 bitrates; the lower rates carry 8 to 160 kbit/s, and
  // an MPEG-1 bitrate above that is lowered to 160 so that a low-rate file still encodes.
  const int32_t bitrate = Field(record, kBitrate);
  if (f.outputRate >= 32000) {
    if (!Contains(kMpeg1Bitrates, bitrate)) return kInvalidFormatParameters;
    f.bitrate = bitrate;
  } else if (Contains(kLowRateBitrates, bitrate)) {
    f.bitrate = bitrate;
  } else if (Contains(kMpeg1Bitrates, bitrate)) {
    f.bitrate = kLowRateMaxBitrate;
  } else {
    return kInvalidFormatParameters;
  }

  // Only constant bitrate is offered; a variable-bitrate request is refused, not quietly changed.
  if (Field(record, kEnableVbr) != 0) return kInvalidFormatParameters;
  f.emphasis = Field(record, kEmphasis);
  if (f.emphasis != 0 && f.emphasis != 1 && f.emphasis != 3) return kInvalidFormatParameters;

  f.preset = Field(record, kPreset);
  f.privateBit = Field(record, kPrivate) != 0;
  f.crc = Field(record, kCrc) != 0;
  f.copyright = Field(record, kCopyright) != 0;
  f.original = Field(record, kOriginal) != 0;
  return kNone;
}

// How a preset tunes the encoding. quality: LAME's level, 0 slowest and best to 9 fastest, -1
// its default (3). highpassHz: 0 none; done here on the samples, because LAME filters in bands
// 689 Hz wide and cannot cut below that. lowpassCapHz: LAME's lowpass is at most this (its own
// choice for the bitrate stays when lower); 0 leaves LAME's choice.
struct Tuning {
  int quality = -1;
  int highpassHz = 0;
  int lowpassCapHz = 0;
};

Tuning TuningFor(int32_t preset) {
  switch (preset) {
    case encpreset::kLow: return {7, 0, 0};
    case encpreset::kHigh: return {2, 0, 0};
    case encpreset::kVoice: return {-1, 80, 10000};
    case encpreset::kPhone: return {-1, 300, 3400};
    case encpreset::kRadio: return {-1, 40, 15000};
    case encpreset::kTape: return {-1, 30, 16000};
    case encpreset::kHifi: return {2, 0, 18000};
    case encpreset::kCd: return {2, 0, 0};
    case encpreset::kStudio: return {0, 0, 0};
    default: return {};  // Normal, and any number without a tuning of its own
  }
}

void Quiet(const char*, va_list) {}

lame_t NewLame() {
  lame_t lame = lame_init();
  if (lame) {
    lame_set_errorf(lame, Quiet);
    lame_set_debugf(lame, Quiet);
    lame_set_msgf(lame, Quiet);
  }
  return lame;
}

// Everything every frame header carries. Set after the tuning, so no tuning can change it.
void SetFormat(lame_t lame, const Format& f) {
  lame_set_in_samplerate(lame, f.inputRate);
  lame_set_out_samplerate(lame, f.outputRate);
  lame_set_num_channels(lame, f.channels);
  lame_set_mode(lame, f.mode);
  lame_set_VBR(lame, vbr_off);
  lame_set_brate(lame, f.bitrate);
  lame_set_bWriteVbrTag(lame, 0);  // the stream cannot go back to fill in a tag frame at its start
  lame_set_extension(lame, f.privateBit ? 1 : 0);
  lame_set_error_protection(lame, f.crc ? 1 : 0);
  lame_set_copyright(lame, f.copyright ? 1 : 0);
  lame_set_original(lame, f.original ? 1 : 0);  // LAME's default is 1
  lame_set_emphasis(lame, f.emphasis);
}

// The lowpass LAME chooses by itself for this format (0 if it would not start).
int OwnLowpass(const Format& f) {
  lame_t probe = NewLame();
  if (!probe) return 0;
  SetFormat(probe, f);
  const int hz = lame_init_params(probe) < 0 ? 0 : lame_get_lowpassfreq(probe);
  lame_close(probe);
  return hz;
}

void ApplyTuning(lame_t lame, const Format& f, const Tuning& tuning) {
  if (tuning.quality >= 0) lame_set_quality(lame, tuning.quality);
  if (tuning.lowpassCapHz > 0) {
    const int own = OwnLowpass(f);
    if (own <= 0 || own > tuning.lowpassCapHz) lame_set_lowpassfreq(lame, tuning.lowpassCapHz);
  }
}

// A second-order Butterworth highpass, one state per channel.
class Highpass {
 public:
  Highpass(double hz, double sampleRate) {
    const double w = 2 * 3.14159265358979323846 * hz / sampleRate;
    const double alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w), a0 = 1 + alpha;
    b0_ = (1 + c) / 2 / a0;
    b1_ = -(1 + c) / a0;
    a1_ = -2 * c / a0;
    a2_ = (1 - alpha) / a0;
  }

  // Filters interleaved samples in place.
  void Run(std::vector<int16_t>& pcm, int channels) {
    for (std::size_t i = 0; i < pcm.size(); ++i) {
      State& s = state_[i % static_cast<std::size_t>(channels)];
      const double x = pcm[i];
      const double y = b0_ * x + s.z1;
      s.z1 = b1_ * x - a1_ * y + s.z2;
      s.z2 = b0_ * x - a2_ * y;
      pcm[i] = static_cast<int16_t>(std::lround(std::clamp(y, -32768.0, 32767.0)));
    }
  }

 private:
  struct State {
    double z1 = 0, z2 = 0;
  };
  double b0_, b1_, a1_, a2_;  // b2 equals b0
  State state_[2];
};

int16_t Sample(const uint8_t* at) { return static_cast<int16_t>(uint16_t{at[0]} | uint16_t{at[1]} << 8); }

}  // namespace

struct LameEncoderLibrary::Stream {
  lame_t lame = nullptr;
  uint32_t handle = 0;
  int channels = 2;
  uint32_t samplesPerChunk = 0;
  uint32_t outputBufferSize = 0;
  bool gotAudio = false;  // at least one whole sample frame has reached LAME
  bool drained = false;
  // A stereo chunk of an odd sample count ends in half a pair; it waits for the next chunk.
  bool holdsSample = false;
  int16_t heldSample = 0;
  std::vector<int16_t> pcm;
  std::optional<Highpass> highpass;

  ~Stream() {
    if (lame) lame_close(lame);
  }
};

LameEncoderLibrary::LameEncoderLibrary() = default;
LameEncoderLibrary::~LameEncoderLibrary() = default;

LameEncoderLibrary::Stream* LameEncoderLibrary::Find(uint32_t handle) {
  Stream* s = streams_[handle % kMaxStreams].get();
  return s && s->handle == handle ? s : nullptr;
}

int32_t LameEncoderLibrary::beInitStream(const uint8_t* config, uint32_t* samplesPerChunk,
                                         uint32_t* outputBufferSize, uint32_t* stream) {
  if (!config) return kInvalidFormat;
  if (!samplesPerChunk || !outputBufferSize || !stream) return kInvalidFormatParameters;
  Format format;
  if (const int32_t code = ReadFormat(config, format); code != kNone) return code;

  uint32_t slot = 0;
  while (slot < kMaxStreams && streams_[slot]) ++slot;
  if (slot == kMaxStreams) return kNoMoreHandles;

  auto s = std::make_unique<Stream>();
  s->lame = NewLame();
  if (!s->lame) return kNoMoreHandles;
  const Tuning tuning = TuningFor(format.preset);
  ApplyTuning(s->lame, format, tuning);
  SetFormat(s->lame, format);
  if (lame_init_params(s->lame) < 0) return kInvalidFormatParameters;

  s->channels = format.channels;
  if (tuning.highpassHz > 0) s->highpass.emplace(tuning.highpassHz, format.inputRate);
  s->samplesPerChunk = kFramesPerChunk * kSamplesPerFrame * static_cast<uint32_t>(format.channels);
  // One more sample frame than a chunk holds: a held half pair can complete one.
  s->outputBufferSize = OutputBound(s->samplesPerChunk / static_cast<uint32_t>(format.channels) + 1);
  s->pcm.reserve(s->samplesPerChunk + 1);

  if (nextSerial_ > UINT32_MAX / kMaxStreams) nextSerial_ = 1;
  s->handle = nextSerial_++ * kMaxStreams + slot;

  *samplesPerChunk = s->samplesPerChunk;
  *outputBufferSize = s->outputBufferSize;
  *stream = s->handle;
  streams_[slot] = std::move(s);
  return kNone;
}

int32_t LameEncoderLibrary::beEncodeChunk(uint32_t stream, uint32_t samples, const uint8_t* pcm, uint8_t* output,
                                          uint32_t* outputBytes) {
  Stream* s = Find(stream);
  if (!s || s->drained) return kInvalidHandle;
  if (!output || !outputBytes || (samples > 0 && !pcm)) return kBufferTooSmall;
  *outputBytes = 0;
  // More samples than a chunk holds could need more room than the caller's buffer has.
  if (samples > s->samplesPerChunk) return kBufferTooSmall;

  s->pcm.clear();
  if (s->holdsSample) s->pcm.push_back(s->heldSample);
  for (uint32_t i = 0; i < samples; ++i) s->pcm.push_back(Sample(pcm + 2 * static_cast<std::size_t>(i)));
  s->holdsSample = s->pcm.size() % static_cast<std::size_t>(s->channels) != 0;
  if (s->holdsSample) {
    s->heldSample = s->pcm.back();
    s->pcm.pop_back();
  }
  const int frames = static_cast<int>(s->pcm.size()) / s->channels;
  if (frames == 0) return kNone;
  if (s->highpass) s->highpass->Run(s->pcm, s->channels);

  const int size = static_cast<int>(s->outputBufferSize);
  const int written = s->channels == 2
                          ? lame_encode_buffer_interleaved(s->lame, s->pcm.data(), frames, output, size)
                          : lame_encode_buffer(s->lame, s->pcm.data(), s->pcm.data(), frames, output, size);
  if (written < 0) return written == -1 ? kBufferTooSmall : kInvalidFormatParameters;
  s->gotAudio = true;
  *outputBytes = static_cast<uint32_t>(written);
  return kNone;
}

int32_t LameEncoderLibrary::beDeinitStream(uint32_t stream, uint8_t* output, uint32_t* outputBytes) {
  Stream* s = Find(stream);
  if (!s || s->drained) return kInvalidHandle;
  if (!output || !outputBytes) return kBufferTooSmall;
  *outputBytes = 0;
  s->drained = true;
  // With no audio at all LAME would still give one frame, which decodes to nothing.
  if (!s->gotAudio) return kNone;
  const int written = lame_encode_flush(s->lame, output, static_cast<int>(s->outputBufferSize));
  if (written < 0) return written == -1 ? kBufferTooSmall : kInvalidFormatParameters;
  *outputBytes = static_cast<uint32_t>(written);
  return kNone;
}

int32_t LameEncoderLibrary::beCloseStream(uint32_t stream) {
  if (!Find(stream)) return kInvalidHandle;
  streams_[stream % kMaxStreams].reset();
  return kNone;
}

}  // namespace korvalin
