#pragma once
// The published disc-id test vector: twelve tracks at LBAs 150 22767 41887 58317 72102 91375
// 104652 115380 132165 143932 159870 174597, lead-out 267257. Its music database id is
// I5l9cCSFccLKFEKS.7wqSZAorPU- and its CDDB id a70de90c.

#include <string>
#include <vector>

#include "discinfo/DiscInfo.h"

namespace korvalin::test {

inline constexpr const char* kVectorMusicBrainzId = "I5l9cCSFccLKFEKS.7wqSZAorPU-";
inline constexpr uint32_t kVectorCddbId = 0xa70de90c;

DiscToc VectorToc();
DiscQuery VectorDisc();

// Writes <folder>/vector.cue and a sparse vector.bin (silence that takes no disk blocks) of the
// vector's table; `discLines` and `trackLines[k]` (TITLE, PERFORMER ...) go into the sheet at
// disc level and into track k+1. Returns the sheet's path.
std::string WriteVectorImage(const std::string& folder, const std::string& discLines = {},
                             const std::vector<std::string>& trackLines = {});

}  // namespace korvalin::test
