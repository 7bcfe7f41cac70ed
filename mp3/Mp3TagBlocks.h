#pragma once
// The tag blocks of an MP3 made from tagged audio: the ID3v2 tag that goes before the first frame
// (rendered by the tag library) and the 128-byte ID3v1 tag that goes after the last one. One
// writer for a rip straight to MP3 and for the encoding of a tagged WAV, so both carry the same tags.

#include <cstdint>
#include <string>
#include <vector>

#include "common/TrackTags.h"
#include "platform/TagLibrary.h"

namespace korvalin {

struct Mp3TagBlocks {
  std::vector<uint8_t> id3v2;  // the whole ID3v2 tag; empty when none is written
  std::string id3v1;           // 128 bytes, or empty when none is written
  int id3v2Version = 0;        // 3 or 4 when `id3v2` holds a tag
  bool Empty() const { return id3v2.empty() && id3v1.empty(); }
};

// The blocks for `tags` under the tag choice `tagVersion` (3 ID3v2.3, 4 ID3v2.4, 0 no tags). No
// tags given, or the choice "no tags", gives no block, so the file is exactly an untagged one. A
// library that renders nothing leaves the ID3v1 tag alone.
Mp3TagBlocks RenderMp3TagBlocks(const TrackTags& tags, int tagVersion, TagLibrary& library);

// The ID3v1.1 block: title, artist (the album artist when the track has none), album, the year's
// first four characters, the comment cut to 28 bytes with the track number in the comment's last
// byte, and the genre's number in the standard list (255 when it is not there). ISO-8859-1, one
// byte per character, cut to the field.
std::string Id3v1BlockFor(const TrackTags& tags);

// The ID3v1 genre number of a genre name (any letter case) or of a number text; 255 when none.
unsigned char Id3v1GenreNumber(const std::string& genre);

// What the blocks hold, for a log line: "ID3v2.3 (12 frames) and ID3v1", "no tags".
std::string TagBlocksSummary(const Mp3TagBlocks& blocks, TagLibrary& library);

}  // namespace korvalin
