#pragma once
// One look at the drives: a line of free space for each fixed drive, and the free space of the
// drive that holds the destination folder. The destination figure is kept from one survey to the
// next, so a destination that cannot be measured this time keeps its last figure.

#include <cstdint>
#include <optional>
#include <string>

#include "desktop/DriveSource.h"

namespace korvalin {

// Decimal megabytes of a byte count: bytes / 1,000,000, a half rounded to the even neighbour.
int64_t FreeMegabytes(int64_t bytes);

class DriveSurvey {
 public:
  // The survey looks at no more roots than this.
  static constexpr std::size_t kMaxRoots = 100;

  // Measures the drive roots in order. A root that cannot be measured (total 0) or is no fixed
  // drive is left out; each fixed drive adds "<root> - <MB> MB available" and CR LF to the
  // listing. When the mount that holds `destination` (the longest root above it) is among the
  // measured ones, its root and free megabytes become the destination's.
  void Run(DriveSource& drives, const std::string& destination);

  const std::string& Listing() const { return listing_; }
  const std::string& DestinationRoot() const { return destinationRoot_; }
  // The destination's free megabytes at the last survey that measured it; none before.
  std::optional<int64_t> DestinationMegabytes() const { return destinationMb_; }
  // The destination figure as shown: its free megabytes, "0" before any survey measured it.
  std::string DestinationFigure() const { return std::to_string(destinationMb_.value_or(0)); }

 private:
  std::string listing_;
  std::string destinationRoot_;
  std::optional<int64_t> destinationMb_;
};

}  // namespace korvalin
