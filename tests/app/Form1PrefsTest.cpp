// The main window and its Preferences dialog: loaded hidden at start so that the destination is
// settled before the collection is built, and shown by the toolbar button and the menu.

#include <gtest/gtest.h>

#include "app/Form1.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FileTree.h"

namespace korvalin {
namespace {

TEST(Form1Prefs, TheStartSettlesTheDestinationBeforeTheCollectionAndTheFinderLookThere) {
  test::FakeServices fake;
  fake.media.trackMs = {65000, 120500};
  fake.cd.identifications = {"Demo"};
  fake.cd.SetTrackLengths({4875, 9038});
  test::TempDir music;
  const std::string rips = music / "Rips";
  test::MakeTree(rips, {"Song.wav"});
  fake.store.values[{kSettingsApplication, kSettingsSection, "DecodePath"}] = rips;
  fake.store.values[{kSettingsApplication, kSettingsSection, "mute button"}] = "0";
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.Form_Load();

  EXPECT_TRUE(form.windows.prefs.window.Loaded());
  EXPECT_FALSE(form.windows.prefs.window.Visible());
  EXPECT_EQ(form.settings.DecodePath, rips);
  EXPECT_EQ(form.displays.Label2.Caption(), "Destination:  " + rips + "/");
  EXPECT_EQ(test::Inside(form.collection).List1.Items(), (std::vector<std::string>{rips + "/Song.wav"}));
  EXPECT_EQ(form.windows.finder.Dir1.Text(), rips);
  EXPECT_EQ(fake.mixer.Value(MixerLine::CompactDisc, MixerControlType::Mute), 0);  // unmuted at start

  form.toolbar.Copt.Click();
  EXPECT_TRUE(form.windows.prefs.window.Visible());
  form.windows.prefs.Form_Unload();
  form.mnuGetMainPrefs.Click();
  EXPECT_TRUE(form.windows.prefs.window.Visible());
  EXPECT_EQ(fake.dialogs.MessageTexts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace korvalin
