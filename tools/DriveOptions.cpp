#include "tools/DriveOptions.h"

#include <algorithm>
#include <stdexcept>

#include "platform/linux/DiscFolderDrives.h"
#include "platform/linux/ProgramFolder.h"

namespace korvalin::cli {

std::string TakeOption(std::vector<std::string>& args, const std::string& name) {
  const auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return {};
  if (it + 1 == args.end()) throw std::runtime_error(name + " needs a value");
  std::string value = *(it + 1);
  args.erase(it, it + 2);
  return value;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
  const auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return false;
  args.erase(it);
  return true;
}

int32_t ParseCount(const std::string& text, const std::string& what) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), ::isdigit)) {
    throw std::runtime_error(what + " must be a whole number, not \"" + text + "\"");
  }
  return std::stoi(text);
}

DriveChoice TakeDriveOptions(std::vector<std::string>& args) {
  const std::string image = TakeOption(args, "--image");
  const std::string drive = TakeOption(args, "--drive");
  if (!image.empty() && !drive.empty()) throw std::runtime_error("give --drive or --image, not both");
  DriveChoice choice;
  if (!image.empty()) {
    choice.library = std::make_unique<CdioLibrary>(std::vector<CdDriveSource>{CdioLibrary::ImageDrive(image)});
  } else {
    choice.library = std::make_unique<CdioLibrary>(FindProgramDrives(ProgramFolder()));
    if (!drive.empty()) choice.drive = ParseCount(drive, "--drive");
  }
  return choice;
}

}  // namespace korvalin::cli
