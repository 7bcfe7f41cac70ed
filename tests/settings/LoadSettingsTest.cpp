#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "tests/support/MemorySettingsStore.h"

namespace korvalin {
namespace {

using test::MemorySettingsStore;

void Put(MemorySettingsStore& store, const std::string& key, const std::string& value) {
  store.values[{kSettingsApplication, kSettingsSection, key}] = value;
}

TEST(LoadSettings, AnEmptyStoreGivesTheDefaultsReadInTheFixedOrder) {
  MemorySettingsStore store;
  Settings s;
  LoadSettings(store, s, "/opt/korvalin");
  EXPECT_EQ(s.AudioFormat, 1);
  EXPECT_EQ(s.EncodingQuality, 5);
  EXPECT_EQ(s.EncodingBitrate, 5);
  EXPECT_EQ(s.HDWarning, 1);
  EXPECT_EQ(s.HDWarningNo, 100);
  EXPECT_EQ(s.HDstopdecoding, 1);
  EXPECT_EQ(s.HDStopNo, 50);
  EXPECT_EQ(s.DecodePath, "/opt/korvalin");
  EXPECT_EQ(s.DesktopIcon, 0);
  EXPECT_EQ(s.MinimizeOnstart, 0);
  EXPECT_EQ(s.DeleteWAV, 1);
  EXPECT_EQ(s.ShowFullPath, 1);
  EXPECT_EQ(s.EncodeAfterExtracting, 1);
  EXPECT_EQ(s.MuteButton, 1);
  const std::vector<std::string> order{"Audio format", "Encoding quality", "Encoding bitrate", "HDWarning",
                                       "HDWarningNo", "HDstopdecoding", "HDStopNo", "DecodePath",
                                       "desktop icon", "minimize onstart", "Delete WAV", "show full path",
                                       "encode after extracting", "mute button"};
  EXPECT_EQ(store.asked, order);
}

TEST(LoadSettings, ABadNumberIsSkippedAndLeavesTheOtherKeysAlone) {
  for (const std::string bad : {"lots", "40000", "-32769", "", "12abc"}) {
    SCOPED_TRACE(bad);
    MemorySettingsStore store;
    Put(store, "HDWarningNo", bad);
    Put(store, "HDstopdecoding", "0");
    Put(store, "HDWarning", "0");
    Settings s;
    LoadSettings(store, s, "/p");
    EXPECT_EQ(s.HDWarningNo, 0);  // kept its value from before
    EXPECT_EQ(s.HDWarning, 0);
    EXPECT_EQ(s.HDstopdecoding, 0);
    EXPECT_EQ(s.HDStopNo, 50);
    EXPECT_EQ(s.MuteButton, 1);
  }
  // A reload keeps the value already held rather than resetting it.
  MemorySettingsStore store;
  Put(store, "HDStopNo", "oops");
  Settings s;
  s.HDStopNo = 75;
  LoadSettings(store, s, "/p");
  EXPECT_EQ(s.HDStopNo, 75);
}

TEST(LoadSettings, NumbersMayCarryBlanksAndFractionsRoundHalvesToEven) {
  MemorySettingsStore store;
  Put(store, "Encoding quality", "  3  ");
  Put(store, "Encoding bitrate", "2.5");
  Put(store, "HDWarningNo", "3.5");
  Put(store, "HDStopNo", "-32768");
  Put(store, "Audio format", "32767");
  Put(store, "DecodePath", "/home/me/My Music");
  Settings s;
  LoadSettings(store, s, "/p");
  EXPECT_EQ(s.EncodingQuality, 3);
  EXPECT_EQ(s.EncodingBitrate, 2);
  EXPECT_EQ(s.HDWarningNo, 4);
  EXPECT_EQ(s.HDStopNo, -32768);
  EXPECT_EQ(s.AudioFormat, 32767);
  EXPECT_EQ(s.DecodePath, "/home/me/My Music");
}

}  // namespace
}  // namespace korvalin
