#pragma once
// The look-up as far as it goes without the online sources: the choice the user kept for a disc
// with "Use", one small JSON file per disc in a folder of the user's data. It never sends
// anything anywhere, whatever the options say.

#include <optional>
#include <string>

#include "discinfo/DiscInfoLookup.h"

namespace korvalin {

class RememberedDiscInfo : public DiscInfoLookup {
 public:
  explicit RememberedDiscInfo(std::string folder) : folder_(std::move(folder)) {}

  LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                    const std::function<bool()>& cancelled) override;
  std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) override;

  // The kept choice, as source "cache"; none when nothing (readable) is kept.
  std::optional<DiscInfoCandidate> Kept(const DiscQuery& disc) const;
  // The file of a disc: named after its CDDB id and its music-database id.
  std::string FileOf(const DiscQuery& disc) const;

 private:
  std::string folder_;
};

// The reason a kept choice gives for ranking first.
inline constexpr const char* kKeptChoiceReason = "your choice for this disc, saved with \"Use\"";

}  // namespace korvalin
