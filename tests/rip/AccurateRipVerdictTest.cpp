#include "rip/AccurateRipVerdict.h"

#include <gtest/gtest.h>

namespace korvalin {
namespace {

constexpr uint32_t kV1 = 0x1111aaaau, kV2 = 0x2222bbbbu;

DbarResponse Response(std::vector<DbarTrack> tracks) {
  DbarResponse r;
  r.trackCount = static_cast<uint8_t>(tracks.size());
  r.tracks = std::move(tracks);
  return r;
}

// The second track of a two-track disc holds `entry`; the first something else.
DbarResponse Second(uint8_t confidence, uint32_t crc) { return Response({{9, 0x0badf00du, 0}, {confidence, crc, 0}}); }

TEST(AccurateRipVerdict, WordsAndFiguresForEachWayATrackCanCompare) {
  const RippedTrack clean{kV1, kV2, 4704, true, false};
  RippedTrack suspicious = clean, empty = clean, cut = clean;
  suspicious.suspicious = true;
  empty.bytes = 0;
  cut.complete = false;
  const RippedTrack silent{0, 0, 4704, true, false};
  const struct {
    const char* name;
    std::vector<DbarResponse> responses;
    RippedTrack track;
    AccurateRipResult result;
    std::string text;
  } cases[] = {
      {"v2 matches", {Second(7, kV2), Second(2, 0x99u)}, clean, AccurateRipResult::Accurate,
       "Accurately ripped (confidence 7 of 9, v2)"},
      {"only v1 matches", {Second(3, kV1), Second(2, 0x99u)}, clean, AccurateRipResult::Accurate,
       "Accurately ripped (confidence 3 of 5, v1)"},
      {"two responses summed", {Second(4, kV2), Second(5, kV1), Second(1, 0x99u)}, clean, AccurateRipResult::Accurate,
       "Accurately ripped (confidence 9 of 10, v1 and v2)"},
      {"no match: the largest agreeing group", {Second(4, 0x98u), Second(6, 0x99u), Second(3, 0x99u)}, clean,
       AccurateRipResult::NotAccurate, "NOT ACCURATE (9 other rips agree with each other)"},
      {"nothing for this track", {Second(0, 0)}, clean, AccurateRipResult::NotPresent, "Not present in the database"},
      {"a match no rip stands behind", {Second(0, kV2)}, clean, AccurateRipResult::NotPresent, "Not present in the database"},
      {"no responses", {}, clean, AccurateRipResult::NotPresent, "Not present in the database"},
      {"silence never matches an empty entry", {Second(5, 0), Second(2, 0x99u)}, silent, AccurateRipResult::NotAccurate,
       "NOT ACCURATE (2 other rips agree with each other)"},
      {"suspicious frames", {Second(7, kV2)}, suspicious, AccurateRipResult::NotVerified,
       "Not verified (suspicious frames, although the checksum matches)"},
      {"suspicious and wrong", {Second(7, 0x99u)}, suspicious, AccurateRipResult::NotAccurate,
       "NOT ACCURATE (7 other rips agree with each other)"},
      {"no samples", {Second(7, kV2)}, empty, AccurateRipResult::NotVerified, "Not verified (no audio was read)"},
      {"cancelled", {Second(7, kV2)}, cut, AccurateRipResult::NotVerified, "Not verified (the track was not read to its end)"},
  };
  for (const auto& c : cases) {
    const TrackVerdict v = JudgeTrack(c.responses, 1, c.track);
    EXPECT_EQ(v.result, c.result) << c.name;
    EXPECT_EQ(v.text, c.text) << c.name;
  }
  // A track the responses do not reach.
  EXPECT_EQ(JudgeTrack({Second(7, kV2)}, 2, clean).result, AccurateRipResult::NotPresent);
  EXPECT_EQ(JudgeTrack({Second(7, kV2)}, -1, clean).result, AccurateRipResult::NotPresent);
}

TEST(AccurateRipVerdict, AnotherPressingsOffsetCarriesItsSign) {
  EXPECT_EQ(OtherPressingLine(6), "this rip matches a pressing at offset +6");
  EXPECT_EQ(OtherPressingLine(-588), "this rip matches a pressing at offset -588");
  EXPECT_EQ(OtherPressingLine(0), "this rip matches a pressing at offset 0");
}

}  // namespace
}  // namespace korvalin
