#pragma once
// The look-up the program runs for the Disc Information window: the disc's own text, the choice
// kept for it and the online databases through the program's HTTP service, ranked by
// LookUpDisc; "Use" keeps the choice in the cache.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "discinfo/DiscInfoLookup.h"
#include "platform/DiscText.h"
#include "platform/EventLoop.h"
#include "platform/HttpClient.h"

namespace korvalin {

class ProgramDiscLookup : public DiscInfoLookup {
 public:
  // `discText` reads the text of the disc being looked up (the open drive's CD-Text or its
  // sheet's); choices are kept in `cacheFolder` (DiscInfoCache::DefaultFolder()).
  ProgramDiscLookup(std::function<DiscText()> discText, HttpClient& http, EventLoop& loop, std::string cacheFolder);

  LookupResult Look(const DiscQuery& disc, const LookupOptions& options, bool fresh,
                    const std::function<bool()>& cancelled) override;
  std::string Remember(const DiscQuery& disc, const DiscInfoCandidate& chosen) override;

 private:
  std::function<DiscText()> discText_;
  HttpClient& http_;
  EventLoop& loop_;
  std::string cacheFolder_;
  // Kept from one look-up to the next, so their one-request-a-second spacing holds across
  // "Look up again"; made again when the addresses change.
  std::vector<std::unique_ptr<DiscInfoSource>> online_;
  std::string onlineFor_;
};

}  // namespace korvalin
