// korvalin-cli offset: finds the drive's read offset correction. Fetches the AccurateRip database's
// answer for the disc, compares one track's frame 450 with it at every shift of +-2000 samples
// (rip/ReadOffsetFinder) and prints the shifts at which other people's rips agree.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>

#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "rip/AccurateRipDatabase.h"
#include "rip/DiscIds.h"
#include "rip/ReadOffsetFinder.h"
#include "settings/AccuracySettings.h"
#include "tools/AccurateRipCli.h"
#include "tools/CliCommand.h"
#include "tools/DriveOptions.h"

namespace korvalin::cli {
namespace {

constexpr const char* kUsage = "[--drive N | --image FILE.cue] [--track N] [--accuraterip-url URL]";
constexpr int kNoMatch = 1;
constexpr int kCannotTell = 2;

int CannotTell(const std::string& reason) {
  std::fprintf(stderr, "korvalin-cli: %s\n", reason.c_str());
  return kCannotTell;
}

// The database's answer for the disc, or the reason there is none.
DbarFile FetchDatabase(const std::string& baseUrl, const AccurateRipDiscId& id, int audioTracks) {
  std::string base = baseUrl;
  while (!base.empty() && base.back() == '/') base.pop_back();
  HttpRequest request;
  request.url = base + "/" + DbarPath(id, audioTracks);
  request.maxBodyBytes = std::size_t{1} << 20;
  HeadlessEventLoop loop;
  CurlHttpClient http;
  const HttpResponse response = GetYielding(http, loop, request);
  DbarFile file;
  if (!response.problem.empty()) {
    file.problem = "the AccurateRip database could not be reached (" + response.problem + ")";
  } else if (response.status == 404) {
    file.problem = "the AccurateRip database does not know this disc";
  } else if (response.status != 200) {
    file.problem = "the AccurateRip database answered with status " + std::to_string(response.status);
  } else {
    file = ParseDbar(response.body, id, audioTracks);
  }
  return file;
}

int Offset(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    DriveChoice choice = TakeDriveOptions(args);
    const std::optional<std::string> trackText = TakeGivenOption(args, "--track");
    const std::string url = TakeAccurateRipUrl(args);
    if (!args.empty()) return CannotTell(std::string("usage: offset ") + kUsage);

    modAKRip32 cd(*choice.library);  // no correction: the drive's reads as they come
    if (!cd.OpenDrive(choice.drive)) {
      const std::string& fault = choice.library->LastFault();
      return CannotTell(fault.empty() ? "cannot read the disc in drive " + std::to_string(choice.drive) + ": " +
                                            cd.LibraryErrorText()
                                      : fault);
    }
    const DiscToc toc = TocOf(cd);
    const auto audioTracks = static_cast<int>(
        std::count_if(toc.tracks.begin(), toc.tracks.end(), [](const DiscTocTrack& t) { return !t.data; }));
    if (audioTracks == 0) {
      cd.CloseDrive();
      return CannotTell("the disc holds no audio track");
    }
    if (url.empty()) {
      cd.CloseDrive();
      return CannotTell("no AccurateRip database address is set: give --accuraterip-url URL");
    }
    const DbarFile db = FetchDatabase(url, AccurateRipIdOf(toc), audioTracks);
    if (!db.problem.empty()) {
      cd.CloseDrive();
      return CannotTell(db.problem + "; the offset cannot be found from it");
    }
    std::optional<int> track;
    if (trackText) track = ParseCount(*trackText, "--track");
    const OffsetFinding finding = FindReadOffset(cd, toc, db, track);
    cd.CloseDrive();
    if (finding.track == 0) return CannotTell(finding.problem);

    std::printf("track %d, frame 450, shifted from -%d to +%d samples, against %zu database %s:\n", finding.track,
                kMaxReadOffset, kMaxReadOffset, db.responses.size(),
                db.responses.size() == 1 ? "response" : "responses");
    if (finding.matches.empty()) {
      std::printf("no offset matches\n");
      return kNoMatch;
    }
    for (const OffsetMatch& m : finding.matches) {
      std::printf("offset %s: %u %s agree\n", ReadOffsetText(m.offset).c_str(), m.rips, m.rips == 1 ? "rip" : "rips");
    }
    return 0;
  } catch (const std::exception& e) {
    return CannotTell(e.what());
  }
}

const CliRegistration registration({"offset", kUsage,
                                    "Find the drive's read offset correction: the shifts of a track's frame 450 at "
                                    "which the AccurateRip database's rips agree, the most rips first (exit 1: none "
                                    "agrees; 2: the database or the disc cannot tell).",
                                    Offset});

}  // namespace
}  // namespace korvalin::cli
