#include "settings/TagSettings.h"

#include <gtest/gtest.h>

#include "tests/support/MemorySettingsStore.h"
#include "window/JobOptions.h"

namespace korvalin {
namespace {

TEST(TagSettings, TheVersionIsThreeUnlessStoredAsFourOrNoneAndABadValueChangesNothing) {
  struct Row {
    const char* stored;  // nullptr: no key
    int before;
    int after;
  };
  for (const Row& row : {Row{nullptr, 3, 3}, Row{"4", 3, 4}, Row{"0", 3, 0}, Row{" 3 ", 4, 3}, Row{"2", 4, 3},
                         Row{"24", 0, 3}, Row{"v4", 4, 4}, Row{"70000", 0, 0}}) {
    SCOPED_TRACE(row.stored ? row.stored : "(none)");
    test::MemorySettingsStore store;
    if (row.stored) store.values[{kSettingsApplication, kSettingsSection, "Tag version"}] = row.stored;
    Settings s;
    s.TagVersion = row.before;
    LoadTagSettings(store, s);
    EXPECT_EQ(s.TagVersion, row.after);
  }
}

TEST(TagSettings, TheChoiceIsSavedAndAJobTakesIt) {
  for (const auto& [chosen, saved] : {std::pair{4, "4"}, std::pair{0, "0"}, std::pair{3, "3"}, std::pair{7, "3"}}) {
    SCOPED_TRACE(chosen);
    test::MemorySettingsStore store;
    Settings s;
    SaveTagVersion(store, s, chosen);
    EXPECT_EQ((store.values[{kSettingsApplication, kSettingsSection, "Tag version"}]), saved);
    Settings loaded;
    LoadTagSettings(store, loaded);
    EXPECT_EQ(loaded.TagVersion, s.TagVersion);
    JobOptions options;
    options.TakeSettings(loaded);
    EXPECT_EQ(options.tagVersion, std::stoi(saved));
  }
}

}  // namespace
}  // namespace korvalin
