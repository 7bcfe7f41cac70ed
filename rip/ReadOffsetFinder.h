#pragma once
// Finds a drive's read offset correction from the AccurateRip database: reads the few frames
// around frame 450 of one audio track exactly as the drive gives them (no correction), and slides
// the frame-450 checksum over them (rip/Frame450Window). Reading 9 frames instead of ripping the
// track again and again makes it take a fraction of a second.

#include <optional>
#include <string>
#include <vector>

#include "rip/AccurateRipDatabase.h"
#include "rip/DiscIds.h"
#include "rip/Frame450Window.h"
#include "rip/modAKRip32.h"

namespace korvalin {

struct OffsetFinding {
  int track = 0;                     // the track compared (its number on the disc); 0 when none
  std::vector<OffsetMatch> matches;  // the most rips first; empty when nothing agrees
  std::string problem;               // why no track could be compared; empty when one was
};

// Compares track `track` (a number on the disc), or without one the first audio track long
// enough, known to `db` at frame 450 and not silent there, of the disc open in `cd` (whose table
// is `toc`). Reads with `cd`'s read offset set to 0 and puts it back afterwards.
OffsetFinding FindReadOffset(modAKRip32& cd, const DiscToc& toc, const DbarFile& db, std::optional<int> track = {},
                             int32_t radius = kMaxReadOffset);

}  // namespace korvalin
