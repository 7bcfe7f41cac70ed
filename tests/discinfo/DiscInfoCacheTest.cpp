// The kept choice of a disc: it comes back as it was saved, a damaged or foreign file is passed
// over with one line, and a save that cannot happen says so and keeps the old file.

#include "discinfo/DiscInfoCache.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "tests/support/VectorDisc.h"

namespace korvalin {
namespace {

DiscInfoCandidate Chosen() {
  DiscInfoCandidate c;
  c.source = "MusicBrainz";
  c.album = "Caf\xC3\xA9 \"Live\"";
  c.artist = "The Band";
  c.year = "1999";
  c.country = "DE";
  c.discNumber = 2;
  c.discCount = 3;
  c.releaseId = "rel";
  c.artistIds = {"a1", "a2"};
  c.tracks = {{1, "Dawn", "", 180000, "ISRC1", "rec1", "trk1", ""}, {2, "Noon", "Guest", 0, "", "", "", "Bo"}};
  return c;
}

TEST(DiscInfoCache, AChoiceComesBackAsItWasSavedAndNamesItsSource) {
  test::TempDir dir;
  const DiscInfoCache cache(dir / "deep/discinfo");  // folders are made as needed
  const DiscQuery disc = test::VectorDisc();
  EXPECT_FALSE(cache.Load(disc).candidate);
  EXPECT_EQ(cache.Load(disc).problem, "");
  ASSERT_EQ(cache.Save(disc, Chosen()), "");
  EXPECT_EQ(cache.FileOf(disc), dir / "deep/discinfo/a70de90c-I5l9cCSFccLKFEKS.7wqSZAorPU-.json");

  const CachedChoice kept = cache.Load(disc);
  ASSERT_TRUE(kept.candidate) << kept.problem;
  const DiscInfoCandidate& c = *kept.candidate;
  const DiscInfoCandidate want = Chosen();
  EXPECT_EQ(c.source, "cache");
  EXPECT_EQ(c.reasons, std::vector<std::string>{"chosen before for this disc (from MusicBrainz)"});
  EXPECT_EQ(c.album, want.album);
  EXPECT_EQ(c.artist, want.artist);
  EXPECT_EQ(c.year, want.year);
  EXPECT_EQ(c.country, want.country);
  EXPECT_EQ(c.discNumber, 2);
  EXPECT_EQ(c.discCount, 3);
  EXPECT_EQ(c.artistIds, want.artistIds);
  ASSERT_EQ(c.tracks.size(), 2u);
  EXPECT_EQ(c.tracks[0].lengthMs, 180000);
  EXPECT_EQ(c.tracks[0].isrc, "ISRC1");
  EXPECT_EQ(c.tracks[1].artist, "Guest");
  EXPECT_EQ(c.tracks[1].songwriter, "Bo");

  // An edit saved over it replaces it, and no temporary file is left behind.
  DiscInfoCandidate edited = c;
  edited.tracks[0].title = "Dusk";
  ASSERT_EQ(cache.Save(disc, edited), "");
  EXPECT_EQ(cache.Load(disc).candidate->tracks[0].title, "Dusk");
  EXPECT_EQ(test::NamesIn(dir / "deep/discinfo").size(), 1u);
  // Another disc has a file of its own; a disc without a music database id is known by its CDDB id.
  DiscQuery other = disc;
  other.cddbId = 1;
  EXPECT_FALSE(cache.Load(other).candidate);
  other.musicBrainzId.clear();
  EXPECT_EQ(cache.FileOf(other), dir / "deep/discinfo/00000001.json");
  // A file without the format and the ids, as the window's first version wrote them, is read.
  test::WriteFile(cache.FileOf(other), R"({"source": "gnudb", "album": "Plain", "tracks": [{"number": 1, "title": "A"}]})");
  const CachedChoice plain = cache.Load(other);
  ASSERT_TRUE(plain.candidate) << plain.problem;
  EXPECT_EQ(plain.candidate->album, "Plain");
  EXPECT_EQ(plain.candidate->reasons, std::vector<std::string>{"chosen before for this disc (from gnudb)"});
}

TEST(DiscInfoCache, ADamagedFileIsIgnoredWithOneLine) {
  const DiscQuery disc = test::VectorDisc();
  const std::string good = CacheText(disc, Chosen());
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* name;
    std::string text;
    std::string said;
  } cases[] = {
      {"empty", "", "it is not JSON"},
      {"cut short", good.substr(0, good.size() / 2), "it is not JSON"},
      {"not an object", "[1, 2]", "it is not JSON"},
      {"another disc's file", replaced("a70de90c", "00000001"), "it belongs to another disc"},
      {"another format", replaced("\"format\": 1", "\"format\": 7"), "it is of another format"},
      {"no format, another disc's id", "{\"cddbId\": \"00000001\", \"tracks\": []}", "it belongs to another disc"},
      {"a number as the album", replaced("\"album\": \"Caf\xC3\xA9 \\\"Live\\\"\"", "\"album\": 5"), "\"album\" is not text"},
      {"a track number off the disc", replaced("\"number\": 2", "\"number\": 100"), "\"number\" is out of range"},
      {"a huge length", replaced("\"lengthMs\": 180000", "\"lengthMs\": 99999999999999999999"), "\"lengthMs\" is not a whole number"},
      {"tracks missing", replaced("\"tracks\"", "\"tricks\""), "it lists no tracks"},
  };
  test::TempDir dir;
  const DiscInfoCache cache(dir.Path());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(cache.FileOf(disc), c.text);
    const CachedChoice kept = cache.Load(disc);
    EXPECT_FALSE(kept.candidate);
    EXPECT_EQ(kept.problem, "The saved disc information \"" + cache.FileOf(disc) + "\" was ignored: " + c.said + ".");
    EXPECT_EQ(kept.problem.find('\n'), std::string::npos);
  }
  // A folder in the file's place is no file; nothing hangs or throws.
  ::unlink(cache.FileOf(disc).c_str());
  ASSERT_EQ(::mkdir(cache.FileOf(disc).c_str(), 0755), 0);
  EXPECT_NE(cache.Load(disc).problem.find("it is not a regular file"), std::string::npos);
}

TEST(DiscInfoCache, ASaveThatCannotHappenSaysSoAndKeepsTheOldFile) {
  test::TempDir dir;
  const DiscQuery disc = test::VectorDisc();
  // A file where the folder should be.
  test::WriteFile(dir / "blocked", "a file of the user's");
  const std::string why = DiscInfoCache(dir / "blocked/discinfo").Save(disc, Chosen());
  EXPECT_NE(why.find("for saved disc information cannot be made"), std::string::npos) << why;
  EXPECT_EQ(test::ReadFile(dir / "blocked"), "a file of the user's");

  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const DiscInfoCache cache(dir / "discinfo");
  ASSERT_EQ(cache.Save(disc, Chosen()), "");
  ASSERT_EQ(::chmod((dir / "discinfo").c_str(), 0555), 0);
  DiscInfoCandidate edited = Chosen();
  edited.album = "Edited";
  const std::string refused = cache.Save(disc, edited);
  ::chmod((dir / "discinfo").c_str(), 0755);
  EXPECT_NE(refused.find("The disc information cannot be saved"), std::string::npos) << refused;
  EXPECT_EQ(cache.Load(disc).candidate->album, Chosen().album);
}

}  // namespace
}  // namespace korvalin
