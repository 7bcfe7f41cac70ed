// korvalin-cli lookup offline: the disc image's own text, the kept choice, the JSON shape, and
// what it says when nothing is known.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "discinfo/DiscInfoCache.h"
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

}  // namespace
}  // namespace korvalin
