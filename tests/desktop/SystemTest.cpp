#include "desktop/System.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "desktop/MountTable.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

// What a shell command prints.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

bool IsMountedAs(const std::string& point, const std::string& type) {
  for (const auto& m : ReadMountTable()) {
    if (m.point == point && m.type == type) return true;
  }
  return false;
}

TEST(System, DriveInfoAgreesWithDf) {
  test::TempDir dir;
  System system;
  int64_t total = -1;
  int64_t free = -1;
  system.DriveInfo(dir.Path(), total, free);
  std::istringstream df(Output("df -B1 --output=size,avail '" + dir.Path() + "' | tail -n 1"));
  int64_t dfTotal = 0;
  int64_t dfFree = 0;
  ASSERT_TRUE(df >> dfTotal >> dfFree);
  EXPECT_EQ(total, dfTotal);
  // Others write to the same disk meanwhile.
  EXPECT_NEAR(static_cast<double>(free), static_cast<double>(dfFree), 256e6);
  EXPECT_NEAR(static_cast<double>(system.FastDiskSpace(dir.Path())), static_cast<double>(dfFree), 256e6);

  system.DriveInfo(dir / "missing", total, free);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(free, 0);
  EXPECT_EQ(system.FastDiskSpace(dir / "missing"), 0);
}

TEST(System, DriveTypeOfWhatTheMachineHas) {
  System system;
  EXPECT_EQ(system.DriveType("/no/such/folder"), "");
  EXPECT_EQ(system.DriveType("/proc"), "");
  EXPECT_EQ(system.DriveType("/proc/self"), "");
  if (IsMountedAs("/dev/shm", "tmpfs")) {
    EXPECT_EQ(system.DriveType("/dev/shm"), "RAM-disk");
  }
  const std::string rootType = system.DriveType("/");
  EXPECT_NE(rootType, "");
  EXPECT_NE(rootType, "RAM-disk") << "a root file system in memory is rare enough to look at";
}

TEST(System, DriveTypeTextFromFileSystemAndDevice) {
  struct Case {
    const char* type;
    const char* device;
    bool removable;
    const char* text;
  };
  const Case cases[] = {{"ext4", "sda1", false, "Fixed drive"},      {"overlay", "", false, "Fixed drive"},
                        {"vfat", "sdb1", true, "Removable drive"},   {"iso9660", "sr0", true, "CD-ROM drive"},
                        {"udf", "", false, "CD-ROM drive"},          {"ext4", "sr1", false, "CD-ROM drive"},
                        {"nfs4", "", false, "Network drive"},        {"cifs", "", false, "Network drive"},
                        {"fuse.sshfs", "", false, "Network drive"},  {"tmpfs", "", false, "RAM-disk"},
                        {"ramfs", "", false, "RAM-disk"},            {"proc", "", false, ""},
                        {"cgroup2", "", false, ""},                  {"sysfs", "", false, ""}};
  for (const auto& c : cases) EXPECT_EQ(DriveTypeText(c.type, c.device, c.removable), c.text) << c.type;
}

TEST(System, DriveRootsAreTheRealFileSystemsOnceEachAndDrivesCountsThem) {
  System system;
  const auto roots = system.DriveRoots();
  EXPECT_NE(std::find(roots.begin(), roots.end(), "/"), roots.end());
  EXPECT_EQ(std::set<std::string>(roots.begin(), roots.end()).size(), roots.size());
  for (const char* pseudo : {"/proc", "/sys", "/dev/pts"}) {
    EXPECT_EQ(std::find(roots.begin(), roots.end(), pseudo), roots.end()) << pseudo;
  }
  int16_t removable = 0, fixed = 0, cd = 0, ram = 0, network = 0;
  system.Drives(removable, fixed, cd, ram, network);
  EXPECT_GE(fixed, 1);
  const int once = removable + fixed + cd + ram + network;
  EXPECT_LE(once, static_cast<int>(roots.size()));
  system.Drives(removable, fixed, cd, ram, network);  // adds to what the counters hold
  EXPECT_EQ(removable + fixed + cd + ram + network, 2 * once);
  // A path on a pseudo file system belongs to that file system, not to the drive above it.
  EXPECT_EQ(system.MountOf("/proc/self/status"), "/proc");
  EXPECT_EQ(system.MountOf("/no such folder/x"), "/");
}

TEST(MountTable, ParsesEscapesAndFindsTheMountThatHoldsAPath) {
  const auto mounts = ParseMountTable(
      "/dev/vda / ext4 rw 0 0\n"
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /media/my\\040stick vfat rw 0 0\n"
      "/dev/sdc1 /work ext4 rw 0 0\n"
      "tmpfs /work tmpfs rw 0 0\n");
  ASSERT_EQ(mounts.size(), 5u);
  EXPECT_EQ(mounts[2].point, "/media/my stick");
  EXPECT_EQ(mounts[2].type, "vfat");
  const struct {
    const char* path;
    const char* device;
  } cases[] = {{"/workshop/a", "/dev/vda"},   {"/work", "tmpfs"},  // mounted last, on top
               {"/work/x/y", "tmpfs"},        {"/media/my stick/x", "/dev/sdb1"},
               {"/", "/dev/vda"},             {"/proc/1", "proc"}};
  for (const auto& c : cases) EXPECT_EQ(MountHolding(mounts, c.path)->device, c.device) << c.path;
  EXPECT_EQ(MountHolding(mounts, "relative/path"), nullptr);
  EXPECT_TRUE(IsPseudoFileSystem("proc"));
  EXPECT_FALSE(IsPseudoFileSystem("ext4"));
}

