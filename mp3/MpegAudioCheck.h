#pragma once
// Whether a file holds MPEG audio: the test that keeps a tag writer from appending a tag to a WAV
// or a text file.

#include <string>

namespace korvalin {

// True when `path` holds an MPEG audio frame (any version and layer) that another frame follows
// (or that ends the audio), within the first 64 KiB after an ID3v2 tag. Raises nothing: a file
// that cannot be read holds no audio that can be seen.
bool HoldsMpegAudio(const std::string& path);

}  // namespace korvalin
