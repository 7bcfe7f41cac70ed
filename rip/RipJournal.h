#pragma once
// Keeps the rip log of one extraction job up to date while the job runs. The job tells it when a
// track starts and ends; it hands out the checksums each track's blocks feed, notes the first
// message each track showed (the reason a track ended early), and rewrites the log after every
// track once the job has made a file, so that even a job that never finishes leaves a log of the
// tracks it finished. Its messages to the
// user pass through it on the way to the real dialogs.

#include <memory>
#include <optional>
#include <string>

#include "common/JobFlags.h"
#include "platform/DiscIdLibrary.h"
#include "platform/Dialogs.h"
#include "rip/RipLog.h"
#include "rip/RipLogFile.h"
#include "rip/TrackChecksums.h"
#include "rip/modAKRip32.h"

namespace korvalin {

// How a track's extraction ended, whichever way it was made.
struct TrackEnd {
  int32_t framesCopied = 0;
  bool created = false;
  bool complete = false;
  bool failed = false;  // a failure that ends the job (a full disk, an encoder that will not start)
  TrackReadReport read;
  std::string tags;  // the tags written into the file; "" none
};

class RipJournal : public Dialogs {
 public:
  RipJournal(modAKRip32& cd, std::string folder, RipSettings settings, Dialogs& dialogs, DiscIdLibrary& ids,
             const JobFlags& flags);
  // The job's end: "cancelled" when a cancel ended it, "failed" when a track failed or an error
  // left the job, otherwise "completed".
  ~RipJournal() override;
  RipJournal(const RipJournal&) = delete;
  RipJournal& operator=(const RipJournal&) = delete;

  // Before track `position` (counted from the disc's first track) is copied to `path`: the
  // checksums its audio is to be added to. The first track names the log after its output.
  TrackChecksums* StartTrack(int32_t position, const std::string& path);
  void EndTrack(const TrackEnd& end);
  // A track that is not copied at all (a data track), with the reason.
  void PassOver(int32_t position, const std::string& path, const std::string& reason);

  const RipLog& Log() const { return log_; }
  // The log's path; "" until the first track.
  std::string Path() const { return file_ ? file_->Path() : std::string(); }

  MsgBoxResult MsgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> PickFolder(const std::string& title, const std::string& initialFolder) override;

 private:
  RipLogTrack& Begin(int32_t position, const std::string& path);
  void Save();

  Dialogs& dialogs_;
  const JobFlags& flags_;
  RipLog log_;
  std::unique_ptr<RipLogFile> file_;
  std::optional<TrackChecksums> sums_;
  bool inTrack_ = false;
  std::string firstMessage_;  // the first message of the track in hand
  std::string failure_;       // the failure that ended the job
  bool toldFailure_ = false;  // the log's own write failure was shown
  bool wroteOutput_ = false;  // a track's file was made
};

// The name a job's log takes after its first output "<folder>/<r>-<track>.<ext>": "<r>".
std::string LogBaseOf(const std::string& outputPath);

}  // namespace korvalin
