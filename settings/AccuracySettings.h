#pragma once
// The settings of the Preferences' "Accuracy" tab, read beside the main settings at start.

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

inline constexpr const char* kDefaultAccurateRipUrl = "http://www.accuraterip.com/accuraterip";

// Reads "Secure reading" (default 0, off). A stored value that is not a number, or lies outside
// -32768..32767, is skipped and the setting keeps its value; any value other than 0 turns it on.
// Reads "AccurateRip URL" (default kDefaultAccurateRipUrl; stored empty, the database is not asked).
void LoadAccuracySettings(SettingsStore& store, Settings& settings);

}  // namespace korvalin
