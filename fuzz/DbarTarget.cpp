// The AccurateRip database's dBAR file. The disc asked about is taken from the input's own first
// header, so that mutations reach the responses behind it, and once more as a fixed disc, so that
// the refusals are reached too. Whatever the bytes, the parse gives responses or a reason, never
// both; what it gives describes exactly the bytes; a verdict never calls a track accurate
// without a response that matches it.

#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/AccurateRipVerdict.h"

namespace korvalin::fuzz {
namespace {

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void CheckParse(const std::string& body, const AccurateRipDiscId& disc, int tracks) {
  const DbarFile file = ParseDbar(body, disc, tracks);
  Check(file.responses.empty() != file.problem.empty(), "responses, or else a reason");
  Check(file.problem.find('\n') == std::string::npos, "the reason is one line");
  if (file.responses.empty()) return;
  Check(file.responses.size() * (13 + 9 * static_cast<std::size_t>(tracks)) == body.size(), "whole responses, every byte read");
  for (const DbarResponse& r : file.responses) {
    Check(r.id1 == disc.id1 && r.id2 == disc.id2 && r.cddb == disc.cddb, "every response is for the disc");
    Check(r.trackCount == tracks && r.tracks.size() == static_cast<std::size_t>(tracks), "the disc's track count");
  }
  // Rip checksums taken from the first response, so that matches happen.
  const DbarTrack& first = file.responses.front().tracks.front();
  const RippedTrack ripped[] = {{first.crc, first.frame450Crc, 4, true, false},
                                {first.frame450Crc, first.crc, 4, true, true},
                                {0, 0, 0, true, false}};
  for (const RippedTrack& t : ripped) {
    for (int index : {-1, 0, tracks - 1, tracks}) {
      const TrackVerdict v = JudgeTrack(file.responses, index, t);
      Check(!v.text.empty(), "a verdict has words");
      Check(v.confidence >= 0 && v.confidence <= v.total, "confidence within the total");
      if (v.Accurate()) {
        Check(v.confidence > 0 && t.bytes > 0 && !t.suspicious && (t.v1 != 0 || t.v2 != 0), "accurate only with a real match");
      }
    }
  }
}

}  // namespace

int FuzzDbar(const uint8_t* data, std::size_t size) {
  const std::string body = std::string(AsText(data, size));
  if (size >= 13) {
    CheckParse(body, AccurateRipDiscId{Le32(data + 1), Le32(data + 5), Le32(data + 9)}, data[0]);
  }
  CheckParse(body, AccurateRipDiscId{0x0004a1b2u, 0x00c3d4e5u, 0x3e0a2c03u}, 3);
  const std::string path = DbarPath(AccurateRipDiscId{size > 0 ? data[0] * 0x01010101u : 0, 1, 2}, static_cast<int>(size % 120));
  Check(path.find("/dBAR-") == 5 && path.size() == 45, "a path of three folders and the file's name");
  return 0;
}

}  // namespace korvalin::fuzz
