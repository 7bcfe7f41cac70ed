#pragma once
// The online music database's disc id through libdiscid.

#include "platform/DiscIdLibrary.h"

namespace korvalin {

class LibDiscId : public DiscIdLibrary {
 public:
  std::string MusicDatabaseId(int firstTrack, int lastTrack, const std::vector<int32_t>& starts,
                              int32_t leadOut) override;
};

}  // namespace korvalin
