#pragma once
// The ID3v2 tag library over TagLib: renders a track's tags as one ID3v2.3 or ID3v2.4 tag and reads
// a tag back, frame by frame, from a block of bytes or from the start of a file.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/TagLibrary.h"

namespace korvalin {

// The owner and descriptions under which library managers look for the online music database's ids.
inline constexpr const char* kMusicDatabaseUfidOwner = "http://musicbrainz.org";
inline constexpr const char* kAlbumIdDescription = "MusicBrainz Album Id";
inline constexpr const char* kArtistIdDescription = "MusicBrainz Artist Id";
inline constexpr const char* kReleaseGroupIdDescription = "MusicBrainz Release Group Id";
inline constexpr const char* kTrackIdDescription = "MusicBrainz Release Track Id";

class TagLibTags : public TagLibrary {
 public:
  // v2.3 writes ISO-8859-1 where a text allows it and UTF-16 where it does not; v2.4 writes UTF-8.
  std::vector<uint8_t> RenderId3v2(const TrackTags& tags, Id3v2Version version) override;
  Id3v2Reading ReadId3v2(const std::vector<uint8_t>& bytes) override;
  Id3v2Reading ReadId3v2File(const std::string& path) override;

  // "TagLib 1.13.0", for the About box's list.
  static std::string VersionText();
};

}  // namespace korvalin
