#pragma once
// From the user's encoding choices to the encoder's configuration record: the entries of the
// main window's bitrate and quality lists, the stored-index tables, and the records that
// extraction and WAV encoding start their streams with.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "encode/EncoderConfig.h"

namespace korvalin {

// The entries of the bitrate list cmbBitrate ("32" ... "320") and of the quality list
// cmbQuality ("Low", "Normal", ... "Studio"), in list order.
const std::vector<std::string>& BitrateListEntries();
const std::vector<std::string>& QualityListEntries();

// kbit/s for a stored bitrate index (setting "Encoding bitrate"): the bitrate list's entry at
// that index, except that 9 and every index outside 0..13 give 160.
int32_t BitrateFromIndex(int32_t index);
// kbit/s for the bitrate list's shown text: its numeric value ("" gives 0, which the encoder refuses).
int32_t BitrateFromListText(std::string_view text);
// The encoder preset for a quality index; -1 (nothing chosen) and anything outside 0..9 give 0.
int32_t PresetFromQualityIndex(int32_t index);

// The values of the main window's "Private", "CRC", "Copyrighted" and "Original" check boxes.
struct FrameFlagBoxes {
  int16_t privateBox = 0;
  int16_t crcBox = 0;
  int16_t copyrightedBox = 0;
  int16_t originalBox = 0;
};
// A record flag from a check box value: -1 when ticked (1), else 0.
int32_t FlagFromCheckBox(int16_t value);

// The record for CD audio (44100 Hz, joint stereo, MPEG-1, constant bitrate) with the frame
// flags from the check boxes.
EncoderConfig ExtractionConfig(int32_t bitrateKbps, int32_t qualityIndex, const FrameFlagBoxes& boxes);

// The record for encoding a WAV file: the stored bitrate index and quality index, private, CRC
// and copyright off and original on whatever the check boxes show. `channels` 1 gives a mono
// stream, 2 joint stereo.
EncoderConfig WavEncodingConfig(int32_t storedBitrateIndex, int32_t qualityIndex, int32_t sampleRate = 44100,
                                int channels = 2);

}  // namespace korvalin
