#pragma once
// What the Disc Information window and its background look-up need of the look-up: the ranked
// candidates for a disc, and a place to keep the user's choice for the next time.

#include <functional>
#include <string>
#include <vector>

#include "discinfo/DiscInfo.h"

namespace korvalin {

struct LookupResult {
  std::vector<DiscInfoCandidate> candidates;  // best first; a choice kept with Remember comes first
  std::vector<std::string> problems;          // one plain line for each source that gave nothing
};

class DiscInfoLookup {
 public:
  virtual ~DiscInfoLookup() = default;
  // `fresh`: ask the sources again even when a choice is kept for the disc. Yields on the
  // program's event loop while it waits; `cancelled` is asked between yields.
  virtual LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                            const std::function<bool()>& cancelled) = 0;
  // Keeps the user's choice (or edit) for this disc, so that it comes first from now on, also
  // after a restart; "" when it was kept, else why not, in plain words.
  virtual std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) = 0;
};

}  // namespace korvalin
