#include "discinfo/ProgramDiscLookup.h"

#include "discinfo/CdTextSource.h"
#include "discinfo/DiscInfoCache.h"
#include "discinfo/DiscLookup.h"
#include "discinfo/OnlineSources.h"

namespace korvalin {

ProgramDiscLookup::ProgramDiscLookup(std::function<DiscText()> discText, HttpClient& http, EventLoop& loop,
                                     std::string cacheFolder)
    : discText_(std::move(discText)), http_(http), loop_(loop), cacheFolder_(std::move(cacheFolder)) {}

LookupResult ProgramDiscLookup::Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                                     const std::function<bool()>& cancelled) {
  CdTextSource discText(discText_ ? discText_() : DiscText{});
  const DiscInfoCache cache(cacheFolder_);
  const std::string addresses = options.musicBrainzUrl + "\n" + options.gnudbUrl;
  if (online_.empty() || onlineFor_ != addresses) {
    online_ = MakeOnlineSources(http_, loop_, options);
    onlineFor_ = addresses;
  }
  LookupSources sources{&discText, &cache, {}};
  for (const auto& source : online_) sources.online.push_back(source.get());
  LookupRequest request;
  request.disc = disc;
  request.options = options;
  request.again = fresh;
  request.cancelled = cancelled;
  DiscLookupResult found = LookUpDisc(request, sources);
  return {std::move(found.candidates), std::move(found.problems)};
}

std::string ProgramDiscLookup::Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) {
  return DiscInfoCache(cacheFolder_).Save(disc, chosen);
}

}  // namespace korvalin
