#pragma once
// How an opened disc is read by the CD library: with read-ahead unless KORVALIN_READ_AHEAD is
// "0" or "off", and, for a disc image only, through a simulated drive when
// KORVALIN_SIMULATED_DRIVE names a speed ("37x", "8x,seek=100ms"): never by default. Both are
// read when a drive is opened, so a test or a benchmark may change them between two opens.

#include <memory>

#include "platform/linux/DiscReader.h"

namespace korvalin {

inline constexpr const char* kReadAheadVariable = "KORVALIN_READ_AHEAD";
inline constexpr const char* kSimulatedDriveVariable = "KORVALIN_SIMULATED_DRIVE";

bool ReadAheadWanted();

// `disc`, wrapped for reading as the environment asks.
std::unique_ptr<DiscReader> ForReading(std::unique_ptr<DiscReader> disc, bool isImage);

}  // namespace korvalin
