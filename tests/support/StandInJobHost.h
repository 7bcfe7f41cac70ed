#pragma once
// A job's host without a window: the job runner itself, with a recorder of what the job reported
// (the last text of each status line, the percentage and bar, the commands shown, the locks),
// the options a test sets, the collection the selection is read from and
// the files go to, and the drive. A job test builds this and the job, and nothing else of the
// program.

#include <string>
#include <vector>

#include "collection/CollectionTree.h"
#include "jobs/JobRunner.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"
#include "settings/Settings.h"
#include "tests/support/ExtractionRig.h"

namespace korvalin::test {

class StandInJobHost : public JobRunner, public CollectionHost {
 public:
  // The drive module uses the services' CD library.
  explicit StandInJobHost(Services& services);
  StandInJobHost(const StandInJobHost&) = delete;
  StandInJobHost& operator=(const StandInJobHost&) = delete;
  ~StandInJobHost() override = default;

  Services& services;
  // The settings' part of the options (destination, encoding, "Delete WAV", ...).
  Settings settings;
  CollectionTree collection;
  modAKRip32 cd;
  // The option controls' part of the options; ReadJobOptions adds the settings and the selection.
  JobOptions options;

  // --- what the job reported: the last of each, as the main window would show it ---
  std::string caption = "Korvalin V 2.1";
  std::string nextAction = "Next Action: Make a selection";
  std::string destination = "Destination:  ";
  std::string statusLine;
  std::string percent = "OFF";
  int32_t bar = 0;
  bool cancelShown = false;
  bool stopShown = false;
  // A reset of the status displays asked for a second from now, and not yet done.
  bool resetPending = false;
  ProgressLog progress;
  int disables = 0;
  int enables = 0;
  int resets = 0;
  // Between a lock and the next release.
  bool Locked() const { return disables > enables; }

  void ChangeProgress(const std::string& status, float done, float total) override;

  // CollectionHost
  void ShowMainWindow() override {}
  void SetCurrentTrack(int32_t track) override { state.CurrentTrack = track; }

  // What the stop and cancel commands do to a running job: both flags set (a cancel only; a stop
  // sets CaptureStopRequested).
  void RequestStop(bool cancel);

 private:
  void Record();
  std::vector<controls::Connection> connections_;
};

}  // namespace korvalin::test
