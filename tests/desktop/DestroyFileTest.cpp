#include "desktop/DestroyFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/RaisedError.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::Exists;
using test::ScriptedEventLoop;
using test::TempDir;

RaisedError ErrorOf(const std::string& path, EventLoop& loop) {
  try {
    p_DestroyFile(path, loop);
  } catch (const RaisedError& e) {
    return e;
  }
  return RaisedError(0, "no error");
}

TEST(p_DestroyFile, DeletesTheFileThenPausesWhileEventsRun) {
  TempDir dir;
  test::WriteFile(dir / "a.wav", "RIFF");
  ScriptedEventLoop loop(36000, 0.01);
  bool goneWhenEventRan = false;
  loop.AtYield(2, [&] { goneWhenEventRan = !Exists(dir / "a.wav"); });
  p_DestroyFile(dir / "a.wav", loop);
  EXPECT_FALSE(Exists(dir / "a.wav"));
  EXPECT_TRUE(goneWhenEventRan);  // the pause comes after the deletion
  EXPECT_GE(loop.Elapsed(), 0.2 - 1e-9);
  EXPECT_GE(loop.Yields(), 20);
}

TEST(p_DestroyFile, AMissingFileIsNoErrorAndLeavesNothingBehind) {
  TempDir dir;
  ScriptedEventLoop loop;
  p_DestroyFile(dir / "missing.mp3", loop);
  EXPECT_FALSE(Exists(dir / "missing.mp3"));
}

TEST(p_DestroyFile, RefusesAReadOnlyFileWithItsOwnSource) {
  TempDir dir;
  test::WriteFile(dir / "ro.wav", "data");
  ::chmod((dir / "ro.wav").c_str(), 0444);
  ScriptedEventLoop loop;
  const RaisedError e = ErrorOf(dir / "ro.wav", loop);
  EXPECT_EQ(e.Source(), "p_DestroyFile");
  EXPECT_EQ(e.Number(), errnum::PermissionDenied);
  EXPECT_TRUE(Exists(dir / "ro.wav"));
  EXPECT_EQ(loop.Yields(), 0);  // no pause after a failure
}

TEST(p_DestroyFile, RefusesAFileAnotherWriterHoldsAndABadPath) {
  TempDir dir;
  test::WriteFile(dir / "held.wav", "data");
  const int fd = ::open((dir / "held.wav").c_str(), O_RDWR);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  ScriptedEventLoop loop;
  EXPECT_EQ(ErrorOf(dir / "held.wav", loop).Source(), "p_DestroyFile");
  EXPECT_TRUE(Exists(dir / "held.wav"));
  ::close(fd);

  const RaisedError e = ErrorOf(dir / "no-folder/x.wav", loop);
  EXPECT_EQ(e.Number(), errnum::FileNotFound);
  EXPECT_EQ(e.Source(), "p_DestroyFile");
  EXPECT_EQ(ErrorOf(dir.Path(), loop).Source(), "p_DestroyFile");  // a folder is not a file to delete
}

}  // namespace
}  // namespace korvalin

namespace korvalin {
namespace {

TEST(p_DestroyFile, ALinkIsRemovedItselfAndNothingIsMadeOrDeletedWhereItPoints) {
  TempDir dir;
  ScriptedEventLoop loop;
  ASSERT_EQ(::symlink((dir / "nowhere.wav").c_str(), (dir / "dangling.wav").c_str()), 0);
  test::WriteFile(dir / "kept.wav", "RIFF");
  ASSERT_EQ(::symlink((dir / "kept.wav").c_str(), (dir / "link.wav").c_str()), 0);
  for (const char* link : {"dangling.wav", "link.wav"}) {
    p_DestroyFile(dir / link, loop);
    struct stat st {};
    EXPECT_NE(::lstat((dir / link).c_str(), &st), 0) << link;
  }
  EXPECT_FALSE(Exists(dir / "nowhere.wav"));
  EXPECT_TRUE(Exists(dir / "kept.wav"));
}

}  // namespace
}  // namespace korvalin
