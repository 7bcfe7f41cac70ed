#pragma once
// The tags each track of a disc gets from the disc's information, as the user chose it.

#include <vector>

#include "common/TrackTags.h"
#include "discinfo/DiscInfo.h"

namespace korvalin {

// One TrackTags per track of the disc, by track number - 1: the album's fields for every track,
// each track's own title, artist (the album artist when it names none), ISRC and ids. A track the
// information does not list gets the album's fields only. `discTrackCount` is the disc's track
// count; 0 takes the highest track number the information lists. Track numbers outside 1..99 are
// no track of an audio CD and are left out.
std::vector<TrackTags> TagsFromDiscInfo(const DiscInfoCandidate& info, int discTrackCount);

}  // namespace korvalin
