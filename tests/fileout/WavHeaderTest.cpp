#include "fileout/WavHeader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

uint32_t Le(const std::array<uint8_t, kWavHeaderSize>& h, std::size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | h[at + static_cast<std::size_t>(i)];
  return v;
}

TEST(WavHeader, EveryLayoutGetsItsOwnAlignmentAndByteRate) {
  struct Case {
    PcmLayout layout;
    uint32_t align, byteRate;
  };
  for (const Case& c : {Case{{2, 44100, 16}, 4, 176400}, Case{{1, 22050, 16}, 2, 44100}, Case{{1, 8000, 8}, 1, 8000},
                        Case{{2, 48000, 16}, 4, 192000}}) {
    const auto h = BuildPcmWavHeader(c.layout, 1000);
    EXPECT_EQ(std::memcmp(h.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le(h, 4, 4), 1036u);
    EXPECT_EQ(std::memcmp(h.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(Le(h, 20, 2), 1u);  // PCM
    EXPECT_EQ(Le(h, 22, 2), c.layout.channels);
    EXPECT_EQ(Le(h, 24, 4), c.layout.samplesPerSecond);
    EXPECT_EQ(Le(h, 28, 4), c.byteRate);
    EXPECT_EQ(Le(h, 32, 2), c.align);
    EXPECT_EQ(Le(h, 34, 2), c.layout.bitsPerSample);
    EXPECT_EQ(std::memcmp(h.data() + 36, "data", 4), 0);
    EXPECT_EQ(Le(h, 40, 4), 1000u);
  }
}

TEST(WavHeader, CdAudioIsTheCdLayoutAndRefusesALengthPastTheRiffField) {
  EXPECT_EQ(BuildCdWavHeader(2352), BuildPcmWavHeader(kCdAudioLayout, 2352));
  EXPECT_NO_THROW(BuildCdWavHeader(kMaxWavDataLength));
  EXPECT_THROW(BuildCdWavHeader(kMaxWavDataLength + 1), RaisedError);
}

}  // namespace
}  // namespace korvalin
