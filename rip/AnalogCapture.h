#pragma once
// Extraction through the sound card: the "cd" device plays a track while the "capture" device
// records it. A 100 ms timer (tmrRecord) follows the play position, shows the percentage done,
// and at the track's end saves the recording, encodes it to MP3 when that output is chosen and
// starts the next selected track. It reports to its host (the job runner, or a recorder) and
// runs with the options and tracks read when the capture of the first track started; it keeps
// its own place among those tracks and its own timer.
// A recording that cannot be started or saved whole ends the whole capture with one message that
// names the file and the cause; what could be kept stays a valid WAV file and is listed.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Services.h"
#include "rip/OutputName.h"
#include "window/JobHost.h"

namespace korvalin {

class AnalogCapture {
 public:
  AnalogCapture(JobHost& host, Services& services, PrefixRandom::SeedSource seed = PrefixRandom::ClockSeed);
  AnalogCapture(const AnalogCapture&) = delete;
  AnalogCapture& operator=(const AnalogCapture&) = delete;

  // Follows the play position every 100 ms while a capture runs.
  controls::Timer tmrRecord{"tmrRecord", 100, false};

  // Starts capturing `track`: names its WAV file, works out where the track lies on the disc,
  // opens and sets up the recorder in the "Audio format" setting, and plays the disc from the
  // track's start while recording. A track without a known length starts nothing. A device that
  // fails says which and abandons the capture (cmdCancel_Click); the next tick saves what there
  // is.
  void StartTrackRecording2(int32_t track);
  // The same with the options of the job it belongs to; the next tracks keep them.
  void StartTrackRecording2(int32_t track, const JobOptions& options);
  // While a capture runs (its timer ticks).
  bool Recording() const { return tmrRecord.Enabled(); }
  // The place of the track in hand among the job's tracks (-1: none).
  int32_t Cursor() const { return cursor_; }
  // One tick of tmrRecord: progress while the track plays; at its end, or when stopped, the
  // recording is saved and handled and the next track follows. Errors are passed over step by step.
  void tmrRecord_Timer();
  // Abandons a capture being set up: the walk is put at its last track and the devices stopped,
  // the recording saved, both devices closed.
  void cmdCancel_Click();

 private:
  // The reply to a status command, up to its first NUL.
  std::string Ask(const char* command);
  void Send(const std::string& command);
  // Stops both devices and saves the recording in CurrentOutputPath. False when the recording
  // was cut short or could not be saved; that has then been said, once per track.
  bool StopSaveAndClose();
  // Ends the capture after a recording that failed: no further track starts.
  void EndAfterFailure();
  // Tells the user once per track; later failures of the same track follow from the first.
  void Fail(const std::string& text);
  // Why the command just sent failed, as the media interface tells it.
  std::string Cause() const;
  // The captured WAV after its encoding: deleted when it was encoded whole and "Delete WAV" asks
  // for it, otherwise it joins the collection.
  void KeepOrDeleteWav(bool encoded);
  void AbortSteps();
  int32_t TrackLength(int32_t track) const;
  // The track at `index` of the job's tracks is the one in hand.
  void MoveTo(int32_t index);
  int32_t TrackCount() const { return static_cast<int32_t>(options_.selection.tracks.size()); }

  JobHost& w_;
  Services& services_;
  PrefixRandom random_;
  JobOptions options_;
  int32_t cursor_ = -1;
  std::unique_ptr<EventLoop::TimerHandle> timer_;
  bool failureSaid_ = false;  // a failure of the track in hand has been reported
};

}  // namespace korvalin
