#pragma once
// The published disc-id example disc (twelve tracks) and answers written for it in the formats
// of the online disc databases, for tests of the sources and of the look-up that combines them.

#include <string>

#include "discinfo/DiscInfo.h"

namespace korvalin::test {

inline constexpr const char* kVectorMusicBrainzId = "I5l9cCSFccLKFEKS.7wqSZAorPU-";
inline constexpr uint32_t kVectorCddbId = 0xa70de90c;

// Tracks 1-12 starting at LBA 150 22767 41887 58317 72102 91375 104652 115380 132165 143932
// 159870 174597, lead-out at 267257, with both ids.
DiscQuery VectorDisc();

// The disc id look-up's answer: "Vector Album" (one disc, credited "Anna Vector & The Offsets",
// track 3 by "Guest Singer" on the track and someone else on the recording) and "Vector Anthology"
// (two discs; this disc is the second, whose titles read "Anthology 2-<n>").
std::string MusicBrainzTwoReleases();
// The same releases found by table of contents: no medium carries the disc id.
std::string MusicBrainzTocAnswer();

// gnudb: a 211 list of two entries ("rock", then "misc" with 13 tracks), and the entries.
std::string GnudbQueryTwoMatches();
std::string GnudbRockEntry();       // "Anna Vector / Vector Album", 1994, track 4's title split over two lines
std::string GnudbThirteenTracks();  // more tracks than the disc has

}  // namespace korvalin::test
