#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "rip/ReadOffsetLibrary.h"
#include "rip/ShiftedFrames.h"
#include "rip/TrackBuffer.h"
#include "rip/TrackReader.h"
#include "rip/modAKRip32.h"
#include "tests/support/FakeCdLibrary.h"

namespace korvalin {
namespace {

constexpr int32_t kFrame = 2352;

// A byte of the test disc at an absolute byte position: differs from one byte to the next.
uint8_t DiscByte(int64_t at) { return static_cast<uint8_t>((at * 131 + (at >> 9) * 7 + 1) & 0xFF); }

bool InSpans(const std::vector<FrameSpan>& spans, int32_t frame) {
  for (const FrameSpan& s : spans) {
    if (frame >= s.first && frame < s.end) return true;
  }
  return false;
}

// What a read of `count` frames from `first` must give with the shift: the disc's bytes that many
// samples on, silence where no audio stands.
std::vector<uint8_t> Expected(const std::vector<FrameSpan>& spans, int32_t shift, int32_t first, int32_t count) {
  std::vector<uint8_t> bytes(static_cast<std::size_t>(count) * kFrame);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int64_t at = static_cast<int64_t>(first) * kFrame + 4LL * shift + static_cast<int64_t>(i);
    const int32_t frame = static_cast<int32_t>(at >= 0 ? at / kFrame : -1);
    bytes[i] = InSpans(spans, frame) ? DiscByte(at) : 0;
  }
  return bytes;
}

TEST(ShiftedFrames, ReadsEachFrameOnceAndGivesTheBytesThatManySamplesOn) {
  struct Row {
    int32_t shift;
    std::vector<FrameSpan> audio;
  };
  const std::vector<FrameSpan> whole = {{0, 100}};
  const std::vector<FrameSpan> dataInside = {{0, 60}, {70, 100}};  // frames 60-69 are a data track
  for (const Row& row : {Row{6, whole}, Row{-6, whole}, Row{0, whole}, Row{588, whole}, Row{-588, whole},
                         Row{2000, whole}, Row{-2000, whole}, Row{1, dataInside}, Row{-1500, dataInside}}) {
    SCOPED_TRACE("shift " + std::to_string(row.shift) + ", spans " + std::to_string(row.audio.size()));
    std::vector<std::pair<int32_t, int32_t>> requests;
    const ShiftedFrames::Source source = [&](int32_t first, int32_t count, uint8_t* out) {
      requests.emplace_back(first, count);
      for (int64_t i = 0; i < static_cast<int64_t>(count) * kFrame; ++i) out[i] = DiscByte(first * int64_t{kFrame} + i);
      return true;
    };
    ShiftedFrames shifted(row.shift, row.audio);
    // A rip's reads, block by block through the disc: 26 frames at a time, a short last block.
    std::vector<uint8_t> out;
    for (int32_t first = 0; first < 100; first += 26) {
      const int32_t count = std::min(26, 100 - first);
      out.assign(static_cast<std::size_t>(count) * kFrame, 0xEE);
      ASSERT_TRUE(shifted.Read(source, first, count, out.data()));
      ASSERT_TRUE(out == Expected(row.audio, row.shift, first, count)) << "block at " << first;
    }
    // Only frames that hold audio were asked for, each once, and each request followed on from the last.
    std::set<int32_t> asked;
    for (const auto& [first, count] : requests) {
      for (int32_t f = first; f < first + count; ++f) {
        EXPECT_TRUE(InSpans(row.audio, f)) << f;
        EXPECT_TRUE(asked.insert(f).second) << "frame " << f << " read twice";
      }
    }
  }
}

TEST(ShiftedFrames, AFailedReadFailsAndTheNextReadTrustsNothingOfIt) {
  const std::vector<FrameSpan> audio = {{0, 100}};
  bool failing = false;
  int reads = 0;
  const ShiftedFrames::Source source = [&](int32_t first, int32_t count, uint8_t* out) {
    ++reads;
    for (int64_t i = 0; i < static_cast<int64_t>(count) * kFrame; ++i) out[i] = DiscByte(first * int64_t{kFrame} + i);
    return !failing;
  };
  ShiftedFrames shifted(6, audio);
  std::vector<uint8_t> out(26 * kFrame);
  ASSERT_TRUE(shifted.Read(source, 0, 26, out.data()));
  failing = true;
  EXPECT_FALSE(shifted.Read(source, 26, 26, out.data()));
  failing = false;
  // A re-read of the same block, and then a read of one frame at a time, as the rip's fallback does.
  ASSERT_TRUE(shifted.Read(source, 26, 26, out.data()));
  EXPECT_TRUE(out == Expected(audio, 6, 26, 26));
  for (int32_t f = 52; f < 55; ++f) {
    ASSERT_TRUE(shifted.Read(source, f, 1, out.data()));
    EXPECT_EQ(std::memcmp(out.data(), Expected(audio, 6, f, 1).data(), kFrame), 0) << f;
  }
  // The same block read twice comes from the disc twice: secure reading compares real reads.
  reads = 0;
  ASSERT_TRUE(shifted.Read(source, 60, 26, out.data()));
  ASSERT_TRUE(shifted.Read(source, 60, 26, out.data()));
  EXPECT_EQ(reads, 2);
  EXPECT_TRUE(out == Expected(audio, 6, 60, 26));
}

// A fake library whose disc holds DiscByte everywhere, with a correcting reader over the same bytes.
class PatternLibrary : public test::FakeCdLibrary {
 public:
  int32_t ReadCDAudioLBA(int32_t handle, uint8_t* buffer) override {
    const int32_t result = FakeCdLibrary::ReadCDAudioLBA(handle, buffer);
    if (result == 1) Fill(buffer);
    return result;
  }
  std::unique_ptr<CorrectingReader> OpenCorrectingReader(int32_t) override {
    struct Reader : CorrectingReader {
      PatternLibrary& library;
      explicit Reader(PatternLibrary& l) : library(l) {}
      bool Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) override {
        library.correctedReads.emplace_back(first, count);
        findings.rereads += 1;
        for (int64_t i = 0; i < static_cast<int64_t>(count) * kFrame; ++i) out[i] = DiscByte(first * int64_t{kFrame} + i);
        return true;
      }
    };
    return std::make_unique<Reader>(*this);
  }
  std::vector<std::pair<int32_t, int32_t>> correctedReads;

