#include "settings/FrmPrefs.h"

#include <gtest/gtest.h>

#include "common/RaisedError.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

using controls::CheckBox;
using test::FakeServices;

class FrmPrefsTest : public ::testing::Test {
 protected:
  FrmPrefsTest() {
    // The tray form as the dialog drives it: what it was asked goes into the shared log.
    prefs.OnDesktopIcon = [this](bool shown) { log.push_back(shown ? "load tray" : "unload tray"); };
    prefs.DriveSurvey = [this] {
      log.push_back("survey");
      prefs.Text6.SetText("/ - 12345 MB available\r\n");
    };
  }

  std::string Stored(const std::string& key) {
    auto it = fake.store.values.find({kSettingsApplication, kSettingsSection, key});
    return it == fake.store.values.end() ? "(none)" : it->second;
  }
  void Store(const std::string& key, const std::string& value) {
    fake.store.values[{kSettingsApplication, kSettingsSection, key}] = value;
  }
  // Reads the settings as the main window does, then loads the dialog hidden.
  void Load() {
    LoadSettings(fake.store, settings, fake.programFolder.Path());
    prefs.Form_Load();
  }
  std::string Default() const { return fake.programFolder / "WAVFiles"; }

  FakeServices fake;
  Settings settings;
  std::vector<std::string> log;
  FrmPrefs prefs{fake.services, settings, {"Low", "Normal", "High", "Voice", "Phone", "Radio"}};
};

TEST_F(FrmPrefsTest, EveryCheckBoxSavesItsSettingAndSetsItsValueBothWays) {
  Load();
  struct Row {
    CheckBox& box;
    const char* key;
    int16_t& value;
  };
  const Row rows[] = {{prefs.Check6, "HDWarning", settings.HDWarning},
                      {prefs.Check7, "HDstopdecoding", settings.HDstopdecoding},
                      {prefs.Check3, "Delete WAV", settings.DeleteWAV},
                      {prefs.Check11, "show full path", settings.ShowFullPath},
                      {prefs.Check5, "minimize onstart", settings.MinimizeOnstart},
                      {prefs.Check4, "desktop icon", settings.DesktopIcon},
                      {prefs.Check1, "mute button", settings.MuteButton}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    for (int click = 0; click < 2; ++click) {
      row.box.UserClick();
      const int16_t ticked = row.box.Value() == CheckBox::Checked ? 1 : 0;
      EXPECT_EQ(Stored(row.key), std::to_string(ticked));
      EXPECT_EQ(row.value, ticked);
    }
  }
  // "Encode to MP3 after extracting" only changes its caption.
  Store("encode after extracting", "1");
  prefs.Check10.UserClick();
  EXPECT_EQ(prefs.Check10.Caption(), "Do not Encode after extracting");
  prefs.Check10.UserClick();
  EXPECT_EQ(prefs.Check10.Caption(), "Encode to MP3 after extracting");
  EXPECT_EQ(Stored("encode after extracting"), "1");
  EXPECT_EQ(settings.EncodeAfterExtracting, 1);
}

TEST_F(FrmPrefsTest, AThresholdBoxHoldsOnlyWhatCanBeStoredAndSavesWhatItShows) {
  Load();
  // Each text as typed into the warning box, then what the box shows and what is stored.
  const struct {
    const char* typed;
    const char* shown;
    const char* stored;
  } rows[] = {{"75", "75", "75"},        {"750", "750", "750"}, {"7500", "7500", "7500"},
              {"75000", "7500", "7500"}, {"32767", "32767", "32767"}, {"32768", "32767", "32767"},
              {"", "", "32767"},         {"-5", "", "32767"}, {" 12", "", "32767"},
              {"1.5", "", "32767"},      {"lots", "", "32767"}, {"007", "007", "7"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    prefs.Text7.SetText(row.typed);
    prefs.Text7.KeyUp('x', 0);
    EXPECT_EQ(prefs.Text7.Text(), row.shown);
    EXPECT_EQ(Stored("HDWarningNo"), row.stored);
  }
  EXPECT_EQ(settings.HDWarningNo, 7);

  // "Set" saves all four; an empty box is refused with a word and shows the stored value again.
  prefs.Check6.SetValue(CheckBox::Unchecked);
  fake.store.values.clear();
  prefs.Text7.SetText("300");
  prefs.Text8.SetText("");
  prefs.Command1.Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{kThresholdRangeText});
  EXPECT_EQ(Stored("HDWarning"), "0");
  EXPECT_EQ(Stored("HDstopdecoding"), "1");
  EXPECT_EQ(Stored("HDWarningNo"), "300");
  EXPECT_EQ(Stored("HDStopNo"), "50");
  EXPECT_EQ(prefs.Text8.Text(), "50");
  EXPECT_EQ(settings.HDWarningNo, 300);
}

