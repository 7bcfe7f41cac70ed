// The online disc databases' answers: the MusicBrainz JSON, CDDB status lines and lists, and the
// xmcd record. Whatever the bytes, the parsers return (never throw), give candidates or a reason,
// and hand on only valid UTF-8.

#include <cstdint>

#include "discinfo/CddbResponse.h"
#include "discinfo/MusicBrainzJson.h"
#include "discinfo/TextEncoding.h"
#include "discinfo/XmcdRecord.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

namespace korvalin::fuzz {

namespace {

void CheckText(const std::string& text) { Check(IsValidUtf8(text), "text handed on is valid UTF-8"); }

}  // namespace

int FuzzMusicBrainzJson(const uint8_t* data, std::size_t size) {
  const MusicBrainzDisc disc{"I5l9cCSFccLKFEKS.7wqSZAorPU-", 12, 1};
  const SourceAnswer a = ParseMusicBrainzDiscAnswer(AsText(data, size), disc);
  Check(a.candidates.empty() != a.problem.empty(), "candidates, or else a reason");
  for (const DiscInfoCandidate& c : a.candidates) {
    CheckText(c.album);
    CheckText(c.artist);
    Check(c.discNumber >= 0 && c.discNumber <= 999, "a disc number in range");
    for (std::size_t i = 0; i < c.tracks.size(); ++i) {
      Check(c.tracks[i].number == disc.firstTrack + static_cast<int>(i), "tracks numbered from the disc's first");
      Check(c.tracks[i].lengthMs >= 0, "no negative length");
      CheckText(c.tracks[i].title);
    }
    Check(c.mediumDiscId.empty() || c.mediumDiscId == disc.discId, "the medium's disc id is this disc's");
    Check(!c.mediumDiscId.empty() || c.tracks.size() == 12, "a medium taken by track count has the disc's count");
  }
  return 0;
}

int FuzzCddbResponse(const uint8_t* data, std::size_t size) {
  const std::string text = Utf8FromUtf8OrLatin1(AsText(data, size));
  CheckText(text);
  const CddbQueryResult q = ReadCddbQuery(text);
  Check(q.matches.empty() != q.problem.empty(), "matches, or else a reason");
  for (const CddbMatch& m : q.matches) {
    Check(!m.category.empty() && !m.discId.empty(), "a match names its category and id");
    Check(m.category.find_first_of(" /&?#%+") == std::string::npos, "a category is one plain word");
  }
  const CddbReadResult r = ReadCddbRead(text);
  Check(r.record.empty() || r.problem.empty(), "a record, or a reason");
  return 0;
}

int FuzzXmcdRecord(const uint8_t* data, std::size_t size) {
  const XmcdRecord r = ParseXmcd(Utf8FromUtf8OrLatin1(AsText(data, size)));
  Check(r.trackTitles.size() == r.trackArtists.size(), "a track artist for every title");
  Check(r.trackTitles.size() <= 99 && r.frameOffsets.size() <= 99, "no more than 99 tracks");
  Check(r.discSeconds >= 0, "no negative disc length");
  CheckText(r.artist);
  CheckText(r.album);
  CheckText(r.extended);
  for (std::size_t i = 0; i < r.trackTitles.size(); ++i) {
    CheckText(r.trackTitles[i]);
    CheckText(r.trackArtists[i]);
  }
  return 0;
}

}  // namespace korvalin::fuzz
