#pragma once
// The media control interface over the disc readers (CD drives through libcdio, disc images
// through their CUE sheets), libdiscid and ALSA. It understands exactly the commands the program
// sends: the "cd" device (its disc is the chosen drive of the drive list) and the "capture"
// device, which records from an ALSA capture device or, chosen by name, from the loopback that
// hears what "cd" plays. Tracks are counted from the disc's first track ("track 1" is the first
// track whatever number the disc gives it). Everything else answers with a non-zero code.

#include <memory>
#include <string>
#include <vector>

#include "platform/MediaControl.h"
#include "platform/linux/CaptureSource.h"
#include "platform/linux/CdPlayback.h"
#include "platform/linux/LoopbackAudio.h"
#include "platform/linux/WaveRecording.h"
#include "platform/linux/CdioLibrary.h"

namespace korvalin {

namespace mcierror {
inline constexpr int32_t kUnknownCommand = 1;
inline constexpr int32_t kNoSuchAlias = 2;
inline constexpr int32_t kBadNumber = 3;
inline constexpr int32_t kNoDisc = 4;
inline constexpr int32_t kAliasInUse = 5;
inline constexpr int32_t kNoAudioOutput = 6;
inline constexpr int32_t kReplyTooSmall = 7;
inline constexpr int32_t kNoRecorder = 8;        // nothing to record from
inline constexpr int32_t kBadParameters = 9;     // a recording format the recorder refuses
inline constexpr int32_t kRecordFailed = 10;     // the recording could not start
inline constexpr int32_t kSaveFailed = 11;       // the file could not be written
inline constexpr int32_t kFileExists = 12;       // a file the recorder did not write stands there
inline constexpr int32_t kSavedInPart = 13;      // the disk filled up: what fitted was saved
inline constexpr int32_t kRecordingBroken = 14;  // the recording stopped taking samples early
}  // namespace mcierror

class MediaCommandInterpreter : public MediaControl {
 public:
  // `drives`: the drive list; the "cd" device uses its first entry until another is chosen.
  // `audioOutput`: the ALSA output that playback goes to. `captureSource`: the ALSA capture device
  // that "capture" records from, or kLoopbackCapture: then "cd" plays into the loopback, in
  // real time, and "capture" records that.
  explicit MediaCommandInterpreter(std::vector<CdDriveSource> drives, std::string audioOutput = "default",
                                   std::string captureSource = "default");
  ~MediaCommandInterpreter() override;

  int32_t SendCommand(std::string_view command, char* reply = nullptr, std::size_t replyLength = 0) override;
  void SelectDrive(int32_t index) override;
  // The system's reason where there is one (a recording saved or spooled), else what the code
  // stands for.
  std::string LastErrorText() const override { return lastError_; }

 private:
  struct Disc;
  int32_t Run(const std::vector<std::string>& words, std::string& reply);
  int32_t CdCommand(const std::vector<std::string>& words, std::string& reply);
  int32_t CaptureCommand(const std::vector<std::string>& words, std::string_view command);
  int32_t Open();
  void Close();
  int32_t OpenCapture();
  void CloseCapture();
  // Playback of the "cd" device: to the ALSA output, or into the loopback.
  bool Play(int32_t from, int32_t end);
  void StopPlaying();
  int32_t PlayPosition() const;

  std::vector<CdDriveSource> drives_;
  int32_t chosen_ = 0;  // the position of the "cd" device's drive in drives_
  std::string audioOutput_;
  std::unique_ptr<Disc> disc_;  // the open "cd" device
  CdPlayback playback_;
  std::string captureSource_;
  std::unique_ptr<LoopbackPlayer> loopback_;  // only when the loopback was chosen
  std::unique_ptr<CaptureSource> capture_;    // the open "capture" device
  WaveFormat captureFormat_;
  WaveRecording recording_;
  std::string lastError_;  // why the last command failed
};

// A length in milliseconds as the "hms" time format shows it: "mm:ss", or "h:mm:ss" from an hour.
std::string HmsText(int64_t milliseconds);

}  // namespace korvalin
