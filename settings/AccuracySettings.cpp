#include "settings/AccuracySettings.h"

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin {

void LoadAccuracySettings(SettingsStore& store, Settings& settings) {
  IgnoreErrors([&] {
    const int16_t stored = CInt16(store.get(kSettingsApplication, kSettingsSection, settingkey::SecureReading, "0"));
    settings.SecureReading = stored != 0 ? 1 : 0;
  });
  IgnoreErrors([&] {
    settings.AccurateRipUrl = store.get(kSettingsApplication, kSettingsSection, settingkey::AccurateRipUrl, kDefaultAccurateRipUrl);
  });
}

}  // namespace korvalin
