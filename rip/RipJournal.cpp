#include "rip/RipJournal.h"

#include <exception>

#include "common/Text.h"
#include "platform/CdExtractionLibrary.h"

namespace korvalin {
namespace {

constexpr int32_t kPairsPerFrame = cdrecord::kFrameSize / 4;

std::string SourceOf(modAKRip32& cd) {
  const std::vector<std::string> files = cd.Library().SourceFiles(cd.CurrentDriveHandle);
  if (files.empty()) return "(unknown)";
  const std::string& first = files.front();
  const bool sheet = first.size() >= 4 && LCase(first.substr(first.size() - 4)) == ".cue";
  return (sheet ? "image " : "drive ") + first;
}

}  // namespace

std::string LogBaseOf(const std::string& outputPath) {
  const std::size_t slash = outputPath.rfind('/');
  const std::string name = slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
  const std::size_t dash = name.rfind('-');
  return dash == std::string::npos || dash == 0 ? name : name.substr(0, dash);
}

RipJournal::RipJournal(modAKRip32& cd, std::string folder, RipSettings settings, Dialogs& dialogs, DiscIdLibrary& ids,
                       const JobFlags& flags)
    : dialogs_(dialogs), flags_(flags) {
  log_.date = LocalTimeText();
  log_.destination = std::move(folder);
  log_.settings = std::move(settings);
  if (cd.CurrentDriveHandle != 0) {
    log_.source = SourceOf(cd);
    log_.toc = TocOf(cd);
    log_.musicDatabaseId = MusicDatabaseIdOf(log_.toc, ids);
  } else {
    log_.source = "(no disc open)";
  }
}

RipJournal::~RipJournal() {
  if (!file_) return;
  if (std::uncaught_exceptions() > 0) {
    log_.outcome = "failed: an error ended the job" +
                   (log_.tracks.empty() ? std::string() : " after track " + std::to_string(log_.tracks.back().number));
  } else if (!failure_.empty()) {
    log_.outcome = "failed: " + failure_;
  } else if (flags_.CancelRequested != kFalse) {
    log_.outcome = flags_.StopReason.empty() ? "cancelled" : flags_.StopReason;
  } else {
    log_.outcome = "completed";
  }
  try {
    Save();
  } catch (...) {  // a destructor never throws; the log keeps its last version
  }
}

RipLogTrack& RipJournal::Begin(int32_t position, const std::string& path) {
  if (!file_) file_ = std::make_unique<RipLogFile>(log_.destination, LogBaseOf(path));
  RipLogTrack track;
  track.number = position;
  const auto index = static_cast<std::size_t>(position - 1);
  if (position >= 1 && index < log_.toc.tracks.size()) {
    track.number = log_.toc.tracks[index].number;
    track.frames = log_.toc.EndOf(index) - log_.toc.tracks[index].start;
  }
  track.file = path;
  log_.tracks.push_back(track);
  return log_.tracks.back();
}

TrackChecksums* RipJournal::StartTrack(int32_t position, const std::string& path) {
  const RipLogTrack& track = Begin(position, path);
  const auto index = static_cast<std::size_t>(position - 1);
  const TrackPlace place{log_.toc.FirstAudio(index), log_.toc.LastAudio(index)};
  sums_.emplace(static_cast<int64_t>(std::max(track.frames, 0)) * kPairsPerFrame, place);
  log_.tracks.back().status = "not finished";
  inTrack_ = true;
  firstMessage_.clear();
  return &*sums_;
}

void RipJournal::EndTrack(const TrackEnd& end) {
  if (log_.tracks.empty()) return;
  RipLogTrack& t = log_.tracks.back();
  inTrack_ = false;
  t.framesCopied = end.framesCopied;
  if (end.created) wroteOutput_ = true;
  t.read = end.read;
  if (end.created) t.tags = end.tags;
  if (sums_ && end.created) {
    t.checksummed = true;
    t.crc32 = sums_->Crc32();
    t.accurateRipV1 = sums_->AccurateRipV1();
    t.accurateRipV2 = sums_->AccurateRipV2();
  }
  sums_.reset();
  const std::string why = firstMessage_.empty() ? std::string() : ": " + firstMessage_;
  if (end.complete) {
    t.status = end.read.Suspicious() ? "complete, with suspicious frames" : "complete";
  } else if (!end.created) {
    t.status = "not written" + why;
  } else if (end.failed) {
    t.status = "failed" + why;
  } else if (flags_.CancelRequested != kFalse) {
    t.status = "cancelled after " + std::to_string(end.framesCopied) + " of " + std::to_string(t.frames) + " frames";
  } else {
    t.status = "ended early" + why;
  }
  if (end.failed && failure_.empty()) failure_ = firstMessage_.empty() ? "track " + std::to_string(t.number) : firstMessage_;
  Save();
}

void RipJournal::PassOver(int32_t position, const std::string& path, const std::string& reason) {
  RipLogTrack& t = Begin(position, path);
  t.file = "(none)";
  t.status = "passed over: " + reason;
  Save();
}

void RipJournal::Save() {
  // A job that has written no file leaves no log: there is nothing for it to sit beside, and a
  // destination that cannot be written needs no second message.
  if (!file_ || !wroteOutput_) return;
  const std::optional<std::string> failure = file_->Write(RipLogText(log_));
  // One message per job: every later write would fail the same way. When a track's own file
  // could not be written, the user has been told about the destination already.
  if (failure && !toldFailure_ && failure_.empty()) {
    toldFailure_ = true;
    dialogs_.MsgBox(*failure, MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
  }
}

MsgBoxResult RipJournal::MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                                const std::string& title) {
  if (inTrack_ && firstMessage_.empty()) firstMessage_ = text;
  return dialogs_.MsgBox(text, buttons, icon, title);
}

std::optional<std::string> RipJournal::InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) {
  return dialogs_.InputBox(prompt, title, defaultText);
}

std::optional<std::string> RipJournal::OpenFile(const FileDialogRequest& request) { return dialogs_.OpenFile(request); }

std::optional<std::string> RipJournal::SaveFile(const FileDialogRequest& request) { return dialogs_.SaveFile(request); }

std::optional<std::string> RipJournal::PickFolder(const std::string& title, const std::string& initialFolder) {
  return dialogs_.PickFolder(title, initialFolder);
}

}  // namespace korvalin
