#include "fileout/StagedOutput.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::Exists;
using test::NamesIn;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// A process id that belonged to a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST(StagedOutput, TheTargetChangesOnlyAtCommitAndNeverLosesAFileThatAppearedMeanwhile) {
  struct Case {
    const char* what;
    bool existsBefore;
    // Runs while the job writes: another job's file may take the name.
    std::function<void(const std::string& target)> meanwhile;
    bool commit;
    std::vector<std::string> expected;  // the folder's names afterwards
    std::string finalName;              // "" when nothing was committed
  };
  const auto other = [](const std::string& target) {
    WriteFile(target + ".other", "other job");
    ASSERT_EQ(::rename((target + ".other").c_str(), target.c_str()), 0);
  };
  const std::vector<Case> cases{
      {"a new name", false, nullptr, true, {"song.wav"}, "song.wav"},
      {"over the file the user named", true, nullptr, true, {"song.wav"}, "song.wav"},
      {"a file appeared meanwhile", false, other, true, {"song (2).wav", "song.wav"}, "song (2).wav"},
      {"the named file was replaced meanwhile", true, other, true, {"song (2).wav", "song.wav"}, "song (2).wav"},
      {"nothing kept", true, nullptr, false, {"song.wav"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string target = dir / "song.wav";
    if (c.existsBefore) {
      WriteFile(target, "old");
      ::chmod(target.c_str(), 0640);
    }
    StagedOutput out(target);
    ASSERT_TRUE(out.Create()) << out.Problem();
    EXPECT_NE(out.WritePath(), target);
    WriteFile(out.WritePath(), "new");
    EXPECT_EQ(Exists(target) ? ReadFile(target) : "missing", c.existsBefore ? "old" : "missing");
    if (c.meanwhile) c.meanwhile(target);
    if (c.commit) {
      ASSERT_TRUE(out.Commit()) << out.Problem();
    } else {
      out.Discard();
    }
    EXPECT_EQ(NamesIn(dir.Path()), c.expected);
    if (c.finalName.empty()) {
      EXPECT_EQ(ReadFile(target), "old");
      continue;
    }
    EXPECT_EQ(out.FinalPath(), dir / c.finalName);
    EXPECT_EQ(out.Renamed(), c.finalName != "song.wav");
    EXPECT_EQ(ReadFile(out.FinalPath()), "new");
    if (c.meanwhile) {
      EXPECT_EQ(ReadFile(target), "other job");
    }
    struct stat st {};
    ASSERT_EQ(::stat(out.FinalPath().c_str(), &st), 0);
    if (c.existsBefore && !c.meanwhile) {
      EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file's mode is kept";
    }
  }
}

TEST(StagedOutput, AnAbandonedOutputLeavesNoTemporaryFileAndALinkKeepsPointingAtItsFile) {
  TempDir dir;
  {
    StagedOutput out(dir / "a.wav");
    ASSERT_TRUE(out.Create());
    WriteFile(out.WritePath(), "half");
  }
  EXPECT_TRUE(NamesIn(dir.Path()).empty());

  WriteFile(dir / "real.wav", "old");
  ASSERT_EQ(::symlink("real.wav", (dir / "link.wav").c_str()), 0);
  StagedOutput out(dir / "link.wav");
  ASSERT_TRUE(out.Create());
  WriteFile(out.WritePath(), "new");
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(out.FinalPath(), dir / "link.wav");
  EXPECT_EQ(ReadFile(dir / "real.wav"), "new");
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "link.wav").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(StagedOutput, NamesThatAreNoFileAreRefusedWithoutOpeningThem) {
  TempDir dir;
  ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  const struct {
    std::string target;
    std::string problem;
  } cases[] = {
      {dir / "folder", dir / "folder is a directory"},
      {dir / "pipe", dir / "pipe is a FIFO, not a file"},  // opening it would wait for a reader
      {dir / "missing/x.wav", "cannot create " + dir / "missing/x.wav: No such file or directory"},
  };
  for (const auto& c : cases) {
    StagedOutput out(c.target);
    EXPECT_FALSE(out.Create());
    EXPECT_EQ(out.Problem(), c.problem);
  }
  StagedOutput device("/dev/null");
  ASSERT_TRUE(device.Create());
  EXPECT_EQ(device.WritePath(), "/dev/null");
  EXPECT_TRUE(device.Commit());
  EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"folder", "pipe"}));
}

TEST(StagedOutput, TheNextJobInAFolderRemovesOnlyTheTemporaryFilesOfEndedProcesses) {
  TempDir dir;
  const std::string dead = ".song.wav.korvalin-" + std::to_string(EndedProcess()) + "-0.part";
  const std::string alive = ".song.wav.korvalin-" + std::to_string(::getppid()) + "-3.part";
  const std::vector<std::string> others{".song.wav.korvalin-x-0.part", ".song.wav.part", "song.wav.korvalin-1-1.part",
                                        "song.wav"};
  WriteFile(dir / dead, "killed job");
  WriteFile(dir / alive, "running job");
  for (const auto& name : others) WriteFile(dir / name, "user");

  StagedOutput out(dir / "song.wav");
  ASSERT_TRUE(out.Create());
  EXPECT_FALSE(Exists(dir / dead));
  EXPECT_TRUE(Exists(dir / alive));
  for (const auto& name : others) EXPECT_TRUE(Exists(dir / name)) << name;
  long pid = 0;
  EXPECT_TRUE(IsStagedTemporaryName(out.WritePath().substr(dir.Path().size() + 1), pid));
  EXPECT_EQ(pid, ::getpid());
}

TEST(StagedOutput, NumberedNamesGoBeforeTheExtension) {
  EXPECT_EQ(NumberedName("/m/song.wav", 2), "/m/song (2).wav");
  EXPECT_EQ(NumberedName("/m/a.b/song", 3), "/m/a.b/song (3)");
  EXPECT_EQ(NumberedName("/m/.hidden", 2), "/m/.hidden (2)");
  EXPECT_EQ(NumberedName("song.tar.mp3", 10), "song.tar (10).mp3");
  // A name at the 255-byte limit keeps within it, never cutting a character in half.
  const std::string e = "\xc3\xa9";  // é
  std::string accented;
  for (int i = 0; i < 125; ++i) accented += e;  // 250 bytes
  EXPECT_EQ(NumberedName("/m/" + std::string(251, 'x') + ".wav", 2), "/m/" + std::string(247, 'x') + " (2).wav");
  EXPECT_EQ(NumberedName("/m/" + accented + "x.wav", 2), "/m/" + accented.substr(0, 246) + " (2).wav");
}

TEST(StagedOutput, ANameAtTheLengthLimitIsWrittenAndNumberedWhenTakenMeanwhile) {
  TempDir dir;
  const std::string target = dir / (std::string(251, 'x') + ".wav");
  StagedOutput out(target);
  ASSERT_TRUE(out.Create()) << out.Problem();
  WriteFile(out.WritePath(), "new");
  WriteFile(target, "other job");
  ASSERT_TRUE(out.Commit()) << out.Problem();
  EXPECT_EQ(out.FinalPath(), dir / (std::string(247, 'x') + " (2).wav"));
  EXPECT_EQ(ReadFile(out.FinalPath()), "new");
  EXPECT_EQ(ReadFile(target), "other job");
}

}  // namespace
}  // namespace korvalin
