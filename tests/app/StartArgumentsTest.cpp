// What "Open with" hands the program: files join the collection, a drive becomes the chosen one.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Form1.h"
#include "tests/support/CollectionInside.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

using Strings = std::vector<std::string>;

TEST(StartArguments, TheDriveIsChosenAndTheFilesJoinTheCollection) {
  test::FakeServices fake;
  fake.cd.identifications = {"first drive", "second drive"};
  fake.cd.SetTrackLengths({300, 400});
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.Form_Load();
  test::TempDir dir;
  const std::string song = dir / "song.mp3", take = dir / "take.wav";
  test::WriteFile(song, std::string(4096, 'm'));
  test::WriteFile(take, std::string(4096, 'w'));
  StartArguments given;
  given.files = {song, take};
  given.drive = 1;
  ApplyStartArguments(form, given);
  EXPECT_EQ(form.cdBar.cmbDrives.ListIndex(), 1);
  EXPECT_EQ(test::Inside(form.collection).List2.Items(), Strings{song});
  const auto& wavs = test::Inside(form.collection).List1.Items();
  EXPECT_TRUE(std::find(wavs.begin(), wavs.end(), take) != wavs.end());
}

}  // namespace
}  // namespace korvalin
