#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/BoundedRun.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/tools/CliRunner.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin {
namespace {

using namespace std::chrono_literals;

// A FIFO named as a sheet, as a sheet's file, or lying among the sheets of the user's disc folder
// ends the command at once with a sentence; `drives` lists the other discs.
TEST(CliCdInfo, AFifoWhereADiscImageIsExpectedIsRefusedInsteadOfWaitedOn) {
  test::TempDir dir;
  test::ScopedEnv env("XDG_DATA_HOME", dir.Path().c_str());
  for (const char* folder : {"/Korvalin", "/Korvalin/discs"}) ASSERT_EQ(::mkdir((dir.Path() + folder).c_str(), 0755), 0);
  const std::string discs = dir / "Korvalin/discs";
  ASSERT_EQ(::mkfifo((discs + "/fifo.cue").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((discs + "/fifo.bin").c_str(), 0600), 0);
  test::WriteFile(discs + "/names-a-fifo.cue", "FILE \"fifo.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
  discgen::WriteDiscImage(discs, "mine", {discgen::MusicCdFrames(30, 1)});
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string said;  // a part of what the command printed
  };
  const std::vector<Case> cases = {
      {{"cdinfo", "--image", discs + "/fifo.cue"}, 1, "the sheet is a FIFO, not a regular file."},
      {{"cdinfo", "--image", discs + "/names-a-fifo.cue"}, 1, "\"fifo.bin\" named by the sheet is a FIFO, not a regular file."},
      {{"drives"}, 0, "names-a-fifo.cue\n   (no disc or no table of contents: The disc image"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const test::BoundedRun run = test::RunBounded(10s, [&] {
      const test::CliResult r = test::RunCli(c.args);
      return std::to_string(r.status) + "\n" + r.out + r.err;
    });
    ASSERT_TRUE(run.finished) << "still waiting after 10 s";
    EXPECT_EQ(run.result.substr(0, run.result.find('\n')), std::to_string(c.status)) << run.result;
    EXPECT_NE(run.result.find(c.said), std::string::npos) << run.result;
    EXPECT_EQ(run.result.find(": fifo.cue\n"), std::string::npos) << "the FIFO is no drive";
  }
}

}  // namespace
}  // namespace korvalin
