#include "discinfo/CdTextSource.h"

namespace korvalin {

std::vector<DiscInfoCandidate> CandidatesFromDiscText(const DiscText& text) {
  if (text.Empty()) return {};
  DiscInfoCandidate c;
  c.source = kCdTextSource;
  c.album = text.title;
  c.artist = text.performer;
  c.songwriter = text.songwriter;
  c.year = text.year;
  for (const DiscTextTrack& t : text.tracks) {
    TrackInfo track;
    track.number = t.number;
    track.title = t.title;
    track.artist = t.performer == text.performer ? std::string() : t.performer;
    track.songwriter = t.songwriter;
    c.tracks.push_back(std::move(track));
  }
  return {std::move(c)};
}

}  // namespace korvalin
