#pragma once
// What the online sources share: where the server is, how long to wait for it, how much of an
// answer to take, and the gate that spaces requests to one host.

#include <cstddef>
#include <memory>
#include <string>

#include "discinfo/PoliteHttp.h"

namespace korvalin {

struct OnlineSourceOptions {
  std::string baseUrl;  // "https://musicbrainz.org", a mirror, or a test's loopback server
  double timeoutSeconds = 15;
  std::size_t maxBodyBytes = std::size_t{8} << 20;
  // Shared with the other sources of one look-up; each source makes its own when none is given.
  std::shared_ptr<HostGate> gate;
};

// The base address without the slashes it may end in.
std::string WithoutTrailingSlash(std::string url);

}  // namespace korvalin
