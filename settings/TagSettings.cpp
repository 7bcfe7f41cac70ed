#include "settings/TagSettings.h"

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin {
namespace {

int Known(int version) { return version == 0 || version == 4 ? version : 3; }

}  // namespace

void LoadTagSettings(SettingsStore& store, Settings& settings) {
  IgnoreErrors([&] {
    settings.TagVersion = Known(CInt16(store.get(kSettingsApplication, kSettingsSection, settingkey::TagVersion, "3")));
  });
}

void SaveTagVersion(SettingsStore& store, Settings& settings, int version) {
  settings.TagVersion = Known(version);
  SaveSetting(store, settingkey::TagVersion, static_cast<int16_t>(settings.TagVersion));
}

}  // namespace korvalin
