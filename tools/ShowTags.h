#pragma once
// The lines `korvalin-cli tag --show` prints: an MP3 file's ID3v2 frames, then its ID3v1 fields.

#include <string>
#include <vector>

#include "platform/TagLibrary.h"

namespace korvalin::cli {

// "ID3v2.3 tag, 9 frames:" and "  TIT2: Title" per frame (or "ID3v2 tag: none", or the version and
// "damaged, cannot be read"), then "ID3v1 tag:" and its fields, or "ID3v1 tag: none". Line breaks
// inside a text are shown as "\n", other control characters as "?", so that each field is one line.
std::vector<std::string> TagLines(const std::string& path, TagLibrary& library);

}  // namespace korvalin::cli
