// korvalin-cli rip-mp3: one track of a drive or disc image straight to an MP3 file, through the
// program's own extraction and encoder.

#include <cstdio>
#include <exception>

#include "encode/EncoderChoices.h"
#include "rip/ExtractTrackToMp3.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/TagLibTags.h"
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
    "[--drive N | --image FILE.cue] [--secure] [--bitrate KBPS] [--quality INDEX] [--private] [--crc] [--copyright] "
    "[--original] " + std::string(kTagOptionsUsage) + " TRACK OUT.mp3";

int RipMp3(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    DriveChoice choice = TakeDriveOptions(args);
    const bool secure = TakeFlag(args, "--secure");
    const std::string bitrate = TakeOption(args, "--bitrate");
    const std::string quality = TakeOption(args, "--quality");
    FrameFlagBoxes boxes;
    boxes.privateBox = TakeFlag(args, "--private") ? 1 : 0;
    boxes.crcBox = TakeFlag(args, "--crc") ? 1 : 0;
    boxes.copyrightedBox = TakeFlag(args, "--copyright") ? 1 : 0;
    boxes.originalBox = TakeFlag(args, "--original") ? 1 : 0;
    const TagChoice tagChoice = TakeTagOptions(args, 0);
    if (args.size() != 2) return Fail(std::string("usage: rip-mp3 ") + kUsage);
    TrackTags trackTags = tagChoice.tags;
    if (!trackTags.Empty()) trackTags.track = ParseCount(args[0], "TRACK");
    TagLibTags library;
    const Mp3TagBlocks tags = RenderMp3TagBlocks(trackTags, tagChoice.version, library);
    const EncoderConfig config = ExtractionConfig(bitrate.empty() ? 128 : ParseCount(bitrate, "--bitrate"),
                                                  quality.empty() ? 1 : ParseCount(quality, "--quality"), boxes);
    modAKRip32 cd(*choice.library);
    const TrackSpan span = OpenAudioTrack(choice, cd, args[0]);
    int32_t first = span.first;
    const int32_t end = span.end;
    CliJob job;
    ConsoleDialogs dialogs;
    LameEncoderLibrary encoder;
    TrackChecksums sums = ChecksumsForTrack(cd, ParseCount(args[0], "TRACK"));
    ExtractionContext ctx{cd, job.runner, dialogs, job.loop, job.runner.flags};
    ctx.checksums = &sums;
    ctx.secureReading = secure;
    const Mp3ExtractionOutcome outcome = job.Run([&] { return ExtractTrackToMp3(ctx, encoder, args[1], first, end, config, tags); });
    job.progress.Finish();
    PrintReadReport(outcome.read);
    if (outcome.created) PrintTrackFigures(cd, ParseCount(args[0], "TRACK"), outcome.framesEncoded, outcome.read, sums);
    if (outcome.created && !tags.Empty()) std::printf("Tags: %s\n", TagBlocksSummary(tags, library).c_str());
    cd.CloseDrive();
    if (outcome.encoderFailed) return Fail("the encoder refused these settings; nothing was written");
    const std::string holds = " holds " + std::to_string(outcome.framesEncoded) + " of " + std::to_string(end - span.first) + " frames";
    return EndOfRip(outcome, args[0], args[1], holds,
                    " holds " + std::to_string(outcome.framesEncoded) + " frames of audio");
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"rip-mp3", kUsage,
                                    "Copy one track of a CD or disc image straight to an MP3 file "
                                    "(defaults: 128 kbit/s, quality 1 \"Normal\", no flags). Tag options give the file "
                                    "an ID3v2 (version 2.3 unless --id3 says 4, none for 0) and an ID3v1 tag.",
                                    RipMp3});

}  // namespace
}  // namespace korvalin::cli
