#pragma once
// The job runner: what both programs start their jobs through. It holds the job flags and the
// shared job state, brackets a job with the steps every job shares, runs the stop, cancel and
// "Stop Everything" commands, and is the jobs' host: every report a job makes is published as a
// signal of `events`, to which the windows (or korvalin-cli's progress bar) subscribe.
// The composition root owns one; no toolkit, no window.

#include <functional>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "window/JobHost.h"

namespace korvalin {

class JobRunner : public JobHost {
 public:
  explicit JobRunner(EventLoop& loop);
  JobRunner(const JobRunner&) = delete;
  JobRunner& operator=(const JobRunner&) = delete;

  JobEvents events;
  JobFlags flags;
  JobState state;
  // Where a job's options and selection come from: the window that starts jobs sets it. Unset,
  // a job runs with the defaults.
  std::function<JobOptions()> readOptions;

  // Runs `job` between the steps every job shares: `starting`, the flags cleared, the job,
  // `ended`. One job at a time (a job button clicked inside a job's yield does nothing), and none
  // once the program is closing. Errors of each step are passed over.
  void Run(const std::function<void()>& job);
  bool Running() const { return running_; }

  // --- the commands ---
  // Stop: a capture or batch ends, the decoder window unloads, then "Stop Everything".
  void Stop();
  // Cancel: the rip or encoding in hand ends after its block too.
  void Cancel();
  // "Stop Everything": a rip or an encoding stops after the block in hand, a batch before its
  // next file; the file that was being written stays in the collection.
  void StopEverything();
  // The disk-space watch's stop: the rip log says why.
  void LowSpaceStop(const std::string& reason);
  // The program is closing: `closing` is published and no job starts from now on.
  void Close();
  bool Closing() const { return closing_; }

  // --- JobHost ---
  void ChangeProgress(const std::string& status, float done, float total) override;
  JobFlags& Flags() override { return flags; }
  JobState& State() override { return state; }
  JobOptions ReadJobOptions() override { return readOptions ? readOptions() : JobOptions{}; }
  void ShowLine(StatusLine line, const std::string& text) override { events.status.Emit(line, text); }
  void ShowPercent(const std::string& text, int32_t bar) override { events.progress.Emit(text, bar); }
  void Idle(bool soon) override { events.idle.Emit(soon); }
  void Lock(bool locked) override;
  void ShowCommand(JobCommand command) override { events.commandShown.Emit(command); }
  void StopSpaceWatch() override { events.spaceWatchEnded.Emit(); }
  void TracksTaken(const std::vector<std::string>& tracks) override { events.tracksTaken.Emit(tracks); }
  void TrackInHand(int32_t index) override { events.trackInHand.Emit(index); }
  void FileWritten(const std::string& path) override { events.fileWritten.Emit(path); }
  void DeleteFile(const std::string& path) override;

 private:
  EventLoop& loop_;
  bool running_ = false;
  bool closing_ = false;
};

}  // namespace korvalin
