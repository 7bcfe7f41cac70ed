// The online sources against a loopback server that answers as the databases would (or would
// not), through the real HTTP client. The requests run on the real clock while the virtual clock
// stands still, so the virtual clock shows the program's own waits exactly.

#include <gtest/gtest.h>

#include "discinfo/GnudbSource.h"
#include "discinfo/MusicBrainzSource.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/LibDiscId.h"
#include "tests/support/DiscInfoAnswers.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/SettledHttpClient.h"

namespace korvalin {
namespace {

using test::LoopbackHttpServer;
using test::RecordedRequest;
using test::ScriptedAnswer;

constexpr const char* kIncludes = "inc=recordings+artist-credits+labels+release-groups&fmt=json";
constexpr const char* kVectorToc =
    "toc=1+12+267257+150+22767+41887+58317+72102+91375+104652+115380+132165+143932+159870+174597";

struct Rig {
  LoopbackHttpServer server;
  test::ScriptedEventLoop loop;
  CurlHttpClient curl;
  test::SettledHttpClient http{curl, loop};

  MusicBrainzSource MusicBrainz(double timeout = 5, std::size_t maxBody = std::size_t{8} << 20) {
    return MusicBrainzSource(http, loop, {server.BaseUrl() + "/", timeout, maxBody, nullptr});
  }
  GnudbSource Gnudb() {
    GnudbOptions o;
    o.baseUrl = server.BaseUrl();
    o.timeoutSeconds = 5;
    return GnudbSource(http, loop, o);
  }
  // Virtual seconds between the starts of request i-1 and i, to the clock's rounding.
  double Gap(std::size_t i) const { return http.startedAt.at(i) - http.startedAt.at(i - 1) + 1e-9; }
};

const std::function<bool()> kNeverCancelled = [] { return false; };

TEST(OnlineSources, TheExampleDiscHasThePublishedIds) {
  const DiscQuery disc = test::VectorDisc();
  LibDiscId library;
  EXPECT_EQ(MusicDatabaseIdOf(disc.toc, library), test::kVectorMusicBrainzId);
  EXPECT_EQ(CddbId(disc.toc), test::kVectorCddbId);
  // A query without the CDDB id computes it.
  DiscQuery withoutId = disc;
  withoutId.cddbId = 0;
  Rig rig;
  EXPECT_NE(rig.Gnudb().QueryUrl(withoutId).find("cmd=cddb+query+a70de90c+12+150+"), std::string::npos);
}

TEST(MusicBrainzSource, OneRequestByDiscIdNamingTheProgram) {
  Rig rig;
  rig.server.Queue(ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
  auto source = rig.MusicBrainz();
  const SourceAnswer a = source.Look(test::VectorDisc(), kNeverCancelled);

  const auto requests = rig.server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].Path(), "/ws/2/discid/I5l9cCSFccLKFEKS.7wqSZAorPU-");
  EXPECT_EQ(requests[0].Query(), kIncludes);
  EXPECT_EQ(requests[0].Header("User-Agent"), "Korvalin/" KORVALIN_VERSION " ( " KORVALIN_HOMEPAGE " )");
  EXPECT_EQ(a.problem, "");
  ASSERT_EQ(a.candidates.size(), 2u);
  EXPECT_EQ(a.candidates[1].album, "Vector Anthology");
  EXPECT_EQ(a.candidates[1].tracks[0].title, "Anthology 2-1");
}

TEST(MusicBrainzSource, AnUnknownIdIsLookedUpByTableOfContentsASecondLater) {
  Rig rig;
  rig.server.Queue(ScriptedAnswer::Json(R"({"error":"Not Found"})", 404));
  rig.server.Queue(ScriptedAnswer::Json(test::MusicBrainzTocAnswer()));
  auto source = rig.MusicBrainz();
  const SourceAnswer a = source.Look(test::VectorDisc(), kNeverCancelled);

  const auto requests = rig.server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Path(), "/ws/2/discid/-");
  EXPECT_EQ(requests[1].Query(), std::string(kVectorToc) + "&cdstubs=no&" + kIncludes);
  EXPECT_EQ(requests[1].Header("User-Agent"), requests[0].Header("User-Agent"));
  EXPECT_GE(rig.Gap(1), 1.0);  // one request a second to one host
  EXPECT_LT(rig.Gap(1), 1.1);
  EXPECT_EQ(a.candidates.size(), 2u);
}

