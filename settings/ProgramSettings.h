#pragma once
// Everything the desktop program keeps in its settings store, read at start.

#include <string>

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

// Reads each group of settings on its own (a group that cannot be read keeps its defaults), then
// settles the destination: an empty destination folder setting becomes the default destination,
// created when missing.
void LoadProgramSettings(SettingsStore& store, Settings& settings, const std::string& programFolder);

}  // namespace korvalin
