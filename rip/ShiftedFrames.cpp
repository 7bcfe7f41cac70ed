#include "rip/ShiftedFrames.h"

#include <cstring>

namespace korvalin {
namespace {

constexpr int32_t kFrameBytes = 2352;
constexpr int32_t kSampleBytes = 4;  // one stereo sample pair of 16-bit samples

int32_t FloorDiv(int32_t a, int32_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

}  // namespace

ShiftedFrames::ShiftedFrames(int32_t shiftSamples, std::vector<FrameSpan> audio)
    : shift_(shiftSamples),
      wholeFrames_(FloorDiv(shiftSamples * kSampleBytes, kFrameBytes)),
      byteRest_(shiftSamples * kSampleBytes - FloorDiv(shiftSamples * kSampleBytes, kFrameBytes) * kFrameBytes),
      audio_(std::move(audio)),
      carry_(kFrameBytes) {}

bool ShiftedFrames::HoldsAudio(int32_t frame) const {
  for (const FrameSpan& s : audio_) {
    if (frame >= s.first && frame < s.end) return true;
  }
  return false;
}

bool ShiftedFrames::Fill(const Source& source, int32_t first, int32_t count, uint8_t* out) {
  for (int32_t i = 0; i < count;) {
    uint8_t* at = out + static_cast<std::size_t>(i) * kFrameBytes;
    if (!HoldsAudio(first + i)) {
      std::memset(at, 0, kFrameBytes);
      ++i;
      continue;
    }
    int32_t run = 1;
    while (i + run < count && HoldsAudio(first + i + run)) ++run;
    if (!source(first + i, run, at)) return false;
    i += run;
  }
  return true;
}

bool ShiftedFrames::Read(const Source& source, int32_t first, int32_t count, uint8_t* out) {
  if (count <= 0) return source(first, count, out);
  const int32_t start = first + wholeFrames_;
  if (byteRest_ == 0) {
    carried_ = false;
    return Fill(source, start, count, out);
  }
  // count + 1 disc frames, the first of which may be the one the last read ended with.
  const int32_t span = count + 1;
  staging_.resize(static_cast<std::size_t>(span) * kFrameBytes);
  int32_t have = 0;
  if (carried_ && carryFrame_ == start) {
    std::memcpy(staging_.data(), carry_.data(), kFrameBytes);
    have = 1;
  }
  carried_ = false;
  if (!Fill(source, start + have, span - have, staging_.data() + static_cast<std::size_t>(have) * kFrameBytes)) {
    return false;
  }
  std::memcpy(carry_.data(), staging_.data() + static_cast<std::size_t>(count) * kFrameBytes, kFrameBytes);
  carryFrame_ = start + count;
  carried_ = true;
  std::memcpy(out, staging_.data() + byteRest_, static_cast<std::size_t>(count) * kFrameBytes);
  return true;
}

}  // namespace korvalin
