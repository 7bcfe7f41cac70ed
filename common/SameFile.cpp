#include "common/SameFile.h"

#include <sys/stat.h>

namespace korvalin {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool SameAsAny(const std::string& path, const std::vector<std::string>& sources) {
  struct stat sp {};
  if (::stat(path.c_str(), &sp) != 0) return false;
  for (const auto& source : sources) {
    struct stat ss {};
    if (::stat(source.c_str(), &ss) == 0 && ss.st_dev == sp.st_dev && ss.st_ino == sp.st_ino) return true;
  }
  return false;
}

}  // namespace korvalin
