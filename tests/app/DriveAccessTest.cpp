#include <gtest/gtest.h>

#include "app/Form1.h"
#include "common/RaisedError.h"
#include "tests/support/RaisedErrors.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/modAKRip32.h"
#include "tests/support/FakeServices.h"

namespace korvalin {
namespace {

using test::FakeCdLibrary;

using test::ErrorNumberOf;

TEST(DriveList, HasOneLineMoreThanAdaptersAndRunsZeroBytesTogether) {
  test::FakeServices fake;
  fake.cd.identifications = {std::string("HL-DT-ST\0DVD\0\0RW 1.00", 22), "Image B"};
  fake.cd.adapters = 2;
  fake.cd.SetTrackLengths({100, 200});
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.cdBar.FillDriveList();
  ASSERT_EQ(form.cdBar.cmbDrives.ListCount(), 3);
  EXPECT_EQ(form.cdBar.cmbDrives.List(0), "HL-DT-STDVDRW 1.00");
  EXPECT_EQ(form.cdBar.cmbDrives.List(1), "Image B");
  EXPECT_EQ(form.cdBar.cmbDrives.List(2), "");
  // Selecting the first line closed (nothing) and opened drive 0, reading its table.
  EXPECT_EQ(form.cdBar.cmbDrives.ListIndex(), 0);
  EXPECT_EQ(form.programJobs.cd.CurrentDriveHandle, 1);
  EXPECT_EQ(form.programJobs.cd.TrackEndFrame(2), 300);
  EXPECT_EQ(fake.cd.closes, 1);
}

TEST(DriveList, MoreAdaptersThanEntriesStopsAtTheEightEntriesTheListHolds) {
  test::FakeServices fake;
  for (int i = 0; i < 9; ++i) fake.cd.identifications.push_back("Drive " + std::to_string(i));
  ProgramJobs formJobs{fake.services};
  Form1 form(fake.services, formJobs);
  form.cdBar.FillDriveList();  // lines 8 and 9 raise the bounds error, which the fill passes over
  EXPECT_EQ(form.cdBar.cmbDrives.ListCount(), 8);
}

TEST(DriveList, WithNoDriveAndNoImageStaysEmptyAndNothingFails) {
  test::FakeServices fake;
  CdioLibrary none({});
  Services services = fake.With(none);
  ProgramJobs formJobs{services};
  Form1 form(services, formJobs);
  form.cdBar.FillDriveList();
  EXPECT_EQ(form.cdBar.cmbDrives.ListCount(), 0);
  EXPECT_EQ(form.programJobs.cd.CurrentDriveHandle, 0);
  EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST(modAKRip32, AFailedOpenKeepsTheTableAndAFailedTableKeepsTheHandle) {
  FakeCdLibrary lib;
  lib.identifications = {"A"};
  lib.SetTrackLengths({10, 20});
  modAKRip32 cd(lib);
  ASSERT_TRUE(cd.OpenDrive(0));
  const TocRecord before = cd.CurrentToc;
  lib.openFails = true;
  EXPECT_FALSE(cd.OpenDrive(0));
  EXPECT_EQ(cd.CurrentDriveHandle, 0);
  EXPECT_EQ(cd.CurrentToc, before);
  lib.openFails = false;
  lib.tocAddresses.clear();
  EXPECT_FALSE(cd.OpenDrive(0));
  EXPECT_EQ(cd.CurrentDriveHandle, 1);
  EXPECT_EQ(cd.LibraryErrorText(), "The handle to the CD-ROM unit is invalid.");
  EXPECT_EQ(ErrorNumberOf([&] { cd.GetDriveEntry(8); }), errnum::SubscriptOutOfRange);
}

TEST(modAKRip32, TrackExtentsComeFromTheTableAsPositive31BitAddresses) {
  FakeCdLibrary lib;
  lib.identifications = {"A"};
  lib.tocAddresses = {0, 27, 27, 339, 5000};  // track 2 has no frames
  modAKRip32 cd(lib);
  ASSERT_TRUE(cd.OpenDrive(0));
  EXPECT_EQ(cd.TrackFirstFrame(1), 0);
  EXPECT_EQ(cd.TrackEndFrame(1), 27);
  EXPECT_EQ(cd.TrackEndFrame(2) - cd.TrackFirstFrame(2), 0);
  EXPECT_EQ(cd.TrackEndFrame(4), 5000);  // the last track runs to the lead-out
  EXPECT_EQ(ErrorNumberOf([&] { cd.TrackFirstFrame(100); }), errnum::SubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { cd.TrackFirstFrame(0); }), errnum::SubscriptOutOfRange);

  const uint8_t big[4] = {0x7F, 0xFF, 0xFF, 0xFF}, tooBig[4] = {0x80, 0, 0, 0}, some[4] = {0, 1, 2, 3};
  EXPECT_EQ(modAKRip32::TrackAddress(big), 2147483647);
  EXPECT_EQ(modAKRip32::TrackAddress(some), 66051);
  EXPECT_EQ(ErrorNumberOf([&] { modAKRip32::TrackAddress(tooBig); }), errnum::Overflow);
}

TEST(AkripErrorText, KnowsTheLibraryCodesAndNothingElse) {
  EXPECT_EQ(AkripErrorText(0), "No error...");
  EXPECT_EQ(AkripErrorText(-8), "All available slots for CD-ROM handles have been allocated.");
  EXPECT_EQ(AkripErrorText(-14), "Invalid version or size specified in LPGETCDHAND parameter to GetCDHandle");
  EXPECT_EQ(AkripErrorText(-16), "");
  EXPECT_EQ(AkripErrorText(1), "");
}

}  // namespace
}  // namespace korvalin