 private:
  static void Fill(uint8_t* buffer) {
    int32_t first = 0, count = 0;
    std::memcpy(&first, buffer, 4);
    std::memcpy(&count, buffer + 4, 4);
    for (int64_t i = 0; i < static_cast<int64_t>(count) * kFrame; ++i) {
      buffer[cdrecord::kTrackHeaderSize + i] = DiscByte(first * int64_t{kFrame} + i);
    }
  }
};

TEST(ReadOffsetLibrary, ShiftsPlainAndCorrectedReadsOfTheDiscThroughTheDriveModule) {
  struct Row {
    int32_t offset;
    bool secure;
    int track;
  };
  for (const Row& row : {Row{6, false, 1}, Row{6, true, 2}, Row{-6, false, 1}, Row{-6, true, 1}, Row{1200, false, 2},
                         Row{-1200, true, 2}, Row{0, true, 2}}) {
    SCOPED_TRACE("offset " + std::to_string(row.offset) + (row.secure ? " secure" : "") + " track " +
                 std::to_string(row.track));
    PatternLibrary library;
    library.identifications = {"drive"};
    library.SetTrackLengths({30, 20, 25});
    library.dataTracks = {3};  // the last track is data: past track 2 lies no audio
    modAKRip32 cd(library);
    cd.SetReadOffset(row.offset);
    ASSERT_TRUE(cd.OpenDrive(0));
    const std::vector<FrameSpan> audio = {{0, 50}};
    const int32_t first = cd.TrackFirstFrame(row.track);
    const int32_t end = cd.TrackEndFrame(row.track);
    TrackReader reader(cd, row.secure);
    for (int32_t at = first; at < end; at += 26) {
      const int32_t n = std::min(26, end - at);
      ASSERT_EQ(reader.Read(at, n), n);
      const std::vector<uint8_t> want = Expected(audio, row.offset, at, n);
      EXPECT_EQ(std::memcmp(reader.Data(), want.data(), want.size()), 0) << "block at " << at;
    }
    // Nothing was asked of the data track, by either reader.
    for (const auto& reads : {library.reads, library.correctedReads}) {
      for (const auto& [address, frames] : reads) EXPECT_LE(address + frames, 50) << address;
    }
    EXPECT_EQ(library.correctedReads.empty(), !row.secure);
  }
}

TEST(ReadOffsetLibrary, WithNoOffsetEveryReadReachesTheLibraryAsItWasAsked) {
  PatternLibrary library;
  library.identifications = {"drive"};
  library.SetTrackLengths({30});
  modAKRip32 cd(library);
  cd.SetReadOffset(40);
  cd.SetReadOffset(0);
  ASSERT_TRUE(cd.OpenDrive(0));
  TrackBuffer buffer;
  ASSERT_EQ(buffer.ReadReadableFrames(cd, 4, 26), 26);
  ASSERT_EQ(buffer.ReadReadableFrames(cd, 0, 1), 1);
  EXPECT_EQ(library.reads, (std::vector<std::pair<int32_t, int32_t>>{{4, 26}, {0, 1}}));
  // The setting is kept to its range.
  cd.SetReadOffset(5000);
  EXPECT_EQ(cd.ReadOffset(), 2000);
  cd.SetReadOffset(-5000);
  EXPECT_EQ(cd.ReadOffset(), -2000);
}

}  // namespace
}  // namespace korvalin
