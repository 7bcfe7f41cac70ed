#include <sys/stat.h>

#include <gtest/gtest.h>

#include "rip/DiscIds.h"
#include "tests/support/DbarBuilder.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::RunCli;

constexpr int64_t kFrame = 2352;

// `length` bytes of `disc` from `at` on (a byte position that may lie before or after the disc),
// with silence where the disc has none: what a shifted read of it must give, worked out apart from
// the program.
std::string Slice(const std::string& disc, int64_t at, int64_t length) {
  std::string bytes(static_cast<std::size_t>(length), '\0');
  for (int64_t i = 0; i < length; ++i) {
    if (at + i >= 0 && at + i < static_cast<int64_t>(disc.size())) bytes[i] = disc[static_cast<std::size_t>(at + i)];
  }
  return bytes;
}

// The tracks of an image cut out of the disc's bytes at the given lengths in frames.
std::vector<std::string> Cut(const std::string& disc, const std::vector<int64_t>& frames) {
  std::vector<std::string> tracks;
  int64_t at = 0;
  for (int64_t n : frames) {
    tracks.push_back(disc.substr(static_cast<std::size_t>(at * kFrame), static_cast<std::size_t>(n * kFrame)));
    at += n;
  }
  return tracks;
}

// The lines of a rip's output that give its checksums.
std::string ChecksumLines(const std::string& out) {
  std::string lines;
  for (std::size_t at = 0; (at = out.find("  ", at)) != std::string::npos;) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end - at);
    if (line.find("CRC32") != std::string::npos || line.find("AccurateRip") != std::string::npos) lines += line + "\n";
    at = end;
  }
  return lines;
}

// A config folder of its own, so that a stored setting reaches only this test's runs.
struct ConfigHome {
  test::TempDir dir;
  test::ScopedEnv env{"XDG_CONFIG_HOME", (dir / "config").c_str()};
  void StoreOffset(const std::string& value) {
    ::mkdir((dir / "config").c_str(), 0755);
    ::mkdir((dir / "config/Korvalin").c_str(), 0755);
    test::WriteFile(dir / "config/Korvalin/Korvalin v2.0.ini", "[Settings]\nRead offset correction=" + value + "\n");
  }
};

TEST(CliReadOffset, ARipTakesTheSamplesThatManyOnAcrossTracksAndSilencePastTheDisc) {
  ConfigHome home;
  test::TempDir dir;
  const std::vector<int64_t> lengths = {40, 30, 35};
  const std::string disc = discgen::MusicCdFrames(105, 3);
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", Cut(disc, lengths));
  const int64_t starts[] = {0, 40, 70};
  struct Row {
    const char* offset;
    int32_t samples;
    int track;
    bool secure;
  };
  for (const Row& row : {Row{"+6", 6, 1, false}, Row{"6", 6, 2, false}, Row{"+6", 6, 3, false},
                         Row{"-6", -6, 1, false}, Row{"-6", -6, 2, true}, Row{"+2000", 2000, 3, false},
                         Row{"-1500", -1500, 1, true}, Row{"+600", 600, 2, true}, Row{"0", 0, 2, false}}) {
    SCOPED_TRACE(std::string(row.offset) + " track " + std::to_string(row.track) + (row.secure ? " secure" : ""));
    const std::string out = dir / ("t" + std::to_string(row.track) + row.offset + ".wav");
    std::vector<std::string> args = {"rip", "--image", cue, "--read-offset", row.offset};
    if (row.secure) args.push_back("--secure");
    args.insert(args.end(), {std::to_string(row.track), out});
    const auto r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const int64_t length = lengths[static_cast<std::size_t>(row.track - 1)] * kFrame;
    const std::string want = Slice(disc, starts[row.track - 1] * kFrame + 4 * row.samples, length);
    const std::string got = test::ReadFile(out).substr(44);
    ASSERT_EQ(got.size(), want.size());
    EXPECT_TRUE(got == want);
    EXPECT_EQ(r.out.find("read offset correction: ") != std::string::npos, row.samples != 0) << r.out;
  }

  // A rip read with an offset is the same as the disc read again with it, and differs without.
  const std::string ripped = dir / "t2+600.wav";
  EXPECT_EQ(RunCli({"verify", "--image", cue, "--read-offset", "600", "2", ripped}).status, 0);
  EXPECT_EQ(RunCli({"verify", "--image", cue, "--read-offset", "0", "2", ripped}).status, 1);

  for (const char* bad : {"2001", "-2001", "six", "", "1.5"}) {
    const auto refused = RunCli({"rip", "--image", cue, "--read-offset", bad, "1", dir / "bad.wav"});
    EXPECT_EQ(refused.status, 1) << bad;
    EXPECT_NE(refused.err.find("--read-offset takes a number of samples from -2000 to +2000"), std::string::npos)
        << refused.err;
  }
  EXPECT_FALSE(test::Exists(dir / "bad.wav"));
}

