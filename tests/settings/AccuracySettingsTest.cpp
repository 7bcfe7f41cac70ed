#include "settings/AccuracySettings.h"

#include <gtest/gtest.h>

#include "settings/FrmPrefs.h"
#include "tests/support/FakeServices.h"
#include "tests/support/MemorySettingsStore.h"

namespace korvalin {
namespace {

using controls::CheckBox;

TEST(AccuracySettings, SecureReadingIsOffUnlessStoredOnAndABadValueChangesNothing) {
  struct Row {
    const char* stored;  // nullptr: no key
    int16_t before;
    int16_t after;
  };
  for (const Row& row : {Row{nullptr, 0, 0}, Row{"1", 0, 1}, Row{"0", 1, 0}, Row{" 2 ", 0, 1}, Row{"on", 1, 1},
                         Row{"70000", 0, 0}}) {
    SCOPED_TRACE(row.stored ? row.stored : "(none)");
    test::MemorySettingsStore store;
    if (row.stored) store.values[{kSettingsApplication, kSettingsSection, "Secure reading"}] = row.stored;
    Settings s;
    s.SecureReading = row.before;
    LoadAccuracySettings(store, s);
    EXPECT_EQ(s.SecureReading, row.after);
    EXPECT_EQ(store.asked, (std::vector<std::string>{"Secure reading", "AccurateRip URL"}));
  }
}

TEST(AccuracySettings, TheDatabaseAddressIsTheStoredOneAndAnEmptyOneStaysEmpty) {
  for (const auto& [stored, expected] : std::vector<std::pair<const char*, std::string>>{
           {nullptr, "http://www.accuraterip.com/accuraterip"}, {"http://127.0.0.1:8/ar", "http://127.0.0.1:8/ar"}, {"", ""}}) {
    test::MemorySettingsStore store;
    if (stored) store.values[{kSettingsApplication, kSettingsSection, "AccurateRip URL"}] = stored;
    Settings s;
    LoadAccuracySettings(store, s);
    EXPECT_EQ(s.AccurateRipUrl, expected) << (stored ? stored : "(none)");
  }
}

TEST(AccuracySettings, ThePreferencesBoxShowsTheSettingAndSavesEveryClick) {
  test::FakeServices fake;
  fake.store.values[{kSettingsApplication, kSettingsSection, "Secure reading"}] = "1";
  Settings settings;
  LoadSettings(fake.store, settings, fake.programFolder.Path());
  LoadAccuracySettings(fake.store, settings);
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal"}};
  prefs.Form_Load();
  EXPECT_EQ(prefs.SSTab1.TabCaption(3), "Accuracy");
  EXPECT_EQ(prefs.chkSecureReading.Value(), CheckBox::Checked);

  for (int16_t expected : {0, 1}) {
    prefs.chkSecureReading.UserClick();
    EXPECT_EQ(settings.SecureReading, expected);
    EXPECT_EQ((fake.store.values[{kSettingsApplication, kSettingsSection, "Secure reading"}]), std::to_string(expected));
  }
}

}  // namespace
}  // namespace korvalin
