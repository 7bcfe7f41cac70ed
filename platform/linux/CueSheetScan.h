#pragma once
// What a CUE sheet says that the CUE parser library does not hand back: the FILE lines in order,
// the number each TRACK line gives, which FILE line each track's INDEX 00 and INDEX 01 follow (a
// track may begin in one file and go on in the next, and a pregap may close the file before), and
// whether every time on the sheet is a CD time (seconds under 60, frames under 75) and every
// index number lies in 0..99. Read line by line from the sheet's text.

#include <string>
#include <vector>

namespace korvalin {

struct ScannedFile {
  std::string name;  // as written, quotes removed
  std::string type;  // upper-cased: BINARY, MOTOROLA, WAVE, ...; "" when the line gives none
};

struct ScannedTrack {
  int number = 0;        // the TRACK line's number; 0 when it is not a number
  int fileOrdinal = -1;  // which FILE line (0, 1, ...) the track follows; -1 before any
  std::string fileType;  // that FILE line's type, upper-cased: BINARY, MOTOROLA, WAVE, ...
  int index0File = -1;   // the FILE line the track's INDEX 00 follows; -1 without one
  int index1File = -1;   // the FILE line the track's INDEX 01 follows; -1 without one
};

struct CueSheetScan {
  std::vector<ScannedFile> files;
  std::vector<ScannedTrack> tracks;
  std::string fault;  // the first time or index number that no CD has, as a sentence; "" when all are good
};

CueSheetScan ScanCueSheet(const std::string& text);

// The words of one line of a sheet as the parser library reads them: a quoted word keeps its
// blanks, and its quotes are removed.
std::vector<std::string> SheetLineWords(const std::string& line);

}  // namespace korvalin