TEST(MusicBrainzSource, BusyServerIsAskedOnceMoreNoSoonerThanItSaid) {
  Rig rig;
  rig.server.Queue({503, {{"Retry-After", "3"}}, "busy"});
  rig.server.Queue(ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
  auto source = rig.MusicBrainz();
  const SourceAnswer a = source.Look(test::VectorDisc(), kNeverCancelled);
  ASSERT_EQ(rig.server.Requests().size(), 2u);
  EXPECT_EQ(rig.server.Requests()[1].target, rig.server.Requests()[0].target);
  EXPECT_GE(rig.Gap(1), 3.0);
  EXPECT_LT(rig.Gap(1), 3.1);
  EXPECT_EQ(a.candidates.size(), 2u);
}

TEST(MusicBrainzSource, CancelWhileWaitingForABusyServerEndsAtOnce) {
  Rig rig;
  rig.server.Queue({429, {{"Retry-After", "30"}}, ""});
  auto source = rig.MusicBrainz();
  const SourceAnswer a = source.Look(test::VectorDisc(), [&] { return rig.loop.Elapsed() > 2; });
  EXPECT_EQ(rig.server.Requests().size(), 1u);
  EXPECT_EQ(a.problem, "MusicBrainz: cancelled");
  EXPECT_LT(rig.loop.Elapsed(), 2.1);
}

TEST(GnudbSource, QueryThenReadOfEachListedEntry) {
  Rig rig;
  rig.server.Queue(ScriptedAnswer::Text(200, test::GnudbQueryTwoMatches()));
  rig.server.Queue(ScriptedAnswer::Text(200, test::GnudbRockEntry()));
  rig.server.Queue(ScriptedAnswer::Text(200, test::GnudbThirteenTracks()));
  auto source = rig.Gnudb();
  const SourceAnswer a = source.Look(test::VectorDisc(), kNeverCancelled);

  const auto requests = rig.server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::string hello = "&hello=anonymous+localhost+Korvalin+" KORVALIN_VERSION "&proto=6";
  EXPECT_EQ(requests[0].Path(), "/~cddb/cddb.cgi");
  EXPECT_EQ(requests[0].Query(),
            "cmd=cddb+query+a70de90c+12+150+22767+41887+58317+72102+91375+104652+115380+132165+143932+159870+174597+3563" +
                hello);
  EXPECT_EQ(requests[1].Query(), "cmd=cddb+read+rock+a70de90c" + hello);
  EXPECT_EQ(requests[2].Query(), "cmd=cddb+read+misc+a70de90c" + hello);
  EXPECT_EQ(requests[2].Header("User-Agent"), "Korvalin/" KORVALIN_VERSION " ( " KORVALIN_HOMEPAGE " )");
  EXPECT_GE(rig.Gap(1), 1.0);
  EXPECT_GE(rig.Gap(2), 1.0);

  // The entry with more tracks than the disc is no candidate; the other is.
  EXPECT_EQ(a.problem, "");
  ASSERT_EQ(a.candidates.size(), 1u);
  const DiscInfoCandidate& c = a.candidates[0];
  EXPECT_EQ(c.source, "gnudb");
  EXPECT_EQ(c.artist, "Anna Vector");
  EXPECT_EQ(c.album, "Vector Album");
  EXPECT_EQ(c.year, "1994");
  EXPECT_EQ(c.genre, "Synthpop");
  ASSERT_EQ(c.tracks.size(), 12u);
  EXPECT_EQ(c.tracks[3].title, "A title long enough to be split over two lines");
  EXPECT_EQ(c.tracks[0].lengthMs, (22767 - 150) * 1000 / 75);
  EXPECT_EQ(c.tracks[11].lengthMs, (3563 * 75 - 174597) * 1000 / 75);
}

TEST(GnudbSource, AnEntryInLatin1IsConverted) {
  Rig rig;
  rig.server.Queue(ScriptedAnswer::Text(200, "200 rock a70de90c Caf\xe9 / Bl\xfc\r\n"));
  rig.server.Queue(ScriptedAnswer::Text(200, "210 rock a70de90c\r\nDTITLE=Caf\xe9 / Bl\xfc\r\nTTITLE0=Gr\xfc\xdf" "e\r\n.\r\n"));
  auto source = rig.Gnudb();
  const SourceAnswer a = source.Look(test::VectorDisc(), kNeverCancelled);
  ASSERT_EQ(a.candidates.size(), 1u);
  EXPECT_EQ(a.candidates[0].artist, "Caf\xc3\xa9");
  EXPECT_EQ(a.candidates[0].album, "Bl\xc3\xbc");
  EXPECT_EQ(a.candidates[0].tracks[0].title, "Gr\xc3\xbc\xc3\x9f" "e");
}

// Each fault gives one plain line and no candidate; nothing hangs, nothing throws.
TEST(OnlineSources, EachFaultGivesOnePlainLine) {
  const std::string xmcdNoTracks = "210 rock a70de90c\nDTITLE=A / B\n.\n";
  const struct {
    const char* name;
    bool gnudb;
    std::function<ScriptedAnswer(const RecordedRequest&)> answer;
    const char* problem;
  } rows[] = {
      {"no answer in time", false, [](const RecordedRequest&) { return ScriptedAnswer::Silent(); },
       "MusicBrainz: no answer within 0.3 s"},
      {"server error", false, [](const RecordedRequest&) { return ScriptedAnswer::Text(500, "oops"); },
       "MusicBrainz: server error (HTTP 500)"},
      {"busy twice", false, [](const RecordedRequest&) { return ScriptedAnswer{503, {{"Retry-After", "1"}}, ""}; },
       "MusicBrainz: the server is busy (HTTP 503); try again later"},
      {"broken JSON", false, [](const RecordedRequest&) { return ScriptedAnswer::Json(R"({"releases":[{)"); },
       "MusicBrainz: the answer is not valid JSON"},
      {"HTML error page", false,
       [](const RecordedRequest&) { return ScriptedAnswer::Text(200, "<html><body>Maintenance</body></html>", "text/html"); },
       "MusicBrainz: the answer is a web page, not disc information"},
      {"200 with no releases", false, [](const RecordedRequest&) { return ScriptedAnswer::Json(R"({"releases":[]})"); },
       "MusicBrainz: no release holds this disc"},
      {"unknown id and TOC", false, [](const RecordedRequest&) { return ScriptedAnswer::Json(R"({"error":"Not Found"})", 404); },
       "MusicBrainz: no release holds this disc"},
      {"huge body", false, [](const RecordedRequest&) { return ScriptedAnswer::Json(std::string(9u << 20, ' ')); },
       "MusicBrainz: answer too large"},
      {"redirect loop", false, [](const RecordedRequest& r) { return ScriptedAnswer::Redirect(r.target); },
       "MusicBrainz: too many redirects (more than 5, or a redirect loop)"},
      {"gnudb no match", true, [](const RecordedRequest&) { return ScriptedAnswer::Text(200, "202 No match found\r\n"); },
       "gnudb: no entry for this disc"},
      {"gnudb corrupt", true, [](const RecordedRequest&) { return ScriptedAnswer::Text(200, "403 Database entry is corrupt\r\n"); },
       "gnudb: the entry for this disc is corrupt"},
      {"gnudb HTML page", true, [](const RecordedRequest&) { return ScriptedAnswer::Text(200, "<html>Error</html>", "text/html"); },
       "gnudb: the answer is not a CDDB answer"},
      {"gnudb entry of 0 tracks", true,
       [&](const RecordedRequest& r) {
         return ScriptedAnswer::Text(200, r.Query().find("query") != std::string::npos ? "200 rock a70de90c A / B\n" : xmcdNoTracks);
       },
       "gnudb: the entry rock/a70de90c lists no tracks"},
      {"gnudb more tracks than the disc", true,
       [](const RecordedRequest& r) {
         return ScriptedAnswer::Text(200, r.Query().find("query") != std::string::npos ? "200 misc a70de90c A / B\n"
                                                                                       : test::GnudbThirteenTracks());
       },
       "gnudb: the entry misc/a70de90c lists 13 tracks; the disc has 12"},
      {"gnudb server error", true, [](const RecordedRequest&) { return ScriptedAnswer::Text(502, "bad gateway"); },
       "gnudb: server error (HTTP 502)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Rig rig;
    rig.server.Serve(row.answer);
    SourceAnswer a;
    if (row.gnudb) {
      GnudbOptions o;
      o.baseUrl = rig.server.BaseUrl();
      o.timeoutSeconds = 0.3;
      a = GnudbSource(rig.http, rig.loop, o).Look(test::VectorDisc(), kNeverCancelled);
    } else {
      a = rig.MusicBrainz(0.3).Look(test::VectorDisc(), kNeverCancelled);
    }
    EXPECT_TRUE(a.candidates.empty());
    EXPECT_EQ(a.problem, row.problem);
  }
}

TEST(OnlineSources, NoServerThereIsOnePlainLine) {
  test::ScriptedEventLoop loop;
  CurlHttpClient curl;
  std::string base;
  {
    LoopbackHttpServer gone;  // a port that was just free and is closed again
    base = gone.BaseUrl();
  }
  const SourceAnswer a = MusicBrainzSource(curl, loop, {base, 2, 1024, nullptr}).Look(test::VectorDisc(), kNeverCancelled);
  EXPECT_EQ(a.problem, "MusicBrainz: the server refused the connection or cannot be reached");
  const SourceAnswer none = MusicBrainzSource(NoHttpClient::Instance(), loop, {base, 2, 1024, nullptr}).Look(test::VectorDisc(), kNeverCancelled);
  EXPECT_EQ(none.problem, "MusicBrainz: this program has no network access");
}

}  // namespace
}  // namespace korvalin
