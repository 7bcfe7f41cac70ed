#pragma once
// The look-up the program runs for the Disc Information window: the disc's own text, the choice
// kept for it and the online databases through the program's HTTP service, ranked by
// LookUpDisc; "Use" keeps the choice in the cache.

#include <memory>
#include <string>
#include <vector>

#include "discinfo/DiscInfoLookup.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"

namespace korvalin {

class ProgramDiscLookup : public DiscInfoLookup {
 public:
  // The disc's text is read from the drive `cd` has open; choices are kept in `cacheFolder`.
  ProgramDiscLookup(Services& services, modAKRip32& cd, std::string cacheFolder);

  LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                    const std::function<bool()>& cancelled) override;
  std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) override;

 private:
  Services& services_;
  modAKRip32& cd_;
  std::string cacheFolder_;
  // Kept from one look-up to the next, so their one-request-a-second spacing holds across
  // "Look up again"; made again when the addresses change.
  std::vector<std::unique_ptr<DiscInfoSource>> online_;
  std::string onlineFor_;
};

}  // namespace korvalin
