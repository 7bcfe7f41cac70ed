#pragma once
// A job's life as signals. The job runner emits them; every window that cares subscribes in its
// own constructor (closes itself when the commands lock, lists a file written, ...), so the
// main window names no other window to tell it about a job.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/Signal.h"

namespace korvalin {

// The status lines a job writes.
enum class StatusLine { Caption, NextAction, Destination, Status };

// The buttons a job shows while it runs.
enum class JobCommand { Cancel, Stop };

struct JobEvents {
  // A job is about to start (before its flags are cleared), and it has ended.
  controls::Signal<> starting;
  controls::Signal<> ended;
  // The commands a job must not run beside are locked, and free again.
  controls::Signal<> locked;
  controls::Signal<> unlocked;
  // A stop, cancel or "Stop Everything" was given (before the flags are looked at again).
  controls::Signal<> stopping;
  // The percentage label's text and the progress bar's value.
  controls::Signal<const std::string&, int32_t> progress;
  controls::Signal<StatusLine, const std::string&> status;
  // The status displays return to idle now (false), or a second from now (true).
  controls::Signal<bool> idle;
  controls::Signal<JobCommand> commandShown;
  // The low-disk-space watch ends with the job it watched.
  controls::Signal<> spaceWatchEnded;
  // The tracks a job takes (the selected list shows them), and the one in hand (by its place).
  controls::Signal<const std::vector<std::string>&> tracksTaken;
  controls::Signal<int32_t> trackInHand;
  // A file a job wrote (it joins the collection), and one it deleted (it leaves it).
  controls::Signal<const std::string&> fileWritten;
  controls::Signal<const std::string&> fileDeleted;
  // The WAV of a job that was stopped: kept in the WAV list, so that it can still be encoded.
  controls::Signal<const std::string&> stoppedWavKept;
  // The program is closing: a running job stops, and windows close.
  controls::Signal<> closing;
  // The destination drive runs low (the red warning shows), or the warning goes.
  controls::Signal<bool> lowSpace;
  // The program stopped the job itself; the sentence says why, and stays until the next job.
  controls::Signal<const std::string&> stoppedBecause;
};

// What a window does that must not stay open beside a job: `close` runs when a job locks the
// commands and when the program closes. Keep the connections as long as the window.
inline std::vector<controls::Connection> CloseOnJobs(JobEvents& jobs, const std::function<void()>& close) {
  std::vector<controls::Connection> connections;
  connections.push_back(jobs.locked.Connect(close));
  connections.push_back(jobs.closing.Connect(close));
  return connections;
}

}  // namespace korvalin
