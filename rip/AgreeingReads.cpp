#include "rip/AgreeingReads.h"

#include <algorithm>
#include <cstring>

namespace korvalin {
namespace {

constexpr auto kFrameBytes = cdrecord::kFrameSize;
constexpr auto kBlockBytes = cdrecord::kTrackDataSize;

std::size_t ByteDifferences(const uint8_t* a, const uint8_t* b) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < kFrameBytes; ++i) n += a[i] != b[i];
  return n;
}

}  // namespace

uint8_t* AgreeingReads::Frame(int32_t read, int32_t frame) {
  return reads_.data() + static_cast<std::size_t>(read) * kBlockBytes + static_cast<std::size_t>(frame) * kFrameBytes;
}

const uint8_t* AgreeingReads::Frame(int32_t read, int32_t frame) const {
  return const_cast<AgreeingReads*>(this)->Frame(read, frame);
}

int32_t AgreeingReads::BestRead(int32_t frame, int32_t reads) const {
  int32_t best = -1;
  std::size_t bestDistance = 0;
  for (int32_t r = 0; r < reads; ++r) {
    if (framesRead_[static_cast<std::size_t>(r)] <= frame) continue;
    std::size_t distance = 0;
    for (int32_t other = 0; other < reads; ++other) {
      if (other != r && framesRead_[static_cast<std::size_t>(other)] > frame) {
        distance += ByteDifferences(Frame(r, frame), Frame(other, frame));
      }
    }
    if (best < 0 || distance < bestDistance) {
      best = r;
      bestDistance = distance;
    }
  }
  return best;
}

int32_t AgreeingReads::Read(modAKRip32& cd, int32_t address, int32_t frames, TrackReadReport& report) {
  if (reads_.empty()) {
    reads_.resize(static_cast<std::size_t>(kMaxReads) * kBlockBytes);
    framesRead_.resize(kMaxReads);
    agreed_.resize(kBlockBytes);
  }
  const uint32_t retriesBefore = buffer_.Retries();
  const int32_t got = buffer_.ReadReadableFrames(cd, address, frames);
  if (got <= 0) {
    report.retries += buffer_.Retries() - retriesBefore;
    return got;
  }
  std::memcpy(Frame(0, 0), buffer_.Data(), static_cast<std::size_t>(got) * kFrameBytes);
  framesRead_[0] = got;

  // For each frame, the read whose copy of it another read has matched; -1 until then.
  std::vector<int32_t> agreedRead(static_cast<std::size_t>(got), -1);
  int32_t open = got;
  int32_t reads = 1;
  while (open > 0 && reads < kMaxReads) {
    // A read that breaks off early still settles the frames it brought back. A block that broke
    // off the first time is asked for whole again, so that the last read of it breaks off too and
    // the library's error is that of the frame that failed, not of a later read that succeeded.
    const int32_t again = std::min(buffer_.ReadReadableFrames(cd, address, got < frames ? frames : got), got);
    const int32_t r = reads++;
    framesRead_[static_cast<std::size_t>(r)] = again > 0 ? again : 0;
    if (again <= 0) continue;
    std::memcpy(Frame(r, 0), buffer_.Data(), static_cast<std::size_t>(again) * kFrameBytes);
    for (int32_t f = 0; f < again; ++f) {
      if (agreedRead[static_cast<std::size_t>(f)] >= 0) continue;
      for (int32_t earlier = 0; earlier < r; ++earlier) {
        if (framesRead_[static_cast<std::size_t>(earlier)] > f &&
            std::memcmp(Frame(earlier, f), Frame(r, f), kFrameBytes) == 0) {
          agreedRead[static_cast<std::size_t>(f)] = r;
          --open;
          break;
        }
      }
    }
  }
  if (reads > 2) report.retries += static_cast<uint32_t>(reads - 2);
  report.retries += buffer_.Retries() - retriesBefore;

  for (int32_t f = 0; f < got; ++f) {
    int32_t source = agreedRead[static_cast<std::size_t>(f)];
    if (source < 0) {
      source = BestRead(f, reads);
      report.suspiciousFrames.push_back(address + f);
    }
    std::memcpy(agreed_.data() + static_cast<std::size_t>(f) * kFrameBytes, Frame(source, f), kFrameBytes);
  }
  return got;
}

}  // namespace korvalin
