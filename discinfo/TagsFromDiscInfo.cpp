#include "discinfo/TagsFromDiscInfo.h"

#include <algorithm>

namespace korvalin {
namespace {

constexpr int kMostTracks = 99;  // an audio CD holds at most 99 tracks

std::string Joined(const std::vector<std::string>& ids) {
  std::string joined;
  for (const std::string& id : ids) {
    if (id.empty()) continue;
    joined += joined.empty() ? id : "/" + id;
  }
  return joined;
}

}  // namespace

std::vector<TrackTags> TagsFromDiscInfo(const DiscInfoCandidate& info, int discTrackCount) {
  int count = std::clamp(discTrackCount, 0, kMostTracks);
  if (count == 0) {
    for (const TrackInfo& track : info.tracks) {
      if (track.number >= 1 && track.number <= kMostTracks) count = std::max(count, track.number);
    }
  }
  TrackTags album;
  album.album = info.album;
  album.artist = info.artist;
  album.albumArtist = info.artist;
  album.year = info.year;
  album.genre = info.genre;
  album.trackCount = count;
  album.disc = info.discNumber > 0 ? info.discNumber : 0;
  album.discCount = info.discNumber > 0 && info.discCount > 0 ? info.discCount : 0;
  album.albumId = info.releaseId;
  album.releaseGroupId = info.releaseGroupId;
  album.artistId = Joined(info.artistIds);

  std::vector<TrackTags> tags(static_cast<size_t>(count), album);
  for (int n = 1; n <= count; ++n) tags[static_cast<size_t>(n - 1)].track = n;
  for (const TrackInfo& track : info.tracks) {
    if (track.number < 1 || track.number > count) continue;
    TrackTags& t = tags[static_cast<size_t>(track.number - 1)];
    t.title = track.title;
    if (!track.artist.empty()) t.artist = track.artist;
    t.isrc = track.isrc;
    t.recordingId = track.recordingId;
    t.trackId = track.trackId;
  }
  return tags;
}

}  // namespace korvalin
