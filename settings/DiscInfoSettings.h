#pragma once
// The settings of the Preferences' "Disc Information" tab, read beside the main settings at
// start, and the rules for what each may hold.

#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "settings/Settings.h"

namespace korvalin {

inline constexpr const char* kDefaultDiscInfoSources = "MusicBrainz,gnudb";
inline constexpr const char* kDefaultMusicBrainzUrl = "https://musicbrainz.org";
inline constexpr const char* kDefaultGnudbUrl = "https://gnudb.gnudb.org";

// Reads the five keys. Looking up is on unless stored as 0. A value the rules below refuse gives
// the default (sources, addresses) or none (country), so a hand-edited file cannot send the
// disc's ids somewhere odd or make the look-up fail.
void LoadDiscInfoSettings(SettingsStore& store, Settings& settings);

// The known source names of a list such as "gnudb, MusicBrainz", in its order, each once and
// spelt as the program spells it; unknown names are left out.
std::vector<std::string> SourceList(const std::string& text);
// An address the databases may be reached at: http:// or https:// followed by a host, without
// blanks or control characters.
bool IsBaseUrl(const std::string& text);
// A country as the databases give it: two letters, upper-cased ("de" -> "DE"); "" for anything
// else.
std::string CountryCode(const std::string& text);

}  // namespace korvalin
