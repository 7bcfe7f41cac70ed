#pragma once
// The drive options of the CD commands: `--drive N` (a line of the drive list: real drives, then
// the disc images of the program's discs/ folder) or `--image FILE.cue` (that image alone).

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/CdioLibrary.h"

namespace korvalin::cli {

struct DriveChoice {
  std::unique_ptr<CdioLibrary> library;
  int32_t drive = 0;
};

// Takes the drive options out of `args`; leaves the rest. Throws std::runtime_error with a
// one-line reason for a bad option.
DriveChoice TakeDriveOptions(std::vector<std::string>& args);

// Takes "--name VALUE" out of `args`; "" when absent.
std::string TakeOption(std::vector<std::string>& args, const std::string& name);
// Takes the flag "--name" out of `args`.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// A whole non-negative number, or a std::runtime_error naming `what`.
int32_t ParseCount(const std::string& text, const std::string& what);

}  // namespace korvalin::cli
