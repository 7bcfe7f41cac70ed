// A kept disc choice read back from its file: any text is either refused with a reason or read
// into a choice that saves and reads again unchanged.

#include <stdexcept>

#include "discinfo/DiscInfoCache.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

namespace korvalin::fuzz {

int FuzzDiscChoice(const uint8_t* data, std::size_t size) {
  DiscQuery disc;
  disc.musicBrainzId = "I5l9cCSFccLKFEKS.7wqSZAorPU-";
  disc.cddbId = 0xa70de90c;
  const std::string text(reinterpret_cast<const char*>(data), size);
  DiscInfoCandidate read;
  try {
    read = ParseCacheText(text, disc);
  } catch (const std::runtime_error&) {
    return 0;
  }
  const std::string saved = CacheText(disc, read);
  const DiscInfoCandidate again = ParseCacheText(saved, disc);
  Check(CacheText(disc, again) == saved, "a kept choice changed when saved and read again");
  return 0;
}

}  // namespace korvalin::fuzz
