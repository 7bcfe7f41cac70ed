#pragma once
// The look-up the Disc Information window needs, over every source: the disc's own text, the
// choice kept for it, and the online databases through the program's HTTP client.

#include <functional>
#include <string>

#include "discinfo/DiscInfoCache.h"
#include "discinfo/DiscInfoLookup.h"
#include "platform/DiscText.h"
#include "platform/EventLoop.h"
#include "platform/HttpClient.h"

namespace korvalin {

class CombinedDiscLookup : public DiscInfoLookup {
 public:
  // `discText` reads the text of the disc being looked up (CdExtractionLibrary::ReadDiscText of
  // its open handle); kept choices live in `cacheFolder` (DiscInfoCache::DefaultFolder()).
  CombinedDiscLookup(std::function<DiscText()> discText, HttpClient& http, EventLoop& loop, std::string cacheFolder);

  LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                    const std::function<bool()>& cancelled) override;
  std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) override;

 private:
  std::function<DiscText()> discText_;
  HttpClient& http_;
  EventLoop& loop_;
  DiscInfoCache cache_;
};

}  // namespace korvalin
