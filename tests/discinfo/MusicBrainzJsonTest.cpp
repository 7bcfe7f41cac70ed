#include "discinfo/MusicBrainzJson.h"

#include <gtest/gtest.h>

#include "tests/support/DiscInfoAnswers.h"

namespace korvalin {
namespace {

using test::kVectorMusicBrainzId;

MusicBrainzDisc Vector(std::string discId = kVectorMusicBrainzId) { return {std::move(discId), 12, 1}; }

TEST(MusicBrainzJson, EachReleaseGivesTheTracksOfTheMediumThatIsThisDisc) {
  const SourceAnswer a = ParseMusicBrainzDiscAnswer(test::MusicBrainzTwoReleases(), Vector());
  ASSERT_EQ(a.problem, "");
  ASSERT_EQ(a.candidates.size(), 2u);

  const DiscInfoCandidate& album = a.candidates[0];
  EXPECT_EQ(album.source, "MusicBrainz");
  EXPECT_EQ(album.album, "Vector Album");
  EXPECT_EQ(album.artist, "Anna Vector & The Offsets");
  EXPECT_EQ(album.artistIds, (std::vector<std::string>{"artist-anna", "artist-offsets"}));
  EXPECT_EQ(album.year, "1994");
  EXPECT_EQ(album.label, "Lead-Out Records");
  EXPECT_EQ(album.catalogNumber, "VEC 001");
  EXPECT_EQ(album.country, "GB");
  EXPECT_EQ(album.barcode, "5012345678900");
  EXPECT_EQ(album.releaseId, "release-album");
  EXPECT_EQ(album.releaseGroupId, "group-album");
  EXPECT_EQ(album.mediumDiscId, kVectorMusicBrainzId);
  EXPECT_EQ(album.discNumber, 1);
  EXPECT_EQ(album.discCount, 1);
  ASSERT_EQ(album.tracks.size(), 12u);
  EXPECT_EQ(album.tracks[0].number, 1);
  EXPECT_EQ(album.tracks[0].title, "Vector 1");
  EXPECT_EQ(album.tracks[0].artist, "");  // the album's artist
  EXPECT_EQ(album.tracks[0].lengthMs, 181000);
  EXPECT_EQ(album.tracks[0].recordingId, "rec-Vector 1");
  EXPECT_EQ(album.tracks[0].trackId, "trk-Vector 1");
  EXPECT_EQ(album.tracks[2].artist, "Guest Singer");  // the track's credit over the recording's
  EXPECT_EQ(album.tracks[4].title, "Recording 5");    // no title on the track: the recording's
  EXPECT_EQ(album.tracks[5].isrc, "GBAAA9400006");

  const DiscInfoCandidate& anthology = a.candidates[1];
  EXPECT_EQ(anthology.album, "Vector Anthology");
  EXPECT_EQ(anthology.year, "2001");
  EXPECT_EQ(anthology.barcode, "");  // null
  EXPECT_EQ(anthology.discNumber, 2);
  EXPECT_EQ(anthology.discCount, 2);
  EXPECT_EQ(anthology.mediumDiscId, kVectorMusicBrainzId);
  ASSERT_EQ(anthology.tracks.size(), 12u);
  EXPECT_EQ(anthology.tracks[0].title, "Anthology 2-1");
  EXPECT_EQ(anthology.tracks[11].title, "Anthology 2-12");
}

TEST(MusicBrainzJson, ByTableOfContentsTheMediumOfTheDiscsTrackCountServes) {
  const SourceAnswer a = ParseMusicBrainzDiscAnswer(test::MusicBrainzTocAnswer(), Vector(""));
  ASSERT_EQ(a.candidates.size(), 2u);
  EXPECT_EQ(a.candidates[0].mediumDiscId, "");  // no exact match
  // Both media of the anthology have twelve tracks: the first is taken, and says which it is.
  EXPECT_EQ(a.candidates[1].discNumber, 1);
  EXPECT_EQ(a.candidates[1].tracks[0].title, "Anthology 1-1");
}

TEST(MusicBrainzJson, OneReleaseOnItsOwn) {
  const std::string release = R"({"id":"r","title":"Solo","artist-credit":[{"name":"X","joinphrase":""}],
    "media":[{"position":1,"discs":[{"id":"D"}],"tracks":[{"title":"One"},{"title":"Two","artist-credit":[{"artist":{"name":"Y"}}]}]}]})";
  const SourceAnswer a = ParseMusicBrainzDiscAnswer(release, {"D", 2, 3});
  ASSERT_EQ(a.candidates.size(), 1u);
  EXPECT_EQ(a.candidates[0].album, "Solo");
  EXPECT_EQ(a.candidates[0].tracks[0].number, 3);  // counted from the disc's first track
  EXPECT_EQ(a.candidates[0].tracks[1].artist, "Y");
}

TEST(MusicBrainzJson, AnswersThatAreNoDiscInformationGiveOnePlainLine) {
  const struct {
    const char* name;
    std::string body;
    const char* problem;
  } rows[] = {
      {"empty", "", "the answer is empty"},
      {"web page", "\n<!DOCTYPE html><html><body>502 Bad Gateway</body></html>", "the answer is a web page, not disc information"},
      {"broken JSON", R"({"releases": [{"title": "cut)", "the answer is not valid JSON"},
      {"not an object", "[1,2,3]", "the answer is not disc information"},
      {"error object", R"({"error":"Not Found","help":"see the docs"})", "the server says: Not Found"},
      {"no releases", R"({"id":"x","releases":[]})", "no release holds this disc"},
      {"releases not a list", R"({"releases":{"title":"x"}})", "no release holds this disc"},
      {"wrong types everywhere",
       R"({"releases":[{"title":7,"artist-credit":"x","date":1994,"label-info":[1,null],"media":[{"position":"2","discs":"D","tracks":[5,{"title":["a"]}]}]}]})",
       "the release listed has no medium of 12 tracks"},
      {"too deep", std::string(5000, '[') + std::string(5000, ']'), "the answer is not disc information"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const SourceAnswer a = ParseMusicBrainzDiscAnswer(row.body, Vector());
    EXPECT_TRUE(a.candidates.empty());
    EXPECT_EQ(a.problem, row.problem);
  }
}

TEST(MusicBrainzJson, MistypedFieldsOfAUsableReleaseAreLeftEmpty) {
  const std::string body = R"({"releases":[{"title":null,"date":"19","artist-credit":[{"name":3}],
    "media":[{"position":99999,"discs":[{"id":"D"}],"tracks":[{"title":"A","length":-5,"recording":"no"}]}]}]})";
  const SourceAnswer a = ParseMusicBrainzDiscAnswer(body, {"D", 1, 1});
  ASSERT_EQ(a.candidates.size(), 1u);
  EXPECT_EQ(a.candidates[0].album, "");
  EXPECT_EQ(a.candidates[0].year, "");
  EXPECT_EQ(a.candidates[0].discNumber, 0);
  EXPECT_EQ(a.candidates[0].tracks[0].lengthMs, 0);
}

}  // namespace
}  // namespace korvalin
