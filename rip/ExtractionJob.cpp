#include "rip/ExtractionJob.h"

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "common/TrackLine.h"
#include "encode/EncoderChoices.h"
#include "rip/ExtractTrackToMp3.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/RipJournal.h"

namespace korvalin {
namespace {

constexpr const char* kExtracting = "Extracting Track ";
constexpr const char* kDestination = "Destination: ";
constexpr const char* kWav = ".wav";
constexpr const char* kMp3 = ".mp3";

}  // namespace

ExtractionJob::ExtractionJob(MainWindowState& window, PrefixRandom::SeedSource seed, AnalogCapture* capture)
    : w_(window), random_(std::move(seed)), capture_(capture) {}

std::string ExtractionJob::NameOutput(int32_t track, const std::string& extension) {
  return FreeOutputName(w_.settings.DecodePath, track, extension, Val(w_.lblCDID.Caption()), random_);
}

void ExtractionJob::ShowExtracting(const std::string& prefix, int32_t track) {
  const std::string text = prefix + std::to_string(track);
  w_.window.SetCaption(text);
  w_.Label3.SetCaption(text);
}

EncoderConfig ExtractionJob::ConfigWith(int32_t bitrateKbps, int32_t qualityIndex) const {
  const FrameFlagBoxes boxes{w_.chkPrivate.Value(), w_.chkCRC.Value(), w_.chkCopyright.Value(), w_.chkOriginal.Value()};
  return ExtractionConfig(bitrateKbps, qualityIndex, boxes);
}

RipSettings ExtractionJob::LogSettings(bool mp3, const EncoderConfig& config, int32_t qualityIndex) const {
  RipSettings s;
  s.mp3 = mp3;
  s.secureReading = w_.settings.SecureReading != 0;
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

bool ExtractionJob::SkipDataTrack(int32_t track) {
  if (!w_.cd.IsDataTrack(track)) return false;
  w_.services.dialogs.MsgBox(DataTrackText(track), MsgBoxButtons::OK, MsgBoxIcon::Information);
  return true;
}

void ExtractionJob::cmdStart_Click() {
  auto& lists = w_.collection;
  IgnoreErrors([&] { w_.flags.CaptureStopRequested = kFalse; },
               [&] { w_.Check9.SetValue(controls::CheckBox::Unchecked); });

  std::string node;
  IgnoreErrors([&] {
    if (const controls::TreeNode* selected = lists.TreeView1.SelectedItem()) node = selected->Text();
  });
  if (Left(node, 5) == "Track") {
    IgnoreErrors([&] { w_.CurrentTrack = TrackNumberOf(node); });
  } else if (node == group::AvailableTracks) {
    IgnoreErrors([&] { lists.lstRecord.Clear(); },
                 [&] {
                   for (const auto& line : lists.lstTracks.Items()) lists.lstRecord.AddItem(line);
                 },
                 [&] { lists.lstRecord.SetListIndex(0); },
                 [&] { w_.CurrentTrack = TrackNumberOf(lists.lstRecord.List(0)); },
                 [&] { w_.CaptureEnd = 0; },
                 [&] { lists.lstTracks.Clear(); });
  } else if (node == group::SelectedTracks) {
    if (lists.lstRecord.ListCount() > 0) {
      IgnoreErrors([&] { lists.lstRecord.SetListIndex(0); },
                   [&] { w_.CurrentTrack = TrackNumberOf(lists.lstRecord.List(0)); },
                   [&] { w_.CaptureEnd = 0; });
    }
  }
  // No track to extract (none chosen, or every available track was taken by an earlier rip):
  // say so instead of announcing a track that is never written.
  if (lists.lstRecord.ListCount() == 0) {
    IgnoreErrors([&] {
      w_.services.dialogs.MsgBox("You must select tracks to record.", MsgBoxButtons::OK, MsgBoxIcon::Information);
    });
    return;
  }

  IgnoreErrors([&] { ShowExtracting(" Extracting Track ", w_.CurrentTrack); }, [&] { w_.services.loop.Yield(); });

  // Ticked: the tracks are read digitally. Cleared: they are captured through the sound card, one
  // after the other by the recording timer, while Start waits. Greyed starts nothing.
  if (w_.Chk2Stage.Value() == controls::CheckBox::Checked) {
    IgnoreErrors([&] { w_.Command2.SetVisible(true); }, [&] { StartTrackRecording3(w_.CurrentTrack); });
  } else if (w_.Chk2Stage.Value() == controls::CheckBox::Unchecked && capture_ != nullptr) {
    IgnoreErrors([&] { capture_->StartTrackRecording2(w_.CurrentTrack); });
    while (w_.tmrRecord.Enabled()) w_.services.loop.YieldWhileWaiting();
  }
}

void ExtractionJob::StartTrackRecording3(int32_t track) {
  IgnoreErrors([&] { w_.flags.CaptureStopRequested = kFalse; },
               [&] { ShowExtracting(kExtracting, track); },
               [&] { w_.CurrentOutputPath = NameOutput(track, kWav); },
               [&] { w_.Label2.SetCaption(kDestination + w_.CurrentOutputPath); },
               [&] { w_.services.loop.Yield(); },
               [&] { w_.Disablem(); },
               [&] { Command6_Click(); });
}

void ExtractionJob::Command6_Click() {
  const EncoderConfig config = ConfigWith(BitrateFromListText(w_.cmbBitrate.Text()), w_.cmbQuality.ListIndex());
  RipJournal journal(w_.cd, w_.settings.DecodePath, LogSettings(w_.optMP3.Value(), config, w_.cmbQuality.ListIndex()),
                     w_.services.dialogs, w_.services.discIds, w_.flags);
  ExtractionContext ctx{w_.cd, w_, journal, w_.services.loop, w_.flags};
  ctx.secureReading = w_.settings.SecureReading != 0;
  const controls::ListBox& tracks = w_.collection.lstRecord;

  // The list is read afresh for every track: events run while a track is copied.
  for (int32_t i = 0; i <= tracks.ListCount() - 1 && w_.flags.CancelRequested == kFalse; ++i) {
    w_.CurrentTrack = TrackNumberOf(tracks.List(i));
    const bool toMp3 = w_.optMP3.Value();
    const std::string path = NameOutput(w_.CurrentTrack, toMp3 ? kMp3 : kWav);
    ShowExtracting(kExtracting, w_.CurrentTrack);
    w_.CurrentOutputPath = path;
    w_.Label2.SetCaption(kDestination + path);
    if (SkipDataTrack(w_.CurrentTrack)) {
      journal.PassOver(w_.CurrentTrack, path, "data track");
      continue;
    }
    int32_t first = w_.cd.TrackFirstFrame(w_.CurrentTrack);
    const int32_t end = w_.cd.TrackEndFrame(w_.CurrentTrack);
    bool writeFailed = false, created = false;
    ctx.checksums = journal.StartTrack(w_.CurrentTrack, path);
    if (toMp3) {
      const Mp3ExtractionOutcome outcome = ExtractTrackToMp3(ctx, w_.services.encoder, path, first, end, config);
      journal.EndTrack({outcome.framesEncoded, outcome.created, outcome.complete,
                        outcome.encoderFailed || outcome.writeFailed, outcome.read});
      // An encoder that refuses these settings refuses every track: one message is enough.
      if (outcome.encoderFailed) return;
      writeFailed = outcome.writeFailed;
      created = outcome.created;
    } else {
      // A track whose reads fail has said so and keeps what was read; the next track follows.
      const ExtractionOutcome outcome = ExtractTrackToWav(ctx, path, first, end);
      journal.EndTrack({outcome.framesWritten, outcome.created, outcome.complete, outcome.writeFailed, outcome.read});
      writeFailed = outcome.writeFailed;
      created = outcome.created;
    }
    if (created) w_.collection.Cmaddfile2(path);
    // A destination that cannot be written to (a full disk) fails every later track the same way.
    if (writeFailed) return;
  }
}

void ExtractionJob::Command3_Click() {
  if (!w_.optMP3.Value()) return;
  controls::ListBox& tracks = w_.collection.lstRecord;
  if (tracks.ListCount() > 0) tracks.SetListIndex(0);
  const EncoderConfig config =
      ConfigWith(BitrateFromIndex(w_.settings.EncodingBitrate), w_.settings.EncodingQuality);
  RipJournal journal(w_.cd, w_.settings.DecodePath, LogSettings(true, config, w_.settings.EncodingQuality),
                     w_.services.dialogs, w_.services.discIds, w_.flags);
  ExtractionContext ctx{w_.cd, w_, journal, w_.services.loop, w_.flags};
  ctx.secureReading = w_.settings.SecureReading != 0;

  for (int32_t i = 0; i <= tracks.ListCount() - 1 && w_.flags.CancelRequested == kFalse; ++i) {
    tracks.SetListIndex(i);
    w_.CurrentTrack = TrackNumberOf(tracks.List(i));
    const std::string path = NameOutput(w_.CurrentTrack, kMp3);
    // This walk keeps the path without its extension; only the encoder gets the full name.
    w_.CurrentOutputPath = DropRight(path, 4);
    ShowExtracting(kExtracting, w_.CurrentTrack);
    w_.Label2.SetCaption(kDestination + w_.CurrentOutputPath);
    w_.services.loop.Yield();
    if (SkipDataTrack(w_.CurrentTrack)) {
      journal.PassOver(w_.CurrentTrack, path, "data track");
      continue;
    }
    int32_t first = w_.cd.TrackFirstFrame(w_.CurrentTrack);
    const int32_t end = w_.cd.TrackEndFrame(w_.CurrentTrack);
    ctx.checksums = journal.StartTrack(w_.CurrentTrack, path);
    const Mp3ExtractionOutcome outcome = ExtractTrackToMp3(ctx, w_.services.encoder, path, first, end, config);
    journal.EndTrack({outcome.framesEncoded, outcome.created, outcome.complete,
                      outcome.encoderFailed || outcome.writeFailed, outcome.read});
    if (outcome.encoderFailed || outcome.writeFailed) return;
  }
}

}  // namespace korvalin
