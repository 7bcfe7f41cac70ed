#pragma once
// A CDDB database entry in the xmcd format: "KEYWORD=value" lines, comments starting with "#".
// A value too long for one line continues on further lines with the same keyword.

#include <string>
#include <string_view>
#include <vector>

namespace korvalin {

struct XmcdRecord {
  std::string discId;  // DISCID (the first when several are given)
  std::string artist;  // DTITLE "Artist / Album"; without " / " artist and album are the same
  std::string album;
  std::string year;    // DYEAR
  std::string genre;   // DGENRE
  std::string extended;  // EXTD
  // TTITLEn for n = 0.. the highest given; a title the record skips is empty. A track of a disc
  // by various artists may read "Artist / Title": those are split into trackArtists.
  std::vector<std::string> trackTitles;
  std::vector<std::string> trackArtists;
  // From the comments: each track's first frame (counting the lead-in) and the disc's length.
  std::vector<int> frameOffsets;
  int discSeconds = 0;
};

// Takes UTF-8 text (see TextEncoding.h); never throws. Values have their \n, \t and \\ escapes
// undone. Tracks past the 99th, which no disc has, are left out.
XmcdRecord ParseXmcd(std::string_view text);

}  // namespace korvalin
