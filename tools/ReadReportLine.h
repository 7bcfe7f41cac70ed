#pragma once
// The line the rip commands print after a track read with secure reading.

#include <string>

#include "rip/TrackReadReport.h"

namespace korvalin::cli {

// "secure reading: 3 re-reads, 2 suspicious frames: 1200, 1201"; "" when the track was read
// plainly.
std::string ReadReportLine(const TrackReadReport& report);
// Prints that line on standard output, if there is one.
void PrintReadReport(const TrackReadReport& report);

}  // namespace korvalin::cli
