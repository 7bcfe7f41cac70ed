#pragma once
// Writing an ID3v1 tag without ever leaving a half-changed file: the tag goes into a copy of the
// file beside it, and the copy takes the file's name once the tag is in.

#include <cstdint>
#include <string>
#include <vector>

#include "mp3/Id3v1Tag.h"

namespace korvalin {

// Writes the tag into a copy of `path` and moves the copy over it. Returns the name the tagged
// file took: `path`, or a fresh numbered name when another file replaced `path` meanwhile (both
// are kept then). A file the user may not write is refused as such, although its folder would
// allow the move; a writable file in a folder that takes no new file is written in place. Raises an error (source "WriteId3v1Tag") whose text is the cause
// ("Permission denied", "No space left on device"); the file is then as it was.
std::string WriteId3v1TagStaged(const std::string& path, const Id3v1Fields& fields);

// Puts the ID3v2 tag `block` at the start of the file in place of the ID3v2 tag there (of whatever
// version), which goes whole; the rest of the file follows byte for byte. The file is written
// beside and moved over `path`, so a full disk or a killed program leaves it as it was. A tag whose
// header does not say where it ends (a size beyond the file, or not a tag's size) is refused and
// left, as the audio's start is unknown. Returns the name the file took, as above; raises an error
// (source "WriteId3v2Tag") that names the cause.
std::string WriteId3v2TagStaged(const std::string& path, const std::vector<uint8_t>& block);

}  // namespace korvalin
