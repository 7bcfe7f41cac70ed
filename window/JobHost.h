#pragma once
// What a job (a rip, a capture, an encoding or decoding batch) needs of its surroundings: the job
// flags and shared state, the options and selection read once as it starts, and somewhere to
// report to (progress, status lines, the lock on the other commands, files written and deleted).
// The job runner (jobs/) is the host: it publishes every report as a signal.

#include <cstdint>
#include <string>
#include <vector>

#include "common/JobFlags.h"
#include "common/MainWindowOps.h"
#include "joblife/JobEvents.h"
#include "window/JobOptions.h"
#include "window/JobState.h"

namespace korvalin {

class JobHost : public MainWindowOps {
 public:
  virtual JobFlags& Flags() = 0;
  virtual JobState& State() = 0;
  // The options and the selection as they are now: a job reads them once, when it starts.
  virtual JobOptions ReadJobOptions() = 0;

  // --- reports ---
  virtual void ShowLine(StatusLine line, const std::string& text) = 0;
  // The percent label's text and the progress bar's value.
  virtual void ShowPercent(const std::string& text, int32_t bar) = 0;
  // The status displays return to idle now, or a second from now.
  virtual void Idle(bool soon) = 0;
  // Locks the commands a job must not run beside (and closes the windows it must not run with),
  // or frees them again.
  virtual void Lock(bool locked) = 0;
  virtual void ShowCommand(JobCommand command) = 0;
  // The low-disk-space watch ends with the capture it watched.
  virtual void StopSpaceWatch() = 0;
  // The tracks the job takes, and the one in hand (its place among them).
  virtual void TracksTaken(const std::vector<std::string>& tracks) = 0;
  virtual void TrackInHand(int32_t index) = 0;
  // A file the job wrote: it joins the collection.
  virtual void FileWritten(const std::string& path) = 0;
  // Deletes a file the job made and no longer needs; it leaves the collection. An error goes to
  // the caller and the file stays listed.
  virtual void DeleteFile(const std::string& path) = 0;

  // The reports under the names the jobs have always used.
  void ShowCaption(const std::string& text) { ShowLine(StatusLine::Caption, text); }
  void ShowNextAction(const std::string& text) { ShowLine(StatusLine::NextAction, text); }
  void ShowDestination(const std::string& text) { ShowLine(StatusLine::Destination, text); }
  void ShowStatus(const std::string& text) { ShowLine(StatusLine::Status, text); }
  void ResetStatus() { Idle(false); }
  void ResetStatusSoon() { Idle(true); }
  void Disablem() { Lock(true); }
  void Enablem() { Lock(false); }
  void ShowCancelCommand() { ShowCommand(JobCommand::Cancel); }
  void ShowStopCommand() { ShowCommand(JobCommand::Stop); }
};

}  // namespace korvalin
