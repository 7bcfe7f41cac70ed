#include "rip/ExtractionJob.h"

#include <optional>

#include "collection/CollectionTree.h"
#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "common/TrackLine.h"
#include "fileout/NameTemplate.h"
#include "encode/EncoderChoices.h"
#include "mp3/Mp3TagBlocks.h"
#include "platform/WavTags.h"
#include "rip/ExtractTrackToMp3.h"
#include "rip/AccurateRipLookup.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/RipJournal.h"

namespace korvalin {
namespace {

// The tag blocks of track `number` of the disc: none when the disc is not known or tags are off.
Mp3TagBlocks TagBlocksOf(const JobOptions& options, int32_t number, TagLibrary& library) {
  if (number < 1 || static_cast<std::size_t>(number) > options.trackTags.size()) return {};
  return RenderMp3TagBlocks(options.trackTags[static_cast<std::size_t>(number - 1)], options.tagVersion, library);
}


constexpr const char* kExtracting = "Extracting Track ";
constexpr const char* kDestination = "Destination: ";
constexpr const char* kWav = ".wav";
constexpr const char* kMp3 = ".mp3";
// "1 Step Extraction" ticked and cleared (greyed is neither).
constexpr int16_t kBoxTicked = 1;
constexpr int16_t kBoxCleared = 0;

// The chunks that carry `track`'s tags in its WAV file: none when the disc information gives the
// track no tags, or the job writes none.
std::vector<uint8_t> WavTagChunksFor(TagLibrary& library, int32_t track, const JobOptions& options) {
  if (track < 1 || static_cast<std::size_t>(track) > options.trackTags.size()) return {};
  return RenderWavTags(library, options.trackTags[static_cast<std::size_t>(track - 1)], options.tagVersion);
}

// The template's name for a track when the job names files from the disc information and the
// information covers the track; none otherwise, and the track gets the described name.
std::optional<TemplateName> TemplateNameFor(int32_t track, const JobOptions& options) {
  if (!options.nameFromTags || track < 1 || static_cast<std::size_t>(track) > options.trackTags.size()) {
    return std::nullopt;
  }
  TrackTags tags = options.trackTags[static_cast<std::size_t>(track) - 1];
  if (tags.Empty()) return std::nullopt;
  if (tags.track <= 0) tags.track = track;
  return NameFromTemplate(options.nameTemplate, tags, static_cast<int>(options.trackTags.size()), options.fatSafeNames);
}

}  // namespace

ExtractionJob::ExtractionJob(JobHost& host, Services& services, modAKRip32& cd, PrefixRandom::SeedSource seed,
                             AnalogCapture* capture)
    : host_(host), services_(services), cd_(cd), random_(std::move(seed)), capture_(capture) {}

std::string ExtractionJob::NameOutput(int32_t track, const std::string& extension, const JobOptions& options,
                                      bool makeFolders) {
  if (const auto name = TemplateNameFor(track, options)) {
    const std::string path = FreeTemplateOutputName(options.destination, *name, extension);
    // Sub-folders that cannot be made (a file of that name stands there): the described name.
    if (!makeFolders || MakeFoldersFor(options.destination, path)) return path;
  }
  return FreeOutputName(options.destination, track, extension, options.discIdentity, random_);
}

void ExtractionJob::ShowExtracting(const std::string& prefix, int32_t track) {
  const std::string text = prefix + std::to_string(track);
  host_.ShowCaption(text);
  host_.ShowNextAction(text);
}

EncoderConfig ExtractionJob::ConfigWith(int32_t bitrateKbps, int32_t qualityIndex, const JobOptions& options) {
  const FrameFlagBoxes boxes{options.privateBox, options.crcBox, options.copyrightedBox, options.originalBox};
  return ExtractionConfig(bitrateKbps, qualityIndex, boxes);
}

RipSettings ExtractionJob::LogSettings(bool mp3, const EncoderConfig& config, int32_t qualityIndex,
                                       const JobOptions& options) {
  RipSettings s;
  s.mp3 = mp3;
  s.secureReading = options.secureReading;
  s.readOffset = options.readOffset;
  s.bitrateKbps = config.bitrate;
  const auto& qualities = QualityListEntries();
  if (qualityIndex >= 0 && static_cast<std::size_t>(qualityIndex) < qualities.size()) {
    s.quality = qualities[static_cast<std::size_t>(qualityIndex)];
  }
  const std::pair<int32_t, const char*> flags[] = {{config.privateFlag, "Private"}, {config.crcFlag, "CRC"},
                                                   {config.copyrightFlag, "Copyrighted"}, {config.originalFlag, "Original"}};
  for (const auto& [value, name] : flags) {
    if (value != 0) s.flags.push_back(name);
  }
  return s;
}

void ExtractionJob::ShowVerdict(const RipJournal& journal) {
  const auto& tracks = journal.Log().tracks;
  if (tracks.empty() || tracks.back().accurateRip.empty()) return;
  host_.ShowStatus("Track " + std::to_string(tracks.back().number) + ": " + tracks.back().accurateRip);
}

bool ExtractionJob::SkipDataTrack(int32_t track) {
  if (!cd_.IsDataTrack(track)) return false;
  services_.dialogs.MsgBox(DataTrackText(track), MsgBoxButtons::OK, MsgBoxIcon::Information);
  return true;
}

void ExtractionJob::cmdStart_Click() {
  JobOptions options = host_.ReadJobOptions();
  JobSelection& selection = options.selection;
  JobState& state = host_.State();
  IgnoreErrors([&] { host_.Flags().CaptureStopRequested = kFalse; }, [&] { state.StopMarked = false; });

  const std::string& node = selection.node;
  std::vector<std::string>& tracks = selection.tracks;
  if (Left(node, 5) == "Track") {
    IgnoreErrors([&] { state.CurrentTrack = TrackNumberOf(node); });
  } else if (node == group::AvailableTracks) {
    // The tracks the group shows, every time: a rip takes nothing away from the disc, so the
    // available tracks stay available for the next Start.
    IgnoreErrors([&] { tracks = selection.nodeTracks; },
                 [&] { host_.TracksTaken(tracks); },
                 [&] { InHand(selection, 0); },
                 [&] { state.CurrentTrack = TrackNumberOf(tracks.at(0)); },
                 [&] { state.CaptureEnd = 0; });
  } else if (node == group::SelectedTracks) {
    if (!tracks.empty()) {
      IgnoreErrors([&] { InHand(selection, 0); },
                   [&] { state.CurrentTrack = TrackNumberOf(tracks[0]); },
                   [&] { state.CaptureEnd = 0; });
    }
  }
  // No track to extract (none chosen, or every available track was taken by an earlier rip):
  // say so instead of announcing a track that is never written.
  if (tracks.empty()) {
    IgnoreErrors([&] {
      services_.dialogs.MsgBox("You must select tracks to record.", MsgBoxButtons::OK, MsgBoxIcon::Information);
    });
    return;
  }

  IgnoreErrors([&] { ShowExtracting(" Extracting Track ", state.CurrentTrack); }, [&] { services_.loop.Yield(); });

  // Ticked: the tracks are read digitally. Cleared: they are captured through the sound card, one
  // after the other by the recording timer, while Start waits. Greyed starts nothing.
  if (options.oneStep == kBoxTicked) {
    IgnoreErrors([&] { host_.ShowCancelCommand(); }, [&] { StartTrackRecording3(state.CurrentTrack, options); });
  } else if (options.oneStep == kBoxCleared && capture_ != nullptr) {
    IgnoreErrors([&] { capture_->StartTrackRecording2(state.CurrentTrack, options); });
    while (capture_->Recording()) services_.loop.YieldWhileWaiting();
  }
}

void ExtractionJob::InHand(JobSelection& selection, int32_t index) {
  selection.trackIndex = index;
  host_.TrackInHand(index);
}

void ExtractionJob::StartTrackRecording3(int32_t track) { StartTrackRecording3(track, host_.ReadJobOptions()); }

void ExtractionJob::StartTrackRecording3(int32_t track, const JobOptions& options) {
  IgnoreErrors([&] { host_.Flags().CaptureStopRequested = kFalse; },
               [&] { ShowExtracting(kExtracting, track); },
               [&] { host_.State().CurrentOutputPath = NameOutput(track, kWav, options, false); },
               [&] { host_.ShowDestination(kDestination + host_.State().CurrentOutputPath); },
               [&] { services_.loop.Yield(); },
               [&] { host_.Disablem(); },
               [&] { Command6_Click(options); });
}

void ExtractionJob::Command6_Click() { Command6_Click(host_.ReadJobOptions()); }

void ExtractionJob::Command6_Click(const JobOptions& options) {
  // The bitrate list's number as kbit/s: out of range raises the overflow error here, as before
  // anything is read.
  const EncoderConfig config = ConfigWith(CInt32(options.bitrate), options.qualityIndex, options);
  AccurateRipCheck check(services_.http, services_.loop, options.accurateRipUrl, AccurateRipCacheFolder());
  RipJournal journal(cd_, options.destination, LogSettings(options.toMp3, config, options.qualityIndex, options),
                     services_.dialogs, services_.discIds, host_.Flags());
  check.Start(journal.Log().toc);
  journal.JudgeWith(check);
  ExtractionContext ctx{cd_, host_, journal, services_.loop, host_.Flags()};
  ctx.secureReading = options.secureReading;
  cd_.SetReadOffset(options.readOffset);
  // The tracks chosen when the job started.
  const std::vector<std::string>& tracks = options.selection.tracks;
  const int32_t count = static_cast<int32_t>(tracks.size());
  for (int32_t i = 0; i < count && host_.Flags().CancelRequested == kFalse; ++i) {
    host_.State().CurrentTrack = TrackNumberOf(tracks[static_cast<std::size_t>(i)]);
    const bool toMp3 = options.toMp3;
    // A data track is passed over: no folder is made for it.
    const std::string path = NameOutput(host_.State().CurrentTrack, toMp3 ? kMp3 : kWav, options,
                                        !cd_.IsDataTrack(host_.State().CurrentTrack));
    ShowExtracting(kExtracting, host_.State().CurrentTrack);
    host_.State().CurrentOutputPath = path;
    host_.ShowDestination(kDestination + path);
    if (SkipDataTrack(host_.State().CurrentTrack)) {
      journal.PassOver(host_.State().CurrentTrack, path, "data track");
      continue;
    }
    int32_t first = cd_.TrackFirstFrame(host_.State().CurrentTrack);
    const int32_t end = cd_.TrackEndFrame(host_.State().CurrentTrack);
    bool writeFailed = false, created = false;
    std::string written;  // the name the track really went to
    ctx.checksums = journal.StartTrack(host_.State().CurrentTrack, path);
    if (toMp3) {
      const Mp3TagBlocks tags = TagBlocksOf(options, host_.State().CurrentTrack, services_.tags);
      const Mp3ExtractionOutcome outcome = ExtractTrackToMp3(ctx, services_.encoder, path, first, end, config, tags);
      journal.EndTrack({outcome.framesEncoded, outcome.created, outcome.complete,
                        outcome.encoderFailed || outcome.writeFailed, outcome.read,
                        tags.Empty() ? "" : TagBlocksSummary(tags, services_.tags)});
      ShowVerdict(journal);
      // An encoder that refuses these settings refuses every track: one message is enough.
      if (outcome.encoderFailed) return;
      writeFailed = outcome.writeFailed;
      created = outcome.created;
      written = outcome.path;
    } else {
      // A track whose reads fail has said so and keeps what was read; the next track follows.
      const std::vector<uint8_t> tags = WavTagChunksFor(services_.tags, host_.State().CurrentTrack, options);
      const ExtractionOutcome outcome = ExtractTrackToWav(ctx, path, first, end, tags);
      // A file that could not be written holds no tags (those it could not take were cut off).
      journal.EndTrack({outcome.framesWritten, outcome.created, outcome.complete, outcome.writeFailed, outcome.read,
                        outcome.writeFailed ? "" : WavTagsSummary(tags, options.tagVersion)});
      ShowVerdict(journal);
      writeFailed = outcome.writeFailed;
      created = outcome.created;
      written = outcome.path;
    }
    if (created) host_.FileWritten(written);
    // A destination that cannot be written to (a full disk) fails every later track the same way.
    if (writeFailed) return;
  }
}

void ExtractionJob::Command3_Click() {
  const JobOptions options = host_.ReadJobOptions();
  if (!options.toMp3) return;
  const std::vector<std::string>& tracks = options.selection.tracks;
  const int32_t count = static_cast<int32_t>(tracks.size());
  if (count > 0) host_.TrackInHand(0);
  const EncoderConfig config = ConfigWith(BitrateFromIndex(options.encodingBitrate), options.encodingQuality, options);
  AccurateRipCheck check(services_.http, services_.loop, options.accurateRipUrl, AccurateRipCacheFolder());
  RipJournal journal(cd_, options.destination, LogSettings(true, config, options.encodingQuality, options),
                     services_.dialogs, services_.discIds, host_.Flags());
  check.Start(journal.Log().toc);
  journal.JudgeWith(check);
  ExtractionContext ctx{cd_, host_, journal, services_.loop, host_.Flags()};
  ctx.secureReading = options.secureReading;
  cd_.SetReadOffset(options.readOffset);

  for (int32_t i = 0; i < count && host_.Flags().CancelRequested == kFalse; ++i) {
    host_.TrackInHand(i);
    host_.State().CurrentTrack = TrackNumberOf(tracks[static_cast<std::size_t>(i)]);
    const std::string path =
        NameOutput(host_.State().CurrentTrack, kMp3, options, !cd_.IsDataTrack(host_.State().CurrentTrack));
    // This walk keeps the path without its extension; only the encoder gets the full name.
    host_.State().CurrentOutputPath = DropRight(path, 4);
    ShowExtracting(kExtracting, host_.State().CurrentTrack);
    host_.ShowDestination(kDestination + host_.State().CurrentOutputPath);
    services_.loop.Yield();
    if (SkipDataTrack(host_.State().CurrentTrack)) {
      journal.PassOver(host_.State().CurrentTrack, path, "data track");
      continue;
    }
    int32_t first = cd_.TrackFirstFrame(host_.State().CurrentTrack);
    const int32_t end = cd_.TrackEndFrame(host_.State().CurrentTrack);
    ctx.checksums = journal.StartTrack(host_.State().CurrentTrack, path);
    const Mp3TagBlocks tags = TagBlocksOf(options, host_.State().CurrentTrack, services_.tags);
    const Mp3ExtractionOutcome outcome = ExtractTrackToMp3(ctx, services_.encoder, path, first, end, config, tags);
    journal.EndTrack({outcome.framesEncoded, outcome.created, outcome.complete,
                      outcome.encoderFailed || outcome.writeFailed, outcome.read,
                      tags.Empty() ? "" : TagBlocksSummary(tags, services_.tags)});
    ShowVerdict(journal);
    if (outcome.encoderFailed || outcome.writeFailed) return;
  }
}

}  // namespace korvalin
