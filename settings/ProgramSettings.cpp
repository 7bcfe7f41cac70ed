#include "settings/ProgramSettings.h"

#include <filesystem>
#include <system_error>

#include "common/RaisedError.h"
#include "platform/UserFolders.h"
#include "settings/AccuracySettings.h"
#include "settings/DiscInfoSettings.h"
#include "settings/NamingSettings.h"
#include "settings/TagSettings.h"

namespace korvalin {

namespace {
// An empty destination would make every rebuild of the collection read the whole file system
// and every output name a path at its root.
void SettleDestination(Settings& settings, const std::string& programFolder) {
  if (!settings.DecodePath.empty()) return;
  settings.DecodePath = DefaultDestination(programFolder);
  std::error_code ec;
  std::filesystem::create_directories(settings.DecodePath, ec);  // a failure shows at the first write
}
}  // namespace

void LoadProgramSettings(SettingsStore& store, Settings& settings, const std::string& programFolder) {
  IgnoreErrors([&] { LoadSettings(store, settings, StartingDestination(programFolder)); },
               [&] { LoadAccuracySettings(store, settings); }, [&] { LoadDiscInfoSettings(store, settings); },
               [&] { LoadTagSettings(store, settings); }, [&] { LoadNamingSettings(store, settings); },
               [&] { SettleDestination(settings, programFolder); });
}

}  // namespace korvalin
