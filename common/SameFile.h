#pragma once
// Whether two paths name one file on disk: the same device and inode, links followed. Every
// writer asks this before it opens its output, so that no output can replace its own source.

#include <string>
#include <vector>

namespace korvalin {

// True when both paths exist and reach the same file (a hard link, a symbolic link or another
// spelling of the same path included). A path that does not exist is no file's twin.
bool SameFile(const std::string& a, const std::string& b);

// True when `path` is the same file as one of `sources`.
bool SameAsAny(const std::string& path, const std::vector<std::string>& sources);

}  // namespace korvalin
