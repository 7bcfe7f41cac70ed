#pragma once
// The settings of the Preferences' "Accuracy" tab, read beside the main settings at start.

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

// Reads "Secure reading" (default 0, off). A stored value that is not a number, or lies outside
// -32768..32767, is skipped and the setting keeps its value; any value other than 0 turns it on.
void LoadAccuracySettings(SettingsStore& store, Settings& settings);

}  // namespace korvalin
