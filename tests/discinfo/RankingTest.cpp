// Candidates in order of evidence with their reasons, and the best one completed from those that
// agree on the album.

#include "discinfo/Ranking.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/VectorDisc.h"

namespace korvalin {
namespace {

// A candidate of `source` named `album` with the vector disc's twelve tracks, each `offMs` longer
// than on the disc (no lengths at all for offMs < 0), or `count` tracks when given.
DiscInfoCandidate Candidate(const std::string& source, const std::string& album, int offMs = 0, std::size_t count = 12) {
  DiscInfoCandidate c;
  c.source = source;
  c.album = album;
  const std::vector<int32_t> lengths = AudioTrackLengthsMs(test::VectorToc());
  for (std::size_t k = 0; k < count; ++k) {
    const int32_t length = k < lengths.size() ? lengths[k] : 60000;
    c.tracks.push_back({static_cast<int>(k) + 1, "Track " + std::to_string(k + 1), "", offMs < 0 ? 0 : length + offMs, "", "", "", ""});
  }
  return c;
}

DiscInfoCandidate WithDiscId(DiscInfoCandidate c, const std::string& id) {
  c.mediumDiscId = id;
  return c;
}
DiscInfoCandidate InCountry(DiscInfoCandidate c, const std::string& country) {
  c.country = country;
  return c;
}

std::vector<std::string> Albums(const std::vector<DiscInfoCandidate>& ranked) {
  std::vector<std::string> albums;
  for (const auto& c : ranked) albums.push_back(c.album);
  return albums;
}

TEST(Ranking, CandidatesAreOrderedByEvidenceAndTiesKeepTheirOrder) {
  const std::string id = test::kVectorMusicBrainzId;
  struct Case {
    const char* name;
    std::vector<DiscInfoCandidate> candidates;
    std::string preferredCountry;
    std::vector<std::string> order;
    std::string cdTextAlbum;
    std::vector<std::string> expected;
  };
  const std::vector<std::string> usual{"MusicBrainz", "gnudb"};
  const std::vector<Case> cases = {
      {"the exact disc id outweighs the preferred country",
       {InCountry(Candidate("MusicBrainz", "DE pressing"), "DE"), WithDiscId(InCountry(Candidate("MusicBrainz", "GB"), "GB"), id)},
       "de", usual, "", {"GB", "DE pressing"}},
      {"with no id, the preferred country decides",
       {InCountry(Candidate("MusicBrainz", "GB"), "GB"), InCountry(Candidate("MusicBrainz", "DE"), "DE")},
       "DE", usual, "", {"DE", "GB"}},
      {"a length 2 s off still agrees, 3 s off does not",
       {Candidate("gnudb", "three off", 3000), Candidate("gnudb", "two off", 2000)}, "", usual, "", {"two off", "three off"}},
      {"a track count that differs goes below lengths it cannot check",
       {Candidate("MusicBrainz", "ten", 0, 10), Candidate("gnudb", "no lengths", -1)}, "", usual, "", {"no lengths", "ten"}},
      {"CD-Text agreeing on the album counts, case and blanks aside",
       {Candidate("MusicBrainz", "Other"), Candidate("gnudb", "first  LIGHT")}, "", usual, "First Light", {"first  LIGHT", "Other"}},
      {"the order of the sources breaks a tie",
       {Candidate("MusicBrainz", "mb"), Candidate("gnudb", "gnudb")}, "", {"gnudb", "MusicBrainz"}, "", {"gnudb", "mb"}},
      {"equal evidence keeps the order the sources gave",
       {Candidate("MusicBrainz", "first"), Candidate("MusicBrainz", "second"), Candidate("MusicBrainz", "third")},
       "", usual, "", {"first", "second", "third"}},
      {"an earlier choice comes before everything",
       {WithDiscId(Candidate("MusicBrainz", "online"), id), Candidate("cache", "kept", -1)}, "", usual, "", {"kept", "online"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DiscQuery disc = test::VectorDisc();
    LookupOptions options;
    options.preferredCountry = c.preferredCountry;
    options.order = c.order;
    std::vector<DiscInfoCandidate> ranked = c.candidates;
    RankCandidates(ranked, {disc, options, c.cdTextAlbum});
    EXPECT_EQ(Albums(ranked), c.expected);
    EXPECT_TRUE(std::is_sorted(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.score > b.score; }));
  }
}

TEST(Ranking, TheReasonsSayWhyInPlainWords) {
  LookupOptions options;
  options.preferredCountry = "DE";
  std::vector<DiscInfoCandidate> ranked = {
      WithDiscId(InCountry(Candidate("MusicBrainz", "First Light"), "DE"), test::kVectorMusicBrainzId),
      Candidate("gnudb", "First Light", 5000),
      Candidate("gnudb", "Short", 0, 11),
  };
  RankCandidates(ranked, {test::VectorDisc(), options, "First light"});
  ASSERT_EQ(ranked.size(), 3u);
  EXPECT_EQ(ranked[0].reasons, (std::vector<std::string>{
                                   "the medium's disc id matches exactly",
                                   "the track count agrees with the disc (12 tracks)",
                                   "every track length agrees with the disc within 2 seconds",
                                   "CD-Text agrees on the album title",
                                   "released in your preferred country (DE)",
                                   "from MusicBrainz, the first source to ask",
                               }));
  EXPECT_EQ(ranked[1].reasons, (std::vector<std::string>{
                                   "the track count agrees with the disc (12 tracks)",
                                   "track 1's length differs from the disc by 5 seconds",
                                   "CD-Text agrees on the album title",
                                   "from gnudb, source 2 to ask",
                               }));
  EXPECT_EQ(ranked[2].reasons.front(), "the track count differs: 11 tracks, the disc has 12");
}

TEST(Ranking, TheBestIsCompletedOnlyFromCandidatesOfTheSameAlbum) {
  DiscInfoCandidate best = Candidate("MusicBrainz", "First Light", -1, 2);
  best.artist = "The Band";
  best.tracks[1].title.clear();
  DiscInfoCandidate sameAlbum = Candidate("gnudb", " first LIGHT ", -1, 2);
  sameAlbum.artist = "Someone Else";  // the best has one: kept
  sameAlbum.year = "1999";
  sameAlbum.genre = "Rock";
  sameAlbum.tracks[1].title = "Noon";
  DiscInfoCandidate otherAlbum = Candidate("CD-Text", "Greatest Hits", -1, 2);
  otherAlbum.label = "Label";
  otherAlbum.year = "2005";

  std::vector<DiscInfoCandidate> ranked = {best, otherAlbum, sameAlbum};
  FillFromAgreeingCandidates(ranked);
  const DiscInfoCandidate& filled = ranked.front();
  EXPECT_EQ(filled.artist, "The Band");
  EXPECT_EQ(filled.year, "1999");
  EXPECT_EQ(filled.genre, "Rock");
  EXPECT_EQ(filled.label, "");
  EXPECT_EQ(filled.tracks[1].title, "Noon");
  using Filled = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(filled.filledFrom, (Filled{{"year", "gnudb"}, {"genre", "gnudb"}, {"track 2 title", "gnudb"}}));
  EXPECT_FALSE(SameAlbum("", ""));
}

TEST(Ranking, AnEnhancedCdsLastAudioTrackEndsBeforeTheDataSessionsGap) {
  DiscToc toc;
  toc.tracks = {{1, 0, false}, {2, 7500, false}, {3, 30000, true}};
  toc.leadOut = 40000;
  EXPECT_EQ(AudioTrackLengthsMs(toc), (std::vector<int32_t>{100000, (30000 - 11400 - 7500) * 1000 / 75}));
}

}  // namespace
}  // namespace korvalin
