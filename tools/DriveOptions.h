#pragma once
// The drive options of the CD commands: `--drive N` (a line of the drive list: real drives, then
// the disc images of the program's discs/ folder) or `--image FILE.cue` (that image alone).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/CdioLibrary.h"
#include "rip/modAKRip32.h"

namespace korvalin::cli {

struct DriveChoice {
  std::unique_ptr<CdioLibrary> library;
  int32_t drive = 0;
};

// Takes the drive options out of `args`; leaves the rest. Throws std::runtime_error with a
// one-line reason for a bad option: an empty image name, or a drive number beyond the list.
DriveChoice TakeDriveOptions(std::vector<std::string>& args);

// The frames of one audio track: first, and end (exclusive).
struct TrackSpan {
  int32_t first = 0;
  int32_t end = 0;
};

// Opens the chosen drive in `cd` and finds the track `trackText` names (counted from the disc's
// first track, as cdinfo lists them). Throws std::runtime_error with the reason: a disc or image
// that cannot be read, no such track, or a data track.
TrackSpan OpenAudioTrack(const DriveChoice& choice, modAKRip32& cd, const std::string& trackText);

// Takes "--read-offset N" out of `args`: the read offset correction in samples, -2000 to 2000 ("+6"
// and "-30" alike). Absent, the one the Preferences keep. Throws std::runtime_error for a value out
// of range or no number.
int32_t TakeReadOffset(std::vector<std::string>& args);

// Takes "--name VALUE" out of `args`; nothing when absent (a given empty value is "").
std::optional<std::string> TakeGivenOption(std::vector<std::string>& args, const std::string& name);
// Takes "--name VALUE" out of `args`; "" when absent.
std::string TakeOption(std::vector<std::string>& args, const std::string& name);
// Takes the flag "--name" out of `args`.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// A whole non-negative number, or a std::runtime_error naming `what`.
int32_t ParseCount(const std::string& text, const std::string& what);

}  // namespace korvalin::cli
