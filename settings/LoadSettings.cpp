#include <utility>

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "settings/Settings.h"

namespace korvalin {

void LoadSettings(SettingsStore& store, Settings& settings, const std::string& programFolder) {
  auto number = [&](const char* key, const char* defaultValue, int16_t& target) {
    return [&store, &target, key, defaultValue] {
      target = CInt16(store.get(kSettingsApplication, kSettingsSection, key, defaultValue));
    };
  };
  using namespace settingkey;
  IgnoreErrors(number(AudioFormat, "1", settings.AudioFormat),
               number(EncodingQuality, "5", settings.EncodingQuality),
               number(EncodingBitrate, "5", settings.EncodingBitrate),
               number(HDWarning, "1", settings.HDWarning),
               number(HDWarningNo, "100", settings.HDWarningNo),
               number(HDstopdecoding, "1", settings.HDstopdecoding),
               number(HDStopNo, "50", settings.HDStopNo),
               [&] { settings.DecodePath = store.get(kSettingsApplication, kSettingsSection, DecodePath, programFolder); },
               number(DesktopIcon, "0", settings.DesktopIcon),
               number(MinimizeOnstart, "0", settings.MinimizeOnstart),
               number(DeleteWAV, "1", settings.DeleteWAV),
               number(ShowFullPath, "1", settings.ShowFullPath),
               number(EncodeAfterExtracting, "1", settings.EncodeAfterExtracting),
               number(MuteButton, "1", settings.MuteButton));
}

void SaveSetting(SettingsStore& store, const std::string& key, int16_t value) {
  store.save(kSettingsApplication, kSettingsSection, key, std::to_string(value));
}

void SaveSetting(SettingsStore& store, const std::string& key, const std::string& value) {
  store.save(kSettingsApplication, kSettingsSection, key, value);
}

}  // namespace korvalin
