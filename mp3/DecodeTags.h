#pragma once
// The tags a decoded WAV file keeps from its MP3: the MP3's ID3v2 tag where it has a readable
// one, otherwise its ID3v1 tag.

#include <string>
#include <string_view>

#include "common/TrackTags.h"
#include "platform/TagLibrary.h"

namespace korvalin {

// The fields of an ID3v1 block (the file's last 128 bytes, beginning with "TAG"): title, artist,
// album, year and comment as UTF-8 with trailing blanks and NULs dropped, the track from the
// comment's last byte (ID3v1.1), the genre byte as its number ("17"; none for 255). Empty for a
// block that is no tag.
TrackTags TagsOfId3v1Block(std::string_view block);

// The MP3 file's tags: its ID3v2 tag as `library` reads it, or, when it has none that gives a
// field, its ID3v1 tag. Empty for a file with neither, or one that cannot be read.
TrackTags ReadMp3Tags(TagLibrary& library, const std::string& path);

}  // namespace korvalin
