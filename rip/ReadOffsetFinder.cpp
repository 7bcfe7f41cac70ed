#include "rip/ReadOffsetFinder.h"

#include <algorithm>

#include "rip/TrackBuffer.h"

namespace korvalin {
namespace {

bool HasFrame450Value(const DbarFile& db, std::size_t audioIndex) {
  return std::any_of(db.responses.begin(), db.responses.end(), [&](const DbarResponse& r) {
    return audioIndex < r.tracks.size() && r.tracks[audioIndex].frame450Crc != 0;
  });
}

// Reads the window's frames of the track that begins at `first`; the reason when one cannot be read.
std::string ReadWindow(modAKRip32& cd, int32_t first, Frame450Window& window) {
  TrackBuffer buffer;
  window.Skip(int64_t{window.FirstFrame()} * static_cast<int64_t>(cdrecord::kFrameSize));
  std::string fault;
  for (int32_t f = window.FirstFrame(); f < window.EndFrame();) {
    const int32_t n = std::min(TrackBuffer::kFramesPerBlock, window.EndFrame() - f);
    if (buffer.ReadReadableFrames(cd, first + f, n) != n) {
      fault = "frame " + std::to_string(first + f) + " could not be read: " + cd.LibraryErrorText();
      break;
    }
    window.Add(buffer.Data(), static_cast<std::size_t>(n) * cdrecord::kFrameSize);
    f += n;
  }
  cd.Library().ReadsEnded(cd.CurrentDriveHandle);
  return fault;
}

}  // namespace

OffsetFinding FindReadOffset(modAKRip32& cd, const DiscToc& toc, const DbarFile& db, std::optional<int> track,
                             int32_t radius) {
  // The database counts audio tracks only.
  std::vector<std::size_t> audio;
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) {
    if (!toc.tracks[i].data) audio.push_back(i);
  }
  OffsetFinding finding;
  finding.problem = track ? "the disc has no audio track " + std::to_string(*track)
                          : "no audio track is long enough and known to the database at frame 450";
  const int32_t setOffset = cd.ReadOffset();
  cd.SetReadOffset(0);
  for (std::size_t k = 0; k < audio.size(); ++k) {
    const DiscTocTrack& t = toc.tracks[audio[k]];
    if (track && *track != t.number) continue;
    const std::string name = "track " + std::to_string(t.number);
    Frame450Window window(radius);
    if (!window.Fits(toc.EndOf(audio[k]) - t.start)) {
      finding.problem = name + " is too short: it needs " + std::to_string(window.EndFrame()) + " frames";
      continue;
    }
    if (!HasFrame450Value(db, k)) {
      finding.problem = "the database holds no frame-450 checksum for " + name;
      continue;
    }
    if (const std::string fault = ReadWindow(cd, t.start, window); !fault.empty()) {
      finding.problem = name + ": " + fault;
      break;  // a disc that cannot be read here will not read better elsewhere
    }
    if (window.Silent()) {
      finding.problem = name + " is silent around frame 450";
      continue;
    }
    finding.track = t.number;
    finding.matches = MatchingOffsets(window.Checksums(), window.Radius(), db, k);
    finding.problem.clear();
    break;
  }
  cd.SetReadOffset(setOffset);
  return finding;
}

}  // namespace korvalin
