#pragma once
// What a file's tags say of one track: the same fields for an MP3's ID3 tags, a WAV's LIST/INFO
// and id3 chunks, and the names built from a template. Plain UTF-8 text; an empty text or a zero
// number is a field the disc information did not give, and is left out of every tag.

#include <string>

namespace korvalin {

struct TrackTags {
  std::string title;
  std::string artist;       // the track's artist (the album artist when the track gives none)
  std::string album;
  std::string albumArtist;
  std::string year;         // as the source gives it: "1994" or "1994-05-02"
  std::string genre;
  int track = 0;            // track n of N
  int trackCount = 0;
  int disc = 0;             // disc n of N
  int discCount = 0;
  std::string isrc;
  std::string comment;      // the disc's comment
  // The online music database's ids, as library managers read them.
  std::string albumId;        // the release
  std::string trackId;        // the release track
  std::string recordingId;
  std::string artistId;
  std::string releaseGroupId;

  // No field given: nothing to write, and every file behaves as an untagged one.
  bool Empty() const {
    return title.empty() && artist.empty() && album.empty() && albumArtist.empty() && year.empty() &&
           genre.empty() && track == 0 && trackCount == 0 && disc == 0 && discCount == 0 && isrc.empty() &&
           comment.empty() && albumId.empty() && trackId.empty() && recordingId.empty() && artistId.empty() &&
           releaseGroupId.empty();
  }
  bool operator==(const TrackTags&) const = default;
};

}  // namespace korvalin
