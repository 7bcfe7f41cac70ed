#pragma once
// The two job flags that stop running jobs: 0 = run, -1 = stop. The main window owns them and
// hands them to each job; the stop and cancel commands set them while the job yields.

#include <cstdint>
#include <string>

namespace korvalin {

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

struct JobFlags {
  int16_t CancelRequested = kFalse;       // stops the block loops of extraction and encoding
  int16_t CaptureStopRequested = kFalse;  // stops capture and the batches between files
  // Why the program itself stopped the job (a full disk, say); empty for the user's stop.
  std::string StopReason;
};

}  // namespace korvalin
