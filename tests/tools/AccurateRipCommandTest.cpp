// korvalin-cli rip and verify against dBAR files built from a generated image's checksums and
// served from a loopback server.

#include <gtest/gtest.h>

#include "rip/AccurateRipDatabase.h"
#include "rip/DiscIds.h"
#include "rip/TrackChecksums.h"
#include "tests/support/DbarBuilder.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::RunCli;
using test::ScriptedAnswer;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A three-track disc as the database knows it: 7 rips of its audio, and 2 of another pressing.
struct KnownDisc {
  KnownDisc() {
    for (uint32_t seed = 41; seed <= 43; ++seed) tracks.push_back(discgen::MusicCdFrames(30 + static_cast<int>(seed) % 7, seed));
    DiscToc toc;
    int32_t start = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
      toc.tracks.push_back({static_cast<int>(i + 1), start, false});
      start += static_cast<int32_t>(tracks[i].size() / 2352);
    }
    toc.leadOut = start;
    disc = AccurateRipIdOf(toc);
    std::vector<DbarTrack> agreeing, other;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
      TrackChecksums sums(static_cast<int64_t>(tracks[i].size() / 4), {i == 0, i + 1 == tracks.size()});
      sums.Add(reinterpret_cast<const uint8_t*>(tracks[i].data()), tracks[i].size());
      agreeing.push_back({7, sums.AccurateRipV2(), 0});
      other.push_back({2, sums.AccurateRipV2() + 1, 0});
    }
    body = test::DbarFileBytes(disc, {agreeing, other});
  }
  std::vector<std::string> tracks;
  AccurateRipDiscId disc;
  std::string body;
};

TEST(CliAccurateRip, RipAndVerifyGiveTheDatabasesVerdictAndVerifyPassesOnlyAccurateOrIdenticalFiles) {
  const KnownDisc known;
  test::TempDir dir, data;
  test::ScopedEnv env("XDG_DATA_HOME", data.Path().c_str());  // where the answer is kept
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", known.tracks);
  std::vector<std::string> damagedTracks = known.tracks;
  damagedTracks[1][4 * 200 + 1] ^= 0x10;  // one sample of track 2
  test::TempDir damagedDir;
  const std::string damagedCue = discgen::WriteDiscImage(damagedDir.Path(), "disc", damagedTracks);

  test::LoopbackHttpServer server;
  server.Serve([&](const test::RecordedRequest& r) {
    return r.Path() == "/db/" + DbarPath(known.disc, 3) ? ScriptedAnswer{200, {}, known.body} : ScriptedAnswer::Text(404, "");
  });
  const std::string url = server.BaseUrl() + "/db";
  const std::string accurate = "  AccurateRip: Accurately ripped (confidence 7 of 9, v2)\n"
                               "The AccurateRip database holds 2 responses for this disc";

  const auto rip = RunCli({"rip", "--image", cue, "--accuraterip-url", url, "2", dir / "2.wav"});
  EXPECT_EQ(rip.status, 0) << rip.err;
  EXPECT_TRUE(rip.out.ends_with(accurate + "\n")) << rip.out;
  const auto mp3 = RunCli({"rip-mp3", "--image", cue, "--accuraterip-url", url, "3", dir / "3.mp3"});
  EXPECT_EQ(mp3.status, 0) << mp3.err;
  EXPECT_TRUE(mp3.out.ends_with(accurate + " (kept from an earlier look-up)\n")) << mp3.out;

  std::string wav = test::ReadFile(dir / "2.wav");
  wav[44 + 4 * 500] ^= 0x01;  // one sample of the file
  test::WriteFile(dir / "changed.wav", wav);
  const struct {
    const char* name;
    std::string cue, file;
    int status;
    std::string start, verdict;
  } cases[] = {
      {"identical and accurate", cue, dir / "2.wav", 0, "match: ", "Accurately ripped (confidence 7 of 9, v2)"},
      {"one wrong sample", cue, dir / "changed.wav", 1, "differ: ", "NOT ACCURATE (7 other rips agree with each other)"},
      // The disc read differs from the file, but the file is what the database's rips agree on.
      {"a damaged disc, an accurate file", damagedCue, dir / "2.wav", 0, "differ: ", "Accurately ripped (confidence 7 of 9, v2)"},
  };
  for (const auto& c : cases) {
    const auto r = RunCli({"verify", "--image", c.cue, "--accuraterip-url", url, "2", c.file});
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.out << r.err;
    EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << c.name << "\n" << r.out;
    EXPECT_TRUE(Has(r.out, "\n  AccurateRip: " + c.verdict + "\n")) << c.name << "\n" << r.out;
  }
  EXPECT_EQ(server.Requests().size(), 1u) << "the answer is kept after the first look-up";
}

TEST(CliAccurateRip, AnUnknownDiscOrADamagedAnswerLeavesTheRipDoneAndNotVerified) {
  const KnownDisc known;
  test::TempDir dir;
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", known.tracks);
  const struct {
    const char* name;
    ScriptedAnswer answer;
    std::string verdict, line;
  } cases[] = {
      {"unknown disc", ScriptedAnswer::Text(404, "Not Found"), "Not present in the database",
       "The AccurateRip database does not know this disc; the rip is not verified"},
      {"cut short", {200, {}, known.body.substr(0, 50)}, "Not verified (no answer from the database)",
       "The AccurateRip database's answer is cut short (50 bytes, not whole responses); the rip is not verified"},
      {"empty", {200, {}, ""}, "Not verified (no answer from the database)",
       "The AccurateRip database's answer is empty; the rip is not verified"},
  };
  for (const auto& c : cases) {
    test::TempDir data;
    test::ScopedEnv env("XDG_DATA_HOME", data.Path().c_str());
    test::LoopbackHttpServer server;
    server.Queue(c.answer);
    const auto r = RunCli({"rip", "--image", cue, "--accuraterip-url", server.BaseUrl(), "1", dir / "1.wav"});
    EXPECT_EQ(r.status, 0) << c.name << r.err;
    EXPECT_TRUE(r.out.ends_with("  AccurateRip: " + c.verdict + "\n" + c.line + "\n")) << c.name << "\n" << r.out;
    EXPECT_EQ(test::ReadFile(dir / "1.wav").substr(44), known.tracks[0]) << c.name;
    const auto v = RunCli({"verify", "--image", cue, "--accuraterip-url", server.BaseUrl(), "1", dir / "1.wav"});
    EXPECT_EQ(v.status, 0) << c.name << ": identical is enough";
    std::remove((dir / "1.wav").c_str());
  }
}

}  // namespace
}  // namespace korvalin
