#pragma once
// The folders whose CUE sheets are listed as drives after the real CD drives, in order. Every
// place that looks for disc images asks here.

#include <string>
#include <vector>

namespace korvalin {

// The disc image folders of a program that runs from `programFolder`.
std::vector<std::string> DiscImageFolders(const std::string& programFolder);
// The same for the running program.
std::vector<std::string> DiscImageFolders();

}  // namespace korvalin
