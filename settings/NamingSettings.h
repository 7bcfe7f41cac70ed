#pragma once
// The settings of the Preferences' "Tags and Names" tab that name the output files, read beside
// the main settings at start.

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

// Reads "Name files from the disc information" (default 0, off), "Name template" (default: the
// program's template; a blank one gives the default too) and "FAT-safe names" (default 0). A flag
// stored as something other than a number keeps its value; any number other than 0 is on.
void LoadNamingSettings(SettingsStore& store, Settings& settings);

}  // namespace korvalin
