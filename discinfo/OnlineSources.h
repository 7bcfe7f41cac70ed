#pragma once
// The online disc databases a look-up may ask, made from the options' base URLs; they ask
// through `http` and wait on `loop`, sharing one gate that spaces requests to each host.

#include <memory>
#include <vector>

#include "discinfo/DiscInfo.h"
#include "platform/EventLoop.h"
#include "platform/HttpClient.h"

namespace korvalin {

std::vector<std::unique_ptr<DiscInfoSource>> MakeOnlineSources(HttpClient& http, EventLoop& loop,
                                                               const LookupOptions& options);

}  // namespace korvalin
