// A settings file that is there but cannot be read is named, read as the defaults and never
// written over; a FIFO in its place does not block.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "common/RaisedError.h"
#include "platform/qtcore/QtSettingsStore.h"
#include "settings/Settings.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::TempDir;

TEST(UnreadableSettingsFile, IsNamedReadAsDefaultsAndLeftAsItIs) {
  struct Case {
    std::string name;
    std::function<void(const std::string& path)> make;
    std::string reason;  // "" for a file that can be used
  } cases[] = {
      {"a folder in its place", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0755), 0); },
       "a folder stands in its place"},
      {"a FIFO in its place", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
       "it is not a regular file"},
      {"no permission", [](const std::string& p) {
         test::WriteFile(p, "[Settings]\nEncoding bitrate=9\n");
         ASSERT_EQ(::chmod(p.c_str(), 0200), 0);
       },
       "Permission denied"},
      {"a readable file", [](const std::string& p) { test::WriteFile(p, "[Settings]\nEncoding bitrate=9\n"); }, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.reason == "Permission denied" && ::geteuid() == 0) continue;  // root reads any file
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "Korvalin").c_str(), 0755), 0);
    QtSettingsStore store(dir.Path());
    const std::string path = store.FilePath(kSettingsApplication);
    c.make(path);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    const std::string problem = store.Problem(kSettingsApplication);
    if (c.reason.empty()) {
      EXPECT_EQ(problem, "");
      EXPECT_EQ(store.get(kSettingsApplication, "Settings", "Encoding bitrate", "5"), "9");
      continue;
    }
    EXPECT_NE(problem.find("\"" + path + "\" cannot be read (" + c.reason + ")"), std::string::npos) << problem;
    EXPECT_EQ(store.get(kSettingsApplication, "Settings", "Encoding bitrate", "5"), "5");
    EXPECT_THROW(store.save(kSettingsApplication, "Settings", "Encoding bitrate", "11"), RaisedError);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  }
}

}  // namespace
}  // namespace korvalin
