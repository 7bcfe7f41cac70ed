#pragma once
// The tag choice, read beside the main settings at start: which ID3v2 version a rip writes, or none.

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

// Reads "Tag version": 3 (ID3v2.3, the default), 4 (ID3v2.4) or 0 (no tags). A stored value that is
// not a number is skipped and the setting keeps its value; a number that is none of the three gives
// the default, so a hand-edited file cannot ask for a version nobody reads.
void LoadTagSettings(SettingsStore& store, Settings& settings);

// Saves the choice; anything but 0, 3 or 4 is saved as 3.
void SaveTagVersion(SettingsStore& store, Settings& settings, int version);

}  // namespace korvalin