TEST(System, PutPointsGroupsDigitsInThrees) {
  const std::pair<int64_t, const char*> cases[] = {{0, "0"},
                                                   {999, "999"},
                                                   {1000, "1.000"},
                                                   {1234567, "1.234.567"},
                                                   {2147483648, "2.147.483.648"},
                                                   {-1234, "-1.234"},
                                                   {std::numeric_limits<int64_t>::min(), "-9.223.372.036.854.775.808"}};
  for (const auto& [number, text] : cases) EXPECT_EQ(System::PutPoints(number), text) << number;
}

TEST(System, KeyboardTexts) {
  System system;
  EXPECT_EQ(system.KeyboardType(), "IBM enhanced (101 or 102 key)");
  EXPECT_EQ(system.FunctionKeys(), 12);
  EXPECT_EQ(System::KeyboardTypeText(2), "Olivetti \"ico\" (102 key)");
  EXPECT_EQ(System::KeyboardTypeText(7), "Japanese");
  EXPECT_EQ(System::KeyboardTypeText(0), "");
  EXPECT_EQ(System::KeyboardTypeText(8), "");
}

TEST(System, MemoryProcessorsNamesAndVersionOfThisMachine) {
  System system;
  uint8_t used = 255;
  int64_t totalKb = 0, freeKb = 0;
  system.FreeMemory(used, totalKb, freeKb);
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  int64_t memTotalKb = 0;
  meminfo >> key >> memTotalKb;
  EXPECT_NEAR(static_cast<double>(totalKb), static_cast<double>(memTotalKb), 1.0);
  EXPECT_GT(freeKb, 0);
  EXPECT_LE(freeKb, totalKb);
  EXPECT_LE(used, 100);

  std::string processor = "unchanged";
  int32_t count = 0;
  int64_t mask = 0;
  system.SystemInfo(processor, count, mask);
  EXPECT_EQ(count, ::sysconf(_SC_NPROCESSORS_ONLN));
  EXPECT_NE(mask, 0);
  const std::string model = Output("grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' | tr -d '\\n'");
  if (!model.empty()) {
    EXPECT_EQ(processor, model);
  }

  for (const auto& folder : {system.TempDir(), system.SystemDir(), system.WinDir()}) {
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(::access(folder.c_str(), F_OK), 0) << folder;
  }
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  EXPECT_EQ(system.ComputerName(), host);
  EXPECT_EQ(system.UserName(), Output("id -un | tr -d '\\n'"));

  int32_t major = -1, minor = -1;
  std::string platform;
  system.WinVer(major, minor, platform);
  struct utsname u {};
  ::uname(&u);
  EXPECT_EQ(platform, std::string(u.sysname) + " " + std::to_string(major) + "." + std::to_string(minor));
  EXPECT_EQ(std::to_string(major) + "." + std::to_string(minor) + ".",
            std::string(u.release).substr(0, std::to_string(major).size() + std::to_string(minor).size() + 2));
}

TEST(System, SerialNumberAndVolumeLabel) {
  System system;
  EXPECT_EQ(system.SerialNumber("/no/such/folder"), "0000-0000");
  EXPECT_EQ(system.VolumeLabel("/no/such/folder"), "");
  if (IsMountedAs("/dev/shm", "tmpfs")) {  // no device, so no UUID and no label
    EXPECT_EQ(system.SerialNumber("/dev/shm"), "0000-0000");
    EXPECT_EQ(system.VolumeLabel("/dev/shm"), "NoName");
  }
  const std::string serial = system.SerialNumber("/");
  ASSERT_EQ(serial.size(), 9u);
  EXPECT_EQ(serial[4], '-');
  EXPECT_NE(system.VolumeLabel("/"), "");

  const std::pair<const char*, const char*> uuids[] = {{"1b4e28ba-2fa1-11d2-883f-0016d3cca427", "1B4E-28BA"},
                                                       {"ABCD-1234", "ABCD-1234"},
                                                       {"1a2b", "0000-1A2B"},
                                                       {"", "0000-0000"}};
  for (const auto& [uuid, text] : uuids) EXPECT_EQ(SerialFromUuid(uuid), text) << uuid;
  EXPECT_EQ(DecodeLinkName("My\\x20Disc\\x2fA"), "My Disc/A");
  EXPECT_EQ(DecodeLinkName("plain\\x2"), "plain\\x2");
}

}  // namespace
}  // namespace korvalin
