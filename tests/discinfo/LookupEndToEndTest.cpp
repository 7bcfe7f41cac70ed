// The whole look-up of the example disc: its image's sheet read through the CD library, the kept
// choice, and both online databases played by loopback servers through the real HTTP client.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "discinfo/CdTextSource.h"
#include "discinfo/ProgramDiscLookup.h"
#include "discinfo/DiscLookup.h"
#include "discinfo/OnlineSources.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CurlHttpClient.h"
#include "rip/modAKRip32.h"
#include "tests/support/DiscInfoAnswers.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SettledHttpClient.h"
#include "tests/support/TempDir.h"
#include "tests/support/VectorDisc.h"

namespace korvalin {
namespace {

using test::ScriptedAnswer;

// The disc's text as the program reads it from the sheet of a sparse image of the example disc.
DiscText SheetText(const test::TempDir& dir) {
  const std::string cue = test::WriteVectorImage(dir.Path(), "PERFORMER \"Anna Vector\"\nTITLE \"Vector Album\"\n",
                                                 {"    TITLE \"Opening\"\n"});
  CdioLibrary library({CdioLibrary::ImageDrive(cue)});
  modAKRip32 cd(library);
  if (!cd.OpenDrive(0)) throw std::runtime_error(library.LastFault());
  DiscText text = library.ReadDiscText(cd.CurrentDriveHandle);
  cd.CloseDrive();
  return text;
}

struct Rig {
  test::TempDir dir;
  test::LoopbackHttpServer musicBrainz, gnudb;
  test::ScriptedEventLoop loop;
  CurlHttpClient curl;
  test::SettledHttpClient http{curl, loop};
  DiscInfoCache cache{dir / "discinfo"};
  CdTextSource discText{SheetText(dir)};

