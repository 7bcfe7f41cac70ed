#include "rip/Frame450Window.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/linux/CdioLibrary.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/TrackChecksums.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

// The frame-450 checksum written out the slow way: the 588 pairs from `pair` on (counted from
// the track's first), each times its place 1..588.
uint32_t SlowChecksum(const std::string& track, int64_t pair) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < 588; ++i) {
    const auto* p = reinterpret_cast<const uint8_t*>(track.data()) + 4 * (pair + i);
    const uint32_t word = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    sum += word * (i + 1);
  }
  return sum;
}

TEST(Frame450Window, GivesTheChecksumAtEveryShiftHoweverTheTrackArrives) {
  const std::string track = discgen::MusicCdFrames(460, 5);
  const auto* bytes = reinterpret_cast<const uint8_t*>(track.data());
  struct Row {
    int32_t radius;
    std::size_t block;  // the size the track arrives in; 0: only the window's frames, after a skip
  };
  for (const Row& row : {Row{2000, 61152}, Row{2000, 1001}, Row{2000, 0}, Row{6, 7}, Row{0, 2352}}) {
    SCOPED_TRACE("radius " + std::to_string(row.radius) + ", blocks of " + std::to_string(row.block));
    Frame450Window window(row.radius);
    ASSERT_TRUE(window.Fits(460));
    if (row.block == 0) {
      window.Skip(int64_t{window.FirstFrame()} * 2352);
      window.Add(bytes + std::size_t{2352} * window.FirstFrame(),
                 std::size_t{2352} * (window.EndFrame() - window.FirstFrame()));
    } else {
      for (std::size_t at = 0; at < track.size(); at += row.block) {
        EXPECT_TRUE(window.Complete() || window.Checksums().empty());
        window.Add(bytes + at, std::min(row.block, track.size() - at));
      }
    }
    ASSERT_TRUE(window.Complete());
    EXPECT_FALSE(window.Silent());
    const std::vector<uint32_t> sums = window.Checksums();
    ASSERT_EQ(sums.size(), static_cast<std::size_t>(2 * row.radius + 1));
    for (int32_t shift : {-row.radius, -1, 0, 1, 6, row.radius}) {
      if (shift < -row.radius || shift > row.radius) continue;
      EXPECT_EQ(sums[static_cast<std::size_t>(shift + row.radius)], SlowChecksum(track, 450 * 588 + shift)) << shift;
    }
    EXPECT_EQ(Frame450Checksum(bytes + 450 * 2352), SlowChecksum(track, 450 * 588));
  }
  // The window reaches from frame 446 to frame 454 at the full radius: a shorter track cannot hold it.
  Frame450Window window(2000);
  EXPECT_EQ(window.FirstFrame(), 446);
  EXPECT_EQ(window.EndFrame(), 455);
  EXPECT_FALSE(window.Fits(454));
  window.Add(bytes, 454 * 2352);
  EXPECT_FALSE(window.Complete());
  EXPECT_TRUE(window.Checksums().empty());

  // A rip's checksums keep the window as the track goes by.
  TrackChecksums sums(460 * 588, {});
  for (std::size_t at = 0; at < track.size(); at += 61152) sums.Add(bytes + at, std::min<std::size_t>(61152, track.size() - at));
  const std::vector<uint32_t> kept = sums.Frame450().Checksums();
  ASSERT_EQ(kept.size(), 4001u);
  EXPECT_EQ(kept[2006], SlowChecksum(track, 450 * 588 + 6));

  Frame450Window silent(20);
  const std::string nothing(460 * 2352, '\0');
  silent.Add(reinterpret_cast<const uint8_t*>(nothing.data()), nothing.size());
  EXPECT_TRUE(silent.Complete());
  EXPECT_TRUE(silent.Silent());
}

DbarFile Database(const std::vector<std::vector<std::pair<uint8_t, uint32_t>>>& responses) {
  DbarFile db;
  for (const auto& tracks : responses) {
    DbarResponse r;
    for (const auto& [confidence, frame450] : tracks) r.tracks.push_back({confidence, 0x1234, frame450});
    r.trackCount = static_cast<uint8_t>(r.tracks.size());
    db.responses.push_back(r);
  }
  return db;
}

