#pragma once
// The in-memory settings: one value per key of the store's section "Settings", read once at
// start by LoadSettings and read by everyone from then on. Whoever changes a setting updates
// the value here and saves it to the store (SaveSetting).

#include <cstdint>
#include <string>

#include "platform/SettingsStore.h"

namespace korvalin {

// Where the program's settings live in the store.
inline constexpr const char* kSettingsApplication = "Korvalin v2.0";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kPlaylistSection = "music";

// The keys of section "Settings".
namespace settingkey {
inline constexpr const char* AudioFormat = "Audio format";
inline constexpr const char* EncodingQuality = "Encoding quality";
inline constexpr const char* EncodingBitrate = "Encoding bitrate";
inline constexpr const char* HDWarning = "HDWarning";
inline constexpr const char* HDWarningNo = "HDWarningNo";
inline constexpr const char* HDstopdecoding = "HDstopdecoding";
inline constexpr const char* HDStopNo = "HDStopNo";
inline constexpr const char* DecodePath = "DecodePath";
inline constexpr const char* DesktopIcon = "desktop icon";
inline constexpr const char* MinimizeOnstart = "minimize onstart";
inline constexpr const char* DeleteWAV = "Delete WAV";
inline constexpr const char* ShowFullPath = "show full path";
inline constexpr const char* EncodeAfterExtracting = "encode after extracting";
inline constexpr const char* MuteButton = "mute button";
inline constexpr const char* SecureReading = "Secure reading";  // read by LoadAccuracySettings
inline constexpr const char* ReadOffset = "Read offset correction";  // read by LoadAccuracySettings
inline constexpr const char* AccurateRipUrl = "AccurateRip URL";  // read by LoadAccuracySettings
// Read by LoadDiscInfoSettings.
inline constexpr const char* LookupDiscInfo = "Look up disc information";
inline constexpr const char* DiscInfoSources = "Disc information sources";
inline constexpr const char* PreferredCountry = "Preferred country";
inline constexpr const char* MusicBrainzUrl = "MusicBrainz URL";
inline constexpr const char* GnudbUrl = "gnudb URL";
inline constexpr const char* TagVersion = "Tag version";  // read by LoadTagSettings
// Read by LoadNamingSettings.
inline constexpr const char* NameFromTags = "Name files from the disc information";
inline constexpr const char* NameTemplate = "Name template";
inline constexpr const char* FatSafeNames = "FAT-safe names";
}  // namespace settingkey

// Until LoadSettings runs, every number is 0 and the destination folder is empty. Flags are
// 0 (off) or 1 (on).
struct Settings {
  int16_t AudioFormat = 0;      // 0: 44100 Hz 16-bit mono, 1: stereo (analog capture)
  int16_t EncodingQuality = 0;  // index into the main window's quality list
  int16_t EncodingBitrate = 0;  // index into the main window's bitrate list
  int16_t HDWarning = 0;        // warn when free space falls below HDWarningNo
  int16_t HDWarningNo = 0;
  int16_t HDstopdecoding = 0;   // stop converting when free space falls below HDStopNo
  int16_t HDStopNo = 0;
  std::string DecodePath;       // the destination folder of every file the program writes
  int16_t DesktopIcon = 0;      // tray icon
  int16_t MinimizeOnstart = 0;  // minimise the main window when an action starts
  int16_t DeleteWAV = 0;        // delete an intermediate WAV once it is encoded
  int16_t ShowFullPath = 0;     // full paths, not bare names, in the collection tree
  int16_t EncodeAfterExtracting = 0;
  int16_t MuteButton = 0;       // mute CD sound while extracting
  int16_t SecureReading = 0;    // read every block until two reads agree (off by default)
  int16_t ReadOffset = 0;       // the drive's read offset correction in samples, -2000..2000
  std::string AccurateRipUrl;   // the AccurateRip database's address; "" asks nothing
  // Disc information: whether to ask the online databases at all, which of them in which order
  // (names joined by ","), the country whose releases rank first, and where each database is.
  int16_t LookupDiscInfo = 0;
  std::string DiscInfoSources;
  std::string PreferredCountry;
  std::string MusicBrainzUrl;
  std::string GnudbUrl;
  // The tags a rip writes when the disc is known: 3 ID3v2.3 (the default), 4 ID3v2.4, 0 none.
  int TagVersion = 3;
  // Output names built from the template and the disc information instead of the described
  // "<number>-<track>" names (off by default); with FatSafeNames also free of what FAT refuses.
  int16_t NameFromTags = 0;
  std::string NameTemplate;
  int16_t FatSafeNames = 0;
};

// Reads the fourteen keys in their fixed order, each on its own: a missing key gives its
// default; a stored value that is not a number, or lies outside -32768..32767, is skipped and
// its setting keeps the value it had. Numbers may be surrounded by blanks; fractions round to
// the nearest integer, halves to the even one. `programFolder` is the default destination.
void LoadSettings(SettingsStore& store, Settings& settings, const std::string& programFolder);

// Saves one setting of section "Settings": numbers as their decimal text.
void SaveSetting(SettingsStore& store, const std::string& key, int16_t value);
void SaveSetting(SettingsStore& store, const std::string& key, const std::string& value);

}  // namespace korvalin
