#pragma once
// Puts the candidates of every source in order of evidence, best first, each with its reasons in
// plain words, and completes the best one from the others where they agree on the album.

#include <string>
#include <vector>

#include "discinfo/DiscInfo.h"

namespace korvalin {

// What the candidates are weighed against.
struct RankingEvidence {
  const DiscQuery& disc;
  const LookupOptions& options;
  std::string cdTextAlbum;  // the album title the disc's own text gives; "" when none
};

// Scores every candidate and sorts them best first; candidates of equal score keep their order.
// The reasons a source gave stay first; the ranking's own follow. Call once per look-up.
void RankCandidates(std::vector<DiscInfoCandidate>& candidates, const RankingEvidence& evidence);

// Fills each field the first candidate lacks (album artist, year, genre, label, catalogue number,
// country, barcode, and track titles and artists by track number) from the later candidates in
// turn, but only from those naming the same album; each filled field is recorded in filledFrom
// with the source that gave it.
void FillFromAgreeingCandidates(std::vector<DiscInfoCandidate>& ranked);

// True when two album titles are the same, ignoring case and blanks; never for an empty title.
bool SameAlbum(const std::string& a, const std::string& b);

// The disc's audio track lengths in milliseconds, in disc order. The last audio track before a
// data session ends where that session's gap begins, as the online databases count it.
std::vector<int32_t> AudioTrackLengthsMs(const DiscToc& toc);

}  // namespace korvalin
