#include "tests/support/VectorDisc.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin::test {
DiscToc VectorToc() { return VectorDisc().toc; }

std::string WriteVectorImage(const std::string& folder, const std::string& discLines,
                             const std::vector<std::string>& trackLines) {
  const DiscToc toc = VectorToc();
  std::string sheet = discLines + "FILE \"vector.bin\" BINARY\n";
  for (std::size_t k = 0; k < toc.tracks.size(); ++k) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", toc.tracks[k].number);
    sheet += std::string("  TRACK ") + number + " AUDIO\n";
    if (k < trackLines.size()) sheet += trackLines[k];
    sheet += "    INDEX 01 " + discgen::CueTime(toc.tracks[k].start) + "\n";
  }
  WriteFile(folder + "/vector.cue", sheet);
  WriteFile(folder + "/vector.bin", "");
  if (::truncate((folder + "/vector.bin").c_str(), static_cast<off_t>(toc.leadOut) * 2352) != 0) {
    throw std::runtime_error("cannot size the vector disc image");
  }
  return folder + "/vector.cue";
}

}  // namespace korvalin::test
