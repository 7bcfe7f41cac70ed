#pragma once
// How a track's output ends, the same for WAV and MP3: when the track kept something, the staged
// file takes its name (or a fresh one when another file took it meanwhile); otherwise the name's
// old file stays as it was. A track with suspicious frames is then reported under the name kept.

#include <string>

#include "fileout/OutputFailure.h"
#include "fileout/StagedOutput.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/TrackReader.h"

namespace korvalin {

// `Outcome` is ExtractionOutcome or Mp3ExtractionOutcome; `keep`: the file holds what it should.
template <class Outcome>
void EndTrackOutput(ExtractionContext& ctx, StagedOutput& output, const std::string& path, bool keep,
                    Outcome& outcome) {
  if (keep) {
    if (output.Commit()) {
      outcome.created = true;
      outcome.path = output.FinalPath();
      outcome.renamed = output.Renamed();
    } else {
      outcome.cause = output.Cause();
      outcome.writeFailed = true;
      outcome.complete = false;
      ctx.dialogs.MsgBox(WriteFailureText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
    }
  }
  output.Discard();
  if (outcome.read.Suspicious()) {
    ctx.dialogs.MsgBox(SuspiciousTrackText(outcome.created ? outcome.path : path, outcome.read), MsgBoxButtons::OK,
                       MsgBoxIcon::Exclamation, {});
  }
}

}  // namespace korvalin
