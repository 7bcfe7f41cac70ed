#pragma once
// The online music database's answer to a disc id look-up (its JSON web service): the releases
// that hold the disc, each becoming a candidate with the tracks of the medium that is this disc.

#include <string>
#include <string_view>

#include "discinfo/DiscInfo.h"

namespace korvalin {

struct MusicBrainzDisc {
  std::string discId;  // the medium whose disc id this is gives the tracks; "" for a TOC look-up
  int trackCount = 0;  // the disc's audio tracks; a medium of this many tracks serves otherwise
  int firstTrack = 1;  // the disc's number of its first audio track
};

// Takes the answer's body: one release, or an object with a "releases" list. Never throws: an
// answer that is not such JSON (a web page, broken or mistyped JSON) gives a problem line
// instead of candidates, and so does a list of no usable release.
SourceAnswer ParseMusicBrainzDiscAnswer(std::string_view body, const MusicBrainzDisc& disc);

}  // namespace korvalin
