#include "window/EncoderOptionsPanel.h"

#include <gtest/gtest.h>

#include "common/RaisedError.h"
#include "encode/EncoderChoices.h"
#include "tests/support/MemorySettingsStore.h"

namespace korvalin {
namespace {

// A store whose writes fail, as a read-only settings file does.
struct FailingStore : test::MemorySettingsStore {
  void save(const std::string&, const std::string&, const std::string&, const std::string&) override {
    throw RaisedError::Of(errnum::PermissionDenied);
  }
};

struct ListCase {
  const char* name;
  controls::ComboBox EncoderOptionsPanel::*list;
  int16_t Settings::*setting;
  const char* key;
};

const ListCase kLists[] = {
    {"bitrate", &EncoderOptionsPanel::cmbBitrate, &Settings::EncodingBitrate, settingkey::EncodingBitrate},
    {"quality", &EncoderOptionsPanel::cmbQuality, &Settings::EncodingQuality, settingkey::EncodingQuality},
};

// A chosen entry is kept and stored, then announced once; a failed store keeps it all the same.
TEST(EncoderOptionsPanel, AChosenEntryIsStoredBeforeItIsAnnounced) {
  for (const ListCase& c : kLists) {
    for (const bool failing : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (failing ? " failing store" : ""));
      Settings settings;
      test::MemorySettingsStore working;
      FailingStore broken;
      test::MemorySettingsStore& store = failing ? broken : working;
      EncoderOptionsPanel panel(settings, store, BitrateListEntries(), QualityListEntries());
      std::vector<std::string> storedWhenAnnounced;
      panel.OnEncodingStored = [&] { storedWhenAnnounced.push_back(store.values[{kSettingsApplication, kSettingsSection, c.key}]); };
      (panel.*c.list).SetListIndex(3);
      EXPECT_EQ(settings.*c.setting, 3);
      EXPECT_EQ(storedWhenAnnounced, std::vector<std::string>{failing ? "" : "3"});
    }
  }
}

TEST(EncoderOptionsPanel, ShowEncodingShowsEachSettingThatFitsItsList) {
  Settings settings;
  test::MemorySettingsStore store;
  EncoderOptionsPanel panel(settings, store, BitrateListEntries(), QualityListEntries());
  // A hand-edited settings file: the quality is out of range, the bitrate still shows.
  settings.EncodingQuality = 99;
  settings.EncodingBitrate = 8;
  panel.ShowEncoding();
  EXPECT_EQ(panel.cmbQuality.ListIndex(), -1);
  EXPECT_EQ(panel.cmbBitrate.Text(), "128");
  EXPECT_EQ(settings.EncodingQuality, 99);  // nothing chosen, so nothing stored over it
}

}  // namespace
}  // namespace korvalin
