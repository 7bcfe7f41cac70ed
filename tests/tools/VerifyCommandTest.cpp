#include <gtest/gtest.h>

#include "rip/DiscIds.h"
#include "rip/TrackChecksums.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::RunCli;

std::string Crc(const std::string& bytes) {
  return Hex8(TrackChecksums::Crc32Of(0, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

TEST(CliVerify, ARipPrintsItsFiguresAndVerifiesUntilAByteChanges) {
  test::TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(40, 1), discgen::MusicCdFrames(75, 2)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  const std::string wav = dir / "2.wav";
  const auto rip = RunCli({"rip", "--image", cue, "2", wav});
  ASSERT_EQ(rip.status, 0) << rip.err;
  EXPECT_NE(rip.out.find("Track 2\n  Frames: 75 of 75\n  Read retries: 0\n  Suspicious frames: none\n  CRC32: " +
                         Crc(tracks[1]) + "\n  AccurateRip v1: "),
            std::string::npos)
      << rip.out;
  const auto mp3 = RunCli({"rip-mp3", "--image", cue, "2", dir / "2.mp3"});
  ASSERT_EQ(mp3.status, 0) << mp3.err;
  EXPECT_EQ(mp3.out, rip.out);

  const auto same = RunCli({"verify", "--image", cue, "2", wav});
  EXPECT_EQ(same.status, 0) << same.err;
  // The database cannot be reached from a test: the verdict says so and identical is enough.
  EXPECT_EQ(same.out.rfind("match: CRC32 " + Crc(tracks[1]) + ", 75 frames\n  AccurateRip: Not verified (", 0), 0u) << same.out;

  // One byte changed in frame 30 of the track (frame 70 of the disc), then the file cut short.
  std::string bytes = test::ReadFile(wav);
  bytes[44 + 30 * 2352 + 1000] ^= 0x01;
  test::WriteFile(dir / "changed.wav", bytes);
  const auto changed = RunCli({"verify", "--image", cue, "2", dir / "changed.wav"});
  EXPECT_EQ(changed.status, 1) << changed.err;
  EXPECT_EQ(changed.out.rfind("differ: first differing frame 30 (disc frame 70); CRC32 of the track " + Crc(tracks[1]) +
                                  ", of the file " + Crc(bytes.substr(44)) + "\n",
                              0),
            0u)
      << changed.out;

  const auto againstTrack1 = RunCli({"verify", "--image", cue, "1", wav});
  EXPECT_EQ(againstTrack1.status, 1);
  EXPECT_NE(againstTrack1.out.find("first differing frame 0 "), std::string::npos) << againstTrack1.out;
  EXPECT_NE(againstTrack1.out.find("the file holds 176400 bytes of audio, the track 94080\n"), std::string::npos);

  // Files that cannot be compared say why, with their own status.
  test::WriteFile(dir / "text.wav", "not audio at all");
  const std::vector<std::pair<std::string, std::string>> faults = {
      {dir / "none.wav", "Cannot read \"" + dir / "none.wav" + "\": "},
      {dir / "text.wav", "\"" + dir / "text.wav" + "\" cannot be compared: it is not a WAV file.\n"},
  };
  for (const auto& [file, reason] : faults) {
    const auto r = RunCli({"verify", "--image", cue, "2", file});
    EXPECT_EQ(r.status, 2) << file;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
  }
  EXPECT_EQ(RunCli({"verify", "--image", cue, "3", wav}).err, "korvalin-cli: the disc has no track 3\n");
}

}  // namespace
}  // namespace korvalin
