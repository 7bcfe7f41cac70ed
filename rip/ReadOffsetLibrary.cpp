#include "rip/ReadOffsetLibrary.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace korvalin {
namespace {

using namespace cdrecord;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t Be32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                              static_cast<uint32_t>(p[2]) << 8 | static_cast<uint32_t>(p[3]));
}

constexpr uint8_t kDataTrackBit = 0x04;

// A correcting reader whose reads are shifted like the plain ones.
class ShiftedCorrectingReader : public CorrectingReader {
 public:
  ShiftedCorrectingReader(std::unique_ptr<CorrectingReader> reader, int32_t samples, std::vector<FrameSpan> audio)
      : reader_(std::move(reader)), shifted_(samples, std::move(audio)) {}

  bool Read(int32_t first, int32_t count, uint8_t* out, Findings& findings) override {
    return shifted_.Read([&](int32_t f, int32_t n, uint8_t* o) { return reader_->Read(f, n, o, findings); }, first,
                         count, out);
  }

 private:
  std::unique_ptr<CorrectingReader> reader_;
  ShiftedFrames shifted_;
};

// The tracks the table lists. A table whose header names none (its track numbers 0) still lists
// its entries in rising order, the lead-out last: they count while their addresses rise.
int TrackCount(const uint8_t* toc) {
  if (toc[2] >= 1 && toc[3] >= toc[2]) return toc[3] - toc[2] + 1;
  const auto address = [&](int entry) { return Be32(toc + 4 + 8 * entry + 4); };
  int entries = 1;
  while (static_cast<std::size_t>(entries) < kTocEntries && address(entries) > address(entries - 1)) ++entries;
  return entries - 1;
}

}  // namespace

std::vector<FrameSpan> AudioSpansOf(const uint8_t* toc) {
  std::vector<FrameSpan> spans;
  const int tracks = TrackCount(toc);
  if (tracks < 1 || static_cast<std::size_t>(tracks) >= kTocEntries) return spans;
  for (int k = 0; k < tracks; ++k) {
    const uint8_t* e = toc + 4 + 8 * k;
    if (e[1] & kDataTrackBit) continue;
    const int32_t first = k == 0 ? 0 : Be32(e + 4);
    const int32_t end = Be32(e + 12);
    if (end <= first) continue;
    if (!spans.empty() && spans.back().end == first) {
      spans.back().end = end;
    } else {
      spans.push_back({first, end});
    }
  }
  return spans;
}

void ReadOffsetLibrary::SetOffset(int32_t samples) {
  const int32_t clamped = std::clamp(samples, -kMaxReadOffset, kMaxReadOffset);
  if (clamped == offset_) return;
  offset_ = clamped;
  shifted_.clear();
}

int32_t ReadOffsetLibrary::GetCDHandle(const uint8_t* request) {
  const int32_t handle = inner_.GetCDHandle(request);
  const int32_t h = handle & 0xFF;
  spans_.erase(h);
  shifted_.erase(h);
  return handle;
}

int32_t ReadOffsetLibrary::ReadTOC(int32_t handle, uint8_t* toc) {
  const int32_t result = inner_.ReadTOC(handle, toc);
  shifted_.erase(handle);
  if (result == 1) {
    spans_[handle] = AudioSpansOf(toc);
  } else {
    spans_.erase(handle);
  }
  return result;
}

std::vector<FrameSpan> ReadOffsetLibrary::SpansOf(int32_t handle) {
  const auto known = spans_.find(handle);
  if (known != spans_.end()) return known->second;
  // A caller that reads without having read the table: it is read here, once.
  std::array<uint8_t, kTocSize> toc{};
  if (inner_.ReadTOC(handle, toc.data()) != 1) return {};
  return spans_[handle] = AudioSpansOf(toc.data());
}

ShiftedFrames* ReadOffsetLibrary::ShiftedOf(int32_t handle) {
  auto& shifted = shifted_[handle];
  if (!shifted) shifted = std::make_unique<ShiftedFrames>(offset_, SpansOf(handle));
  return shifted.get();
}

int32_t ReadOffsetLibrary::ReadCDAudioLBA(int32_t handle, uint8_t* buffer) {
  if (offset_ == 0) return inner_.ReadCDAudioLBA(handle, buffer);
  const auto first = static_cast<int32_t>(Le32(buffer));
  const uint32_t count = Le32(buffer + 4);
  const uint32_t capacity = Le32(buffer + 8);
  // A request the library refuses as it stands is left to it, with its own error.
  if (count == 0 || count > capacity / kFrameSize) return inner_.ReadCDAudioLBA(handle, buffer);
  std::vector<uint8_t> request;
  const auto source = [&](int32_t f, int32_t n, uint8_t* out) {
    const std::size_t bytes = static_cast<std::size_t>(n) * kFrameSize;
    request.resize(kTrackHeaderSize + bytes);
    std::memcpy(request.data(), buffer, kTrackHeaderSize);
    PutLe32(request.data(), static_cast<uint32_t>(f));
    PutLe32(request.data() + 4, static_cast<uint32_t>(n));
    PutLe32(request.data() + 8, static_cast<uint32_t>(bytes));
    if (inner_.ReadCDAudioLBA(handle, request.data()) != 1) return false;
    std::memcpy(out, request.data() + kTrackHeaderSize, bytes);
    return true;
  };
  ShiftedFrames* shifted = ShiftedOf(handle);
  return shifted->Read(source, first, static_cast<int32_t>(count), buffer + kTrackHeaderSize) ? 1 : 0;
}

void ReadOffsetLibrary::ReadsEnded(int32_t handle) {
  if (const auto s = shifted_.find(handle); s != shifted_.end()) s->second->Forget();
  inner_.ReadsEnded(handle);
}

int32_t ReadOffsetLibrary::CloseCDHandle(int32_t handle) {
  spans_.erase(handle);
  shifted_.erase(handle);
  return inner_.CloseCDHandle(handle);
}

std::unique_ptr<CorrectingReader> ReadOffsetLibrary::OpenCorrectingReader(int32_t handle) {
  std::unique_ptr<CorrectingReader> reader = inner_.OpenCorrectingReader(handle);
  if (!reader || offset_ == 0) return reader;
  return std::make_unique<ShiftedCorrectingReader>(std::move(reader), offset_, SpansOf(handle));
}

}  // namespace korvalin
