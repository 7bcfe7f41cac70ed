#include "discinfo/CombinedDiscLookup.h"

#include "discinfo/CdTextSource.h"
#include "discinfo/DiscLookup.h"
#include "discinfo/OnlineSources.h"

namespace korvalin {

CombinedDiscLookup::CombinedDiscLookup(std::function<DiscText()> discText, HttpClient& http, EventLoop& loop,
                                       std::string cacheFolder)
    : discText_(std::move(discText)), http_(http), loop_(loop), cache_(std::move(cacheFolder)) {}

LookupResult CombinedDiscLookup::Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                                      const std::function<bool()>& cancelled) {
  CdTextSource text(discText_ ? discText_() : DiscText{});
  const auto online = MakeOnlineSources(http_, loop_, options);
  LookupSources sources{&text, &cache_, {}};
  for (const auto& source : online) sources.online.push_back(source.get());
  DiscLookupResult found = LookUpDisc({disc, options, fresh, cancelled}, sources);
  return {std::move(found.candidates), std::move(found.problems)};
}

std::string CombinedDiscLookup::Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) {
  return cache_.Save(disc, chosen);
}

}  // namespace korvalin
