#pragma once
// The ID3v2 tag library, as the program's logic sees it: it renders a track's tags as one ID3v2
// tag (the bytes that go before an MP3's first frame, or into a WAV's "id3 " chunk), reads them
// back, and lists an MP3 file's frames for display. ID3v1 stays the program's own (mp3/Id3v1Tag).

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/TrackTags.h"

namespace korvalin {

enum class Id3v2Version { v3 = 3, v4 = 4 };

// One frame as shown to the user: its id ("TIT2", "TXXX:MusicBrainz Album Id") and its text.
struct TagFrameText {
  std::string id;
  std::string text;
};

struct Id3v2Reading {
  bool present = false;   // the file (or block) begins with an ID3v2 tag
  bool readable = false;  // ... and the library could read it
  int version = 0;        // 2, 3 or 4 (the tag's major version byte)
  TrackTags tags;
  std::vector<TagFrameText> frames;  // in the tag's order
};

class TagLibrary {
 public:
  virtual ~TagLibrary() = default;
  // The whole ID3v2 tag (header included) for `tags`; empty when `tags` is empty.
  virtual std::vector<uint8_t> RenderId3v2(const TrackTags& tags, Id3v2Version version) = 0;
  // Reads an ID3v2 tag from the start of `bytes` (a tag block, or a file's first bytes).
  virtual Id3v2Reading ReadId3v2(const std::vector<uint8_t>& bytes) = 0;
  // Reads the ID3v2 tag at the start of the file at `path`.
  virtual Id3v2Reading ReadId3v2File(const std::string& path) = 0;
};

// A program built without the tag library: renders nothing and reads nothing.
class NoTagLibrary : public TagLibrary {
 public:
  static NoTagLibrary& Instance() {
    static NoTagLibrary none;
    return none;
  }
  std::vector<uint8_t> RenderId3v2(const TrackTags&, Id3v2Version) override { return {}; }
  Id3v2Reading ReadId3v2(const std::vector<uint8_t>&) override { return {}; }
  Id3v2Reading ReadId3v2File(const std::string&) override { return {}; }
};

}  // namespace korvalin
