// Rips the longest track of a 10-minute generated disc image to WAV through the program's own
// extraction twice in one run: plainly, and with secure reading (every block read until two
// reads agree), and the reading alone both ways, without the file (whose flush after every block
// dominates a rip). Prints median times and their ratios.
//   bench_rip_secure [RUNS]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/TrackReader.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace {

struct NoProgress : korvalin::MainWindowOps {
  void ChangeProgress(const std::string&, float, float) override {}
};

// Reads the track block by block as a rip does, writing nothing.
void ReadOnly(korvalin::modAKRip32& cd, int32_t first, int32_t end, bool secure) {
  korvalin::TrackReader reader(cd, secure);
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
  const std::string cue = discgen::WriteDiscImage(
      dir.Path(), "bench", {discgen::MusicCdFrames(90 * 75, 1), discgen::MusicCdFrames(420 * 75, 2), discgen::MusicCdFrames(90 * 75, 3)});

  CdioLibrary library({CdioLibrary::ImageDrive(cue)});
  modAKRip32 cd(library);
  if (!cd.OpenDrive(0)) {
    std::fprintf(stderr, "bench_rip_secure: cannot open the image\n");
    return 1;
  }
  const int32_t first = cd.TrackFirstFrame(2), end = cd.TrackEndFrame(2);
  HeadlessEventLoop loop;
  ConsoleDialogs dialogs;
  NoProgress progress;
  JobFlags flags;
  ExtractionContext plainCtx{cd, progress, dialogs, loop, flags};
  ExtractionContext secureCtx{cd, progress, dialogs, loop, flags};
  secureCtx.secureReading = true;

  const std::string plainOut = dir / "plain.wav", secureOut = dir / "secure.wav";
  // One untimed round of each, so both start with the image in the page cache.
  ExtractTrackToWav(plainCtx, plainOut, first, end);
  const ExtractionOutcome check = ExtractTrackToWav(secureCtx, secureOut, first, end);
  if (!check.complete || check.read.Suspicious()) {
    std::fprintf(stderr, "bench_rip_secure: the secure rip did not complete cleanly\n");
    return 1;
  }

  const double plain = bench::MedianSeconds(runs, [&] { ExtractTrackToWav(plainCtx, plainOut, first, end); });
  const double secure = bench::MedianSeconds(runs, [&] { ExtractTrackToWav(secureCtx, secureOut, first, end); });
  std::printf("track of %d frames (%.1f MB), median of %d runs\n", end - first, (end - first) * 2352 / 1e6, runs);
  const double secureReads = bench::MedianSeconds(runs, [&] { ReadOnly(cd, first, end, true); });
  const double plainReads = bench::MedianSeconds(runs, [&] { ReadOnly(cd, first, end, false); });
  bench::Report("korvalin rip, secure reading", secure, "korvalin rip, plain", plain);
  bench::Report("reading alone, secure", secureReads, "reading alone, plain", plainReads);
  return 0;
}
