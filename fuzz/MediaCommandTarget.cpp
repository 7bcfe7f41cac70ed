// The media control interpreter over any command lines, on a small disc image: it answers every
// line with a code, keeps its reply inside the buffer it was given and always ends it with a NUL.

#include <cstring>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace korvalin::fuzz {
namespace {

const std::string& DiscSheet() {
  // Three short tracks (each longer than a pregap): enough for every track and position command.
  static const std::string sheet = discgen::WriteDiscImage(
      ScratchFolder(), "fuzz-disc",
      {discgen::MusicCdFrames(160, 1), discgen::MusicCdFrames(155, 2), discgen::MusicCdFrames(170, 3)});
  return sheet;
}

}  // namespace

int FuzzMediaCommands(const uint8_t* data, std::size_t size) {
  std::string_view input = AsText(data, size);
  // The first byte picks the reply buffer's size, down to none at all.
  std::size_t replySize = 64;
  if (!input.empty()) {
    replySize = static_cast<uint8_t>(input[0]) % 80;
    input.remove_prefix(1);
  }
  // Playback goes to the null output: it runs (and is stopped) without a sound card.
  MediaCommandInterpreter mci({CdDriveSource{DiscSheet(), "fuzz-disc.cue", true}}, "null");
  for (std::string_view line : Lines(input)) {
    std::string reply(replySize + 1, '\x55');
    const int32_t code = mci.SendCommand(line, replySize ? reply.data() : nullptr, replySize);
    Check(code >= 0 && code <= mcierror::kFileExists, "every command answers with a known code");
    Check(reply[replySize] == '\x55', "the reply stays inside its buffer");
    if (replySize > 0) Check(std::memchr(reply.data(), '\0', replySize) != nullptr, "the reply ends with a NUL");
  }
  return 0;
}

}  // namespace korvalin::fuzz
