// The read offset: finds a generated disc's offset from its frame-450 checksums (as
// `korvalin-cli offset` does, the database answer already in hand) beside reading the track it
// compares, and reads a track with the offset correction beside reading it without. Prints median
// times and their ratios.
//   bench_offset [RUNS]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/linux/CdioLibrary.h"
#include "rip/ReadOffsetFinder.h"
#include "rip/TrackReader.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace {

// Reads the track block by block as a rip does, writing nothing.
void ReadOnly(korvalin::modAKRip32& cd, int32_t first, int32_t end) {
  korvalin::TrackReader reader(cd, false);
  for (int32_t at = first; at < end; at += korvalin::TrackBuffer::kFramesPerBlock) {
    if (reader.Read(at, std::min(korvalin::TrackBuffer::kFramesPerBlock, end - at)) <= 0) std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  test::TempDir dir;
  // 1:30, 7:00 and 1:30 of music: ten minutes, the longest track seven.
  std::vector<std::string> tracks = {discgen::MusicCdFrames(90 * 75, 1), discgen::MusicCdFrames(420 * 75, 2),
                                     discgen::MusicCdFrames(90 * 75, 3)};
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "bench", tracks);

  // The database's rips were read 6 samples on from this drive's: every track's frame 450 there.
  DbarFile db;
  DbarResponse response;
  for (const std::string& t : tracks) {
    response.tracks.push_back({9, 0, Frame450Checksum(reinterpret_cast<const uint8_t*>(t.data()) + (450 * 588 + 6) * 4)});
  }
  db.responses.push_back(response);

  CdioLibrary library({CdioLibrary::ImageDrive(cue)});
  modAKRip32 cd(library);
  if (!cd.OpenDrive(0)) {
    std::fprintf(stderr, "bench_offset: cannot open the image\n");
    return 1;
  }
  const DiscToc toc = TocOf(cd);
  std::printf("median of %d runs\n", runs);
  for (int track : {1, 2}) {
    const int32_t first = cd.TrackFirstFrame(track), end = cd.TrackEndFrame(track);
    ReadOnly(cd, first, end);  // untimed: the image in the page cache
    const OffsetFinding check = FindReadOffset(cd, toc, db, track);
    if (check.matches.empty() || check.matches.front().offset != 6) {
      std::fprintf(stderr, "bench_offset: the offset +6 was not found\n");
      return 1;
    }
    const double find = bench::MedianSeconds(runs, [&] { FindReadOffset(cd, toc, db, track); });
    const double read = bench::MedianSeconds(runs, [&] { ReadOnly(cd, first, end); });
    bench::Report("offset search, track " + std::to_string(track) + " (" + std::to_string(end - first) + " frames)",
                  find, "reading that track", read);
    std::printf("  the search alone: %.2f ms\n", find * 1000);
  }
  // The reads with and without the correction in turn, round by round, so that the machine's
  // noise falls on all three alike.
  const int32_t first = cd.TrackFirstFrame(2), end = cd.TrackEndFrame(2);
  const int32_t offsets[] = {0, 6, -1234};
  std::vector<double> times[3];
  for (int round = 0; round < runs; ++round) {
    for (int k = 0; k < 3; ++k) {
      cd.SetReadOffset(offsets[k]);
      times[k].push_back(bench::MedianSeconds(1, [&] { ReadOnly(cd, first, end); }));
    }
  }
  for (auto& t : times) std::sort(t.begin(), t.end());
  const auto median = [&](int k) { return times[k][times[k].size() / 2]; };
  bench::Report("reading track 2, offset +6", median(1), "reading it, no offset", median(0));
  bench::Report("reading track 2, offset -1234", median(2), "reading it, no offset", median(0));
  cd.CloseDrive();
  return 0;
}
