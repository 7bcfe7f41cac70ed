#pragma once
// A disc's table of contents as the rip log shows it, and the ids computed from it: the CDDB id,
// the AccurateRip disc id triple and the online music database's id.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DiscIdLibrary.h"
#include "rip/modAKRip32.h"

namespace korvalin {

struct DiscTocTrack {
  int number = 0;     // the track number the disc gives it
  int32_t start = 0;  // first frame, counted from the start of the program area (track 1 at 0)
  bool data = false;  // a data track, which holds no audio
};

struct DiscToc {
  std::vector<DiscTocTrack> tracks;
  int32_t leadOut = 0;  // the frame after the last track

  int32_t EndOf(std::size_t index) const { return index + 1 < tracks.size() ? tracks[index + 1].start : leadOut; }
  // Where audio track `index` stands among the audio tracks, for the AccurateRip skips.
  bool FirstAudio(std::size_t index) const;
  bool LastAudio(std::size_t index) const;
};

// The table the drive module has read (CurrentToc of an open drive).
DiscToc TocOf(const modAKRip32& cd);

// The classic CDDB id: the digit sums of the track starts in seconds (counting the lead-in), the
// disc's length in seconds and the track count. Data tracks count.
uint32_t CddbId(const DiscToc& toc);

struct AccurateRipDiscId {
  uint32_t id1 = 0;  // the sum of the audio tracks' starts and the lead-out
  uint32_t id2 = 0;  // each start (at least 1) times its track number, plus lead-out × (audio tracks + 1)
  uint32_t cddb = 0;
};
AccurateRipDiscId AccurateRipIdOf(const DiscToc& toc);

// The online music database's id. A disc that ends in data tracks (an enhanced CD) is identified
// by its audio session: the audio tracks alone, ending 11,400 frames before the data session.
std::string MusicDatabaseIdOf(const DiscToc& toc, DiscIdLibrary& library);

// Eight lower-case hex digits.
std::string Hex8(uint32_t value);

}  // namespace korvalin
