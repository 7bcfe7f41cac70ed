#pragma once
// What is known of a disc beyond its table of contents: album, artists, titles. Each source
// (the disc's CD-Text, a cue sheet, the online databases, the cache of what the user chose)
// answers with candidates; the look-up ranks them and says why.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "rip/DiscIds.h"

namespace korvalin {

struct TrackInfo {
  int number = 0;  // the disc's track number
  std::string title;
  std::string artist;  // empty: the album artist
  int32_t lengthMs = 0;  // as the source gives it; 0 when it gives none
  std::string isrc;
  std::string recordingId;  // the online music database's recording and track ids
  std::string trackId;
  std::string songwriter;  // as CD-Text gives it
};

struct DiscInfoCandidate {
  std::string source;  // "CD-Text", "MusicBrainz", "gnudb", "cache"
  std::string album;
  std::string artist;  // the album artist
  std::string year;
  std::string genre;
  std::string label;
  std::string catalogNumber;
  std::string country;
  std::string barcode;
  int discNumber = 0;  // disc n of N; 0 when not known
  int discCount = 0;
  std::vector<TrackInfo> tracks;
  std::string releaseId;  // the online music database's ids
  std::string releaseGroupId;
  std::string mediumDiscId;  // the disc id of the medium the tracks came from
  std::vector<std::string> artistIds;
  std::string songwriter;  // as CD-Text gives it
  // Ranking: the higher the better, and the reasons in plain words ("the disc id matches exactly").
  int score = 0;
  std::vector<std::string> reasons;
  // Fields filled from another source than this candidate's: field name, source.
  std::vector<std::pair<std::string, std::string>> filledFrom;
};

// The disc to look up.
struct DiscQuery {
  DiscToc toc;
  std::string musicBrainzId;  // empty when it could not be computed
  uint32_t cddbId = 0;
};

// One source's answer: its candidates, or one plain line saying why it has none.
struct SourceAnswer {
  std::vector<DiscInfoCandidate> candidates;
  std::string problem;
};

class DiscInfoSource {
 public:
  virtual ~DiscInfoSource() = default;
  virtual std::string Name() const = 0;
  // Yields on the program's event loop while it waits; `cancelled` is asked between yields.
  virtual SourceAnswer Look(const DiscQuery& disc, const std::function<bool()>& cancelled) = 0;
};

// How and where to look a disc up (from the settings, or a command line's options).
struct LookupOptions {
  bool online = true;  // false: nothing leaves the machine (CD-Text and the cache only)
  std::vector<std::string> order{"MusicBrainz", "gnudb"};
  std::string preferredCountry;  // e.g. "DE"; empty: none
  std::string musicBrainzUrl = "https://musicbrainz.org";
  std::string gnudbUrl = "https://gnudb.gnudb.org";
};

}  // namespace korvalin
