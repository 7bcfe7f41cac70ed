#pragma once
// The figures the CD commands print after a track: frames, read retries, suspicious frames and
// the checksums of the audio read.

#include <cstdint>

#include "rip/TrackChecksums.h"
#include "rip/TrackReadReport.h"
#include "rip/modAKRip32.h"

namespace korvalin::cli {

// Checksums for track `position` (counted from the disc's first track) of the open disc, placed
// as first or last audio track where it is one.
TrackChecksums ChecksumsForTrack(const modAKRip32& cd, int32_t position);

// Prints "Track N: ..." and the figures on standard output.
void PrintTrackFigures(const modAKRip32& cd, int32_t position, int32_t framesCopied, const TrackReadReport& read,
                       const TrackChecksums& sums);

}  // namespace korvalin::cli
