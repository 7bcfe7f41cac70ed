#pragma once
// Writes audio CD images as a CUE sheet and a BIN file of raw 2352-byte frames. The two files
// share their base name, since the image reader opens "<name>.bin" beside "<name>.cue".

#include <string>
#include <vector>

namespace korvalin::discgen {

// Writes <folder>/<name>.cue and <folder>/<name>.bin with the tracks in order, each track's raw
// bytes padded with silence to whole frames. Returns the path of the CUE sheet; throws
// std::runtime_error when the files cannot be written.
std::string WriteDiscImage(const std::string& folder, const std::string& name, const std::vector<std::string>& tracks);

// "mm:ss:ff" for a frame offset (75 frames a second).
std::string CueTime(long frames);

}  // namespace korvalin::discgen
