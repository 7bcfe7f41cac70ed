#pragma once
// The outside libraries the program runs on, "name version" each, as the running libraries
// report them (libmpg123 reports none at run time: the version it was built against).

#include <string>
#include <vector>

namespace korvalin {

// `toolkit` (the display toolkit's line, which only the program knows) comes first when given.
std::vector<std::string> LibraryVersions(const std::string& toolkit = {});

}  // namespace korvalin
