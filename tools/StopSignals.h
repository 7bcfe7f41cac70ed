#pragma once
// How korvalin-cli stops a job when asked to: SIGINT (Ctrl+C), SIGTERM and SIGHUP are caught
// while a job runs and only recorded; the job sees the request at its next yield (or poll), ends
// after the block in hand with its file valid, and the command exits with 128 + the signal's
// number after one line that says what was kept.

#include <csignal>
#include <string>

#include "common/JobFlags.h"
#include "platform/linux/HeadlessEventLoop.h"

namespace korvalin::cli {

// Catches the three signals from construction to destruction (the earlier handlers come back).
class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The signal received since construction, or 0.
  static int Received();
  // The exit status for a job stopped by Received(): 130, 143 or 129.
  static int ExitStatus() { return 128 + Received(); }

 private:
  struct sigaction previous_[3];
};

// The command line's event loop that also turns a received stop signal into the job's cancel
// request, the way the window's Cancel button sets it.
class StoppingEventLoop : public HeadlessEventLoop {
 public:
  // The flags of the job to stop (the runner is made after its loop).
  void Watch(JobFlags& flags) { flags_ = &flags; }
  void Yield() override;

 private:
  JobFlags* flags_ = nullptr;
};

// Prints the one line that ends a stopped job ("korvalin-cli: stopped by SIGINT; <kept>") and
// returns the exit status.
int ReportStopped(const std::string& kept);

}  // namespace korvalin::cli
