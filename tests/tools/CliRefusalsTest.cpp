// korvalin-cli's refusals say what would have been valid.

#include <gtest/gtest.h>

#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliRefusals, EncodeNamesTheValidRatesAndRanges) {
  test::TempDir dir;
  const std::string pcm(4 * 9600, '\x11');
  test::WriteFile(dir / "hires.wav", test::PcmWav(pcm, 96000, 2));
  test::WriteFile(dir / "cd.wav", test::PcmWav(pcm, 44100, 2));
  struct Case {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"encode", dir / "hires.wav", dir.Path()},
       "Cannot encode \"" + (dir / "hires.wav") +
           "\": its sample rate is 96000 Hz, and an MP3 file holds only 8000, 11025, 12000, 16000, 22050, 24000, "
           "32000, 44100 or 48000 Hz."},
      {{"encode", "--bitrate-index", "99", dir / "cd.wav", dir.Path()},
       "--bitrate-index must be from 0 to 13 (32 kbit/s to 320 kbit/s), not 99\n"},
      {{"encode", "--quality", "99", dir / "cd.wav", dir.Path()}, "--quality must be from 0 to 9 (Low to Studio), not 99\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const auto result = RunCli(c.args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
  }
  EXPECT_FALSE(test::Exists(dir / "hires.mp3"));
  EXPECT_FALSE(test::Exists(dir / "cd.mp3"));
}

}  // namespace
}  // namespace korvalin
