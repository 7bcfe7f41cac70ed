// What the commands say about files they cannot use: each names the file and the cause, a
// directory or FIFO is called what it is without the command waiting on it, and a file that is
// no MP3 gets no tag.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::RunCli;

TEST(CliFileProblems, EachCommandNamesTheFileAndTheCauseAndNeverWaitsOnASpecialFile) {
  test::TempDir dir;
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "one", {discgen::MusicCdFrames(30, 1)});
  const std::string mp3 = dir / "song.mp3";
  test::WriteFile(mp3, test::EncodeMp3(discgen::MusicBytes(44100, 4), 44100, 2, 128));
  test::WritePcmWav(dir / "song.wav", discgen::MusicBytes(44100, 4), 44100, 2);
  ASSERT_EQ(::mkfifo((dir / "pipe.mp3").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((dir / "pipe.wav").c_str(), 0644), 0);
  ASSERT_EQ(::mkdir((dir / "folder.wav").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir((dir / "locked").c_str(), 0555), 0);
  const bool root = ::geteuid() == 0;  // root writes into any folder

  const struct {
    std::vector<std::string> args;
    std::string said;  // a part of what standard error says
  } cases[] = {
      {{"decode", dir / "pipe.mp3", dir.Path()}, dir / "pipe.mp3 is a FIFO, not a file"},
      {{"encode", dir / "pipe.wav", dir.Path()}, dir / "pipe.wav is a FIFO, not a file"},
      {{"tag", "--title", "x", dir / "pipe.mp3"}, dir / "pipe.mp3 is a FIFO, not a file"},
      {{"encode", dir / "folder.wav", dir.Path()}, dir / "folder.wav is a directory"},
      {{"rip", "--image", cue, "1", dir / "folder.wav"}, dir / "folder.wav: it is a directory"},
      {{"rip", "--image", cue, "1", dir / "pipe.wav"}, dir / "pipe.wav: it is a FIFO, not a file"},
      {{"rip-mp3", "--image", cue, "1", dir / "pipe.mp3"}, dir / "pipe.mp3: it is a FIFO, not a file"},
      {{"rip", "--image", cue, "1", dir / "locked/x.wav"}, dir / "locked/x.wav: Permission denied"},
      {{"decode", mp3, dir / "locked"}, dir / "locked/song.wav: Permission denied"},
      {{"encode", dir / "song.wav", dir / "locked"}, dir / "locked/song.mp3\": Permission denied"},
      {{"tag", "--title", "x", dir / "song.wav"}, dir / "song.wav is not an MP3 file"},
  };
  for (const auto& c : cases) {
    const bool needsLock = c.said.find("Permission denied") != std::string::npos;
    if (needsLock && root) continue;
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const auto start = std::chrono::steady_clock::now();
    const auto result = RunCli(c.args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "it waited on the file";
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
  }
  // Nothing was written anywhere: the WAV that is no MP3 got no tag.
  EXPECT_EQ(test::FileSize(dir / "song.wav"), 44 + 44100 * 4);
  EXPECT_FALSE(test::Exists(dir / "locked/x.wav"));
}

TEST(CliFileProblems, ATagWriteThatCannotBeDoneLeavesTheFileAsItWas) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes any file";
  test::TempDir dir;
  const std::string mp3 = dir / "song.mp3";
  const std::string bytes = test::EncodeMp3(discgen::MusicBytes(44100, 4), 44100, 2, 128);
  test::WriteFile(mp3, bytes);
  ASSERT_EQ(::chmod(mp3.c_str(), 0444), 0);
  const auto readOnly = RunCli({"tag", "--title", "x", mp3});
  EXPECT_EQ(readOnly.status, 1);
  EXPECT_EQ(readOnly.err, "korvalin-cli: cannot write the tag to " + mp3 + ": Permission denied\n");
  EXPECT_EQ(test::ReadFile(mp3), bytes);

  // A writable file in a folder that takes no new file is tagged in place.
  ASSERT_EQ(::chmod(mp3.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
  const auto lockedFolder = RunCli({"tag", "--title", "x", mp3});
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
  EXPECT_EQ(lockedFolder.status, 0) << lockedFolder.err;
  EXPECT_EQ(test::ReadFile(mp3).substr(0, bytes.size()), bytes);
  EXPECT_EQ(test::FileSize(mp3), static_cast<int64_t>(bytes.size()) + 128);
}

}  // namespace
}  // namespace korvalin
