#include "encode/EncoderChoices.h"

#include <iterator>

#include "common/JobFlags.h"
#include "common/Numeric.h"

namespace korvalin {
namespace {

constexpr int32_t kBitrates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int32_t kFallbackBitrate = 160;
constexpr int32_t kPresets[] = {encpreset::kLow,   encpreset::kNormal, encpreset::kHigh, encpreset::kVoice,
                                encpreset::kPhone, encpreset::kRadio,  encpreset::kTape, encpreset::kHifi,
                                encpreset::kCd,    encpreset::kStudio};

EncoderConfig BaseConfig(int32_t bitrateKbps, int32_t qualityIndex) {
  EncoderConfig c;
  c.kind = encrecord::kExtendedKind;
  c.version = encrecord::kCurrentVersion;
  c.size = encrecord::kDeclaredSizeValue;
  c.sampleRate = 44100;
  c.outputSampleRate = 0;
  c.mode = encrecord::kJointStereo;
  c.bitrate = bitrateKbps;
  c.preset = PresetFromQualityIndex(qualityIndex);
  c.mpegVersion = encrecord::kMpeg1;
  c.vbrMethod = -1;
  return c;
}

}  // namespace

const std::vector<std::string>& BitrateListEntries() {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> texts;
    for (int32_t kbps : kBitrates) texts.push_back(std::to_string(kbps));
    return texts;
  }();
  return entries;
}

const std::vector<std::string>& QualityListEntries() {
  static const std::vector<std::string> entries = {"Low",  "Normal", "High", "Voice", "Phone",
                                                   "Radio", "Tape",  "Hifi", "CD",    "Studio"};
  return entries;
}

int32_t BitrateFromIndex(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(std::size(kBitrates)) || index == 9) return kFallbackBitrate;
  return kBitrates[index];
}

int32_t BitrateFromListText(std::string_view text) { return CInt32(Val(text)); }

int32_t PresetFromQualityIndex(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(std::size(kPresets))) return encpreset::kNormal;
  return kPresets[index];
}

int32_t FlagFromCheckBox(int16_t value) { return value == 1 ? kTrue : kFalse; }

EncoderConfig ExtractionConfig(int32_t bitrateKbps, int32_t qualityIndex, const FrameFlagBoxes& boxes) {
  EncoderConfig c = BaseConfig(bitrateKbps, qualityIndex);
  c.privateFlag = FlagFromCheckBox(boxes.privateBox);
  c.crcFlag = FlagFromCheckBox(boxes.crcBox);
  c.copyrightFlag = FlagFromCheckBox(boxes.copyrightedBox);
  c.originalFlag = FlagFromCheckBox(boxes.originalBox);
  return c;
}

EncoderConfig WavEncodingConfig(int32_t storedBitrateIndex, int32_t qualityIndex, int32_t sampleRate, int channels) {
  EncoderConfig c = BaseConfig(BitrateFromIndex(storedBitrateIndex), qualityIndex);
  c.sampleRate = sampleRate;
  c.mode = channels == 1 ? encrecord::kMono : encrecord::kJointStereo;
  c.originalFlag = kTrue;
  return c;
}

}  // namespace korvalin
