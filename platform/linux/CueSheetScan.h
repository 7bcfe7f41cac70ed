#pragma once
// What a CUE sheet says that the CUE parser library does not hand back: the number each TRACK
// line gives, the type of the FILE each track belongs to, and whether every time on the sheet
// is a CD time (seconds under 60, frames under 75) and every index number lies in 0..99. Read line by line from the sheet's text.

#include <string>
#include <vector>

namespace korvalin {

struct ScannedTrack {
  int number = 0;        // the TRACK line's number; 0 when it is not a number
  int fileOrdinal = -1;  // which FILE line (0, 1, ...) the track follows; -1 before any
  std::string fileType;  // that FILE line's type, upper-cased: BINARY, MOTOROLA, WAVE, ...
};

struct CueSheetScan {
  std::vector<ScannedTrack> tracks;
  std::string fault;  // the first time or index number that no CD has, as a sentence; "" when all are good
};

CueSheetScan ScanCueSheet(const std::string& text);

}  // namespace korvalin
