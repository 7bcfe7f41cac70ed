#include "platform/qtcore/QtSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "common/RaisedError.h"
#include "platform/qtcore/ReadableIni.h"
#include "settings/Settings.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::ReadFile;
using test::TempDir;

TEST(QtSettingsStore, AValueSavedSurvivesANewStoreOnTheSameFolder) {
  TempDir dir;
  {
    QtSettingsStore store(dir.Path());
    EXPECT_EQ(store.get("Korvalin v2.0", "Settings", "Encoding bitrate", "5"), "5");
    store.save("Korvalin v2.0", "Settings", "Encoding bitrate", "9");
    store.save("Korvalin v2.0", "Settings", "Encoding bitrate", "11");  // replaces
  }
  QtSettingsStore again(dir.Path());
  EXPECT_EQ(again.get("Korvalin v2.0", "Settings", "Encoding bitrate", "5"), "11");
  EXPECT_EQ(again.get("Korvalin v2.0", "music", "Encoding bitrate", "none"), "none");  // sections apart
  EXPECT_EQ(again.get("Other", "Settings", "Encoding bitrate", "none"), "none");      // applications apart
  EXPECT_EQ(again.FilePath("Korvalin v2.0"), dir.Path() + "/Korvalin/Korvalin v2.0.ini");
}

TEST(QtSettingsStore, TheFileReadsAsPlainIniWithBlankKeysAndNumberedKeysInOrder) {
  TempDir dir;
  QtSettingsStore store(dir.Path());
  SaveSetting(store, "show full path", int16_t{1});
  SaveSetting(store, "DecodePath", std::string("/home/me/My Music"));
  for (int k : {10, 2, 1}) store.save("Korvalin v2.0", "music", std::to_string(k), "/m/" + std::to_string(k) + ".mp3");
  store.save("Korvalin v2.0", "music", "HowMany", "10");
  EXPECT_EQ(ReadFile(dir / "Korvalin/Korvalin v2.0.ini"),
            "[Settings]\n"
            "DecodePath=/home/me/My Music\n"
            "show full path=1\n"
            "\n"
            "[music]\n"
            "HowMany=10\n"
            "1=/m/1.mp3\n"
            "2=/m/2.mp3\n"
            "10=/m/10.mp3\n");
}

TEST(QtSettingsStore, ValuesAndKeysOfEveryShapeComeBackUnchanged) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> pairs{
      {"plain", "/a,b/c d/\xC3\xBC.mp3"},  // commas and UTF-8 stay one text
      {"blanks", "  padded  "},
      {"quoted", "\"quoted\" and \\back\\"},
      {"lines", "one\ntwo\r\tthree"},
      {"empty", ""},
      {"at", "@at"},
      {"k=v;#[x]%20", "odd key"},
      {" edge key ", "x"},
  };
  {
    QtSettingsStore store(dir.Path());
    for (const auto& [k, v] : pairs) store.save("App", "Sec [1]", k, v);
  }
  QtSettingsStore again(dir.Path());
  for (const auto& [k, v] : pairs) EXPECT_EQ(again.get("App", "Sec [1]", k, "missing"), v) << k;
}

TEST(QtSettingsStore, AHandEditedFileIsReadAndItsOddLinesSkipped) {
  TempDir dir;
  ::mkdir((dir / "Korvalin").c_str(), 0700);
  test::WriteFile(dir / "Korvalin/Korvalin v2.0.ini",
                  "; written by hand\r\n"
                  "[Settings]\r\n"
                  "  HDWarningNo =  250 \r\n"
                  "not a key line\r\n"
                  "=no key\r\n"
                  "[music]\n"
                  "1=\"/quoted path \"\n");
  QtSettingsStore store(dir.Path());
  EXPECT_EQ(store.get("Korvalin v2.0", "Settings", "HDWarningNo", "100"), "250");
  EXPECT_EQ(store.get("Korvalin v2.0", "music", "1", "0"), "/quoted path ");
  Settings s;
  LoadSettings(store, s, "/p");
  EXPECT_EQ(s.HDWarningNo, 250);
  EXPECT_EQ(s.HDWarning, 1);
}

TEST(QtSettingsStore, AFileThatCannotBeWrittenRaisesAnError) {
  TempDir dir;
  test::WriteFile(dir / "Korvalin", "a file where the folder should be");
  QtSettingsStore store(dir.Path());
  try {
    store.save("Korvalin v2.0", "Settings", "HDWarning", "0");
    FAIL() << "no error raised";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::PathFileAccessError);
  }
}

TEST(QtSettingsStore, ByDefaultTheFileLivesInTheUsersConfigFolder) {
  const char* config = std::getenv("XDG_CONFIG_HOME");  // the test's own, made by its main
  ASSERT_NE(config, nullptr);
  QtSettingsStore store;
  EXPECT_EQ(store.FilePath("Korvalin v2.0"), std::string(config) + "/Korvalin/Korvalin v2.0.ini");
  EXPECT_EQ(store.FilePath("a/../b"), std::string(config) + "/Korvalin/a_.._b.ini");  // one file, never a path
}

TEST(ReadableIni, NumberedKeysFollowNamedOnesInNumericOrder) {
  using qtcore::IniKeyBefore;
  EXPECT_TRUE(IniKeyBefore("HowMany", "1"));
  EXPECT_FALSE(IniKeyBefore("1", "HowMany"));
  EXPECT_TRUE(IniKeyBefore("2", "10"));
  EXPECT_TRUE(IniKeyBefore("9", "010"));
  EXPECT_TRUE(IniKeyBefore("Audio format", "DecodePath"));
  EXPECT_FALSE(IniKeyBefore("7", "7"));
}

}  // namespace
}  // namespace korvalin
