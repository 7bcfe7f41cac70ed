#include "platform/linux/LibDiscId.h"

#include <discid/discid.h>

namespace korvalin {

std::string LibDiscId::MusicDatabaseId(int firstTrack, int lastTrack, const std::vector<int32_t>& starts,
                                       int32_t leadOut) {
  if (firstTrack < 1 || lastTrack < firstTrack || lastTrack > 99 ||
      starts.size() != static_cast<std::size_t>(lastTrack - firstTrack + 1)) {
    return {};
  }
  // libdiscid reads a table of 100 entries: the lead-out, then each track at its own number.
  std::vector<int> offsets(100, 0);
  offsets[0] = leadOut;
  for (std::size_t i = 0; i < starts.size(); ++i) offsets[static_cast<std::size_t>(firstTrack) + i] = starts[i];
  DiscId* id = discid_new();
  if (id == nullptr) return {};
  std::string text;
  if (discid_put(id, firstTrack, lastTrack, offsets.data())) text = discid_get_id(id);
  discid_free(id);
  return text;
}

}  // namespace korvalin
