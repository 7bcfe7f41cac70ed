#include "platform/UserFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/FileTree.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ScopedEnv;

TEST(UserFolders, XdgVariablesWinWhenAbsoluteAndHomeFillsIn) {
  test::TempDir home;
  ScopedEnv env;
  env.Set("HOME", home.Path() + "/").Set("XDG_CACHE_HOME", "/var/cache/me/").Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(HomeFolder(), home.Path());
  EXPECT_EQ(UserCacheFolder(), "/var/cache/me/Korvalin");
  EXPECT_EQ(UserDataFolder(), home / ".local/share/Korvalin") << "a relative XDG value is ignored";
  env.Set("XDG_CACHE_HOME", nullptr).Set("XDG_DATA_HOME", "/srv/data");
  EXPECT_EQ(UserCacheFolder(), home / ".cache/Korvalin");
  EXPECT_EQ(UserDataFolder(), "/srv/data/Korvalin");

  env.Set("HOME", nullptr);
  EXPECT_FALSE(HomeFolder().empty()) << "the password entry gives the home";
  EXPECT_EQ(HomeFolder().front(), '/');
}

TEST(UserFolders, TheMusicFolderComesFromTheUserDirsFileOrIsMusicInTheHome) {
  test::TempDir home;
  ScopedEnv env;
  env.Set("HOME", home.Path()).Set("XDG_CONFIG_HOME", home / "config").Set("XDG_MUSIC_DIR", nullptr);
  test::MakeTree(home.Path(), {"config/"});
  EXPECT_EQ(UserMusicFolder(), home / "Music") << "no user-dirs file";

  struct Case {
    const char* file;
    std::string expected;
  };
  const Case cases[] = {
      {"# XDG_MUSIC_DIR=\"/not/this\"\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_MUSIC_DIR=\"$HOME/Muziek/\"\n",
       home / "Muziek"},
      {"XDG_MUSIC_DIR=\"/mnt/music\"\n", "/mnt/music"},
      {"XDG_MUSIC_DIR=\"$HOME/\"\n", home.Path()},  // a music folder switched off is the home itself
      {"XDG_MUSIC_DIR=\"Music\"\n", home / "Music"},  // neither absolute nor below $HOME: unusable
      {"XDG_MUSIC_DIR=\n", home / "Music"},
  };
  for (const Case& c : cases) {
    test::WriteFile(home / "config/user-dirs.dirs", c.file);
    EXPECT_EQ(UserMusicFolder(), c.expected) << c.file;
  }
  env.Set("XDG_MUSIC_DIR", "/data/audio/");
  EXPECT_EQ(UserMusicFolder(), "/data/audio") << "the variable wins over the file";
}

// The two layouts a program meets: a build folder with the pictures beside the program, and an
// installed program in <prefix>/bin with its files in <prefix>/share/korvalin.
struct Layouts {
  Layouts() {
    test::MakeTree(root.Path(), {"build/bin/pictures/", "usr/bin/", "usr/share/korvalin/pictures/", "bare/"});
    env.Set("HOME", root / "home").Set("XDG_MUSIC_DIR", nullptr).Set("XDG_CONFIG_HOME", root / "home/.config");
    env.Set("XDG_CACHE_HOME", nullptr).Set("XDG_DATA_HOME", nullptr);
  }
  test::TempDir root;
  ScopedEnv env;
  std::string build = root / "build/bin", installed = root / "usr/bin", bare = root / "bare";
};

TEST(UserFolders, ABuildReadsAndWritesBesideItselfAnInstalledProgramReadsShareAndWritesTheUsersFolders) {
  Layouts l;
  const std::string music = l.root / "home/Music/Korvalin", cache = l.root / "home/.cache/Korvalin";
  const std::string data = l.root / "home/.local/share/Korvalin";

  EXPECT_TRUE(RunsFromBuildFolder(l.build));
  EXPECT_EQ(ProgramDataFolder(l.build + "/"), l.build);
  EXPECT_EQ(DefaultDestination(l.build), l.build + "/WAVFiles");
  EXPECT_EQ(StartingDestination(l.build), l.build);
  EXPECT_EQ(WritableProgramFolder(l.build), l.build);
  EXPECT_EQ(DiscFolders(l.build), (std::vector<std::string>{l.build + "/discs", data + "/discs"}));

  EXPECT_FALSE(RunsFromBuildFolder(l.installed));
  EXPECT_EQ(ProgramDataFolder(l.installed), l.root / "usr/share/korvalin");
  EXPECT_EQ(DefaultDestination(l.installed), music) << "even a user who may write the prefix";
  EXPECT_EQ(StartingDestination(l.installed), music);
  EXPECT_EQ(WritableProgramFolder(l.installed), cache);
  EXPECT_EQ(DiscFolders(l.installed),
            (std::vector<std::string>{l.root / "usr/share/korvalin/discs", data + "/discs"}));

  // Neither layout (a copied executable): it reads beside itself and still writes to the user's folders.
  EXPECT_EQ(ProgramDataFolder(l.bare), l.bare);
  EXPECT_EQ(DefaultDestination(l.bare), music);
}

TEST(UserFolders, AReadOnlyBuildFolderWritesToTheUsersFolders) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any folder";
  Layouts l;
  ASSERT_EQ(::chmod(l.build.c_str(), 0555), 0);
  EXPECT_FALSE(FolderIsWritable(l.build));
  EXPECT_EQ(ProgramDataFolder(l.build), l.build);
  EXPECT_EQ(DefaultDestination(l.build), l.root / "home/Music/Korvalin");
  EXPECT_EQ(StartingDestination(l.build), l.root / "home/Music/Korvalin");
  EXPECT_EQ(WritableProgramFolder(l.build), l.root / "home/.cache/Korvalin");
  ::chmod(l.build.c_str(), 0755);
}

TEST(UserFolders, TheUsersDiscFolderIsListedOnceWhenItIsTheProgramsOwn) {
  Layouts l;
  test::MakeTree(l.root.Path(), {"build/bin/discs/", "data/"});
  l.env.Set("XDG_DATA_HOME", l.root / "data");
  ASSERT_EQ(::symlink(l.build.c_str(), (l.root / "data/Korvalin").c_str()), 0);
  EXPECT_EQ(DiscFolders(l.build), std::vector<std::string>{l.build + "/discs"});
}

}  // namespace
}  // namespace korvalin
