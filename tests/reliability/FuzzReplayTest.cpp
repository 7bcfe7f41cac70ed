// Every fuzz target over its seeds and over the inputs that once broke it (fuzz/regressions/
// <target>/): each must run to its end with its properties holding.

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "fuzz/Seeds.h"
#include "platform/linux/Mpg123Player.h"
#include "tests/support/TempDir.h"

namespace korvalin::fuzz {
namespace {

void Feed(const Target& target, const std::string& input) {
  target.run(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

TEST(FuzzReplay, EveryTargetHasSeedsAndRunsThemAndItsRegressions) {
  namespace fs = std::filesystem;
  for (const Target& target : AllTargets()) {
    SCOPED_TRACE(target.name);
    const auto seeds = SeedsOf(target.name);
    EXPECT_GE(seeds.size(), 3u);
    for (const auto& [name, bytes] : seeds) {
      SCOPED_TRACE(name);
      Feed(target, bytes);
    }
    const fs::path regressions = fs::path(KORVALIN_SOURCE_DIR) / "fuzz" / "regressions" / target.name;
    if (!fs::is_directory(regressions)) continue;
    for (const auto& entry : fs::directory_iterator(regressions)) {
      SCOPED_TRACE(entry.path().filename().string());
      Feed(target, ReadWholeFile(entry.path()));
    }
  }
}

TEST(FuzzReplay, EmptyAndTinyInputs) {
  for (const Target& target : AllTargets()) {
    SCOPED_TRACE(target.name);
    for (const std::string& input : {std::string(), std::string("\n"), std::string(1, '\0'), std::string(200, '\xff')}) {
      Feed(target, input);
    }
  }
}

// The MP3 target has its input read from memory and converted in small blocks. What it finds
// holds for the program only when that converts exactly as the program does: from the file, in
// its own blocks.
TEST(FuzzReplay, Mp3TargetConvertsAsTheProgramDoes) {
  namespace fs = std::filesystem;
  ASSERT_TRUE(Mp3DecoderReadsFromMemory());
  // Empty, and an ID3v2 tag that claims more than the file holds: skipping it seeks past the end.
  std::vector<std::string> inputs = {"", std::string("ID3\3\0\0\0\1\0\0", 10) + std::string(300, '\xff')};
  for (const auto& [name, bytes] : SeedsOf("mp3_decode")) {
    inputs.push_back(bytes);
    inputs.push_back(bytes.substr(0, bytes.size() / 3));  // cut inside a frame
  }
  for (const auto& entry : fs::directory_iterator(fs::path(KORVALIN_SOURCE_DIR) / "fuzz" / "regressions" / "mp3_decode")) {
    inputs.push_back(ReadWholeFile(entry.path()));
  }
  const test::TempDir dir;
  const std::string source = dir / "in.mp3", target = dir / "out.wav";
  using Result = std::pair<Mpg123Player::Outcome, std::string>;
  const auto convert = [&](const std::string& input, std::size_t block, bool fromMemory) {
    fs::remove(target);
    if (fromMemory) OfferInMemory(source, input);
    Mpg123Player player("hw:99,99", block);
    player.SetSourceFile(source);
    player.ConvertToWav(target);
    player.Wait();
    OfferInMemory({}, {});
    return Result{player.LastOutcome(), fs::exists(target) ? ReadWholeFile(target) : "(no file)"};
  };
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE("input " + std::to_string(i));
    test::WriteFile(source, inputs[i]);
    const Result program = convert(inputs[i], Mpg123Player::kConvertBufferBytes, false);
    for (const std::size_t block : {std::size_t{16 * 1024}, std::size_t{4099}}) {
      const Result target = convert(inputs[i], block, true);
      EXPECT_EQ(target.first, program.first) << block;
      EXPECT_TRUE(target.second == program.second) << block << "-byte blocks: the WAV differs";
    }
  }
}

}  // namespace
}  // namespace korvalin::fuzz
