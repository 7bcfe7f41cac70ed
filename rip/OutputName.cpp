#include "rip/OutputName.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace korvalin {
namespace {

// Draws before falling back to the lowest free prefix. A folder where this many random names
// are all taken holds nearly every name the identity allows.
constexpr int kMaxDraws = 16;

// Identities are disc ids of at most ten digits; anything larger (or infinite) is clamped so
// that the prefix always fits a 64-bit integer.
constexpr double kLargestIdentity = 1e15;

std::string NameWith(const std::string& folder, int64_t prefix, int32_t track, const std::string& extension) {
  return folder + "/" + std::to_string(prefix) + "-" + std::to_string(track) + extension;
}

}  // namespace

uint64_t PrefixRandom::ClockSeed() {
  return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

PrefixRandom::PrefixRandom(SeedSource seed) : seed_(std::move(seed)) { Reseed(); }

void PrefixRandom::Reseed() { engine_.seed(seed_()); }

double PrefixRandom::Next() {
  // 53 random bits scaled to [0, 1): never reaches 1, unlike some library distributions.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

int64_t RandomPrefix(double identity, double u) {
  if (!(identity >= 1)) return 1;  // also NaN
  if (identity > kLargestIdentity) identity = kLargestIdentity;
  // identity × u + 1 can round up to identity + 1 for u just below 1: keep r within range.
  return static_cast<int64_t>(std::min(std::floor(identity * u + 1), std::ceil(identity)));
}

bool PathTaken(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string FreeOutputName(const std::string& folder, int32_t track, const std::string& extension, double identity,
                           PrefixRandom& random) {
  random.Reseed();
  // Up to an identity of 1 every draw gives 1: one draw says whether 1 is free.
  const int draws = identity > 1 ? kMaxDraws : 1;
  for (int i = 0; i < draws; ++i) {
    const std::string name = NameWith(folder, RandomPrefix(identity, random.Next()), track, extension);
    if (!PathTaken(name)) return name;
  }
  for (int64_t prefix = 1;; ++prefix) {
    const std::string name = NameWith(folder, prefix, track, extension);
    if (!PathTaken(name)) return name;
  }
}

std::string FreeTemplateOutputName(const std::string& folder, const TemplateName& name, const std::string& extension) {
  std::string path = folder + "/" + RelativePath(name, extension);
  for (int n = 2; PathTaken(path); ++n) {
    path = folder + "/" + RelativePath(name, " (" + std::to_string(n) + ")" + extension);
  }
  return path;
}

bool MakeFoldersFor(const std::string& folder, const std::string& path) {
  if (path.size() <= folder.size() + 1 || path.compare(0, folder.size() + 1, folder + "/") != 0) return false;
  for (std::size_t slash = path.find('/', folder.size() + 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string sub = path.substr(0, slash);
    struct stat st {};
    if (::mkdir(sub.c_str(), 0777) != 0 && (::stat(sub.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) return false;
  }
  return true;
}

}  // namespace korvalin
