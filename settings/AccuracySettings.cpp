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
    const int16_t stored = CInt16(store.get(kSettingsApplication, kSettingsSection, settingkey::ReadOffset, "0"));
    if (stored >= -kMaxReadOffset && stored <= kMaxReadOffset) settings.ReadOffset = stored;
  });
  IgnoreErrors([&] {
    settings.AccurateRipUrl = store.get(kSettingsApplication, kSettingsSection, settingkey::AccurateRipUrl, kDefaultAccurateRipUrl);
  });
}

std::optional<int16_t> ParseReadOffset(std::string_view text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
  if (at == text.size() || text.size() - at > 4) return std::nullopt;
  int32_t value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return std::nullopt;
    value = value * 10 + (text[at] - '0');
  }
  if (value > kMaxReadOffset) return std::nullopt;
  return static_cast<int16_t>(negative ? -value : value);
}

std::string ReadOffsetText(int32_t samples) { return (samples > 0 ? "+" : "") + std::to_string(samples); }

}  // namespace korvalin
