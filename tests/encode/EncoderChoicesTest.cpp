#include "encode/EncoderChoices.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/RaisedError.h"
#include "encode/EncoderError.h"

namespace korvalin {
namespace {

int32_t FieldAt(const EncoderConfig& c, std::size_t offset) {
  int32_t v = 0;
  std::memcpy(&v, c.Bytes() + offset, 4);
  return v;
}

TEST(EncoderChoices, ListEntriesInListOrder) {
  EXPECT_EQ(BitrateListEntries(), (std::vector<std::string>{"32", "40", "48", "56", "64", "80", "96", "112", "128",
                                                             "160", "192", "224", "256", "320"}));
  EXPECT_EQ(QualityListEntries(), (std::vector<std::string>{"Low", "Normal", "High", "Voice", "Phone", "Radio",
                                                             "Tape", "Hifi", "CD", "Studio"}));
}

TEST(EncoderChoices, StoredBitrateIndexWithNineAndEveryOutsiderAt160) {
  const int32_t expected[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  for (int32_t i = 0; i < 14; ++i) EXPECT_EQ(BitrateFromIndex(i), i == 9 ? 160 : expected[i]) << i;
  for (int32_t i : {-32768, -1, 14, 15, 99, 32767}) EXPECT_EQ(BitrateFromIndex(i), 160) << i;
  // Every list entry's text gives the same bitrate as its index (9 is 160 either way).
  for (std::size_t i = 0; i < BitrateListEntries().size(); ++i) {
    EXPECT_EQ(BitrateFromListText(BitrateListEntries()[i]), BitrateFromIndex(static_cast<int32_t>(i)));
  }
  EXPECT_EQ(BitrateFromListText(""), 0);
  EXPECT_EQ(BitrateFromListText(" 192 kbit/s"), 192);
}

TEST(EncoderChoices, QualityIndexToPresetWithNothingChosenAsNormal) {
  const int32_t expected[] = {1, 0, 2, 3, 1000, 6000, 7000, 8000, 9000, 10000};
  for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(PresetFromQualityIndex(i), expected[i]) << i;
  for (int32_t i : {-1, -2, 10, 1000}) EXPECT_EQ(PresetFromQualityIndex(i), 0) << i;
}

TEST(EncoderChoices, ExtractionRecordByteForByte) {
  const EncoderConfig c = ExtractionConfig(224, 7, FrameFlagBoxes{1, 0, 2, 1});
  const std::pair<std::size_t, int32_t> fields[] = {
      {0, 256}, {4, 1},  {8, 331}, {12, 44100}, {16, 0}, {20, 1}, {24, 224}, {28, 0}, {32, 8000}, {36, 1},
      {40, 0},  {44, 0}, {48, -1}, {52, 0},     {56, 0}, {60, -1}, {64, 0},  {68, 0}, {72, 0},     {76, 0},
      {80, -1}};
  for (const auto& [offset, value] : fields) EXPECT_EQ(FieldAt(c, offset), value) << "offset " << offset;
  // A greyed box (2) is not a ticked one; everything after the listed fields is zero.
  for (std::size_t i = 84; i < sizeof c; ++i) ASSERT_EQ(c.Bytes()[i], 0) << i;
}

TEST(EncoderChoices, WavRecordSetsOriginalOnlyAndFollowsTheFilesFormat) {
  const EncoderConfig stereo = WavEncodingConfig(9, -1);
  EXPECT_EQ(stereo.bitrate, 160);
  EXPECT_EQ(stereo.preset, 0);
  EXPECT_EQ(stereo.sampleRate, 44100);
  EXPECT_EQ(stereo.mode, encrecord::kJointStereo);
  EXPECT_EQ(stereo.vbrMethod, -1);
  EXPECT_EQ(stereo.privateFlag | stereo.crcFlag | stereo.copyrightFlag, 0);
  EXPECT_EQ(stereo.originalFlag, -1);

  const EncoderConfig mono = WavEncodingConfig(0, 9, 22050, 1);
  EXPECT_EQ(mono.bitrate, 32);
  EXPECT_EQ(mono.preset, 10000);
  EXPECT_EQ(mono.sampleRate, 22050);
  EXPECT_EQ(mono.mode, encrecord::kMono);
}

TEST(EncoderErrors, TextsAndTheRaisedError) {
  const char* texts[] = {"No Error", "Invalid format", "Invalid format parameters", "No more handles",
                         "Invalid handle", "Buffer too small"};
  for (int32_t code = 0; code <= 5; ++code) EXPECT_EQ(EncoderErrorText(code), texts[code]);
  EXPECT_EQ(EncoderErrorText(6), "");
  EXPECT_EQ(EncoderErrorText(-1), "");

  EXPECT_NO_THROW(RaiseIfEncoderFailed(0));
  try {
    RaiseIfEncoderFailed(2);
    FAIL() << "nothing raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), 2);
    EXPECT_EQ(e.Description(), "Invalid format parameters");
    EXPECT_EQ(e.Source(), "Lame");
  }
  try {
    RaiseIfEncoderFailed(77);
    FAIL() << "nothing raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), 77);
    EXPECT_EQ(e.Description(), "");
  }
}

}  // namespace
}  // namespace korvalin
