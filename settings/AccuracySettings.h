#pragma once
// The settings of the Preferences' "Accuracy" tab, read beside the main settings at start.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

// The range of the read offset correction, in samples: well inside the 2,939 samples AccurateRip
// leaves out at a disc's ends, and beyond the offset of any known drive.
inline constexpr int32_t kMaxReadOffset = 2000;

inline constexpr const char* kDefaultAccurateRipUrl = "http://www.accuraterip.com/accuraterip";

// Reads "Secure reading" (default 0, off). A stored value that is not a number, or lies outside
// -32768..32767, is skipped and the setting keeps its value; any value other than 0 turns it on.
// Reads "Read offset correction" (default 0) the same way; a value outside -2000..2000 is skipped.
// Reads "AccurateRip URL" (default kDefaultAccurateRipUrl; stored empty, the database is not asked).
void LoadAccuracySettings(SettingsStore& store, Settings& settings);

// A read offset as the user types it: an optional sign and digits, -2000 to 2000 ("+6", "-30",
// "0"). Nothing for any other text.
std::optional<int16_t> ParseReadOffset(std::string_view text);

// The offset as the program shows it: "+6", "-30", "0".
std::string ReadOffsetText(int32_t samples);

}  // namespace korvalin
