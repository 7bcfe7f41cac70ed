#include "tests/support/OpenFiles.h"

#include <filesystem>

namespace korvalin::test {

bool HoldsFileUnder(const std::string& folder) {
  namespace fs = std::filesystem;
  const std::string prefix = folder + "/";
  std::error_code ec;
  for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
    const std::string target = fs::read_symlink(fd.path(), ec).string();
    if (!ec && target.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

}  // namespace korvalin::test
