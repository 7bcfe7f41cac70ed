#include "collection/DeleteWavRule.h"

#include <filesystem>

#include "common/Text.h"

namespace korvalin {

bool LiesDirectlyIn(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return false;
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  const bool same = std::filesystem::equivalent(parent.empty() ? "." : parent, folder, ec);
  return !ec && same;
}

bool DeleteWavApplies(const std::string& wav, int16_t deleteWavOption, const std::string& destination, bool encoded) {
  // Compared exactly, not through the file-kind test: the case of the name is the point here.
  return deleteWavOption == 1 && encoded && Right(wav, 4) == ".wav" && LiesDirectlyIn(wav, destination);
}

}  // namespace korvalin
