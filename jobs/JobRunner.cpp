#include "jobs/JobRunner.h"

#include <unistd.h>

#include <cmath>

#include "common/FileKind.h"
#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "desktop/DestroyFile.h"

namespace korvalin {

JobRunner::JobRunner(EventLoop& loop) : loop_(loop) {}

void JobRunner::Run(const std::function<void()>& job) {
  // Jobs yield while they run, so a job button can be clicked in the middle of one; a second
  // job inside the first would share its files, lists and flags.
  if (running_ || closing_) return;
  running_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{running_};
  IgnoreErrors([&] { events.starting.Emit(); },
               [&] {
                 flags.CaptureStopRequested = kFalse;
                 flags.CancelRequested = kFalse;
                 flags.StopReason.clear();
               },
               job);
  IgnoreErrors([&] { events.ended.Emit(); });
}

void JobRunner::Stop() {
  IgnoreErrors([&] { flags.CaptureStopRequested = kTrue; }, [&] { events.stopping.Emit(); },
               [&] { StopEverything(); }, [&] { Lock(false); });
}

void JobRunner::Cancel() {
  flags.CaptureStopRequested = kTrue;
  flags.CancelRequested = kTrue;
  Stop();
}

void JobRunner::StopEverything() {
  // Both flags: the batches stop between files, and a rip or encoding after the block in hand,
  // leaving a valid, shorter file.
  const std::string& path = state.CurrentOutputPath;
  IgnoreErrors([&] { flags.CaptureStopRequested = kTrue; },
               [&] { flags.CancelRequested = kTrue; },
               [&] { Idle(true); },
               [&] { Lock(false); },
               [&] { state.StopMarked = true; },
               [&] { state.CaptureEnd = 0; },
               [&] { StopSpaceWatch(); },
               [&] {
                 // No job yet, no file written, or an MP3: nothing to keep in the WAV list.
                 if (IsWavFile(path) && ::access(path.c_str(), F_OK) == 0) events.stoppedWavKept.Emit(path);
               },
               [&] { loop_.Yield(); },
               [&] {
                 if (!path.empty()) FileWritten(path);
               },
               [&] { loop_.Yield(); });
}

void JobRunner::LowSpaceStop(const std::string& reason) {
  flags.StopReason = "stopped: " + reason;
  Stop();
}

void JobRunner::Close() {
  closing_ = true;
  IgnoreErrors([&] { events.closing.Emit(); });
}

void JobRunner::ChangeProgress(const std::string&, float done, float total) {
  if (total == 0) throw RaisedError::Of(errnum::DivisionByZero);  // the displays keep their values
  const float percent = done / total * 100.0f;
  const std::string text = Format(percent, "00.00") + " %";
  ShowLine(StatusLine::Caption, "Progress " + text);
  ShowPercent(text, static_cast<int32_t>(std::floor(percent)));
}

void JobRunner::Lock(bool locked) {
  if (locked) {
    events.locked.Emit();
  } else {
    events.unlocked.Emit();
  }
}

void JobRunner::DeleteFile(const std::string& path) {
  p_DestroyFile(path, loop_);
  events.fileDeleted.Emit(path);
}

}  // namespace korvalin
