#pragma once
// How the rip commands end: the exit status and the one line on standard error about the file
// kept, the same for WAV and MP3.

#include <string>

#include "tools/CliCommand.h"
#include "tools/CliFiles.h"
#include "tools/StopSignals.h"

namespace korvalin::cli {

// `holds`: what the kept file holds, as " holds N of M frames"; `earlyHolds`: the same for a track
// that ended early without a stop.
template <class Outcome>
int EndOfRip(const Outcome& outcome, const std::string& track, const std::string& asked, const std::string& holds,
             const std::string& earlyHolds) {
  if (StopSignals::Received() != 0 && !outcome.complete) {
    return ReportStopped(outcome.created ? outcome.path + holds : "nothing was written");
  }
  if (!outcome.created) {
    return Fail("track " + track + " was not copied; nothing was written" +
                (outcome.cause.empty() ? "" : " (" + asked + ": " + outcome.cause + ")"));
  }
  if (outcome.renamed) NoteRenamed(asked, outcome.path);
  if (!outcome.complete) return Fail("track " + track + " ended early: " + outcome.path + earlyHolds);
  return 0;
}

}  // namespace korvalin::cli
