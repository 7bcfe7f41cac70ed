#include "platform/linux/ParanoiaReader.h"

#include <gtest/gtest.h>

#include <cdio/cdio.h>

#include <vector>

#include "platform/linux/CdioLibrary.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using test::TempDir;

// No drive here: paranoia reads a generated image through libcdio's own image driver, which
// serves it the way a drive would. The sheet is the project's own, so that driver is safe here.
TEST(ParanoiaReader, ReadsAnImageExactlyWithNothingToCorrectAndSeeksWhenTheReadJumps) {
  TempDir dir;
  const std::vector<std::string> tracks = {discgen::MusicCdFrames(150, 4), discgen::MusicCdFrames(400, 5)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  CdIo_t* cdio = cdio_open(cue.c_str(), DRIVER_BINCUE);
  ASSERT_NE(cdio, nullptr);
  {
    auto reader = ParanoiaReader::Open(cdio);
    ASSERT_NE(reader, nullptr);
    CorrectingReader::Findings findings;
    std::string track2(tracks[1].size(), '\0');
    auto* out = reinterpret_cast<uint8_t*>(track2.data());
    for (int32_t f = 0; f < 400; f += 26) {
      const int32_t n = std::min(26, 400 - f);
      ASSERT_TRUE(reader->Read(150 + f, n, out + static_cast<std::size_t>(f) * 2352, findings)) << f;
    }
    EXPECT_TRUE(track2 == tracks[1]);
    // Back to the start of the disc: the reader seeks instead of reading on.
    std::string head(26 * 2352, '\0');
    ASSERT_TRUE(reader->Read(0, 26, reinterpret_cast<uint8_t*>(head.data()), findings));
    EXPECT_TRUE(head == tracks[0].substr(0, head.size()));
    EXPECT_EQ(findings.rereads, 0u);
    EXPECT_TRUE(findings.uncorrected.empty());
  }
  cdio_destroy(cdio);  // the reader left the handle to its owner
}

TEST(ParanoiaReader, OnlyARealDriveOffersIt) {
  TempDir dir;
  CdioLibrary image({CdioLibrary::ImageDrive(discgen::WriteDiscImage(dir.Path(), "disc", {discgen::MusicCdFrames(30, 1)}))});
  uint8_t request[cdrecord::kOpenRequestSize] = {cdrecord::kOpenRequestSizeByte, cdrecord::kOpenRequestVersion, 0, 0, 0};
  const int32_t handle = image.GetCDHandle(request);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(image.OpenCorrectingReader(handle), nullptr);
  EXPECT_EQ(image.OpenCorrectingReader(handle + 1), nullptr);
  EXPECT_EQ(ParanoiaReader::Open(nullptr), nullptr);
}

}  // namespace
}  // namespace korvalin
