#pragma once
// Names for the files an extraction writes: destination folder + "/" + r + "-" + track + extension,
// where r is a random prefix between 1 and the disc's identity number. A name that is taken
// already is never used again, so an extraction can never overwrite an earlier file.

#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "fileout/NameTemplate.h"

namespace korvalin {

// Uniform numbers in [0, 1), reseeded from a seed source (the clock) before each name.
class PrefixRandom {
 public:
  using SeedSource = std::function<uint64_t()>;

  // The real clock, in nanoseconds.
  static uint64_t ClockSeed();

  explicit PrefixRandom(SeedSource seed = ClockSeed);

  void Reseed();
  double Next();

 private:
  SeedSource seed_;
  std::mt19937_64 engine_;
};

// The prefix for an identity number and a uniform number u in [0, 1): the integer part of
// identity × u + 1. Identities below 1 (empty, not a number, negative) give 1.
int64_t RandomPrefix(double identity, double u);

// Whether anything at all (a file, a folder, a dangling link) stands at the path.
bool PathTaken(const std::string& path);

// A name for track `track` with `extension` (".wav", ".mp3") in `folder` that nothing stands at:
// the generator is reseeded, then prefixes are drawn until a free name comes up. When the
// identity allows prefix 1 only, or a few draws all hit taken names, the lowest free prefix
// is taken instead.
std::string FreeOutputName(const std::string& folder, int32_t track, const std::string& extension, double identity,
                           PrefixRandom& random);

// The name built from the template for a track, under `folder`: folder + "/" + its sub-folders and
// name + `extension`, or with " (2)", " (3)"… before the extension when something stands at it.
std::string FreeTemplateOutputName(const std::string& folder, const TemplateName& name, const std::string& extension);

// Makes the folders between `folder` (which exists) and the file `path` under it. False when one
// cannot be made, such as when a file stands at its name.
bool MakeFoldersFor(const std::string& folder, const std::string& path);

}  // namespace korvalin
