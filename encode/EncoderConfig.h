#pragma once
// The encoder's configuration record, byte for byte as the encoder library reads it: 332 bytes,
// zero-filled, 32-bit little-endian fields. Pass it to beInitStream as Bytes().

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "platform/EncoderLibrary.h"

namespace korvalin {

struct EncoderConfig {
  int32_t kind = 0;
  int32_t version = 0;
  int32_t size = 0;
  int32_t sampleRate = 0;
  int32_t outputSampleRate = 0;
  int32_t mode = 0;
  int32_t bitrate = 0;  // kbit/s
  int32_t maxBitrate = 0;
  int32_t preset = 0;
  int32_t mpegVersion = 0;
  int32_t psychoModel = 0;
  int32_t emphasis = 0;
  int32_t privateFlag = 0;
  int32_t crcFlag = 0;
  int32_t copyrightFlag = 0;
  int32_t originalFlag = 0;
  int32_t writeVbrHeader = 0;
  int32_t enableVbr = 0;
  int32_t vbrQuality = 0;
  int32_t averageBitrate = 0;
  int32_t vbrMethod = 0;
  uint8_t reserved[encrecord::kSize - encrecord::kReserved] = {};

  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

static_assert(std::endian::native == std::endian::little, "the record's integers are little-endian");
static_assert(std::is_standard_layout_v<EncoderConfig> && std::is_trivially_copyable_v<EncoderConfig>);
static_assert(sizeof(EncoderConfig) == encrecord::kSize);
static_assert(offsetof(EncoderConfig, kind) == encrecord::kKind);
static_assert(offsetof(EncoderConfig, version) == encrecord::kVersion);
static_assert(offsetof(EncoderConfig, size) == encrecord::kDeclaredSize);
static_assert(offsetof(EncoderConfig, sampleRate) == encrecord::kSampleRate);
static_assert(offsetof(EncoderConfig, outputSampleRate) == encrecord::kOutputSampleRate);
static_assert(offsetof(EncoderConfig, mode) == encrecord::kMode);
static_assert(offsetof(EncoderConfig, bitrate) == encrecord::kBitrate);
static_assert(offsetof(EncoderConfig, maxBitrate) == encrecord::kMaxBitrate);
static_assert(offsetof(EncoderConfig, preset) == encrecord::kPreset);
static_assert(offsetof(EncoderConfig, mpegVersion) == encrecord::kMpegVersion);
static_assert(offsetof(EncoderConfig, psychoModel) == encrecord::kPsychoModel);
static_assert(offsetof(EncoderConfig, emphasis) == encrecord::kEmphasis);
static_assert(offsetof(EncoderConfig, privateFlag) == encrecord::kPrivate);
static_assert(offsetof(EncoderConfig, crcFlag) == encrecord::kCrc);
static_assert(offsetof(EncoderConfig, copyrightFlag) == encrecord::kCopyright);
static_assert(offsetof(EncoderConfig, originalFlag) == encrecord::kOriginal);
static_assert(offsetof(EncoderConfig, writeVbrHeader) == encrecord::kWriteVbrHeader);
static_assert(offsetof(EncoderConfig, enableVbr) == encrecord::kEnableVbr);
static_assert(offsetof(EncoderConfig, vbrQuality) == encrecord::kVbrQuality);
static_assert(offsetof(EncoderConfig, averageBitrate) == encrecord::kAverageBitrate);
static_assert(offsetof(EncoderConfig, vbrMethod) == encrecord::kVbrMethod);
static_assert(offsetof(EncoderConfig, reserved) == encrecord::kReserved);

}  // namespace korvalin
