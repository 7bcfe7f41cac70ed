#pragma once
// The texts the header view shows for an analysed MP3 file, shared by the playlist editor and
// the command line.

#include <string>
#include <vector>

#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"

namespace korvalin {

// Twelve lines, each a label padded with blanks and the value: bitrate, frequency, duration,
// version, layer, original, emphasis, copyright, mode, padding, CRC, private. A file whose header
// could not be analysed gives one line that says why ("Header: no frame").
std::vector<std::string> HeaderViewLines(const Mp3Info& info);

// The tag boxes' captions in box order: "Artist", "Title", "Album", "Year", "Comment", "Genre",
// "HasTag", "Length".
const std::vector<std::string>& TagBoxCaptions();

// The first seven tag boxes' texts for an analysis: artist, title, album, year, comment, genre
// number, and "True" or "False".
std::vector<std::string> TagBoxTexts(const Mp3Info& info);

// A file length as the "Length" box shows it: "1440000 bytes".
std::string LengthText(long long bytes);

}  // namespace korvalin
