#include "tools/TrackFigures.h"

#include <cstdio>

#include "rip/DiscIds.h"
#include "rip/RipLog.h"

namespace korvalin::cli {

TrackChecksums ChecksumsForTrack(const modAKRip32& cd, int32_t position) {
  const DiscToc toc = TocOf(cd);
  const auto index = static_cast<std::size_t>(position - 1);
  const int64_t frames = cd.TrackEndFrame(position) - cd.TrackFirstFrame(position);
  return TrackChecksums(std::max<int64_t>(frames, 0) * (cdrecord::kFrameSize / 4),
                        TrackPlace{toc.FirstAudio(index), toc.LastAudio(index)});
}

void PrintTrackFigures(const modAKRip32& cd, int32_t position, int32_t framesCopied, const TrackReadReport& read,
                       const TrackChecksums& sums) {
  RipLogTrack track;
  track.frames = cd.TrackEndFrame(position) - cd.TrackFirstFrame(position);
  track.framesCopied = framesCopied;
  track.read = read;
  track.checksummed = true;
  track.crc32 = sums.Crc32();
  track.accurateRipV1 = sums.AccurateRipV1();
  track.accurateRipV2 = sums.AccurateRipV2();
  std::printf("Track %d\n%s", static_cast<int>(position), TrackFiguresText(track).c_str());
  std::fflush(stdout);
}

}  // namespace korvalin::cli
