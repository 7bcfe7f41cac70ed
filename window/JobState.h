#pragma once
// What a running job shares with the window's own commands (stop, cancel, play): the track in
// hand, the file being written, where a capture through the sound card lies on the disc, the
// track lengths of the last CD information refresh, and the mark a stop leaves for a capture.
// The job runner holds one for the whole program.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin {

struct JobState {
  int32_t CurrentTrack = 0;
  std::string CurrentOutputPath;
  // Where a capture through the sound card starts and ends on the disc (milliseconds).
  int32_t CaptureStart = 0;
  int32_t CaptureEnd = 0;
  // Track lengths in milliseconds; index 0 unused.
  std::vector<int32_t> TrackLengths;
  // Set by "Stop Everything": the capture's next tick saves what was recorded and ends.
  bool StopMarked = false;
};

}  // namespace korvalin
