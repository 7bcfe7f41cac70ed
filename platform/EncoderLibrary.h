#pragma once
// The MP3 encoder library, as the program calls it: a stream is opened from a 332-byte
// configuration record, fed chunks of 16-bit PCM and drained at the end; 32-bit results, 0 for
// success. The real adapter encodes with libmp3lame (platform/linux/LameEncoderLibrary).
//
// The configuration record: 32-bit little-endian integers at the offsets below, every other byte
// zero. Flags are -1 (true) or 0 (false); the library takes any non-zero value as true.
// PCM is 16-bit signed little-endian, channels interleaved left/right; sample counts count the
// 16-bit samples of all channels.

#include <cstddef>
#include <cstdint>

namespace korvalin {

namespace encrecord {
inline constexpr std::size_t kSize = 332;

inline constexpr std::size_t kKind = 0;
inline constexpr std::size_t kVersion = 4;
inline constexpr std::size_t kDeclaredSize = 8;
inline constexpr std::size_t kSampleRate = 12;
inline constexpr std::size_t kOutputSampleRate = 16;  // 0: the input's rate
inline constexpr std::size_t kMode = 20;
inline constexpr std::size_t kBitrate = 24;  // kbit/s, constant
inline constexpr std::size_t kMaxBitrate = 28;
inline constexpr std::size_t kPreset = 32;
inline constexpr std::size_t kMpegVersion = 36;
inline constexpr std::size_t kPsychoModel = 40;
inline constexpr std::size_t kEmphasis = 44;
inline constexpr std::size_t kPrivate = 48;
inline constexpr std::size_t kCrc = 52;
inline constexpr std::size_t kCopyright = 56;
inline constexpr std::size_t kOriginal = 60;
inline constexpr std::size_t kWriteVbrHeader = 64;
inline constexpr std::size_t kEnableVbr = 68;
inline constexpr std::size_t kVbrQuality = 72;
inline constexpr std::size_t kAverageBitrate = 76;
inline constexpr std::size_t kVbrMethod = 80;
inline constexpr std::size_t kReserved = 84;

// The values the library accepts in the kind, version and declared-size fields.
inline constexpr int32_t kExtendedKind = 256;
inline constexpr int32_t kCurrentVersion = 1;
inline constexpr int32_t kDeclaredSizeValue = 331;

// Channel modes. Mono input is one channel; every other mode takes two interleaved channels.
inline constexpr int32_t kStereo = 0;
inline constexpr int32_t kJointStereo = 1;
inline constexpr int32_t kDualChannel = 2;
inline constexpr int32_t kMono = 3;

inline constexpr int32_t kMpeg1 = 1;
}  // namespace encrecord

// Quality presets: they tune how the encoder works, never the format of its output.
namespace encpreset {
inline constexpr int32_t kNormal = 0;
inline constexpr int32_t kLow = 1;
inline constexpr int32_t kHigh = 2;
inline constexpr int32_t kVoice = 3;
inline constexpr int32_t kPhone = 1000;
inline constexpr int32_t kRadio = 6000;
inline constexpr int32_t kTape = 7000;
inline constexpr int32_t kHifi = 8000;
inline constexpr int32_t kCd = 9000;
inline constexpr int32_t kStudio = 10000;
}  // namespace encpreset

// The library's error codes.
namespace encerror {
inline constexpr int32_t kNone = 0;
inline constexpr int32_t kInvalidFormat = 1;            // the record's kind, version or size
inline constexpr int32_t kInvalidFormatParameters = 2;  // a rate, bitrate or mode it cannot encode
inline constexpr int32_t kNoMoreHandles = 3;
inline constexpr int32_t kInvalidHandle = 4;
inline constexpr int32_t kBufferTooSmall = 5;
}  // namespace encerror

class EncoderLibrary {
 public:
  virtual ~EncoderLibrary() = default;

  // Opens a stream. On success fills the largest sample count one chunk may hold, the byte size
  // of the output buffer every call of the stream must be given, and the stream's handle.
  virtual int32_t beInitStream(const uint8_t* config, uint32_t* samplesPerChunk, uint32_t* outputBufferSize,
                               uint32_t* stream) = 0;

  // Encodes `samples` 16-bit samples; the MP3 bytes ready so far go to `output` and their number
  // to `outputBytes` (often 0: the encoder keeps some audio back until it has a whole frame).
  virtual int32_t beEncodeChunk(uint32_t stream, uint32_t samples, const uint8_t* pcm, uint8_t* output,
                                uint32_t* outputBytes) = 0;

  // Ends the stream: the last MP3 bytes go to `output`. After it only beCloseStream is accepted.
  virtual int32_t beDeinitStream(uint32_t stream, uint8_t* output, uint32_t* outputBytes) = 0;

  // Releases the stream; its handle is unknown from then on.
  virtual int32_t beCloseStream(uint32_t stream) = 0;
};

}  // namespace korvalin
