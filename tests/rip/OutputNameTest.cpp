#include "rip/OutputName.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>

#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::TempDir;
using test::WriteFile;

PrefixRandom FixedSeed(uint64_t seed = 42) {
  return PrefixRandom([seed] { return seed; });
}

TEST(RandomPrefix, RunsFromOneToTheIdentityAndIsOneWithoutAUsableIdentity) {
  EXPECT_EQ(RandomPrefix(12, 0.0), 1);
  EXPECT_EQ(RandomPrefix(12, 0.5), 7);
  EXPECT_EQ(RandomPrefix(12, std::nextafter(1.0, 0.0)), 12);
  EXPECT_EQ(RandomPrefix(1, std::nextafter(1.0, 0.0)), 1);
  for (double identity : {0.0, 0.9, -5.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(RandomPrefix(identity, 0.75), 1) << identity;
  }
  // A ten-digit disc identity gives prefixes beyond 32 bits, and an absurd one stays finite.
  EXPECT_EQ(RandomPrefix(4294967295.0, 0.5), 2147483648);
  EXPECT_GT(RandomPrefix(std::numeric_limits<double>::infinity(), 0.5), 0);
}

TEST(PrefixRandom, ReseedingFromTheSameSeedRepeatsTheNumbersWhichStayBelowOne) {
  PrefixRandom random = FixedSeed();
  std::vector<double> first;
  double sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const double u = random.Next();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    if (i < 5) first.push_back(u);
    sum += u;
  }
  EXPECT_NEAR(sum / 10000, 0.5, 0.02);
  random.Reseed();
  for (double u : first) EXPECT_EQ(random.Next(), u);
}

TEST(FreeOutputName, TakesTheDrawnNameWhileItIsFreeAndIsReseededForEachName) {
  TempDir dir;
  PrefixRandom random = FixedSeed();
  const std::string name = FreeOutputName(dir.Path(), 7, ".wav", 4294967295.0, random);
  const std::string head = dir.Path() + "/", tail = "-7.wav";
  ASSERT_GT(name.size(), head.size() + tail.size());
  ASSERT_EQ(name.substr(0, head.size()), head);
  ASSERT_EQ(name.substr(name.size() - tail.size()), tail);
  const std::string prefix = name.substr(head.size(), name.size() - head.size() - tail.size());
  ASSERT_EQ(prefix.find_first_not_of("0123456789"), std::string::npos) << name;
  EXPECT_GE(std::stoll(prefix), 1);
  EXPECT_LE(std::stoll(prefix), 4294967295);
  // The same seed, nothing written yet: the same name.
  EXPECT_EQ(FreeOutputName(dir.Path(), 7, ".wav", 4294967295.0, random), name);

  // Once the file exists, the same seed must not give it again.
  WriteFile(name, "taken");
  const std::string second = FreeOutputName(dir.Path(), 7, ".wav", 4294967295.0, random);
  EXPECT_NE(second, name);
  EXPECT_FALSE(test::Exists(second));
}

TEST(FreeOutputName, WithOnlyPrefixOneTheLowestFreeNumberIsTakenPerTrackAndType) {
  TempDir dir;
  PrefixRandom random = FixedSeed();
  const auto next = [&](int32_t track, const char* ext, const char* identity) {
    return FreeOutputName(dir.Path(), track, ext, std::atof(identity), random);
  };
  EXPECT_EQ(next(3, ".wav", ""), dir / "1-3.wav");
  WriteFile(dir / "1-3.wav", "x");
  EXPECT_EQ(next(3, ".wav", ""), dir / "2-3.wav");
  EXPECT_EQ(next(3, ".wav", "1"), dir / "2-3.wav");
  WriteFile(dir / "2-3.wav", "x");
  EXPECT_EQ(next(3, ".wav", ""), dir / "3-3.wav");
  // Other tracks and the other type are names of their own.
  EXPECT_EQ(next(4, ".wav", ""), dir / "1-4.wav");
  EXPECT_EQ(next(3, ".mp3", ""), dir / "1-3.mp3");
  // A gap is filled first.
  ::unlink((dir / "1-3.wav").c_str());
  EXPECT_EQ(next(3, ".wav", ""), dir / "1-3.wav");
}

TEST(FreeOutputName, AFolderOrADanglingLinkAtTheNameCountsAsTaken) {
  TempDir dir;
  PrefixRandom random = FixedSeed();
  ASSERT_EQ(::mkdir((dir / "1-3.wav").c_str(), 0755), 0);
  ASSERT_EQ(::symlink((dir / "nowhere").c_str(), (dir / "2-3.wav").c_str()), 0);
  EXPECT_EQ(FreeOutputName(dir.Path(), 3, ".wav", 0, random), dir / "3-3.wav");
}

TEST(FreeOutputName, WhenEveryPrefixTheIdentityAllowsIsTakenTheNextNumberFollows) {
  TempDir dir;
  PrefixRandom random = FixedSeed();
  WriteFile(dir / "1-5.mp3", "x");
  WriteFile(dir / "3-5.mp3", "x");
  EXPECT_EQ(FreeOutputName(dir.Path(), 5, ".mp3", 3, random), dir / "2-5.mp3");
  WriteFile(dir / "2-5.mp3", "x");
  EXPECT_EQ(FreeOutputName(dir.Path(), 5, ".mp3", 3, random), dir / "4-5.mp3");
}

}  // namespace
}  // namespace korvalin
