#pragma once
// Watches the free space of the destination drive while a job runs. Every tick of its 2-second
// timer (tmrWarning) surveys the drives; below the stop threshold it stops the job through the
// stop command, below the warning threshold it shows the red "Low Drive space" warning. The survey's listing and destination figure are also what the Preferences dialog shows.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/JobFlags.h"
#include "controls/Timer.h"
#include "desktop/DriveSource.h"
#include "desktop/DriveSurvey.h"
#include "platform/EventLoop.h"

namespace korvalin {

// The settings the monitor works by, read afresh at every tick.
struct DiskSpaceLimits {
  int16_t HDWarning = 0;       // 1: warn below HDWarningNo megabytes
  int16_t HDWarningNo = 0;
  int16_t HDstopdecoding = 0;  // 1: stop the job below HDStopNo megabytes
  int16_t HDStopNo = 0;
  std::string DecodePath;      // the destination folder
};

// What the monitor works with: its timer, the job flags and the displays it reports to.
struct DiskSpaceMonitorWindow {
  controls::Timer& tmrWarning;  // the monitor's 2-second timer
  std::function<void(bool)> ShowWarning;  // the red "Low Drive space" label shown or hidden
  std::function<void()> ResetStatusSoon;  // the status line returns to idle a second later
  JobFlags& flags;
  std::function<void()> Command1;  // the stop command
};

class DiskSpaceMonitor {
 public:
  DiskSpaceMonitor(DiskSpaceMonitorWindow window, EventLoop& loop, std::function<DiskSpaceLimits()> limits,
                   DriveSource& drives);
  DiskSpaceMonitor(const DiskSpaceMonitor&) = delete;
  DiskSpaceMonitor& operator=(const DiskSpaceMonitor&) = delete;

  // The drives measured from now on (the machine's unless another source is given).
  void SetDriveSource(DriveSource& drives) { drives_ = &drives; }

  // A job starts: the warning goes, and the monitor runs when the warning or the stop is on.
  void JobStarting();
  // The job has ended or was stopped: the monitor rests until the next job.
  void JobEnded();
  // One tick of tmrWarning.
  void tmrWarning_Timer();

  // The drive survey ("Refresh data" in the Preferences runs it too).
  void Survey();
  // What the survey found: one line per fixed drive, CR LF after each.
  const std::string& DriveListing() const { return survey_.Listing(); }
  // The mount that holds the destination, and its free megabytes as shown ("0" while none was
  // measured on that mount).
  const std::string& DestinationRoot() const { return survey_.DestinationRoot(); }
  std::string DestinationFigure() const { return survey_.DestinationFigure(); }
  // Runs after every survey, so that an open Preferences dialog shows the new figures.
  std::function<void()> OnSurveyed;

 private:
  DiskSpaceMonitorWindow window_;
  EventLoop& loop_;
  std::function<DiskSpaceLimits()> limits_;
  DriveSource* drives_;
  DriveSurvey survey_;
  DiskSpaceLimits current_;  // the limits of the survey in hand
};

}  // namespace korvalin
