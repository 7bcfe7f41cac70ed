#include "rip/Frame450Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvalin {
namespace {

constexpr int64_t kPairBytes = 4;
constexpr int64_t kFrameBytes = kFrame450Pairs * kPairBytes;

uint32_t Pair(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

uint32_t Frame450Checksum(const uint8_t* pairs) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < static_cast<uint32_t>(kFrame450Pairs); ++i) sum += Pair(pairs + kPairBytes * i) * (i + 1);
  return sum;
}

Frame450Window::Frame450Window(int32_t radius)
    : radius_(std::clamp(radius, 0, kFrame450 * kFrame450Pairs)),
      first_((static_cast<int64_t>(kFrame450) * kFrame450Pairs - radius_) * kPairBytes),
      window_(static_cast<std::size_t>((kFrame450Pairs + 2 * static_cast<int64_t>(radius_)) * kPairBytes)) {}

int32_t Frame450Window::FirstFrame() const { return static_cast<int32_t>(first_ / kFrameBytes); }

int32_t Frame450Window::EndFrame() const {
  const int64_t end = first_ + static_cast<int64_t>(window_.size());
  return static_cast<int32_t>((end + kFrameBytes - 1) / kFrameBytes);
}

void Frame450Window::Add(const uint8_t* data, std::size_t bytes) {
  const int64_t from = std::max(position_, first_);
  const int64_t to = std::min(position_ + static_cast<int64_t>(bytes), first_ + static_cast<int64_t>(window_.size()));
  if (from < to) {
    std::memcpy(window_.data() + (from - first_), data + (from - position_), static_cast<std::size_t>(to - from));
    filled_ += to - from;
  }
  position_ += static_cast<int64_t>(bytes);
}

bool Frame450Window::Silent() const {
  return std::all_of(window_.begin(), window_.end(), [](uint8_t b) { return b == 0; });
}

std::vector<uint32_t> Frame450Window::Checksums() const {
  if (!Complete()) return {};
  // The first sum in full, then each next one from the last: moving the window one pair on takes
  // every multiplier down by one (the plain sum of the window) and brings the next pair in at 588.
  const uint8_t* p = window_.data();
  const auto shifts = static_cast<std::size_t>(2 * radius_ + 1);
  std::vector<uint32_t> sums(shifts);
  uint32_t weighted = Frame450Checksum(p);
  uint32_t plain = 0;
  for (int32_t i = 0; i < kFrame450Pairs; ++i) plain += Pair(p + kPairBytes * i);
  for (std::size_t j = 0;; ++j) {
    sums[j] = weighted;
    if (j + 1 == shifts) break;
    const uint32_t leaving = Pair(p + kPairBytes * j);
    const uint32_t coming = Pair(p + kPairBytes * (j + kFrame450Pairs));
    weighted = weighted - plain + coming * static_cast<uint32_t>(kFrame450Pairs);
    plain = plain - leaving + coming;
  }
  return sums;
}

std::vector<OffsetMatch> MatchingOffsets(const std::vector<uint32_t>& checksums, int32_t radius, const DbarFile& db,
                                         std::size_t trackIndex) {
  std::vector<OffsetMatch> matches;
  if (checksums.size() != static_cast<std::size_t>(2 * radius + 1)) return matches;
  for (const DbarResponse& response : db.responses) {
    if (trackIndex >= response.tracks.size()) continue;
    const DbarTrack& track = response.tracks[trackIndex];
    if (track.frame450Crc == 0) continue;
    for (std::size_t j = 0; j < checksums.size(); ++j) {
      if (checksums[j] != track.frame450Crc) continue;
      const int32_t offset = static_cast<int32_t>(j) - radius;
      auto it = std::find_if(matches.begin(), matches.end(), [&](const OffsetMatch& m) { return m.offset == offset; });
      if (it == matches.end()) it = matches.insert(matches.end(), OffsetMatch{offset, 0, 0});
      it->rips += track.confidence;
      it->responses += 1;
    }
  }
  std::sort(matches.begin(), matches.end(), [](const OffsetMatch& a, const OffsetMatch& b) {
    if (a.rips != b.rips) return a.rips > b.rips;
    if (std::abs(a.offset) != std::abs(b.offset)) return std::abs(a.offset) < std::abs(b.offset);
    return a.offset > b.offset;
  });
  return matches;
}

std::optional<int32_t> OtherPressingOffset(const std::vector<OffsetMatch>& matches) {
  if (matches.empty()) return std::nullopt;
  if (std::any_of(matches.begin(), matches.end(), [](const OffsetMatch& m) { return m.offset == 0; })) return std::nullopt;
  return matches.front().offset;
}

}  // namespace korvalin
