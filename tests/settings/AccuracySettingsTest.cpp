#include "settings/AccuracySettings.h"

#include <gtest/gtest.h>

#include <optional>

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
    EXPECT_EQ(store.asked, (std::vector<std::string>{"Secure reading", "Read offset correction", "AccurateRip URL"}));
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

TEST(AccuracySettings, TheReadOffsetIsTakenOnlyInsideItsRange) {
  struct Row {
    const char* text;
    std::optional<int16_t> typed;  // what the box and --read-offset take
    int16_t loaded;                // what a stored value gives a setting that held 7 (no number: kept)
  };
  for (const Row& row : {Row{"6", 6, 6}, Row{"+6", 6, 6}, Row{"-30", -30, -30}, Row{"0", 0, 0},
                         Row{"2000", 2000, 2000}, Row{"-2000", -2000, -2000}, Row{"2001", std::nullopt, 7},
                         Row{"-2001", std::nullopt, 7}, Row{"", std::nullopt, 7}, Row{"-", std::nullopt, 7},
                         Row{"6.5", std::nullopt, 6}, Row{"six", std::nullopt, 7}, Row{"+-6", std::nullopt, 7},
                         Row{"00006", std::nullopt, 6}, Row{" 6", std::nullopt, 6}}) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseReadOffset(row.text), row.typed);
    test::MemorySettingsStore store;
    store.values[{kSettingsApplication, kSettingsSection, "Read offset correction"}] = row.text;
    Settings s;
    s.ReadOffset = 7;
    LoadAccuracySettings(store, s);
    EXPECT_EQ(s.ReadOffset, row.loaded);
  }
  EXPECT_EQ(ReadOffsetText(6), "+6");
  EXPECT_EQ(ReadOffsetText(-30), "-30");
  EXPECT_EQ(ReadOffsetText(0), "0");
}

TEST(AccuracySettings, TheReadOffsetBoxStoresWhatItTakesAndSaysWhatItRefuses) {
  test::FakeServices fake;
  fake.store.values[{kSettingsApplication, kSettingsSection, "Read offset correction"}] = "-12";
  Settings settings;
  LoadSettings(fake.store, settings, fake.programFolder.Path());
  LoadAccuracySettings(fake.store, settings);
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal"}};
  prefs.Form_Load();
  EXPECT_EQ(prefs.txtReadOffset.Text(), "-12");
  auto stored = [&] { return fake.store.values[{kSettingsApplication, kSettingsSection, "Read offset correction"}]; };
  EXPECT_EQ(stored(), "-12");  // showing it saved nothing new

  struct Step {
    const char* typed;
    int16_t setting;  // what the setting holds afterwards
    bool refused;
  };
  for (const Step& step : {Step{"+", -12, false}, Step{"+6", 6, false}, Step{"+60000", 6, true}, Step{"x", 6, true},
                           Step{"-", 6, false}, Step{"-30", -30, false}, Step{"", -30, false}}) {
    SCOPED_TRACE(step.typed);
    prefs.txtReadOffset.SetText(step.typed);
    EXPECT_EQ(settings.ReadOffset, step.setting);
    EXPECT_EQ(stored(), std::to_string(step.setting));
    EXPECT_EQ(prefs.lblReadOffsetRefused.Caption().empty(), !step.refused);
  }
}

}  // namespace
}  // namespace korvalin
