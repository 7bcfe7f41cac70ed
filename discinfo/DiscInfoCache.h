#pragma once
// What the user chose or edited for a disc, kept per disc in the user's data folder
// (UserDataFolder()/discinfo/<CDDB id>-<music database id>.json, or <CDDB id>.json without that id), so that the next look-up of
// that disc needs no request and a re-rip works offline. A file is written whole to a temporary
// file and then moved to its name, so a crash leaves the old file or the new one, never half of
// one. A damaged file is passed over with one line saying so.

#include <optional>
#include <string>

#include "discinfo/DiscInfo.h"

namespace korvalin {

inline constexpr const char* kCacheSource = "cache";

struct CachedChoice {
  std::optional<DiscInfoCandidate> candidate;  // source "cache"; none when nothing usable is kept
  std::string problem;                         // a damaged or unreadable file, in one line
};

class DiscInfoCache {
 public:
  // `folder`: where the files lie; DefaultFolder() in the program.
  explicit DiscInfoCache(std::string folder) : folder_(std::move(folder)) {}
  static std::string DefaultFolder();

  // The file that holds the choice for `disc`.
  std::string FileOf(const DiscQuery& disc) const;
  // The choice kept for `disc`, as a candidate whose source is "cache"; its `chosenFrom` reason
  // names the source it first came from.
  CachedChoice Load(const DiscQuery& disc) const;
  // Keeps `chosen` (from any source, edited or not) for `disc`; "" on success, else why not.
  std::string Save(const DiscQuery& disc, const DiscInfoCandidate& chosen) const;

 private:
  std::string folder_;
};

// The cache file's text for a choice, and back. Parse throws std::runtime_error for text that is
// not a choice of this program's kind (or of another disc).
std::string CacheText(const DiscQuery& disc, const DiscInfoCandidate& chosen);
DiscInfoCandidate ParseCacheText(const std::string& text, const DiscQuery& disc);

}  // namespace korvalin
