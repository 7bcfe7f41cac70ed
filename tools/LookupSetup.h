#pragma once
// What korvalin-cli needs to look a disc up: the options as the user's settings give them, and
// the online sources made from them.

#include <memory>
#include <vector>

#include "discinfo/DiscInfo.h"
#include "platform/EventLoop.h"

namespace korvalin::cli {

// The look-up settings of the user's settings file; LookupOptions' defaults for what is not set.
LookupOptions StoredLookupOptions();

struct OnlineSources {
  std::vector<std::unique_ptr<DiscInfoSource>> sources;
};
// The online databases at the options' base URLs, asking through the program's HTTP client.
OnlineSources MakeOnlineSources(EventLoop& loop, const LookupOptions& options);

}  // namespace korvalin::cli
