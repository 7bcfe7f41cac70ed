#pragma once
// The tag options of korvalin-cli's rip commands: the texts a track's tags take, and the version.

#include <string>
#include <vector>

#include "common/TrackTags.h"

namespace korvalin::cli {

inline constexpr const char* kTagOptionsUsage =
    "[--title T] [--artist A] [--album B] [--album-artist C] [--year Y] [--genre G] [--tracks N] [--disc N] "
    "[--discs N] [--isrc I] [--comment C] [--id3 3|4|0]";

struct TagChoice {
  TrackTags tags;       // empty when no tag option was given
  int version = 3;      // 3 ID3v2.3, 4 ID3v2.4, 0 no tags
};

// Takes the tag options out of `args`; `track` is the track's number on the disc (it is written
// only beside other fields). Throws std::runtime_error for a count or version that is not one.
TagChoice TakeTagOptions(std::vector<std::string>& args, int track);

}  // namespace korvalin::cli
