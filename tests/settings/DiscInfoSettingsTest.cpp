#include "settings/DiscInfoSettings.h"

#include <gtest/gtest.h>

#include "settings/FrmPrefs.h"
#include "tests/support/FakeServices.h"
#include "tests/support/MemorySettingsStore.h"

namespace korvalin {
namespace {

using controls::CheckBox;

TEST(DiscInfoSettings, StoredValuesAreTakenOnlyWhenTheyAreSound) {
  struct Row {
    const char* key;
    const char* stored;
    std::string Settings::*text;  // the string setting it lands in; null: the look-up flag
    const char* expected;
  };
  const Row rows[] = {
      {"Look up disc information", nullptr, nullptr, "1"},
      {"Look up disc information", "0", nullptr, "0"},
      {"Look up disc information", " 2 ", nullptr, "1"},
      {"Look up disc information", "off", nullptr, "1"},
      {"Disc information sources", nullptr, &Settings::DiscInfoSources, "MusicBrainz,gnudb"},
      {"Disc information sources", " GNUDB , musicbrainz,gnudb", &Settings::DiscInfoSources, "gnudb,MusicBrainz"},
      {"Disc information sources", "gnudb", &Settings::DiscInfoSources, "gnudb"},
      {"Disc information sources", "freedb,other", &Settings::DiscInfoSources, "MusicBrainz,gnudb"},
      {"Preferred country", "de", &Settings::PreferredCountry, "DE"},
      {"Preferred country", "Germany", &Settings::PreferredCountry, ""},
      {"Preferred country", "D1", &Settings::PreferredCountry, ""},
      {"MusicBrainz URL", "http://127.0.0.1:8080", &Settings::MusicBrainzUrl, "http://127.0.0.1:8080"},
      {"MusicBrainz URL", "ftp://example.org", &Settings::MusicBrainzUrl, "https://musicbrainz.org"},
      {"MusicBrainz URL", "https://", &Settings::MusicBrainzUrl, "https://musicbrainz.org"},
      {"gnudb URL", "https://mirror.example org", &Settings::GnudbUrl, "https://gnudb.gnudb.org"},
      {"gnudb URL", "https://mirror.example.org/cddb", &Settings::GnudbUrl, "https://mirror.example.org/cddb"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.key) + " = " + (row.stored ? row.stored : "(none)"));
    test::MemorySettingsStore store;
    if (row.stored) store.values[{kSettingsApplication, kSettingsSection, row.key}] = row.stored;
    Settings s;
    LoadDiscInfoSettings(store, s);
    const std::string got = row.text ? s.*row.text : std::to_string(s.LookupDiscInfo);
    EXPECT_EQ(got, row.expected);
  }
}

class DiscInfoTabTest : public ::testing::Test {
 protected:
  void Load() {
    LoadSettings(fake.store, settings, fake.programFolder.Path());
    LoadDiscInfoSettings(fake.store, settings);
    prefs.Form_Load();
  }
  std::string Stored(const std::string& key) {
    auto it = fake.store.values.find({kSettingsApplication, kSettingsSection, key});
    return it == fake.store.values.end() ? "(none)" : it->second;
  }

  test::FakeServices fake;
  Settings settings;
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal"}};
};

TEST_F(DiscInfoTabTest, ShowsTheStoredSettingsAndLoadingSavesNothing) {
  fake.store.values[{kSettingsApplication, kSettingsSection, "Disc information sources"}] = "gnudb";
  fake.store.values[{kSettingsApplication, kSettingsSection, "Preferred country"}] = "GB";
  Load();
  EXPECT_EQ(prefs.SSTab1.TabCaption(4), "Disc Information");
  EXPECT_EQ(prefs.chkLookupOnline.Value(), CheckBox::Checked);
  EXPECT_EQ(prefs.cmbSources.Text(), "gnudb only");
  EXPECT_EQ(prefs.txtCountry.Text(), "GB");
  EXPECT_EQ(prefs.txtMusicBrainzUrl.Text(), "https://musicbrainz.org");
  EXPECT_EQ(Stored("MusicBrainz URL"), "(none)");
  EXPECT_EQ(Stored("Look up disc information"), "(none)");
}

TEST_F(DiscInfoTabTest, EachControlSavesWhatItShowsAndRefusesWhatCannotBeUsed) {
  Load();
  prefs.chkLookupOnline.UserClick();
  EXPECT_EQ(settings.LookupDiscInfo, 0);
  EXPECT_EQ(Stored("Look up disc information"), "0");
  EXPECT_FALSE(prefs.cmbSources.Enabled());  // nothing is asked, so where does not matter
  EXPECT_FALSE(prefs.txtGnudbUrl.Enabled());
  prefs.chkLookupOnline.UserClick();
  EXPECT_EQ(Stored("Look up disc information"), "1");
  EXPECT_TRUE(prefs.cmbSources.Enabled());

  prefs.cmbSources.SetListIndex(1);
  EXPECT_EQ(settings.DiscInfoSources, "gnudb,MusicBrainz");
  EXPECT_EQ(Stored("Disc information sources"), "gnudb,MusicBrainz");

  prefs.txtCountry.SetText("d");  // still typing
  EXPECT_EQ(Stored("Preferred country"), "(none)");
  prefs.txtCountry.SetText("de");
  EXPECT_EQ(Stored("Preferred country"), "DE");
  prefs.txtCountry.SetText("");
  EXPECT_EQ(Stored("Preferred country"), "");

  prefs.txtMusicBrainzUrl.SetText("http://127.0.0.1:5000");
  EXPECT_EQ(settings.MusicBrainzUrl, "http://127.0.0.1:5000");
  prefs.txtMusicBrainzUrl.SetText("127.0.0.1:5000");
  EXPECT_EQ(Stored("MusicBrainz URL"), "http://127.0.0.1:5000");
  EXPECT_EQ(settings.MusicBrainzUrl, "http://127.0.0.1:5000");
  EXPECT_NE(prefs.lblAddressNote.Caption(), "");
  prefs.txtGnudbUrl.SetText("https://gnudb.example.org");
  EXPECT_EQ(Stored("gnudb URL"), "https://gnudb.example.org");
  EXPECT_EQ(prefs.lblAddressNote.Caption(), "");
}

}  // namespace
}  // namespace korvalin
