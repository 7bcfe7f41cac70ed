// Rips the longest track of a 10-minute generated disc image to WAV through the program's own
// extraction (a flush after every block included), beside a plain copy of the same bytes out of
// the BIN file with dd, in one run, and the same rip with the track's checksums computed as it
// goes. Prints median times and their ratios.
//   bench_rip [RUNS]

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <algorithm>

#include "bench/BenchTiming.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/TrackChecksums.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace {

struct NoProgress : korvalin::MainWindowOps {
  void ChangeProgress(const std::string&, float, float) override {}
};

// The floor the required flushes set: the same blocks written and flushed one by one, with no
// reading at all.
void WriteAndFlushBlocks(const std::string& path, long long bytes) {
  std::vector<char> block(61152, 0x55);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (long long done = 0; done < bytes; done += static_cast<long long>(block.size())) {
    const auto n = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(block.size()), bytes - done));
    if (::write(fd, block.data(), n) < 0) break;
    ::fdatasync(fd);
  }
  ::close(fd);
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
    std::fprintf(stderr, "bench_rip: cannot open the image\n");
    return 1;
  }
  const int32_t first = cd.TrackFirstFrame(2), end = cd.TrackEndFrame(2);
  const long long offset = first * 2352LL, bytes = (end - first) * 2352LL;
  HeadlessEventLoop loop;
  ConsoleDialogs dialogs;
  NoProgress progress;
  JobFlags flags;
  ExtractionContext ctx{cd, progress, dialogs, loop, flags};

  const std::string out = dir / "ours.wav", copy = dir / "copy.raw";
  const std::string dd = "dd if='" + dir.Path() + "/bench.bin' of='" + copy + "' bs=61152 iflag=skip_bytes,count_bytes skip=" +
                         std::to_string(offset) + " count=" + std::to_string(bytes) + " status=none";
  // One untimed round of each, so both start with the image in the page cache.
  ExtractTrackToWav(ctx, out, first, end);
  bench::Shell(dd);

  const double ours = bench::MedianSeconds(runs, [&] { ExtractTrackToWav(ctx, out, first, end); });
  // The same rip with the track's checksums (CRC32, AccurateRip v1 and v2) computed as it goes,
  // in turns with the plain rip: the flushes make single runs vary by more than the checksums
  // cost, so the figure is the median of the ratios of neighbouring runs.
  std::vector<double> ratios;
  std::vector<double> summedTimes;
  for (int i = 0; i < runs; ++i) {
    const double plainRun = bench::MedianSeconds(1, [&] { ExtractTrackToWav(ctx, out, first, end); });
    const double summedRun = bench::MedianSeconds(1, [&] {
      TrackChecksums sums(static_cast<int64_t>(end - first) * 588, {false, false});
      ctx.checksums = &sums;
      ExtractTrackToWav(ctx, out, first, end);
      ctx.checksums = nullptr;
    });
    ratios.push_back(summedRun / plainRun);
    summedTimes.push_back(summedRun);
  }
  std::sort(ratios.begin(), ratios.end());
  std::sort(summedTimes.begin(), summedTimes.end());
  const double summed = summedTimes[summedTimes.size() / 2];
  // The checksums alone over the track's bytes, block by block as the rip feeds them.
  std::vector<uint8_t> audio(static_cast<std::size_t>(bytes));
  const double sumsOnly = bench::MedianSeconds(runs, [&] {
    TrackChecksums sums(static_cast<int64_t>(end - first) * 588, {false, false});
    for (std::size_t at = 0; at < audio.size(); at += 61152) sums.Add(audio.data() + at, std::min<std::size_t>(61152, audio.size() - at));
  });
  const double plain = bench::MedianSeconds(runs, [&] { bench::Shell(dd); });
  const double synced = bench::MedianSeconds(runs, [&] { bench::Shell(dd + " conv=fdatasync"); });
  const double flushes = bench::MedianSeconds(runs, [&] { WriteAndFlushBlocks(copy, bytes); });
  std::printf("track of %d frames (%.1f MB, %lld blocks), median of %d runs\n", end - first, bytes / 1e6,
              (bytes + 61151) / 61152, runs);
  bench::Report("korvalin rip (flush after every block)", ours, "dd (plain copy)", plain);
  bench::Report("korvalin rip (flush after every block)", ours, "dd conv=fdatasync", synced);
  bench::Report("korvalin rip (flush after every block)", ours, "write+flush per block", flushes);
  std::printf("the required flushes alone take %.0f %% of the rip\n", 100.0 * flushes / ours);
  bench::Report("korvalin rip with checksums", summed, "korvalin rip without", ours);
  std::printf("checksums add %.1f %% to the rip (median of %d paired runs); alone they take %.3f s (%.0f MB/s), "
              "%.1f %% of the plain rip\n",
              100.0 * (ratios[ratios.size() / 2] - 1), runs, sumsOnly, bytes / 1e6 / sumsOnly, 100.0 * sumsOnly / ours);
  return 0;
}
