#include "settings/PathHelpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/RaisedError.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::TempDir;

TEST(FileTitleNoExt, DropsTheFolderAndBlindlyTheLastFourCharacters) {
  EXPECT_EQ(FileTitleNoExt("/music/a.mp3"), "a");
  EXPECT_EQ(FileTitleNoExt("/x/track01.wav"), "track01");
  EXPECT_EQ(FileTitleNoExt("song.wav"), "song");
  EXPECT_EQ(FileTitleNoExt("/x/README"), "RE");       // no dot is looked for
  EXPECT_EQ(FileTitleNoExt("/x/ab/"), "/x");           // ends in "/": the whole path less four
  EXPECT_EQ(FileTitleNoExt("/m/Bj\xC3\xB6rk.wav"), "Bj\xC3\xB6rk");
  try {
    FileTitleNoExt("/x/abc");
    FAIL() << "no error raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::InvalidArgument);
  }
}

TEST(SplitPathName, ReturnsTheNameAndLeavesTheFolderInLastFolder) {
  EXPECT_EQ(SplitPathName("/a/b.wav"), "b.wav");
  EXPECT_EQ(LastFolder, "/a/");
  EXPECT_EQ(SplitPathName("b.wav"), "b.wav");
  EXPECT_EQ(LastFolder, "");
  EXPECT_EQ(SplitPathName("/a/"), "/a/");  // ends in "/": the whole path is the name
  EXPECT_EQ(LastFolder, "");
  EXPECT_EQ(SplitPathName("/x.wav"), "x.wav");
  EXPECT_EQ(LastFolder, "/");
}

class MakeDirectoriesTest : public ::testing::Test {
 protected:
  bool Make(const std::string& path) {
    pointerSeen = controls::MousePointer::Default;
    auto c = fake.screen.Changed.Connect([&](controls::Change) {
      if (fake.screen.MousePointer() == controls::MousePointer::Hourglass) pointerSeen = controls::MousePointer::Hourglass;
    });
    return MakeDirectories(path, fake.dialogs, fake.screen);
  }
  static bool IsFolder(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  test::FakeServices fake;
  TempDir dir;
  controls::MousePointer pointerSeen = controls::MousePointer::Default;
};

TEST_F(MakeDirectoriesTest, CreatesEveryFolderWithOrWithoutATrailingSlash) {
  EXPECT_TRUE(Make(dir / "a/b/c"));
  EXPECT_TRUE(IsFolder(dir / "a/b/c"));
  EXPECT_TRUE(Make(dir / "x/y/"));
  EXPECT_TRUE(IsFolder(dir / "x/y"));
  EXPECT_TRUE(Make(dir / "a/b/c"));  // all there already: true, nothing else happens
  EXPECT_TRUE(fake.dialogs.messages.empty());
  EXPECT_EQ(pointerSeen, controls::MousePointer::Hourglass);
  EXPECT_EQ(fake.screen.MousePointer(), controls::MousePointer::Default);
}

TEST_F(MakeDirectoriesTest, APathItCannotCreateShowsTheSetupMessage) {
  test::WriteFile(dir / "file", "x");
  EXPECT_FALSE(Make(dir / ("made/" + std::string(300, 'n') + "/sub")));  // a name too long
  EXPECT_FALSE(Make(dir / "file/sub"));
  EXPECT_FALSE(Make("relative/path"));
  ASSERT_EQ(fake.dialogs.messages.size(), 3u);
  const auto& m = fake.dialogs.messages[0];
  EXPECT_EQ(m.text, "Error While Attempting to Create Directories on Destination Drive.");
  EXPECT_EQ(m.title, "SETUP");
  EXPECT_EQ(m.icon, MsgBoxIcon::Exclamation);
  EXPECT_TRUE(IsFolder(dir / "made"));  // folders made before the failing one stay
  EXPECT_FALSE(test::Exists(dir / "relative"));
  EXPECT_EQ(fake.screen.MousePointer(), controls::MousePointer::Default);
}

}  // namespace
}  // namespace korvalin