  DiscLookupResult Run(LookupOptions options, bool again = false) {
    if (options.musicBrainzUrl == LookupOptions{}.musicBrainzUrl) options.musicBrainzUrl = musicBrainz.BaseUrl();
    if (options.gnudbUrl == LookupOptions{}.gnudbUrl) options.gnudbUrl = gnudb.BaseUrl();
    const auto online = MakeOnlineSources(http, loop, options);
    LookupSources sources{&discText, &cache, {}};
    for (const auto& s : online) sources.online.push_back(s.get());
    return LookUpDisc({test::VectorDisc(), options, again, {}}, sources);
  }
  std::size_t Requests() const { return musicBrainz.Requests().size() + gnudb.Requests().size(); }
};

std::vector<std::string> Summary(const DiscLookupResult& r) {
  std::vector<std::string> lines;
  for (const auto& c : r.candidates) lines.push_back(c.source + ": " + c.album);
  return lines;
}

// The address of a server that has stopped: every request is refused.
std::string StoppedServer() {
  test::LoopbackHttpServer server;
  return server.BaseUrl();
}

TEST(LookupEndToEnd, EverySourceDownLeavesTheSheetsText) {
  Rig rig;
  LookupOptions options;
  options.musicBrainzUrl = StoppedServer();
  options.gnudbUrl = StoppedServer();
  const DiscLookupResult r = rig.Run(options);
  EXPECT_EQ(Summary(r), std::vector<std::string>{"CD-Text: Vector Album"});
  ASSERT_EQ(r.candidates.size(), 1u);
  EXPECT_EQ(r.candidates[0].artist, "Anna Vector");
  ASSERT_EQ(r.candidates[0].tracks.size(), 1u);
  EXPECT_EQ(r.candidates[0].tracks[0].title, "Opening");
  ASSERT_EQ(r.problems.size(), 2u);
  EXPECT_EQ(r.problems[0].rfind("MusicBrainz: ", 0), 0u) << r.problems[0];
  EXPECT_EQ(r.problems[1].rfind("gnudb: ", 0), 0u) << r.problems[1];
  for (const auto& p : r.problems) EXPECT_EQ(p.find('\n'), std::string::npos);
}

TEST(LookupEndToEnd, AKeptChoiceSendsNoRequestUntilAskedAgain) {
  Rig rig;
  DiscInfoCandidate chosen;
  chosen.source = "MusicBrainz";
  chosen.album = "Vector Album (edited)";
  ASSERT_EQ(rig.cache.Save(test::VectorDisc(), chosen), "");
  const DiscLookupResult kept = rig.Run({});
  EXPECT_EQ(rig.Requests(), 0u);
  EXPECT_EQ(Summary(kept), (std::vector<std::string>{"cache: Vector Album (edited)", "CD-Text: Vector Album"}));

  rig.musicBrainz.Queue(ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
  rig.gnudb.Queue(ScriptedAnswer::Text(202, "202 No match for disc ID a70de90c.\r\n"));
  const DiscLookupResult again = rig.Run({}, true);
  EXPECT_EQ(rig.musicBrainz.Requests().size(), 1u);
  EXPECT_FALSE(again.fromCache);
  EXPECT_EQ(again.candidates.front().album, "Vector Album");
}

TEST(LookupEndToEnd, UnknownToMusicBrainzTheCddbDatabaseAnswersAfterAChoiceOfEntries) {
  Rig rig;
  rig.musicBrainz.Serve([](const test::RecordedRequest&) { return ScriptedAnswer::Json("{\"error\": \"Not found\"}", 404); });
  rig.gnudb.Queue(ScriptedAnswer::Text(200, test::GnudbQueryTwoMatches()));
  rig.gnudb.Queue(ScriptedAnswer::Text(200, test::GnudbRockEntry()));
  rig.gnudb.Queue(ScriptedAnswer::Text(200, test::GnudbThirteenTracks()));
  const DiscLookupResult r = rig.Run({});

  const auto asked = rig.gnudb.Requests();
  ASSERT_GE(asked.size(), 2u);
  EXPECT_NE(asked[0].Query().find("cmd=cddb+query+a70de90c+12+150+22767+"), std::string::npos) << asked[0].target;
  EXPECT_NE(asked[0].Query().find("+174597+3563&"), std::string::npos) << asked[0].target;
  EXPECT_NE(asked[0].Query().find("proto=6"), std::string::npos) << asked[0].target;
  EXPECT_NE(asked[1].Query().find("cmd=cddb+read+rock+a70de90c"), std::string::npos) << asked[1].target;
  ASSERT_FALSE(r.candidates.empty());
  const DiscInfoCandidate& best = r.candidates.front();
  EXPECT_EQ(best.source, "gnudb");
  EXPECT_EQ(best.album, "Vector Album");
  EXPECT_EQ(best.year, "1994");
  EXPECT_EQ(best.tracks.at(3).title, "A title long enough to be split over two lines");
  EXPECT_EQ(best.reasons, (std::vector<std::string>{"the track count agrees with the disc (12 tracks)",
                                                    "every track length agrees with the disc within 2 seconds",
                                                    "CD-Text agrees on the album title",
                                                    "from gnudb, source 2 to ask"}));
  EXPECT_EQ(r.candidates.back().source, "CD-Text");
  ASSERT_FALSE(r.problems.empty());
  EXPECT_EQ(r.problems[0].rfind("MusicBrainz: ", 0), 0u) << r.problems[0];
}

TEST(LookupEndToEnd, BothDatabasesAnswerAndTheRankingSaysWhy) {
  // Both releases hold a medium with the disc's id; the disc's own text names the album, which
  // outweighs the preferred country of the other.
  for (const std::string country : {"", "DE"}) {
    SCOPED_TRACE(country);
    Rig rig;
    rig.musicBrainz.Queue(ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
    rig.gnudb.Queue(ScriptedAnswer::Text(200, "200 rock a70de90c Anna Vector / Vector Album\r\n"));
    rig.gnudb.Queue(ScriptedAnswer::Text(200, test::GnudbRockEntry()));
    LookupOptions options;
    options.preferredCountry = country;
    const DiscLookupResult r = rig.Run(options);
    EXPECT_EQ(Summary(r), (std::vector<std::string>{"MusicBrainz: Vector Album", "MusicBrainz: Vector Anthology",
                                                    "gnudb: Vector Album", "CD-Text: Vector Album"}));
    EXPECT_EQ(r.problems, std::vector<std::string>{});
    ASSERT_EQ(r.candidates.size(), 4u);
    const DiscInfoCandidate& album = r.candidates[0];
    EXPECT_EQ(album.reasons, (std::vector<std::string>{"the medium's disc id matches exactly",
                                                       "the track count agrees with the disc (12 tracks)",
                                                       "track 12's length differs from the disc by 1043 seconds",
                                                       "CD-Text agrees on the album title",
                                                       "from MusicBrainz, the first source to ask"}));
    // The genre only the CDDB entry of the same album gives.
    EXPECT_EQ(album.genre, "Synthpop");
    EXPECT_EQ(album.filledFrom, (std::vector<std::pair<std::string, std::string>>{{"genre", "gnudb"}}));
    // The set's second disc gives the titles of its own medium.
    const DiscInfoCandidate& anthology = r.candidates[1];
    EXPECT_EQ(anthology.tracks.at(0).title, "Anthology 2-1");
    EXPECT_EQ(anthology.reasons.front(), "the medium's disc id matches exactly");
    const bool countryNamed = std::find(anthology.reasons.begin(), anthology.reasons.end(),
                                        "released in your preferred country (DE)") != anthology.reasons.end();
    EXPECT_EQ(countryNamed, country == "DE");
  }
}

// The window's look-up over every source: what it keeps with "Use" comes back first without a
// request, also offline, until it asks again.
TEST(LookupEndToEnd, TheWindowsLookUpKeepsAChoiceAndAsksAgainWhenTold) {
  Rig rig;
  int textReads = 0;
  ProgramDiscLookup lookup([&] { return ++textReads, SheetText(rig.dir); }, rig.http, rig.loop, rig.dir / "kept");
  LookupOptions options;
  options.musicBrainzUrl = rig.musicBrainz.BaseUrl();
  options.gnudbUrl = rig.gnudb.BaseUrl();
  options.online = false;
  const LookupResult offline = lookup.Look(test::VectorDisc(), options, false, {});
  ASSERT_EQ(offline.candidates.size(), 1u);
  EXPECT_EQ(offline.candidates[0].source, "CD-Text");

  DiscInfoCandidate chosen = offline.candidates[0];
  chosen.tracks[0].title = "Opening (edited)";
  ASSERT_EQ(lookup.Remember(test::VectorDisc(), chosen), "");
  options.online = true;
  const LookupResult kept = lookup.Look(test::VectorDisc(), options, false, {});
  EXPECT_EQ(rig.Requests(), 0u);
  EXPECT_EQ(kept.candidates.at(0).source, "cache");
  EXPECT_EQ(kept.candidates.at(0).tracks.at(0).title, "Opening (edited)");

  rig.musicBrainz.Queue(ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
  rig.gnudb.Queue(ScriptedAnswer::Text(202, "202 No match for disc ID a70de90c.\r\n"));
  const LookupResult fresh = lookup.Look(test::VectorDisc(), options, true, {});
  EXPECT_EQ(rig.Requests(), 2u);
  EXPECT_EQ(fresh.candidates.at(0).album, "Vector Album");
  EXPECT_EQ(fresh.candidates.at(0).source, "MusicBrainz");
  EXPECT_EQ(textReads, 3);
}

}  // namespace
}  // namespace korvalin
