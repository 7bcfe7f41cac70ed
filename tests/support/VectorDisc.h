#pragma once
// The published disc-id example disc (tests/support/DiscInfoAnswers: VectorDisc and its ids) as
// a table of contents and as a disc image.

#include <string>
#include <vector>

#include "discinfo/DiscInfo.h"
#include "tests/support/DiscInfoAnswers.h"

namespace korvalin::test {

DiscToc VectorToc();

// Writes <folder>/vector.cue and a sparse vector.bin (silence that takes no disk blocks) of the
// vector's table; `discLines` and `trackLines[k]` (TITLE, PERFORMER ...) go into the sheet at
// disc level and into track k+1. Returns the sheet's path.
std::string WriteVectorImage(const std::string& folder, const std::string& discLines = {},
                             const std::vector<std::string>& trackLines = {});

}  // namespace korvalin::test
