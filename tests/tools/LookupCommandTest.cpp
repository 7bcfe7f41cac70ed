// korvalin-cli lookup offline: the disc image's own text, the kept choice, the JSON shape, and
// what it says when nothing is known.

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "discinfo/DiscInfoCache.h"
#include "tests/support/DiscInfoAnswers.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/VectorDisc.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

// A home of its own: the kept choices go to its data folder, the settings to its config folder.
struct LookupHome {
  test::TempDir dir;
  test::ScopedEnv env;
  LookupHome() {
    env.Set("XDG_DATA_HOME", (dir / "data").c_str()).Set("XDG_CONFIG_HOME", (dir / "config").c_str());
    env.Set("HOME", dir.Path().c_str());
  }
  DiscInfoCache Cache() const { return DiscInfoCache(dir / "data/Korvalin/discinfo"); }
};

const std::string kSheetText = "PERFORMER \"The Band\"\nTITLE \"First Light\"\n";
const std::vector<std::string> kTrackText = {"    TITLE \"Dawn\"\n", "    TITLE \"Noon\"\n    PERFORMER \"Guest\"\n"};

TEST(CliLookup, OfflineTheDiscsOwnTextAndTheKeptChoiceAnswer) {
  LookupHome home;
  test::TempDir images;
  ASSERT_EQ(::mkdir((images / "text").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir((images / "bare").c_str(), 0755), 0);
  const std::string withText = test::WriteVectorImage(images / "text", kSheetText, kTrackText);
  const std::string bare = test::WriteVectorImage(images / "bare");
  struct Case {
    const char* name;
    bool kept;
    std::vector<std::string> args;
    int status;
    std::string out;  // the whole standard output, or its beginning when it ends in "..."
    std::string err;
  };
  const std::vector<Case> cases = {
      {"the sheet's text", false, {"lookup", "--image", withText, "--offline"}, 0,
       "1. The Band \xE2\x80\x93 First Light  [CD-Text]\n   - from CD-Text, the disc's own text\n    1  Dawn\n    2  Noon (Guest)\n", ""},
      {"nothing known", false, {"lookup", "--image", bare, "--offline"}, 1, "",
       "korvalin-cli: nothing is known of this disc offline (no CD-Text, no kept choice)\n"},
      {"the kept choice first", true, {"lookup", "--image", withText, "--offline"}, 0,
       "1. Kept Artist \xE2\x80\x93 Kept Album (2001)  [cache]\n   - chosen before for this disc (from MusicBrainz)\n...", ""},
      {"again passes it over", true, {"lookup", "--image", withText, "--offline", "--again"}, 0,
       "1. The Band \xE2\x80\x93 First Light  [CD-Text]\n...", ""},
      {"a wrong option", false, {"lookup", "--image", bare, "--fast"}, 1, "",
       "korvalin-cli: usage: lookup [--drive N | --image FILE.cue] [--json] [--offline] [--again] "
       "[--musicbrainz-url URL] [--gnudb-url URL]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink(home.Cache().FileOf(test::VectorDisc()).c_str());
    if (c.kept) {
      DiscInfoCandidate chosen;
      chosen.source = "MusicBrainz";
      chosen.album = "Kept Album";
      chosen.artist = "Kept Artist";
      chosen.year = "2001";
      chosen.tracks = {{1, "Edited title", "", 0, "", "", "", ""}};
      ASSERT_EQ(home.Cache().Save(test::VectorDisc(), chosen), "");
    }
    const test::CliResult r = test::RunCli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.out.size() > 3 && c.out.substr(c.out.size() - 3) == "...") {
      EXPECT_EQ(r.out.substr(0, c.out.size() - 3), c.out.substr(0, c.out.size() - 3));
    } else {
      EXPECT_EQ(r.out, c.out);
    }
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(CliLookup, JsonIsOneObjectOfCandidatesBestFirst) {
  LookupHome home;
  test::TempDir images;
  const std::string cue = test::WriteVectorImage(images.Path(), kSheetText, kTrackText);
  const test::CliResult r = test::RunCli({"lookup", "--image", cue, "--offline", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json out = nlohmann::json::parse(r.out);
  const nlohmann::json expected = nlohmann::json::parse(R"({"candidates": [{
      "source": "CD-Text", "album": "First Light", "artist": "The Band", "year": "",
      "tracks": [{"number": 1, "title": "Dawn", "artist": ""}, {"number": 2, "title": "Noon", "artist": "Guest"}],
      "reasons": ["from CD-Text, the disc's own text"]}]})");
  EXPECT_EQ(out, expected) << r.out;
}

// Online through loopback servers: the music database answers, the CDDB server is gone. The
// candidates come ranked with their reasons, the failure is one line on standard error.
TEST(CliLookup, TheDatabasesRankedWithReasonsAndAFailureInOneLine) {
  LookupHome home;
  test::TempDir images;
  const std::string cue = test::WriteVectorImage(images.Path(), "TITLE \"Vector Album\"\n");
  test::LoopbackHttpServer musicBrainz;
  musicBrainz.Queue(test::ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
  std::string gone;
  {
    test::LoopbackHttpServer stopped;
    gone = stopped.BaseUrl();
  }
  const test::CliResult r =
      test::RunCli({"lookup", "--image", cue, "--json", "--musicbrainz-url", musicBrainz.BaseUrl(), "--gnudb-url", gone});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(musicBrainz.Requests().size(), 1u);
  EXPECT_EQ(musicBrainz.Requests()[0].Path(), "/ws/2/discid/I5l9cCSFccLKFEKS.7wqSZAorPU-");
  EXPECT_EQ(r.err.rfind("korvalin-cli: gnudb: ", 0), 0u) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

  const nlohmann::json out = nlohmann::json::parse(r.out);
  const auto& candidates = out.at("candidates");
  ASSERT_EQ(candidates.size(), 3u) << r.out;
  const std::vector<std::string> albums = {candidates[0].at("album"), candidates[1].at("album"), candidates[2].at("album")};
  EXPECT_EQ(albums, (std::vector<std::string>{"Vector Album", "Vector Anthology", "Vector Album"}));
  EXPECT_EQ(candidates[0].at("source"), "MusicBrainz");
  EXPECT_EQ(candidates[0].at("artist"), "Anna Vector & The Offsets");
  EXPECT_EQ(candidates[0].at("year"), "1994");
  EXPECT_EQ(candidates[0].at("reasons").at(0), "the medium's disc id matches exactly");
  EXPECT_EQ(candidates[0].at("tracks").size(), 12u);
  EXPECT_EQ(candidates[0].at("tracks").at(2).at("artist"), "Guest Singer");
  EXPECT_EQ(candidates[1].at("tracks").at(0).at("title"), "Anthology 2-1");
  EXPECT_EQ(candidates[2].at("source"), "CD-Text");
  for (const auto& c : candidates) EXPECT_EQ(c.size(), 6u) << c.dump();
}

// The window's settings steer the command too: looking up turned off there sends nothing, and
// the addresses kept there are asked without any option.
TEST(CliLookup, TheSettingsSayWhetherAndWhereToAsk) {
  test::TempDir images;
  const std::string cue = test::WriteVectorImage(images.Path(), "TITLE \"Vector Album\"\n");
  for (const bool online : {false, true}) {
    SCOPED_TRACE(online);
    LookupHome home;
    test::LoopbackHttpServer musicBrainz, gnudb;
    musicBrainz.Queue(test::ScriptedAnswer::Json(test::MusicBrainzTwoReleases()));
    gnudb.Queue(test::ScriptedAnswer::Text(202, "202 No match for disc ID a70de90c.\r\n"));
    ASSERT_EQ(::mkdir((home.dir / "config").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((home.dir / "config/Korvalin").c_str(), 0755), 0);
    test::WriteFile(home.dir / "config/Korvalin/Korvalin v2.0.ini",
                    std::string("[Settings]\nLook up disc information=") + (online ? "1" : "0") + "\nMusicBrainz URL=" +
                        musicBrainz.BaseUrl() + "\ngnudb URL=" + gnudb.BaseUrl() + "\n");
    const test::CliResult r = test::RunCli({"lookup", "--image", cue});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(musicBrainz.Requests().size() + gnudb.Requests().size(), online ? 2u : 0u);
    EXPECT_EQ(r.out.rfind(online ? "1. Anna Vector & The Offsets \xE2\x80\x93 Vector Album (1994)  [MusicBrainz]\n"
                                 : "1. (no artist) \xE2\x80\x93 Vector Album  [CD-Text]\n",
                          0),
              0u)
        << r.out;
  }
}

}  // namespace
}  // namespace korvalin
