// A FIFO, a socket or a device where a disc image's file is expected is refused at once, never
// opened for a read that would wait: as the sheet, as a file the sheet names, and among the
// sheets of a disc folder.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CueImage.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using namespace std::chrono_literals;

// Makes a special file of the kind at `path`; false when the system will not.
bool MakeSpecial(const std::string& kind, const std::string& path) {
  if (kind == "a FIFO") return ::mkfifo(path.c_str(), 0600) == 0;
  if (kind == "a character device") return ::symlink("/dev/null", path.c_str()) == 0;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::strcpy(address.sun_path, path.c_str());
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = s >= 0 && ::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (s >= 0) ::close(s);
  return bound;
}

std::string OpenFault(const std::string& cue) {
  try {
    CueImage::Open(cue);
  } catch (const CueFault& fault) {
    return fault.what();
  }
  return "opened";
}

TEST(SpecialFiles, AreRefusedAtOnceAsASheetAsAFileOfOneAndInADiscFolder) {
  for (const std::string kind : {"a FIFO", "a socket", "a character device"}) {
    SCOPED_TRACE(kind);
    test::TempDir dir;
    ASSERT_TRUE(MakeSpecial(kind, dir / "special.cue"));
    ASSERT_TRUE(MakeSpecial(kind, dir / "special.bin"));
    test::WriteFile(dir / "names-it.cue", "FILE \"special.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    discgen::WriteDiscImage(dir.Path(), "real", {discgen::MusicCdFrames(30, 1)});
    struct Case {
      const char* role;
      std::function<std::string()> body;
      std::string expected;
    };
    const std::vector<Case> cases = {
        {"the sheet", [&] { return OpenFault(dir / "special.cue"); },
         "The disc image \"" + dir / "special.cue" + "\" cannot be used: the sheet is " + kind + ", not a regular file."},
        {"a file of the sheet", [&] { return OpenFault(dir / "names-it.cue"); },
         "The disc image \"" + dir / "names-it.cue" + "\" cannot be used: the file \"special.bin\" named by the sheet is " +
             kind + ", not a regular file."},
        {"a disc folder",
         [&] {
           std::string listed;
           CdioLibrary library(CdioLibrary::FindDrives(dir.Path()));
           for (std::size_t d = 0; d < library.Drives().size(); ++d) {
             if (!library.Drives()[d].isImage) continue;
             const uint8_t request[16] = {12, 1, static_cast<uint8_t>(d)};
             const int32_t handle = library.GetCDHandle(request);
             listed += library.Drives()[d].identification + (handle ? " opens\n" : " refused\n");
             library.CloseCDHandle(handle);
           }
           return listed;
         },
         "names-it.cue refused\nreal.cue opens\n"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.role);
      const test::BoundedRun run = test::RunBounded(5s, c.body);
      ASSERT_TRUE(run.finished) << "still waiting after 5 s";
      EXPECT_LT(run.took, 1s);
      EXPECT_EQ(run.result, c.expected);
    }
  }
}

}  // namespace
}  // namespace korvalin
