#include "rip/AccurateRipDatabase.h"

#include <cstdio>

namespace korvalin {
namespace {

constexpr std::size_t kHeaderBytes = 13;
constexpr std::size_t kTrackBytes = 9;

uint32_t Le32(const std::string& s, std::size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

DbarFile Refused(std::string problem) {
  DbarFile file;
  file.problem = std::move(problem);
  return file;
}

}  // namespace

DbarFile ParseDbar(const std::string& body, const AccurateRipDiscId& disc, int audioTracks) {
  if (audioTracks < 1 || audioTracks > 99) return Refused("the disc has no audio tracks the database could list");
  if (body.empty()) return Refused("the AccurateRip database's answer is empty");
  const std::size_t responseBytes = kHeaderBytes + kTrackBytes * static_cast<std::size_t>(audioTracks);
  DbarFile file;
  std::size_t at = 0;
  while (at < body.size()) {
    if (body.size() - at < kHeaderBytes) break;
    DbarResponse response;
    response.trackCount = static_cast<uint8_t>(body[at]);
    response.id1 = Le32(body, at + 1);
    response.id2 = Le32(body, at + 5);
    response.cddb = Le32(body, at + 9);
    if (response.id1 != disc.id1 || response.id2 != disc.id2 || response.cddb != disc.cddb) {
      return Refused("the AccurateRip database answered for another disc (" + Hex8(response.id1) + "-" +
                     Hex8(response.id2) + "-" + Hex8(response.cddb) + ")");
    }
    if (response.trackCount != audioTracks) {
      return Refused("the AccurateRip database's answer lists " + std::to_string(response.trackCount) +
                     " tracks, the disc has " + std::to_string(audioTracks));
    }
    if (body.size() - at < responseBytes) break;
    response.tracks.resize(static_cast<std::size_t>(audioTracks));
    std::size_t p = at + kHeaderBytes;
    for (DbarTrack& track : response.tracks) {
      track.confidence = static_cast<uint8_t>(body[p]);
      track.crc = Le32(body, p + 1);
      track.frame450Crc = Le32(body, p + 5);
      p += kTrackBytes;
    }
    file.responses.push_back(std::move(response));
    at += responseBytes;
  }
  if (at != body.size()) {
    return Refused("the AccurateRip database's answer is cut short (" + std::to_string(body.size()) +
                   " bytes, not whole responses)");
  }
  return file;
}

std::string DbarPath(const AccurateRipDiscId& disc, int audioTracks) {
  char text[96];
  std::snprintf(text, sizeof text, "%x/%x/%x/dBAR-%03d-%08x-%08x-%08x.bin", disc.id1 & 0xFu, (disc.id1 >> 4) & 0xFu,
                (disc.id1 >> 8) & 0xFu, audioTracks, disc.id1, disc.id2, disc.cddb);
  return text;
}

}  // namespace korvalin
