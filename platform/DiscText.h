#pragma once
// The text a disc carries about itself: the CD-Text of a real disc, or the TITLE, PERFORMER and
// SONGWRITER lines of a disc image's CUE sheet. All of it UTF-8; an empty field is not given.

#include <string>
#include <vector>

namespace korvalin {

struct DiscTextTrack {
  int number = 0;  // the disc's track number
  std::string title;
  std::string performer;
  std::string songwriter;

  bool Empty() const { return title.empty() && performer.empty() && songwriter.empty(); }
};

struct DiscText {
  std::string title;  // the album
  std::string performer;
  std::string songwriter;
  std::string year;  // a disc image's REM DATE; CD-Text has none
  std::vector<DiscTextTrack> tracks;  // only the tracks that have some text, in disc order

  bool Empty() const { return title.empty() && performer.empty() && songwriter.empty() && year.empty() && tracks.empty(); }
};

// `text` as UTF-8: kept when it already is valid UTF-8, else read as ISO-8859-1 (a sheet written
// by an older program), so that no byte turns into broken text. Control characters become blanks
// and blanks at either end are dropped.
std::string DiscTextField(const std::string& text);

}  // namespace korvalin
