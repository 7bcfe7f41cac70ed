#pragma once
// Writing an ID3v1 tag: a 128-byte block at the end of an MP3 file. A block already there is
// replaced in place; a file without one gets the block appended, so audio is never overwritten.
// Whatever lies before the tag (audio, an APEv2 or Lyrics3 block) is left byte for byte.

#include <string>
#include <string_view>

namespace korvalin {

inline constexpr std::size_t kId3v1Size = 128;

// Whether a file's last 128 bytes are an ID3v1 tag: exactly 128 bytes beginning with "TAG" in any
// letter case. Nothing else in a file is taken for a tag; in particular a "TAG" inside an APEv2
// footer ("APETAGEX") or inside audio bytes is not one.
bool IsId3v1Tag(std::string_view lastBytes);

// The tag's texts as the user typed them (UTF-8); `genre` is the genre box's text.
struct Id3v1Fields {
  std::string title, artist, album, year, comment, genre;
};

// The genre byte for a genre box: its number when it holds a whole number from 0 to 255,
// otherwise 255 ("none").
unsigned char GenreByte(std::string_view text);

// The 128-byte block: "TAG", then title, artist, album (30 bytes each), year (4), comment (30)
// and the genre byte. Texts become ISO-8859-1, one byte per character ("?" for a character that
// has none), cut to their width or padded with blanks.
std::string BuildId3v1Block(const Id3v1Fields& fields);

// Writes the tag into the file. When the file already ends in a tag and the comment leaves the
// comment's last byte unused, that byte keeps its value (other programs keep a track number
// there). Every write is checked; an append that fails is cut back off, so the file is left as
// it was. Raises an error (source "WriteId3v1Tag") that names the cause.
void WriteId3v1Tag(const std::string& path, const Id3v1Fields& fields);

}  // namespace korvalin
