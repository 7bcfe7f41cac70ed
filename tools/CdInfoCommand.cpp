// korvalin-cli cdinfo: the disc's identity, track count and track lines, read through the media
// command interpreter exactly as the main window reads them.

#include <array>
#include <cstdio>
#include <exception>

#include "common/Numeric.h"
#include "common/TrackLine.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "tools/CliCommand.h"
#include "tools/DriveOptions.h"

namespace korvalin::cli {
namespace {

int CdInfo(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    DriveChoice choice = TakeDriveOptions(args);
    if (!args.empty()) return Fail("usage: cdinfo [--drive N | --image FILE.cue]");
    std::vector<CdDriveSource> drives = choice.library->Drives();
    // The interpreter reads the first drive of its list: give it the chosen one first.
    drives.erase(drives.begin(), drives.begin() + choice.drive);
    MediaCommandInterpreter mci(drives);
    std::array<char, 64> reply{};
    auto ask = [&](const std::string& command) {
      if (mci.SendCommand(command, reply.data(), reply.size()) != 0) throw std::runtime_error("\"" + command + "\" failed");
      return TextBeforeNul(reply.data(), reply.size());
    };
    if (mci.SendCommand("open cdaudio alias cd") != 0) {
      const OpenedDisc disc = OpenDisc(drives.front());  // opened once more, for the reason
      return Fail(disc.fault.empty() ? "no disc in the drive" : disc.fault);
    }
    const std::string identity = ask("info cd identity");
    const std::string count = ask("status cd number of tracks");
    std::printf("Identity: %s\nTracks: %s\n", identity.c_str(), count.c_str());
    ask("set cd time format hms");
    const int32_t tracks = CInt32(Val(count));
    for (int32_t n = 1; n <= tracks; ++n) {
      std::printf("%s\n", TrackLine(n, ask("status cd length track " + std::to_string(n))).c_str());
    }
    mci.SendCommand("close cd");
    return 0;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"cdinfo", "[--drive N | --image FILE.cue]",
                                    "Show a disc's identity, track count and track lengths.", CdInfo});

}  // namespace
}  // namespace korvalin::cli
