#pragma once
// A second ID3 reader beside the program's own: Debian's mutagen, run by a small script on a file.
// Tests compare what it finds with what they wrote, so a tag only TagLib could read fails them.

#include <string>
#include <vector>

namespace korvalin::test {

struct SecondReading {
  bool ran = false;             // the reader started and finished
  std::string v2;               // "3", "4", or "none"
  std::vector<std::string> frames;  // "<id>[:<desc>]\t<encoding>\t<text>" each
  std::string v1;               // "title|artist|album|year|comment|track|genre"; "" without one
  std::string output;           // everything it printed, for a failure's message
};

SecondReading ReadWithMutagen(const std::string& path);

// The frame line whose id is `id` ("TIT2", "TXXX:MusicBrainz Album Id"), or "" when none.
std::string FrameLine(const SecondReading& reading, const std::string& id);
// Only that frame's text.
std::string FrameText(const SecondReading& reading, const std::string& id);

}  // namespace korvalin::test