TEST_F(FrmPrefsTest, ListsSetTheirValuesAtOnceAndClosingSavesQualityBitrateAndFormat) {
  Load();
  ASSERT_EQ(prefs.cbxFormat.Items(),
            (std::vector<std::string>{"44.100Hz, 16bit Mono, 86k/sec", "44.100Hz, 16bit Stereo, 172k/sec"}));
  EXPECT_EQ(prefs.cbxFormat.ListIndex(), 1);
  EXPECT_EQ(Stored("Audio format"), "(none)");  // showing the stored format saves nothing
  prefs.cbxFormat.SetListIndex(0);
  EXPECT_EQ(Stored("Audio format"), "0");
  EXPECT_EQ(settings.AudioFormat, 0);

  EXPECT_EQ(prefs.Combo2.ListCount(), 14);
  EXPECT_EQ(prefs.Combo2.List(8), "128");
  EXPECT_EQ(prefs.Combo2.ListIndex(), 5);  // the lists open at the values in use
  prefs.Combo2.SetListIndex(8);
  prefs.Combo1.SetListIndex(2);
  EXPECT_EQ(settings.EncodingBitrate, 8);
  EXPECT_EQ(settings.EncodingQuality, 2);
  EXPECT_EQ(Stored("Encoding bitrate"), "8");  // in use at once

  settings.AudioFormat = 1;
  prefs.Form_Unload();
  EXPECT_EQ(Stored("Encoding bitrate"), "8");
  EXPECT_EQ(Stored("Encoding quality"), "2");
  EXPECT_EQ(Stored("Audio format"), "1");
  EXPECT_FALSE(prefs.window.Loaded());
  EXPECT_FALSE(prefs.window.Visible());
}

TEST_F(FrmPrefsTest, TheMuteButtonMutesAndUnmutesTheCdLineAndTheTrayBoxDrivesTheTrayForm) {
  Load();
  fake.mixer.calls.clear();
  prefs.Check1.UserClick();
  EXPECT_EQ(prefs.Check1.Caption(), "Play");
  EXPECT_EQ(fake.mixer.Value(MixerLine::CompactDisc, MixerControlType::Mute), 0);
  prefs.Check1.UserClick();
  EXPECT_EQ(prefs.Check1.Caption(), "Mute");
  EXPECT_EQ(fake.mixer.Value(MixerLine::CompactDisc, MixerControlType::Mute), 1);
  EXPECT_EQ(fake.mixer.calls, (std::vector<std::string>{"LookUp CD Mute", "Set 5 0", "LookUp CD Mute", "Set 5 1"}));

  prefs.Show();
  log.clear();
  prefs.Check4.UserClick();
  EXPECT_FALSE(prefs.window.Visible());
  prefs.Check4.UserClick();
  EXPECT_TRUE(prefs.window.Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"load tray", "unload tray"}));
}

