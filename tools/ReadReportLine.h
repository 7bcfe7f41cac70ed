#pragma once
// The lines the rip commands print after a track about how it was read.

#include <cstdint>
#include <string>

#include "rip/TrackReadReport.h"

namespace korvalin::cli {

// "secure reading: 3 re-reads, 2 suspicious frames: 1200, 1201"; "" when the track was read
// plainly.
std::string ReadReportLine(const TrackReadReport& report);
// Prints that line on standard output, if there is one.
void PrintReadReport(const TrackReadReport& report);

// Prints "read offset correction: +6 samples" on standard output when the reads were shifted.
void PrintReadOffset(int32_t samples);

}  // namespace korvalin::cli