TEST(Frame450Window, MatchesAddUpTheRipsOfEveryResponseThatAgrees) {
  // Shifts -3..3 with made-up checksums; the database speaks of track 2 (index 1).
  const std::vector<uint32_t> sums = {11, 12, 13, 14, 15, 16, 12};
  struct Row {
    const char* what;
    DbarFile db;
    std::vector<OffsetMatch> expected;
  };
  const Row rows[] = {
      {"one response", Database({{{9, 99}, {7, 16}}}), {{2, 7, 1}}},
      {"two responses at one shift", Database({{{1, 1}, {7, 16}}, {{1, 1}, {5, 16}}}), {{2, 12, 2}}},
      {"one checksum at two shifts, the nearer first on a tie", Database({{{1, 1}, {4, 12}}}), {{-2, 4, 1}, {3, 4, 1}}},
      {"the most rips first", Database({{{1, 1}, {2, 14}}, {{1, 1}, {8, 13}}}), {{-1, 8, 1}, {0, 2, 1}}},
      {"a response without the value, or without the track, is passed over", Database({{{1, 1}, {3, 0}}, {{1, 1}}}), {}},
      {"nothing agrees", Database({{{1, 1}, {3, 77}}}), {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::vector<OffsetMatch> got = MatchingOffsets(sums, 3, row.db, 1);
    ASSERT_EQ(got.size(), row.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].offset, row.expected[i].offset);
      EXPECT_EQ(got[i].rips, row.expected[i].rips);
      EXPECT_EQ(got[i].responses, row.expected[i].responses);
    }
  }
  EXPECT_TRUE(MatchingOffsets(sums, 2, Database({{{1, 1}, {7, 16}}}), 1).empty());  // not the radius of the sums

  EXPECT_EQ(OtherPressingOffset({{6, 7, 1}}), 6);
  EXPECT_EQ(OtherPressingOffset({{-30, 7, 1}, {12, 3, 1}}), -30);
  EXPECT_EQ(OtherPressingOffset({{6, 7, 1}, {0, 2, 1}}), std::nullopt);  // the rip as it stands agrees already
  EXPECT_EQ(OtherPressingOffset({}), std::nullopt);
}

TEST(ReadOffsetFinder, ComparesTheFirstTrackThatCanTellAndNamesWhyOneCannot) {
  // A disc whose drive delivers every sample 6 places late; the database's rips are exact.
  test::TempDir dir;
  const std::vector<std::string> exact = {discgen::MusicCdFrames(100, 1), std::string(460 * 2352, '\0'),
                                          discgen::MusicCdFrames(460, 3), discgen::MusicCdFrames(460, 4)};
  std::string disc;
  for (const std::string& t : exact) disc += t;
  const std::string late = std::string(24, '\0') + disc.substr(0, disc.size() - 24);
  std::vector<std::string> lateTracks;
  for (std::size_t at = 0, k = 0; k < exact.size(); at += exact[k].size(), ++k) lateTracks.push_back(late.substr(at, exact[k].size()));
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "late", lateTracks);

  auto database = [&](bool knowsTracks3And4) {
    DbarFile db;
    DbarResponse one, other;
    for (std::size_t k = 0; k < exact.size(); ++k) {
      // A track too short to hold frame 450 has no checksum there (nor is one read past its end).
      const bool known = (k < 2 || knowsTracks3And4) && exact[k].size() >= 455u * 2352;
      one.tracks.push_back({7, 0, known ? SlowChecksum(exact[k], 450 * 588) + (k == 1 ? 1 : 0) : 0});
      other.tracks.push_back({2, 0, known && k >= 2 ? SlowChecksum(exact[k], 450 * 588 + 30) : 0});
    }
    db.responses = {one, other};
    return db;
  };
  struct Row {
    std::optional<int> track;
    bool known;
    int compared;  // 0: none
    std::string problem;
  };
  const Row rows[] = {
      {std::nullopt, true, 3, ""},
      {4, true, 4, ""},
      {1, true, 0, "track 1 is too short: it needs 455 frames"},
      {2, true, 0, "track 2 is silent around frame 450"},
      {9, true, 0, "the disc has no audio track 9"},
      {std::nullopt, false, 0, "the database holds no frame-450 checksum for track 4"},
  };
  CdioLibrary library({CdioLibrary::ImageDrive(cue)});
  modAKRip32 cd(library);
  ASSERT_TRUE(cd.OpenDrive(0));
  cd.SetReadOffset(-40);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.track ? *row.track : 0);
    const OffsetFinding f = FindReadOffset(cd, TocOf(cd), database(row.known), row.track);
    EXPECT_EQ(f.track, row.compared);
    EXPECT_EQ(f.problem, row.problem);
    EXPECT_EQ(cd.ReadOffset(), -40);  // the correction the rip uses is put back
    if (row.compared == 0) continue;
    // The drive needs +6 to agree with the 7 exact rips, +36 with the 2 rips of a pressing 30 samples on.
    ASSERT_EQ(f.matches.size(), 2u);
    EXPECT_EQ(f.matches[0].offset, 6);
    EXPECT_EQ(f.matches[0].rips, 7u);
    EXPECT_EQ(f.matches[1].offset, 36);
    EXPECT_EQ(f.matches[1].rips, 2u);
  }
  cd.CloseDrive();
}

}  // namespace
}  // namespace korvalin