TEST_F(FrmPrefsTest, LoadShowsTheSettingsAndRunsTheClickOfEveryBoxThatDiffersInOrder) {
  // Defaults everywhere: the mute and tray boxes keep their initial state, so neither the CD mute
  // nor the tray form is touched.
  Load();
  EXPECT_EQ(fake.mixer.calls, (std::vector<std::string>{"Open", "LookUp Speakers Volume", "Get 1", "LookUp CD Volume",
                                                        "Get 2", "LookUp Speakers Bass", "Get 3",
                                                        "LookUp Speakers Treble", "Get 4", "Set 1 65535",
                                                        "Set 2 65535"}));
  EXPECT_EQ(log, (std::vector<std::string>{"survey"}));
  EXPECT_EQ(prefs.Check6.Value(), CheckBox::Checked);
  EXPECT_EQ(prefs.Text7.Text(), "100");
  EXPECT_EQ(prefs.Text8.Text(), "50");
  EXPECT_EQ(prefs.Check1.Caption(), "Mute");
  EXPECT_EQ(prefs.Text6.Text(), "/ - 12345 MB available\r\n");
  EXPECT_EQ(Stored("HDWarningNo"), "(none)");  // setting a text box saves nothing
  EXPECT_EQ(Stored("HDWarning"), "1");         // a box that differs saves through its click
  EXPECT_FALSE(prefs.window.Visible());

  // Closed and loaded again with other settings: the boxes start from their design state again.
  prefs.Form_Unload();
  Store("mute button", "0");
  Store("desktop icon", "1");
  Store("encode after extracting", "0");
  Store("HDWarning", "0");
  fake.mixer.calls.clear();
  log.clear();
  Load();
  EXPECT_EQ(std::vector<std::string>(fake.mixer.calls.end() - 2, fake.mixer.calls.end()),
            (std::vector<std::string>{"LookUp CD Mute", "Set 5 0"}));  // unmuted at start
  EXPECT_EQ(prefs.Check1.Caption(), "Play");
  EXPECT_EQ(prefs.Check10.Caption(), "Do not Encode after extracting");
  EXPECT_EQ(prefs.Check6.Value(), CheckBox::Unchecked);
  EXPECT_EQ(log, (std::vector<std::string>{"load tray", "survey"}));  // tray before the survey
  EXPECT_FALSE(prefs.window.Visible());

  // Loading a loaded dialog does nothing; showing it does not load it again.
  log.clear();
  prefs.Show();
  EXPECT_TRUE(prefs.window.Visible());
  EXPECT_TRUE(log.empty());
}

TEST_F(FrmPrefsTest, TheStoredDestinationIsSettledAndCreatedAtLoad) {
  test::TempDir dir;
  struct Case {
    std::string stored;  // "(none)": no value stored
    std::string settled;
  };
  const Case cases[] = {
      {"(none)", Default()},
      {"", Default()},
      {"Rips", Default()},  // no "/" at all
      {dir / "Music/Rips", dir / "Music/Rips"},
      {dir / "Music/My Rips/", dir / "Music/My Rips/WAVFiles"},  // an empty name
      {dir / "Mixed/CaSe", dir / "Mixed/CaSe"},                  // the case is kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    fake.store.values.clear();
    if (c.stored != "(none)") Store("DecodePath", c.stored);
    if (prefs.window.Loaded()) prefs.Form_Unload();
    Load();
    EXPECT_EQ(settings.DecodePath, c.settled);
    EXPECT_EQ(prefs.Text9.Text(), c.settled);
    EXPECT_EQ(Stored("DecodePath"), c.settled);
    EXPECT_TRUE(test::Exists(c.settled));
    EXPECT_EQ(prefs.Text10.Text(), c.settled.substr(c.settled.rfind('/') + 1));
  }
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(FrmPrefsTest, ANewFolderIsCreatedBelowTheChosenOneOnlyWithAName) {
  test::TempDir dir;
  Load();
  const std::string before = settings.DecodePath;

  // A folder chosen in the tree is stored at once but used only after "Create".
  prefs.Dir2.SetPath(dir.Path());
  EXPECT_EQ(prefs.Text9.Text(), dir.Path());
  EXPECT_EQ(Stored("DecodePath"), dir.Path());
  EXPECT_EQ(settings.DecodePath, before);

  prefs.Check2.UserClick();
  EXPECT_TRUE(prefs.Picture6.Visible());
  EXPECT_EQ(prefs.Text10.Text(), "WAVFiles");  // the last name settled
  prefs.Text10.SetText("");
  prefs.Co111.Click();
  EXPECT_EQ(fake.dialogs.MessageTexts(), (std::vector<std::string>{"Enter a name for the Destination directory"}));
  EXPECT_EQ(prefs.Text9.Text(), dir.Path());
  EXPECT_EQ(settings.DecodePath, before);
  EXPECT_EQ(Stored("DecodePath"), dir.Path());
  EXPECT_TRUE(prefs.Picture6.Visible());

  prefs.Text9.SetText(dir.Path() + "/");
  prefs.Text10.SetText("New Rips");
  prefs.Co111.Click();
  EXPECT_TRUE(test::Exists(dir / "New Rips"));
  EXPECT_EQ(settings.DecodePath, dir / "New Rips");
  EXPECT_EQ(Stored("DecodePath"), dir / "New Rips");
  EXPECT_EQ(prefs.Check2.Value(), CheckBox::Unchecked);
  EXPECT_FALSE(prefs.Picture6.Visible());
}

TEST_F(FrmPrefsTest, AFolderThatCannotBeCreatedSaysSoTwiceAndKeepsTheStoredValue) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "not a folder");
  Store("DecodePath", dir / "file/Rips");
  Load();
  EXPECT_EQ(fake.dialogs.MessageTexts(),
            (std::vector<std::string>{"Error While Attempting to Create Directories on Destination Drive.",
                                      "Error in creating the path " + (dir / "file/Rips") +
                                          "  Create a new Destination path using the selection controls"}));
  EXPECT_EQ(Stored("DecodePath"), dir / "file/Rips");
  EXPECT_EQ(settings.DecodePath, dir / "file/Rips");  // in use, though it does not exist
}

