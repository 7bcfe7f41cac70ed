#include "platform/linux/CdioLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "rip/modAKRip32.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using namespace cdrecord;

std::array<uint8_t, kOpenRequestSize> Request(uint8_t adapter) {
  std::array<uint8_t, kOpenRequestSize> r{};
  r[0] = 12;
  r[1] = 1;
  r[2] = adapter;
  return r;
}

void SetRequest(std::vector<uint8_t>& buffer, int32_t first, int32_t frames, uint32_t capacity = kTrackDataSize) {
  std::memcpy(buffer.data(), &first, 4);
  std::memcpy(buffer.data() + 4, &frames, 4);
  std::memcpy(buffer.data() + 8, &capacity, 4);
}

class CdioLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracks = {discgen::MusicCdFrames(27, 1), discgen::MusicCdFrames(53, 2), discgen::MusicCdFrames(312, 3)};
    cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  }
  test::TempDir dir;
  std::vector<std::string> tracks;
  std::string cue;
};

TEST_F(CdioLibraryTest, ReadsTheTableAsProgramAreaAddressesWithTheLeadOutLast) {
  CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
  EXPECT_EQ(lib.GetNumAdapters(), 1);
  modAKRip32 cd(lib);
  ASSERT_TRUE(cd.OpenDrive(0));
  EXPECT_EQ(cd.TrackFirstFrame(1), 0);
  EXPECT_EQ(cd.TrackFirstFrame(2), 27);
  EXPECT_EQ(cd.TrackFirstFrame(3), 80);
  EXPECT_EQ(cd.TrackEndFrame(3), 392);
  EXPECT_EQ(cd.CurrentToc[4 + 8 * 3 + 2], 0xAA);  // the lead-out entry
  EXPECT_EQ(DriveListText(cd.GetDriveEntry(0)), "disc.cue");
}

TEST_F(CdioLibraryTest, ReadsExactlyTheImageBytesAndRefusesReadsOffTheDisc) {
  CdioLibrary lib({CdioLibrary::ImageDrive(cue)});
  const int32_t h = lib.GetCDHandle(Request(0).data());
  ASSERT_GT(h, 0);
  std::vector<uint8_t> buffer(kTrackBufferSize);
  SetRequest(buffer, 27, 26);
  ASSERT_EQ(lib.ReadCDAudioLBA(h, buffer.data()), 1);
  EXPECT_EQ(std::memcmp(buffer.data() + kTrackHeaderSize, tracks[1].data(), 26 * kFrameSize), 0);

  SetRequest(buffer, 380, 13);  // runs past the lead-out at 392
  EXPECT_EQ(lib.ReadCDAudioLBA(h, buffer.data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kReadFailed);
  SetRequest(buffer, 392, 1);  // the lead-out itself
  EXPECT_EQ(lib.ReadCDAudioLBA(h, buffer.data()), 0);
  SetRequest(buffer, 380, 12);  // the last frames exactly
  EXPECT_EQ(lib.ReadCDAudioLBA(h, buffer.data()), 1);
  EXPECT_EQ(lib.GetAspiLibError(), 0);
  SetRequest(buffer, 0, 26, 26 * kFrameSize - 1);
  EXPECT_EQ(lib.ReadCDAudioLBA(h, buffer.data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kBufferTooSmall);
}

TEST_F(CdioLibraryTest, HandlesAreCheckedCountedAndReleased) {
  std::vector<CdDriveSource> drives;
  for (int i = 0; i < 9; ++i) drives.push_back(CdioLibrary::ImageDrive(cue));
  drives.push_back({dir / "missing.cue", "missing.cue", true});
  CdioLibrary lib(drives);
  std::vector<uint8_t> buffer(kTrackBufferSize);
  std::array<uint8_t, kTocSize> toc{};

  auto bad = Request(0);
  bad[0] = 16;
  EXPECT_EQ(lib.GetCDHandle(bad.data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kBadRequestVersion);
  EXPECT_EQ(lib.GetCDHandle(Request(10).data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kNotACdDevice);
  EXPECT_EQ(lib.GetCDHandle(Request(9).data()), 0);  // the image cannot be opened
  EXPECT_EQ(lib.GetAspiLibError(), kNotACdDevice);

  std::vector<int32_t> handles;
  for (uint8_t i = 0; i < 8; ++i) handles.push_back(lib.GetCDHandle(Request(i).data()));
  EXPECT_EQ(handles, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(lib.GetCDHandle(Request(0).data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kAlreadyOpen);
  EXPECT_EQ(lib.GetCDHandle(Request(8).data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kNoFreeHandle);

  EXPECT_EQ(lib.CloseCDHandle(3), 1);
  EXPECT_EQ(lib.ReadTOC(3, toc.data()), 0);
  EXPECT_EQ(lib.GetAspiLibError(), kInvalidHandle);
  EXPECT_EQ(lib.ReadCDAudioLBA(0, buffer.data()), 0);
  EXPECT_EQ(lib.CloseCDHandle(3), 0);
  EXPECT_EQ(lib.GetCDHandle(Request(8).data()), 3);  // the freed slot is used again
}

TEST(CdioLibraryDrives, ImagesOfTheDiscsFolderComeInNameOrder) {
  test::TempDir dir;
  const std::string one = discgen::MusicCdFrames(10);
  for (const char* name : {"b", "A", "a", "c"}) discgen::WriteDiscImage(dir.Path(), name, {one});
  std::rename((dir / "c.cue").c_str(), (dir / "c.CUE").c_str());
  test::WriteFile(dir / "notes.txt", "x");
  std::vector<std::string> images;
  for (const auto& d : CdioLibrary::FindDrives(dir.Path())) {
    if (d.isImage) images.push_back(d.identification);
  }
  EXPECT_EQ(images, (std::vector<std::string>{"A.cue", "a.cue", "b.cue", "c.CUE"}));
  EXPECT_TRUE(CdioLibrary::FindDrives(dir / "no-such-folder").empty() ||
              !CdioLibrary::FindDrives(dir / "no-such-folder").front().isImage);
}

}  // namespace
}  // namespace korvalin
