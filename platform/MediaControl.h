#pragma once
// The media control interface: one text command per call ("open cdaudio alias cd",
// "status cd length track 3", ...), an optional text reply, 0 for success.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvalin {

class MediaControl {
 public:
  virtual ~MediaControl() = default;

  // Runs `command`. When `reply` is given, the reply text is copied into it followed by a NUL,
  // cut to fit `replyLength`. Returns 0 on success, a non-zero code otherwise; never throws.
  virtual int32_t SendCommand(std::string_view command, char* reply = nullptr, std::size_t replyLength = 0) = 0;

  // Why the last command failed, in words ("Permission denied"); empty after a command that
  // succeeded, or when the interface gives no reason.
  virtual std::string LastErrorText() const { return {}; }

  // Chooses the drive that the "cd" device stands for, by its position in the drive list (the
  // first drive until told otherwise). A position outside the list chooses none: opening "cd"
  // then fails. An open "cd" device of another drive is closed.
  virtual void SelectDrive(int32_t index) = 0;
};

}  // namespace korvalin
