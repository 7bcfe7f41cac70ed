#pragma once
// The desktop program's jobs, made by the composition root: the job runner, the job components
// the main window's handlers start (the extraction job, the capture through the sound card, the
// decode batch), the drive module they read, and the disk-space watch that runs beside every job.
// The windows follow them through the runner's signals and give them commands through JobControl.

#include <functional>
#include <memory>
#include <vector>

#include "desktop/DiskSpaceMonitor.h"
#include "collection/CollectionTree.h"
#include "desktop/System.h"
#include "joblife/JobControl.h"
#include "jobs/JobRunner.h"
#include "mp3/DecodeBatch.h"
#include "platform/Services.h"
#include "rip/AnalogCapture.h"
#include "rip/ExtractionJob.h"
#include "rip/modAKRip32.h"
#include "settings/Settings.h"

namespace korvalin {

class ProgramJobs : public JobControl {
 public:
  explicit ProgramJobs(Services& services);
  ProgramJobs(const ProgramJobs&) = delete;
  ProgramJobs& operator=(const ProgramJobs&) = delete;
  ~ProgramJobs() override;

  JobRunner runner;
  // The drive the tracks are listed, played and ripped from.
  modAKRip32 cd;
  AnalogCapture capture;
  ExtractionJob extraction;
  DecodeBatch decoding;

  // The job for an entry of the collection: a rip for a track, an encoding for a WAV file, a
  // decoding for an MP3 file; none for anything else. Run it on the runner.
  void Start(EntryKind kind);

  // --- the disk-space watch (its timer's type comes with the monitor) ---
  controls::Timer tmrWarning{"tmrWarning", 2000, false};
  System system;
  // The limits it works by, read at every tick (the settings of the window that starts jobs);
  // unset, nothing is watched.
  std::function<DiskSpaceLimits()> diskLimits;
  // Watches by these settings' limits and destination, as they stand at each tick.
  void WatchSpaceBy(const Settings& settings);
  DiskSpaceMonitor diskMonitor;
  // The watch's stop: the status line (until the next job) and the rip log say why.
  void LowSpaceStop();

  // --- JobControl ---
  JobEvents& Events() override { return runner.events; }
  void Cancel() override { runner.Cancel(); }
  void StopEverything() override { runner.StopEverything(); }
  void CloseDecoderWindow() override { decoding.UnloadHost(); }

 private:
  Services& services_;
  std::vector<controls::Connection> connections_;
  std::unique_ptr<EventLoop::TimerHandle> timer_;
};

}  // namespace korvalin
