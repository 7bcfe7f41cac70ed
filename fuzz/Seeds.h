#pragma once
// The seed inputs of every fuzz target: small real files and command texts made here, never
// downloaded. The seed writer lays them out as corpora; the replay test runs them.

#include <string>
#include <utility>
#include <vector>

namespace korvalin::fuzz {

// (file name, bytes) of each seed of the target named `target`; none for an unknown name.
std::vector<std::pair<std::string, std::string>> SeedsOf(const std::string& target);

}  // namespace korvalin::fuzz
