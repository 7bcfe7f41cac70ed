#include "rip/AccurateRipDatabase.h"

#include <gtest/gtest.h>

#include "tests/support/DbarBuilder.h"

namespace korvalin {
namespace {

const AccurateRipDiscId kDisc{0x0004a1b2u, 0x00c3d4e5u, 0x3e0a2c03u};

std::vector<DbarTrack> ThreeTracks(uint8_t confidence) {
  return {{confidence, 0x11111111u, 0xa1a1a1a1u}, {confidence, 0x22222222u, 0xa2a2a2a2u}, {confidence, 0x33333333u, 0xa3a3a3a3u}};
}

TEST(AccurateRipDatabase, PathFollowsTheIdsLowNibblesFirst) {
  EXPECT_EQ(DbarPath(kDisc, 3), "2/b/1/dBAR-003-0004a1b2-00c3d4e5-3e0a2c03.bin");
  EXPECT_EQ(DbarPath({0xfedcba98u, 1, 2}, 12), "8/9/a/dBAR-012-fedcba98-00000001-00000002.bin");
}

TEST(AccurateRipDatabase, ReadsEveryResponseLittleEndian) {
  const std::string body = test::DbarFileBytes(kDisc, {ThreeTracks(7), ThreeTracks(2)});
  const DbarFile file = ParseDbar(body, kDisc, 3);
  ASSERT_EQ(file.problem, "");
  ASSERT_EQ(file.responses.size(), 2u);
  EXPECT_EQ(file.responses[0].tracks[1].confidence, 7);
  EXPECT_EQ(file.responses[1].tracks[2].confidence, 2);
  EXPECT_EQ(file.responses[1].tracks[2].crc, 0x33333333u);
  EXPECT_EQ(file.responses[1].tracks[2].frame450Crc, 0xa3a3a3a3u);
  EXPECT_EQ(file.responses[1].cddb, kDisc.cddb);
  // The bytes themselves: the header's id1 and the first track's CRC, lowest byte first.
  EXPECT_EQ(body.substr(0, 5), std::string("\x03\xb2\xa1\x04\x00", 5));
  EXPECT_EQ(body.substr(14, 4), std::string(4, '\x11'));
}

TEST(AccurateRipDatabase, RefusesFilesThatCannotBeTrusted) {
  const std::string good = test::DbarFileBytes(kDisc, {ThreeTracks(7), ThreeTracks(2)});
  AccurateRipDiscId otherId2 = kDisc, otherCddb = kDisc;
  otherId2.id2 ^= 1;
  otherCddb.cddb ^= 0x100;
  const struct {
    const char* name;
    std::string body;
    int tracks;
    const char* problemStart;
  } cases[] = {
      {"empty", "", 3, "the AccurateRip database's answer is empty"},
      {"one byte short", good.substr(0, good.size() - 1), 3, "the AccurateRip database's answer is cut short"},
      {"one byte over", good + "x", 3, "the AccurateRip database's answer is cut short"},
      {"header only", good.substr(0, 13), 3, "the AccurateRip database's answer is cut short"},
      {"another disc's id2", test::DbarFileBytes(otherId2, {ThreeTracks(1)}), 3, "the AccurateRip database answered for another disc"},
      {"another disc's CDDB id", test::DbarFileBytes(otherCddb, {ThreeTracks(1)}), 3, "the AccurateRip database answered for another disc"},
      {"second response another disc's", good + test::DbarResponseBytes(otherId2, ThreeTracks(1)), 3,
       "the AccurateRip database answered for another disc"},
      {"fewer tracks than the disc", good, 4, "the AccurateRip database's answer lists 3 tracks, the disc has 4"},
      {"no audio tracks", good, 0, "the disc has no audio tracks"},
      {"text instead of data", std::string("<html>Not found</html>\n"), 3, "the AccurateRip database answered for another disc"},
  };
  for (const auto& c : cases) {
    const DbarFile file = ParseDbar(c.body, kDisc, c.tracks);
    EXPECT_TRUE(file.responses.empty()) << c.name;
    EXPECT_EQ(file.problem.rfind(c.problemStart, 0), 0u) << c.name << ": " << file.problem;
    EXPECT_EQ(file.problem.find('\n'), std::string::npos) << c.name;
  }
}

}  // namespace
}  // namespace korvalin
