#include "tests/support/VectorDisc.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin::test {
namespace {

constexpr int32_t kLbas[] = {150, 22767, 41887, 58317, 72102, 91375, 104652, 115380, 132165, 143932, 159870, 174597};
constexpr int32_t kLeadOutLba = 267257;

}  // namespace

DiscToc VectorToc() {
  DiscToc toc;
  int number = 1;
  for (const int32_t lba : kLbas) toc.tracks.push_back({number++, lba - 150, false});
  toc.leadOut = kLeadOutLba - 150;
  return toc;
}

DiscQuery VectorDisc() { return {VectorToc(), kVectorMusicBrainzId, kVectorCddbId}; }

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