// A store that refuses the next writes of one key, as a full or read-only disk would.
struct RefusingStore : test::MemorySettingsStore {
  int refusals = 0;
  void save(const std::string& a, const std::string& s, const std::string& k, const std::string& v) override {
    if (k == "DecodePath" && refusals > 0) {
      --refusals;
      throw RaisedError::Of(errnum::PathFileAccessError);
    }
    MemorySettingsStore::save(a, s, k, v);
  }
};

std::string StoredPath(test::MemorySettingsStore& store) {
  return store.values[{kSettingsApplication, kSettingsSection, "DecodePath"}];
}

TEST(FrmPrefsErrors, AnErrorWhileSettlingAsksForAFolderNameInTheDefaultPlace) {
  FakeServices fake;
  RefusingStore store;
  Services services = fake.With({.store = &store});
  Settings settings;
  FrmPrefs prefs{services, settings, {}};

  store.refusals = 1;
  fake.dialogs.inputAnswers = {std::string("Mine")};
  prefs.Form_Load();
  ASSERT_EQ(fake.dialogs.inputs.size(), 1u);
  EXPECT_EQ(fake.dialogs.inputs[0].prompt,
            "Error creating a new directory. Enter the name of the File directory you would like to create ");
  EXPECT_TRUE(test::Exists(fake.programFolder / "Mine"));
  EXPECT_EQ(StoredPath(store), fake.programFolder / "Mine");
  EXPECT_EQ(settings.DecodePath, fake.programFolder / "Mine");
  EXPECT_EQ(prefs.Text9.Text(), fake.programFolder / "Mine");
  EXPECT_EQ(prefs.Text10.Text(), "Mine");

  // Cancelled: no folder is made and the stored destination stays.
  prefs.Form_Unload();
  store.values[{kSettingsApplication, kSettingsSection, "DecodePath"}] = fake.programFolder / "Second";
  store.refusals = 1;
  fake.dialogs.inputAnswers = {std::nullopt};
  prefs.Form_Load();
  EXPECT_EQ(fake.dialogs.inputs.size(), 2u);
  EXPECT_EQ(StoredPath(store), fake.programFolder / "Second");
  EXPECT_EQ(prefs.Check2.Value(), controls::CheckBox::Unchecked);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvalin
