#include "tests/support/NoisyCdLibrary.h"

#include <cstring>

namespace korvalin::test {

using namespace cdrecord;

int32_t NoisyCdLibrary::ReadCDAudioLBA(int32_t handle, uint8_t* buffer) {
  ++readCalls;
  const int32_t result = inner_.ReadCDAudioLBA(handle, buffer);
  if (result != 1) return result;
  int32_t address, frames;
  std::memcpy(&address, buffer, 4);
  std::memcpy(&frames, buffer + 4, 4);
  if (frames <= 0) return result;
  uint8_t* data = buffer + kTrackHeaderSize;
  bool spoiled = false;
  if (noisyEvery > 0 && random_() % static_cast<uint32_t>(noisyEvery) == 0) {
    const auto bit = random_() % (static_cast<uint32_t>(frames) * kFrameSize * 8);
    data[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    spoiled = true;
  }
  for (int32_t f = 0; f < frames; ++f) {
    if (unstableFrames.count(address + f) == 0) continue;
    uint8_t* frame = data + static_cast<std::size_t>(f) * kFrameSize;
    auto flip = [frame](uint32_t bit) { frame[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8)); };
    // A different bit every time, so that no two reads of the frame ever agree.
    const uint32_t n = unstableReads_[address + f]++;
    flip(n % 1000);
    if (n == 0) {
      for (int k = 0; k < firstReadExtraFlips; ++k) flip(1000 + static_cast<uint32_t>(k) * 8);
    }
    spoiled = true;
  }
  spoiledReads += spoiled ? 1 : 0;
  return result;
}

}  // namespace korvalin::test
