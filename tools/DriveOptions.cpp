#include "tools/DriveOptions.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/linux/DiscFolders.h"
#include "platform/qtcore/QtSettingsStore.h"
#include "settings/AccuracySettings.h"

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

std::optional<std::string> TakeGivenOption(std::vector<std::string>& args, const std::string& name) {
  if (std::find(args.begin(), args.end(), name) == args.end()) return std::nullopt;
  return TakeOption(args, name);
}

int32_t TakeReadOffset(std::vector<std::string>& args) {
  if (const std::optional<std::string> given = TakeGivenOption(args, "--read-offset")) {
    const std::optional<int16_t> offset = ParseReadOffset(*given);
    if (!offset) {
      throw std::runtime_error("--read-offset takes a number of samples from -2000 to +2000, not \"" + *given + "\"");
    }
    return *offset;
  }
  QtSettingsStore store;
  Settings settings;
  LoadAccuracySettings(store, settings);
  return settings.ReadOffset;
}

DriveChoice TakeDriveOptions(std::vector<std::string>& args) {
  const std::optional<std::string> image = TakeGivenOption(args, "--image");
  const std::optional<std::string> drive = TakeGivenOption(args, "--drive");
  if (image && drive) throw std::runtime_error("give --drive or --image, not both");
  DriveChoice choice;
  if (image) {
    if (image->empty()) throw std::runtime_error("--image needs the name of a CUE sheet");
    choice.library = std::make_unique<CdioLibrary>(std::vector<CdDriveSource>{CdioLibrary::ImageDrive(*image)});
    return choice;
  }
  choice.library = std::make_unique<CdioLibrary>(CdioLibrary::FindDrives(DiscImageFolders()));
  const std::size_t count = choice.library->Drives().size();
  if (drive) choice.drive = ParseCount(*drive, "--drive");
  if (count == 0) throw std::runtime_error("no CD drive or disc image was found");
  if (static_cast<std::size_t>(choice.drive) >= count) {
    throw std::runtime_error("there is no drive " + std::to_string(choice.drive) + ": the list holds drives 0 to " +
                             std::to_string(count - 1) + " (see the drives command)");
  }
  return choice;
}

}  // namespace korvalin::cli

namespace korvalin::cli {

TrackSpan OpenAudioTrack(const DriveChoice& choice, modAKRip32& cd, const std::string& trackText) {
  const int32_t track = ParseCount(trackText, "TRACK");
  if (!cd.OpenDrive(choice.drive)) {
    const std::string& fault = choice.library->LastFault();
    throw std::runtime_error(fault.empty() ? "cannot read the disc in drive " + std::to_string(choice.drive) + ": " +
                                                 cd.LibraryErrorText()
                                           : fault);
  }
  const int32_t tracks = cd.CurrentToc[3] - cd.CurrentToc[2] + 1;
  if (track < 1 || track > tracks) throw std::runtime_error("the disc has no track " + trackText);
  if (cd.IsDataTrack(track)) throw std::runtime_error("track " + trackText + " is a data track and holds no audio");
  return {cd.TrackFirstFrame(track), cd.TrackEndFrame(track)};
}

}  // namespace korvalin::cli
