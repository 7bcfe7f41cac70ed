#pragma once
// Writing an ID3v1 tag without ever leaving a half-changed file: the tag goes into a copy of the
// file beside it, and the copy takes the file's name once the tag is in.

#include <string>

#include "mp3/Id3v1Tag.h"

namespace korvalin {

// Writes the tag into a copy of `path` and moves the copy over it. Returns the name the tagged
// file took: `path`, or a fresh numbered name when another file replaced `path` meanwhile (both
// are kept then). A file the user may not write is refused as such, although its folder would
// allow the move; a writable file in a folder that takes no new file is written in place. Raises an error (source "WriteId3v1Tag") whose text is the cause
// ("Permission denied", "No space left on device"); the file is then as it was.
std::string WriteId3v1TagStaged(const std::string& path, const Id3v1Fields& fields);

}  // namespace korvalin
