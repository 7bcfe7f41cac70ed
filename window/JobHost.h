#pragma once
// What the jobs (the rips, the encodings, the decodings) need of the main window: the job flags
// and the job's shared state, the options at the job's start, the status lines, the lock on the
// other commands, and the collection the files go to. Form1 is one host; tests/support has a
// stand-in, so a job runs without a window.

#include <cstdint>
#include <string>
#include <vector>

#include "collection/CollectionTree.h"
#include "common/JobFlags.h"
#include "common/MainWindowOps.h"
#include "settings/Settings.h"
#include "window/JobOptions.h"

namespace korvalin {

class JobHost : public MainWindowOps {
 public:
  // --- shared with the window's own commands (stop, cancel, play) ---
  JobFlags flags;
  int32_t CurrentTrack = 0;
  std::string CurrentOutputPath;
  // Where a capture through the sound card starts and ends on the disc (milliseconds).
  int32_t CaptureStart = 0;
  int32_t CaptureEnd = 0;
  // Track lengths in milliseconds, from the last CD information refresh; index 0 unused.
  std::vector<int32_t> TrackLengths;
  // The settings in memory.
  Settings settings;

  // The options as the window shows them now: a job reads them once, when it starts.
  JobOptions ReadJobOptions();

  // --- the status lines ---
  virtual void ShowCaption(const std::string& text) = 0;
  virtual void ShowNextAction(const std::string& line) = 0;
  virtual void ShowDestination(const std::string& line) = 0;
  // The percent label's text and the progress bar's value.
  virtual void ShowPercent(const std::string& text, int32_t bar) = 0;
  virtual void ShowStatus(const std::string& line) = 0;
  // The status displays return to idle now, or a second from now.
  virtual void ResetStatus() = 0;
  virtual void ResetStatusSoon() = 0;

  // --- the commands ---
  // Locks the commands a job must not run beside (and closes the windows it must not run with),
  // and frees them again.
  virtual void Disablem() = 0;
  virtual void Enablem() = 0;
  virtual void ShowCancelCommand() = 0;
  virtual void ShowStopCommand() = 0;
  // The low-disk-space watch ends with the capture it watched.
  virtual void StopSpaceWatch() = 0;
  // The hidden mark a stop leaves for a capture through the sound card.
  virtual bool StopMarked() const = 0;
  virtual void ClearStopMark() = 0;

  // --- the collection ---
  virtual CollectionTree& Collection() = 0;
  // A file a job wrote joins the collection.
  virtual void Cmaddfile2(const std::string& path) = 0;
  // Deletes the file and takes it out of the collection; an error goes to the caller.
  virtual void DeleteAndUnlist(const std::string& path) = 0;

 protected:
  // The option controls' and the CD information's part of the options.
  virtual JobOptions WindowOptions() const = 0;
};

}  // namespace korvalin
