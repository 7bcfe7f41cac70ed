#pragma once
// The media control interface: one text command per call ("open cdaudio alias cd",
// "status cd length track 3", ...), an optional text reply, 0 for success.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvalin {

class MediaControl {
 public:
  virtual ~MediaControl() = default;

  // Runs `command`. When `reply` is given, the reply text is copied into it followed by a NUL,
  // cut to fit `replyLength`. Returns 0 on success, a non-zero code otherwise; never throws.
  virtual int32_t SendCommand(std::string_view command, char* reply = nullptr, std::size_t replyLength = 0) = 0;
};

}  // namespace korvalin