TEST(CliReadOffset, WithTheStoredSettingARipOfAShiftedDiscHasTheChecksumsOfTheDiscItself) {
  ConfigHome home;
  test::TempDir dir;
  const std::vector<int64_t> lengths = {40, 30, 35};
  const std::string disc = discgen::MusicCdFrames(105, 4);
  // A drive that needs the correction +6 delivers every sample 6 places late.
  const std::string late = std::string(24, '\0') + disc.substr(0, disc.size() - 24);
  const std::string exact = discgen::WriteDiscImage(dir.Path(), "exact", Cut(disc, lengths));
  const std::string shifted = discgen::WriteDiscImage(dir.Path(), "late", Cut(late, lengths));
  home.StoreOffset("6");
  for (const char* track : {"1", "2", "3"}) {
    SCOPED_TRACE(track);
    const auto plain = RunCli({"rip", "--image", exact, "--read-offset", "0", track, dir / "exact.wav"});
    const auto corrected = RunCli({"rip", "--image", shifted, track, dir / "late.wav"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(corrected.status, 0) << corrected.err;
    EXPECT_NE(corrected.out.find("read offset correction: +6 samples"), std::string::npos) << corrected.out;
    // AccurateRip leaves out the last track's end, where the disc's last six samples could not be read.
    const std::string want = ChecksumLines(plain.out), got = ChecksumLines(corrected.out);
    ASSERT_NE(want.find("AccurateRip v2"), std::string::npos) << plain.out;
    if (std::string(track) == "3") {
      EXPECT_EQ(got.substr(got.find("AccurateRip")), want.substr(want.find("AccurateRip")));
    } else {
      EXPECT_EQ(got, want);
      EXPECT_TRUE(test::ReadFile(dir / "late.wav") == test::ReadFile(dir / "exact.wav"));
    }
  }
}

// The frame-450 checksum of a track's 588 pairs from `pair` on, written out: each pair times its place.
uint32_t Frame450Sum(const std::string& track, int64_t pair) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < 588; ++i) {
    const auto* p = reinterpret_cast<const uint8_t*>(track.data()) + 4 * (pair + i);
    sum += (p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24) * (i + 1);
  }
  return sum;
}

TEST(CliOffset, FindsTheCorrectionAShiftedDiscNeedsFromTheDatabasesFrame450) {
  test::TempDir dir;
  const std::vector<int64_t> lengths = {460, 30};
  const std::string disc = discgen::MusicCdFrames(490, 6);
  const std::string late = std::string(24, '\0') + disc.substr(0, disc.size() - 24);
  const std::string exactCue = discgen::WriteDiscImage(dir.Path(), "exact", Cut(disc, lengths));
  const std::string lateCue = discgen::WriteDiscImage(dir.Path(), "late", Cut(late, lengths));
  DiscToc toc;
  toc.tracks = {{1, 0, false}, {2, 460, false}};
  toc.leadOut = 490;
  const AccurateRipDiscId id = AccurateRipIdOf(toc);
  // Seven rips of this pressing, two of one whose audio stands 30 samples later.
  const std::string exactTrack = disc.substr(0, 460 * kFrame);
  const std::string good = test::DbarFileBytes(id, {{{7, 0x11, Frame450Sum(exactTrack, 450 * 588)}, {7, 0x22, 0}},
                                                    {{2, 0x33, Frame450Sum(exactTrack, 450 * 588 + 30)}, {2, 0x44, 0}}});
  test::LoopbackHttpServer server;
  server.Serve([&](const test::RecordedRequest& r) {
    if (r.Path() == "/ar/" + DbarPath(id, 2)) return test::ScriptedAnswer::Text(200, good, "application/octet-stream");
    if (r.Path() == "/short/" + DbarPath(id, 2)) return test::ScriptedAnswer::Text(200, good.substr(0, 30));
    if (r.Path() == "/other/" + DbarPath(id, 2)) return test::ScriptedAnswer::Text(200, test::DbarFileBytes(id, {{{5, 1, 12345}, {5, 2, 0}}}));
    return test::ScriptedAnswer::Text(404, "not found");
  });
  struct Row {
    std::string cue;
    std::string base;
    int status;
    std::string out;  // the offsets printed; for a failure, a part of the reason
  };
  const Row rows[] = {
      {lateCue, "/ar", 0, "offset +6: 7 rips agree\noffset +36: 2 rips agree\n"},
      {exactCue, "/ar/", 0, "offset 0: 7 rips agree\noffset +30: 2 rips agree\n"},
      {lateCue, "/other", 1, "no offset matches\n"},
      {lateCue, "/unknown", 2, "the AccurateRip database does not know this disc"},
      {lateCue, "/short", 2, "; the offset cannot be found from it"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.base + " " + row.cue);
    const auto r = RunCli({"offset", "--image", row.cue, "--accuraterip-url", server.BaseUrl() + row.base});
    EXPECT_EQ(r.status, row.status) << r.err;
    if (row.status == 2) {
      EXPECT_NE(r.err.find(row.out), std::string::npos) << r.err;
      continue;
    }
    const std::string head = "track 1, frame 450, shifted from -2000 to +2000 samples, against ";
    EXPECT_EQ(r.out.rfind(head, 0), 0u) << r.out;
    EXPECT_EQ(r.out.substr(r.out.find('\n') + 1), row.out);
  }
  // A rip without the correction says which pressing it matches; with it, the rip is that pressing.
  for (const char* offset : {"0", "+6"}) {
    SCOPED_TRACE(offset);
    const auto rip = RunCli({"rip", "--image", lateCue, "--read-offset", offset, "--accuraterip-url", server.BaseUrl() + "/ar",
                             "1", dir / "rip.wav"});
    EXPECT_EQ(rip.status, 0) << rip.err;
    EXPECT_EQ(rip.out.find("  this rip matches a pressing at offset +6\n") != std::string::npos,
              std::string(offset) == "0")
        << rip.out;
  }
  // The second track is too short to hold frame 450.
  const auto shortTrack = RunCli({"offset", "--image", lateCue, "--track", "2", "--accuraterip-url", server.BaseUrl() + "/ar"});
  EXPECT_EQ(shortTrack.status, 2);
  EXPECT_EQ(shortTrack.err, "korvalin-cli: track 2 is too short: it needs 455 frames\n");
}

}  // namespace
}  // namespace korvalin
