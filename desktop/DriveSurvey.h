#pragma once
// One look at the drives: a line of free space for each fixed drive, and the free space of the
// drive that holds the destination folder. A figure belongs to the mount it was measured on: it
// is kept from one survey to the next while the destination stays on that mount (which may fail
// to answer once), and dropped as soon as the destination lies on another one.

#include <cstdint>
#include <optional>
#include <string>

#include "desktop/DriveSource.h"

namespace korvalin {

// Decimal megabytes of a byte count: bytes / 1,000,000, a half rounded to the even neighbour.
int64_t FreeMegabytes(int64_t bytes);

class DriveSurvey {
 public:
  // The listing shows no more roots than this.
  static constexpr std::size_t kMaxRoots = 100;

  // Measures the first kMaxRoots drive roots in order. A root that cannot be measured (total 0)
  // or is no fixed drive is left out; each fixed drive adds "<root> - <MB> MB available" and CR LF
  // to the listing. The mount that holds `destination` is its root, wherever it stands in the
  // list; when it is a fixed drive that can be measured, its free megabytes become the
  // destination's.
  void Run(DriveSource& drives, const std::string& destination);

  const std::string& Listing() const { return listing_; }
  // The mount that holds the destination ("" when none does).
  const std::string& DestinationRoot() const { return destinationRoot_; }
  // The destination's free megabytes, measured on the mount that holds it now at the last survey
  // that could; none before.
  std::optional<int64_t> DestinationMegabytes() const { return destinationMb_; }
  // The destination figure as shown: its free megabytes, "0" while there is none.
  std::string DestinationFigure() const { return std::to_string(destinationMb_.value_or(0)); }

 private:
  std::string listing_;
  std::string destinationRoot_;
  std::optional<int64_t> destinationMb_;
};

}  // namespace korvalin
