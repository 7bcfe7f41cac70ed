#pragma once
// What the File Finder's result-list commands need of the collection: taking a found file for
// conversion. The collection implements it; the finder holds no more of it than this.

#include <string>

namespace korvalin {

class FinderCollection {
 public:
  virtual ~FinderCollection() = default;
  // Adds a WAV or MP3 file to the collection tree (a file the collection turns away is not added).
  virtual void Cmaddfile2(const std::string& path) = 0;
  // Puts the file into the backing list of its kind when Cmaddfile2 turned it away, so that it
  // can still be converted.
  virtual void showfiles3(const std::string& path) = 0;
};

// Whether a right press on the result list opens its pop-up menu for this selected entry: only
// a WAV or MP3 file (letter case aside) can be converted or deleted from there.
bool OpensResultMenu(const std::string& selectedEntry);

}  // namespace korvalin
