#pragma once
// The media control interface over the disc readers (CD drives through libcdio, disc images
// through their CUE sheets), libdiscid and ALSA. It understands exactly the commands the program
// sends: the "cd" device (its disc is the chosen drive of the drive list) and, later, the
// "capture" device. Tracks are counted from the disc's first track ("track 1" is the first track
// whatever number the disc gives it). Everything else answers with a non-zero code.

#include <memory>
#include <string>
#include <vector>

#include "platform/MediaControl.h"
#include "platform/linux/CdPlayback.h"
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
}  // namespace mcierror

class MediaCommandInterpreter : public MediaControl {
 public:
  // `drives`: the drive list; the "cd" device uses its first entry until another is chosen.
  // `audioOutput`: the ALSA output that playback goes to.
  explicit MediaCommandInterpreter(std::vector<CdDriveSource> drives, std::string audioOutput = "default");
  ~MediaCommandInterpreter() override;

  int32_t SendCommand(std::string_view command, char* reply = nullptr, std::size_t replyLength = 0) override;
  void SelectDrive(int32_t index) override;

 private:
  struct Disc;
  int32_t Run(const std::vector<std::string>& words, std::string& reply);
  int32_t CdCommand(const std::vector<std::string>& words, std::string& reply);
  int32_t Open();
  void Close();

  std::vector<CdDriveSource> drives_;
  int32_t chosen_ = 0;  // the position of the "cd" device's drive in drives_
  std::string audioOutput_;
  std::unique_ptr<Disc> disc_;  // the open "cd" device
  CdPlayback playback_;
};

// A length in milliseconds as the "hms" time format shows it: "mm:ss", or "h:mm:ss" from an hour.
std::string HmsText(int64_t milliseconds);

}  // namespace korvalin
