#pragma once
// The AccurateRip database's answer for one disc (a "dBAR" file): one or more responses, each a
// pressing's checksums as other people's rips gave them. All numbers little-endian. A response is a
// 13-byte header (track count, id1, id2, CDDB id) and 9 bytes per track (confidence, the track's
// checksum, the checksum of its frame 450).

#include <cstdint>
#include <string>
#include <vector>

#include "rip/DiscIds.h"

namespace korvalin {

struct DbarTrack {
  uint8_t confidence = 0;
  uint32_t crc = 0;
  uint32_t frame450Crc = 0;
};

struct DbarResponse {
  uint8_t trackCount = 0;
  uint32_t id1 = 0;
  uint32_t id2 = 0;
  uint32_t cddb = 0;
  std::vector<DbarTrack> tracks;
};

struct DbarFile {
  std::vector<DbarResponse> responses;
  // Why the file cannot be used, in one plain line; empty when it can.
  std::string problem;
};

// Parses `body`, refusing a length that is not whole responses, a header that does not match
// `disc`, or a track count other than `audioTracks`.
DbarFile ParseDbar(const std::string& body, const AccurateRipDiscId& disc, int audioTracks);

// The file's path under the database's base URL:
// "<id1 & 0xF>/<(id1>>4) & 0xF>/<(id1>>8) & 0xF>/dBAR-<nnn>-<id1>-<id2>-<cddb>.bin".
std::string DbarPath(const AccurateRipDiscId& disc, int audioTracks);

}  // namespace korvalin
