#include "settings/NamingSettings.h"

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "fileout/NameTemplate.h"

namespace korvalin {

void LoadNamingSettings(SettingsStore& store, Settings& settings) {
  using namespace settingkey;
  const auto flag = [&](const char* key, int16_t& target) {
    return [&store, &target, key] {
      target = CInt16(store.get(kSettingsApplication, kSettingsSection, key, "0")) != 0 ? 1 : 0;
    };
  };
  settings.NameTemplate = kDefaultNameTemplate;
  IgnoreErrors(flag(NameFromTags, settings.NameFromTags),
               [&] {
                 const std::string stored = store.get(kSettingsApplication, kSettingsSection, NameTemplate,
                                                      kDefaultNameTemplate);
                 if (!Trim(stored).empty()) settings.NameTemplate = stored;
               },
               flag(FatSafeNames, settings.FatSafeNames));
}

}  // namespace korvalin
