// korvalin-cli rip: one track of a drive or disc image to a WAV file, through the program's own
// extraction.

#include <exception>

#include "platform/WavTags.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/TagLibTags.h"
#include "rip/ExtractTrackToWav.h"
#include "tools/AccurateRipCli.h"
#include "tools/CliCommand.h"
#include "tools/CliJob.h"
#include "tools/DriveOptions.h"
#include "tools/ReadReportLine.h"
#include "tools/RipEnding.h"
#include "tools/CliFiles.h"
#include "tools/StopSignals.h"
#include "tools/TagOptions.h"
#include "tools/TrackFigures.h"

namespace korvalin::cli {
namespace {

const std::string kUsage =
    "[--drive N | --image FILE.cue] [--secure] [--read-offset N] [--accuraterip-url URL] " +
    std::string(kTagOptionsUsage) + " TRACK OUT.wav";

int Rip(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    DriveChoice choice = TakeDriveOptions(args);
    const bool secure = TakeFlag(args, "--secure");
    const int32_t readOffset = TakeReadOffset(args);
    const std::string databaseUrl = TakeAccurateRipUrl(args);
    const TagChoice tagChoice = TakeTagOptions(args, 0);
    if (args.size() != 2) return Fail(std::string("usage: rip ") + kUsage);
    TrackTags trackTags = tagChoice.tags;
    if (!trackTags.Empty()) trackTags.track = ParseCount(args[0], "TRACK");
    TagLibTags library;
    const std::vector<uint8_t> tags = RenderWavTags(library, trackTags, tagChoice.version);
    modAKRip32 cd(*choice.library);
    cd.SetReadOffset(readOffset);
    const TrackSpan span = OpenAudioTrack(choice, cd, args[0]);
    const int32_t first = span.first, end = span.end;
    CliJob job;
    CliAccurateRip database(databaseUrl, job.loop);
    database.Start(cd);
    ConsoleDialogs dialogs;
    TrackChecksums sums = ChecksumsForTrack(cd, ParseCount(args[0], "TRACK"));
    ExtractionContext ctx{cd, job.runner, dialogs, job.loop, job.runner.flags};
    ctx.checksums = &sums;
    ctx.secureReading = secure;
    const ExtractionOutcome outcome = job.Run([&] { return ExtractTrackToWav(ctx, args[1], first, end, tags); });
    job.progress.Finish();
    PrintReadReport(outcome.read);
    PrintReadOffset(readOffset);
    if (outcome.created) {
      const int32_t position = ParseCount(args[0], "TRACK");
      PrintTrackFigures(cd, position, outcome.framesWritten, outcome.read, sums);
      const TrackVerdict verdict = database.Judge(
          position, {sums.AccurateRipV1(), sums.AccurateRipV2(), sums.Bytes(), outcome.complete, outcome.read.Suspicious(),
                     sums.Frame450().Checksums()});
      PrintVerdict(verdict, database.Line());
    }
    cd.CloseDrive();
    const std::string holds = " holds " + std::to_string(outcome.framesWritten) + " of " + std::to_string(end - first) + " frames";
    return EndOfRip(outcome, args[0], args[1], holds, holds);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"rip", kUsage,
                                    "Copy one track of a CD or disc image to a WAV file (--secure: read every "
                                    "block until two reads agree; --read-offset: the drive's read offset "
                                    "correction in samples, else the one the Preferences keep; the tag options "
                                    "go into LIST/INFO and id3 chunks after the audio) and judge it by the "
                                    "AccurateRip database.",
                                    Rip});

}  // namespace
}  // namespace korvalin::cli
