#include "settings/NamingSettings.h"

#include <gtest/gtest.h>

#include "fileout/NameTemplate.h"
#include "settings/FrmPrefs.h"
#include "window/JobOptions.h"
#include "tests/support/FakeServices.h"
#include "tests/support/MemorySettingsStore.h"

namespace korvalin {
namespace {

using controls::CheckBox;

std::string& Stored(test::MemorySettingsStore& store, const char* key) {
  return store.values[{kSettingsApplication, kSettingsSection, key}];
}

TEST(NamingSettings, NamingIsOffUntilTurnedOnAndABlankTemplateIsTheDefault) {
  struct Row {
    const char* what;
    const char* on;  // nullptr: no key
    const char* nameTemplate;
    const char* fatSafe;
    int16_t expectedOn;
    std::string expectedTemplate;
    int16_t expectedFatSafe;
  };
  const std::vector<Row> rows{
      {"nothing stored", nullptr, nullptr, nullptr, 0, kDefaultNameTemplate, 0},
      {"on", "1", "%artist%/%title%", "1", 1, "%artist%/%title%", 1},
      {"any number is on", " 2 ", "%title%", "-1", 1, "%title%", 1},
      {"off", "0", "%title%", "0", 0, "%title%", 0},
      {"a blank template", "1", "   ", nullptr, 1, kDefaultNameTemplate, 0},
      {"not a number keeps the flag", "on", nullptr, "70000", 0, kDefaultNameTemplate, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    test::MemorySettingsStore store;
    if (row.on) Stored(store, "Name files from the disc information") = row.on;
    if (row.nameTemplate) Stored(store, "Name template") = row.nameTemplate;
    if (row.fatSafe) Stored(store, "FAT-safe names") = row.fatSafe;
    Settings s;
    LoadNamingSettings(store, s);
    EXPECT_EQ(s.NameFromTags, row.expectedOn);
    EXPECT_EQ(s.NameTemplate, row.expectedTemplate);
    EXPECT_EQ(s.FatSafeNames, row.expectedFatSafe);
  }
}

class NamesTab : public ::testing::Test {
 protected:
  NamesTab() {
    LoadSettings(fake.store, settings, fake.programFolder.Path());
    LoadNamingSettings(fake.store, settings);
  }
  std::vector<TrackTags> Disc() {
    std::vector<TrackTags> disc(2);
    disc[0].title = "Dawn";
    disc[1].title = "Dusk: Live";
    for (auto& t : disc) t.album = "Days";
    return disc;
  }

  test::FakeServices fake;
  Settings settings;
};

TEST_F(NamesTab, TheTabSavesEachChoiceAndThePreviewFollowsTheTemplateAndTheDisc) {
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal"}};
  std::vector<TrackTags> known;
  prefs.KnownDiscTags = [&] { return known; };
  prefs.Form_Load();
  EXPECT_EQ(prefs.SSTab1.TabCaption(5), "Tags and Names");
  EXPECT_EQ(prefs.chkNameFromTags.Caption(), "Name files from the disc information");
  EXPECT_EQ(prefs.chkNameFromTags.Value(), CheckBox::Unchecked);
  EXPECT_EQ(prefs.txtNameTemplate.Text(), kDefaultNameTemplate);
  // No disc known: the example disc, as it would be named once turned on.
  EXPECT_EQ(prefs.lblNamePreview.Caption(), "The names of an example disc, once turned on:");
  EXPECT_EQ(prefs.lstNamePreview.Items(), NamesForDisc(kDefaultNameTemplate, ExampleDisc(), ".mp3", false));

  prefs.chkNameFromTags.UserClick();
  EXPECT_EQ(settings.NameFromTags, 1);
  EXPECT_EQ(Stored(fake.store, "Name files from the disc information"), "1");

  known = Disc();
  prefs.txtNameTemplate.SetText("%album%/%track% %title%");
  EXPECT_EQ(settings.NameTemplate, "%album%/%track% %title%");
  EXPECT_EQ(Stored(fake.store, "Name template"), "%album%/%track% %title%");
  EXPECT_EQ(prefs.lblNamePreview.Caption(), "The names of the disc in the drive:");
  EXPECT_EQ(prefs.lstNamePreview.Items(), (std::vector<std::string>{"Days/1 Dawn.mp3", "Days/2 Dusk: Live.mp3"}));

  prefs.PreviewExtension = [] { return std::string(".wav"); };
  prefs.chkFatSafeNames.UserClick();
  EXPECT_EQ(settings.FatSafeNames, 1);
  EXPECT_EQ(Stored(fake.store, "FAT-safe names"), "1");
  EXPECT_EQ(prefs.lstNamePreview.Items(), (std::vector<std::string>{"Days/1 Dawn.wav", "Days/2 Dusk_ Live.wav"}));

  // The tag choice on the same tab.
  EXPECT_EQ(prefs.cmbTagVersion.Items(), (std::vector<std::string>{"ID3v2.3", "ID3v2.4", "No tags"}));
  EXPECT_EQ(prefs.cmbTagVersion.ListIndex(), 0);
  for (const auto& [index, version] : {std::pair{2, 0}, std::pair{1, 4}, std::pair{0, 3}}) {
    prefs.cmbTagVersion.SetListIndex(index);
    EXPECT_EQ(settings.TagVersion, version);
    EXPECT_EQ(Stored(fake.store, "Tag version"), std::to_string(version));
  }

  // A job started now names its files the same way.
  JobOptions options;
  options.TakeSettings(settings);
  EXPECT_TRUE(options.nameFromTags);
  EXPECT_EQ(options.nameTemplate, "%album%/%track% %title%");
  EXPECT_TRUE(options.fatSafeNames);
}

TEST_F(NamesTab, TheStoredChoicesAreShownWhenTheDialogLoads) {
  Stored(fake.store, "Name files from the disc information") = "1";
  Stored(fake.store, "Name template") = "%title%";
  Stored(fake.store, "FAT-safe names") = "1";
  LoadNamingSettings(fake.store, settings);
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal"}};
  prefs.Form_Load();
  EXPECT_EQ(prefs.chkNameFromTags.Value(), CheckBox::Checked);
  EXPECT_EQ(prefs.txtNameTemplate.Text(), "%title%");
  EXPECT_EQ(prefs.chkFatSafeNames.Value(), CheckBox::Checked);
  EXPECT_EQ(prefs.lstNamePreview.ListCount(), static_cast<int32_t>(ExampleDisc().size()));
  // Showing them saved nothing new.
  EXPECT_EQ(Stored(fake.store, "Name template"), "%title%");
}

}  // namespace
}  // namespace korvalin
