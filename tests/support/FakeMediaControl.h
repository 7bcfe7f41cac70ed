#pragma once
// The media control interface with a disc of our choosing: it answers the "cd" commands the
// program sends from a list of track lengths, and records every command in order.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/MediaControl.h"
#include "platform/linux/WaveRecording.h"

namespace korvalin::test {

class FakeMediaControl : public MediaControl {
 public:
  int32_t SendCommand(std::string_view command, char* reply, std::size_t replyLength) override;
  void SelectDrive(int32_t index) override { chosenDrives.push_back(index); }
  std::string LastErrorText() const override { return lastError_; }

  // The disc: its identity text and track lengths in milliseconds. No disc: open fails.
  bool discPresent = true;
  std::string identity = "1234567";
  std::vector<int32_t> trackMs;
  // Tracks (1-based) that are data tracks; the rest are audio.
  std::vector<int> dataTracks;

  std::vector<std::string> commands;  // every command, in order
  std::vector<int32_t> chosenDrives;  // every drive chosen, in order

  // Commands that fail with the given code, before anything else is looked at, giving
  // `failureText` as their reason.
  std::map<std::string, int32_t> failing;
  std::string failureText;

  // Playback and recording. "play cd" runs on `clock` (seconds; a test's virtual clock) up to
  // the end of the disc; "status cd position" answers `position` when it is set, else where
  // playback is. The "capture" device records from "record" to "stop"; "save capture" writes a
  // 16-bit PCM WAV with as many samples as the time recorded, in the format last set (a ramp
  // that repeats, so that an encoding has something to encode), through the program's own
  // recorder: a real folder that is missing, read-only or full fails as it would, with the
  // system's reason, and a full disk keeps what fitted. Without a recording there is nothing to
  // save.
  std::function<double()> clock = [] { return 0.0; };
  std::optional<int32_t> position;
  std::vector<std::string> savedFiles;  // every path a save wrote (whole or in part), in order

  // The commands sent, less the status queries the recording timer makes.
  std::vector<std::string> DeviceCommands() const;

 private:
  int32_t CaptureCommand(const std::string& c);
  int32_t Position() const;

  bool open_ = false;
  bool hms_ = false;
  // Playback: from `playFrom_` ms at clock `playSince_`; stopped at `stoppedAt_`.
  bool playing_ = false;
  int32_t playFrom_ = 0;
  double playSince_ = 0;
  int32_t stoppedAt_ = 0;
  bool captureOpen_ = false;
  bool recording_ = false;
  double recordSince_ = 0;     // the clock when the recording started
  int32_t recordedMs_ = 0;     // what the last stopped recording holds
  int32_t channels_ = 2;
  bool recorded_ = false;      // a recording began since the device was opened
  WaveRecording recorder_;
  std::string lastError_;
};

}  // namespace korvalin::test
