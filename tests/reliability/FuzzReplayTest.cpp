// Every fuzz target over its seeds and over the inputs that once broke it (fuzz/regressions/
// <target>/): each must run to its end with its properties holding.

#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "fuzz/Seeds.h"

namespace korvalin::fuzz {
namespace {

void Feed(const Target& target, const std::string& input) {
  target.run(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

TEST(FuzzReplay, EveryTargetHasSeedsAndRunsThemAndItsRegressions) {
  namespace fs = std::filesystem;
  for (const Target& target : AllTargets()) {
    SCOPED_TRACE(target.name);
    const auto seeds = SeedsOf(target.name);
    EXPECT_GE(seeds.size(), 3u);
    for (const auto& [name, bytes] : seeds) {
      SCOPED_TRACE(name);
      Feed(target, bytes);
    }
    const fs::path regressions = fs::path(KORVALIN_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
    if (!fs::is_directory(regressions)) continue;
    for (const auto& entry : fs::directory_iterator(regressions)) {
      SCOPED_TRACE(entry.path().filename().string());
      Feed(target, ReadWholeFile(entry.path()));
    }
  }
}

TEST(FuzzReplay, EmptyAndTinyInputs) {
  for (const Target& target : AllTargets()) {
    SCOPED_TRACE(target.name);
    for (const std::string& input : {std::string(), std::string("\n"), std::string(1, '\0'), std::string(200, '\xff')}) {
      Feed(target, input);
    }
  }
}

}  // namespace
}  // namespace korvalin::fuzz
