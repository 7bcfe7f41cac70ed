#pragma once
// Looks a disc up in every source and ranks what they say. The disc's own text is always read
// first (free, offline); a choice kept for the disc is used without asking anyone, unless the
// user asks again; the online sources are asked only when looking up online is on, in the order
// the options give, and one that fails leaves the others counting. Single-threaded: a source
// yields on the program's event loop while it waits.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "discinfo/DiscInfo.h"
#include "discinfo/DiscInfoCache.h"

namespace korvalin {

struct DiscLookupResult {
  std::vector<DiscInfoCandidate> candidates;  // best first, the best completed from agreeing ones
  std::vector<std::string> problems;          // one plain line per source that failed
  bool fromCache = false;                     // a kept choice was used; no online source was asked
  std::vector<std::string> asked;             // the online sources asked, in order
};

struct LookupSources {
  DiscInfoSource* discText = nullptr;  // the disc's CD-Text or sheet text
  const DiscInfoCache* cache = nullptr;
  std::vector<DiscInfoSource*> online;  // asked by name, in the order of LookupOptions::order
};

struct LookupRequest {
  DiscQuery disc;
  LookupOptions options;
  bool again = false;  // "Look up again": pass over the kept choice and ask the sources
  std::function<bool()> cancelled;
};

DiscLookupResult LookUpDisc(const LookupRequest& request, const LookupSources& sources);

}  // namespace korvalin
