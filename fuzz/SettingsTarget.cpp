// LoadSettings over any stored values: each line is the text stored under one key, in the order
// the keys are read ("\x7f" alone: the key is missing). Whatever it reads, what it keeps must
// survive being saved and read again unchanged.

#include <map>
#include <tuple>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "settings/Settings.h"

namespace korvalin::fuzz {
namespace {

class MapStore : public SettingsStore {
 public:
  std::string get(const std::string& application, const std::string& section, const std::string& key,
                  const std::string& defaultValue) override {
    auto it = values.find({application, section, key});
    return it == values.end() ? defaultValue : it->second;
  }
  void save(const std::string& application, const std::string& section, const std::string& key,
            const std::string& value) override {
    values[{application, section, key}] = value;
  }
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
};

constexpr const char* kKeys[] = {
    settingkey::AudioFormat, settingkey::EncodingQuality, settingkey::EncodingBitrate, settingkey::HDWarning,
    settingkey::HDWarningNo, settingkey::HDstopdecoding, settingkey::HDStopNo,        settingkey::DecodePath,
    settingkey::DesktopIcon, settingkey::MinimizeOnstart, settingkey::DeleteWAV,       settingkey::ShowFullPath,
    settingkey::EncodeAfterExtracting, settingkey::MuteButton};

std::tuple<int16_t, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t, std::string, int16_t, int16_t, int16_t,
           int16_t, int16_t, int16_t>
Fields(const Settings& s) {
  return {s.AudioFormat, s.EncodingQuality, s.EncodingBitrate, s.HDWarning,  s.HDWarningNo,
          s.HDstopdecoding, s.HDStopNo,      s.DecodePath,       s.DesktopIcon, s.MinimizeOnstart,
          s.DeleteWAV,   s.ShowFullPath,    s.EncodeAfterExtracting, s.MuteButton};
}

}  // namespace

int FuzzSettings(const uint8_t* data, std::size_t size) {
  MapStore stored;
  const auto lines = Lines(AsText(data, size));
  for (std::size_t i = 0; i < lines.size() && i < std::size(kKeys); ++i) {
    if (lines[i] != "\x7f") SaveSetting(stored, kKeys[i], std::string(lines[i]));
  }
  Settings loaded;
  loaded.HDStopNo = 1234;  // a value that LoadSettings must keep when the stored text is refused
  LoadSettings(stored, loaded, "/program folder");

  const std::string path = stored.get(kSettingsApplication, kSettingsSection, settingkey::DecodePath, "/program folder");
  Check(loaded.DecodePath == path, "the destination folder is the stored text, unchanged");

  MapStore saved;
  const Settings& s = loaded;
  const int16_t numbers[] = {s.AudioFormat, s.EncodingQuality, s.EncodingBitrate, s.HDWarning, s.HDWarningNo,
                             s.HDstopdecoding, s.HDStopNo, 0, s.DesktopIcon, s.MinimizeOnstart, s.DeleteWAV,
                             s.ShowFullPath, s.EncodeAfterExtracting, s.MuteButton};
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (kKeys[i] == settingkey::DecodePath) {
      SaveSetting(saved, kKeys[i], s.DecodePath);
    } else {
      SaveSetting(saved, kKeys[i], numbers[i]);
    }
  }
  Settings again;
  LoadSettings(saved, again, "/elsewhere");
  Check(Fields(again) == Fields(loaded), "saved settings read back unchanged");
  return 0;
}

}  // namespace korvalin::fuzz
