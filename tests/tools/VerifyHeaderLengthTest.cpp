// korvalin-cli verify on rips whose header and length disagree: refused with both figures, never
// "match"; chunks that follow the audio are no disagreement.

#include <gtest/gtest.h>

#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliVerify, AHeaderThatDisagreesWithTheFileIsRefusedWithBothFigures) {
  test::TempDir dir;
  const std::string track = discgen::MusicCdFrames(40, 1);
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", {track});
  const auto size = static_cast<uint32_t>(track.size());
  const test::RiffChunk format{"fmt ", test::FormatBody(1, 2, 44100, 16)};
  auto withLength = [&](uint32_t length) { return test::RiffFile({format, {"data", track, length}}); };

  struct Case {
    std::string name;
    std::string bytes;
    int status;
    std::string says;  // on standard error for status 2
  } cases[] = {
      {"header claims twice the audio", withLength(2 * size), 2,
       "header gives " + std::to_string(2 * size) + " bytes of audio, but the file holds " + std::to_string(size)},
      {"header never rewritten", withLength(0), 2,
       "header gives 0 bytes of audio, but the file holds " + std::to_string(size)},
      {"a chunk after the audio", test::RiffFile({format, {"data", track}, {"LIST", "INFOx"}}), 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteFile(dir / "v.wav", c.bytes);
    const auto result = RunCli({"verify", "--image", cue, "1", dir / "v.wav"});
    EXPECT_EQ(result.status, c.status) << result.out << result.err;
    if (c.status == 2) {
      EXPECT_EQ(result.out, "");
      EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    } else {
      EXPECT_EQ(result.out.rfind("match: ", 0), 0u) << result.out;
    }
  }
}

}  // namespace
}  // namespace korvalin
