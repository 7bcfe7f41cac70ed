#pragma once
// The disc id of the online music database, computed from a disc's table of contents by the
// database's own library (platform/linux/LibDiscId); tests use the same adapter.

#include <cstdint>
#include <string>
#include <vector>

namespace korvalin {

class DiscIdLibrary {
 public:
  virtual ~DiscIdLibrary() = default;
  // The id for tracks firstTrack..lastTrack whose starts are `starts` (addresses counting the
  // 150-frame lead-in, one per track) and whose lead-out is `leadOut`; "" when the table is
  // refused.
  virtual std::string MusicDatabaseId(int firstTrack, int lastTrack, const std::vector<int32_t>& starts,
                                      int32_t leadOut) = 0;
};

// The stand-in where no library is wired: it knows no id.
class NoDiscIdLibrary : public DiscIdLibrary {
 public:
  static NoDiscIdLibrary& Instance() {
    static NoDiscIdLibrary none;
    return none;
  }
  std::string MusicDatabaseId(int, int, const std::vector<int32_t>&, int32_t) override { return {}; }
};

}  // namespace korvalin
