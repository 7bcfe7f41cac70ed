#pragma once
// dBAR files as the AccurateRip database serves them, built from a disc's ids and the checksums
// a test wants each response to hold.

#include <cstdint>
#include <string>
#include <vector>

#include "rip/AccurateRipDatabase.h"

namespace korvalin::test {

// One response: its header for `disc` and one 9-byte entry per track, in order.
std::string DbarResponseBytes(const AccurateRipDiscId& disc, const std::vector<DbarTrack>& tracks);

// Several responses one after the other, as one file.
std::string DbarFileBytes(const AccurateRipDiscId& disc, const std::vector<std::vector<DbarTrack>>& responses);

}  // namespace korvalin::test
