#include "rip/AccurateRipVerdict.h"

#include <algorithm>
#include <map>

namespace korvalin {
namespace {

std::string Figures(int c, int t) { return std::to_string(c) + " of " + std::to_string(t); }

TrackVerdict Verdict(AccurateRipResult result, std::string text, int c = 0, int t = 0) {
  TrackVerdict v;
  v.result = result;
  v.confidence = c;
  v.total = t;
  v.text = std::move(text);
  return v;
}

}  // namespace

TrackVerdict UnverifiedTrack(const std::string& why) {
  return Verdict(AccurateRipResult::NotVerified, "Not verified (" + why + ")");
}

TrackVerdict AbsentTrack() { return Verdict(AccurateRipResult::NotPresent, "Not present in the database"); }

TrackVerdict JudgeTrack(const std::vector<DbarResponse>& responses, int audioIndex, const RippedTrack& track) {
  if (track.bytes <= 0) return UnverifiedTrack("no audio was read");
  if (!track.complete) return UnverifiedTrack("the track was not read to its end");
  int total = 0, matching = 0;
  bool v1 = false, v2 = false;
  // The rips behind each checksum: responses that hold the same checksum agree with each other.
  std::map<uint32_t, int> groups;
  for (const DbarResponse& r : responses) {
    if (audioIndex < 0 || static_cast<std::size_t>(audioIndex) >= r.tracks.size()) continue;
    const DbarTrack& t = r.tracks[static_cast<std::size_t>(audioIndex)];
    // A response that holds nothing for this track, or a checksum no rip stands behind.
    if (t.crc == 0 || t.confidence == 0) continue;
    total += t.confidence;
    groups[t.crc] += t.confidence;
    // A silent track's checksums are 0 and never reach here: silence matches nothing.
    if (t.crc == track.v2) {
      v2 = true;
      matching += t.confidence;
    } else if (t.crc == track.v1) {
      v1 = true;
      matching += t.confidence;
    }
  }
  if (groups.empty()) return AbsentTrack();
  if (v1 || v2) {
    if (track.suspicious) return UnverifiedTrack("suspicious frames, although the checksum matches");
    const char* which = v1 && v2 ? "v1 and v2" : v2 ? "v2" : "v1";
    return Verdict(AccurateRipResult::Accurate,
                   "Accurately ripped (confidence " + Figures(matching, total) + ", " + which + ")", matching, total);
  }
  int largest = 0;
  for (const auto& [crc, confidence] : groups) largest = std::max(largest, confidence);
  return Verdict(AccurateRipResult::NotAccurate,
                 "NOT ACCURATE (" + std::to_string(largest) + " other rips agree with each other)", largest, total);
}

std::string AccurateRipSummary(int accurate, int judged) {
  return std::to_string(accurate) + " of " + std::to_string(judged) + " tracks accurately ripped";
}

std::string OtherPressingLine(int offsetSamples) {
  return "this rip matches a pressing at offset " + std::string(offsetSamples > 0 ? "+" : "") +
         std::to_string(offsetSamples);
}

}  // namespace korvalin
