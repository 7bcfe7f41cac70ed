#include "rip/DiscIds.h"

#include <cstdio>

namespace korvalin {
namespace {

constexpr int32_t kLeadIn = 150;            // frames before the program area
constexpr int32_t kSessionGap = 11400;      // lead-out and lead-in between an audio and a data session
constexpr int32_t kFramesPerSecond = 75;

uint32_t DigitSum(uint32_t n) {
  uint32_t sum = 0;
  for (; n > 0; n /= 10) sum += n % 10;
  return sum;
}

}  // namespace

bool DiscToc::FirstAudio(std::size_t index) const {
  for (std::size_t i = 0; i < index; ++i) {
    if (!tracks[i].data) return false;
  }
  return index < tracks.size() && !tracks[index].data;
}

bool DiscToc::LastAudio(std::size_t index) const {
  for (std::size_t i = index + 1; i < tracks.size(); ++i) {
    if (!tracks[i].data) return false;
  }
  return index < tracks.size() && !tracks[index].data;
}

DiscToc TocOf(const modAKRip32& cd) {
  DiscToc toc;
  const int first = cd.CurrentToc[2], last = cd.CurrentToc[3];
  for (int number = first; number <= last && number - first < 99; ++number) {
    const int32_t position = number - first + 1;
    toc.tracks.push_back({number, cd.TrackFirstFrame(position), cd.IsDataTrack(position)});
    toc.leadOut = cd.TrackEndFrame(position);
  }
  return toc;
}

uint32_t CddbId(const DiscToc& toc) {
  if (toc.tracks.empty()) return 0;
  uint32_t sum = 0;
  for (const DiscTocTrack& t : toc.tracks) sum += DigitSum(static_cast<uint32_t>((t.start + kLeadIn) / kFramesPerSecond));
  const uint32_t seconds = static_cast<uint32_t>((toc.leadOut + kLeadIn) / kFramesPerSecond -
                                                 (toc.tracks.front().start + kLeadIn) / kFramesPerSecond);
  return (sum % 255) << 24 | seconds << 8 | static_cast<uint32_t>(toc.tracks.size());
}

AccurateRipDiscId AccurateRipIdOf(const DiscToc& toc) {
  AccurateRipDiscId id;
  uint32_t audioTracks = 0;
  for (const DiscTocTrack& t : toc.tracks) {
    if (t.data) continue;
    ++audioTracks;
    const auto start = static_cast<uint32_t>(t.start);
    id.id1 += start;
    id.id2 += (start > 0 ? start : 1) * static_cast<uint32_t>(t.number);
  }
  const auto leadOut = static_cast<uint32_t>(toc.leadOut);
  id.id1 += leadOut;
  id.id2 += leadOut * (audioTracks + 1);
  id.cddb = CddbId(toc);
  return id;
}

std::string MusicDatabaseIdOf(const DiscToc& toc, DiscIdLibrary& library) {
  std::size_t audioEnd = toc.tracks.size();
  while (audioEnd > 0 && toc.tracks[audioEnd - 1].data) --audioEnd;
  if (audioEnd == 0) return {};
  int32_t leadOut = toc.leadOut;
  if (audioEnd < toc.tracks.size()) leadOut = toc.tracks[audioEnd].start - kSessionGap;
  std::vector<int32_t> starts;
  for (std::size_t i = 0; i < audioEnd; ++i) starts.push_back(toc.tracks[i].start + kLeadIn);
  return library.MusicDatabaseId(toc.tracks.front().number, toc.tracks[audioEnd - 1].number, starts, leadOut + kLeadIn);
}

std::string Hex8(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

}  // namespace korvalin
