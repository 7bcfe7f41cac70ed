// Rips a 5-minute track of a generated disc image straight to MP3 at 128 kbit/s "Normal" through
// the program's own extraction, beside the lame command encoding the same audio from a WAV file
// at the same settings, in one run. The program's rip runs twice: into a folder on the disk
// (with the flush after every block and every write that it requires) and into a memory-backed
// folder where a flush costs nothing, which gives the encoding alone. Last, what a known disc's
// tags (ID3v2.3 and ID3v1, rendered for each rip) add to the rip: untagged and tagged rips run in
// pairs, in turn first, and the median of the pairs' ratios is reported.
//   bench_rip_mp3 [RUNS]

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "encode/EncoderChoices.h"
#include "rip/ExtractTrackToMp3.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/TagLibTags.h"
#include "fileout/clsFileIo.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace {

struct NoProgress : korvalin::MainWindowOps {
  void ChangeProgress(const std::string&, float, float) override {}
};

}  // namespace

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
  test::TempDir dir;
  const std::string audio = discgen::MusicCdFrames(300 * 75, 5);
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "bench", {audio});
  {
    clsFileIo wav;  // the same audio as a CD WAV for the lame command
    wav.OpenFile(dir / "in.wav");
    wav.writeWavHeader(static_cast<int64_t>(audio.size()));
    wav.WriteBytes(audio.data(), static_cast<int32_t>(audio.size()));
    wav.CloseFile();
  }
  const std::string memoryFolder = "/dev/shm/korvalin-bench-" + std::to_string(::getpid());
  ::mkdir(memoryFolder.c_str(), 0700);

  CdioLibrary library({CdioLibrary::ImageDrive(cue)});
  modAKRip32 cd(library);
  if (!cd.OpenDrive(0)) return std::fprintf(stderr, "bench_rip_mp3: cannot open the image\n"), 1;
  HeadlessEventLoop loop;
  ConsoleDialogs dialogs;
  NoProgress progress;
  JobFlags flags;
  LameEncoderLibrary encoder;
  ExtractionContext ctx{cd, progress, dialogs, loop, flags};
  const EncoderConfig config = ExtractionConfig(128, 1, {});
  TagLibTags tagLibrary;
  TrackTags known;
  known.title = "Track One";
  known.artist = known.albumArtist = "Bench Artist";
  known.album = "Bench Album";
  known.year = "2024";
  known.genre = "Rock";
  known.track = 1;
  known.trackCount = 1;
  known.albumId = known.trackId = known.recordingId = known.artistId = known.releaseGroupId =
      "00000000-0000-4000-8000-000000000000";
  auto rip = [&](const std::string& out, bool tagged = false) {
    int32_t first = cd.TrackFirstFrame(1);
    const Mp3TagBlocks tags = tagged ? RenderMp3TagBlocks(known, 3, tagLibrary) : Mp3TagBlocks{};
    ExtractTrackToMp3(ctx, encoder, out, first, cd.TrackEndFrame(1), config, tags);
  };
  auto seconds = [](const std::function<void()>& job) {
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };

  const double onDisk = bench::MedianSeconds(runs, [&] { rip(dir / "ours.mp3"); });
  const double inMemory = bench::MedianSeconds(runs, [&] { rip(memoryFolder + "/ours.mp3"); });
  const double lame = bench::MedianSeconds(runs, [&] {
    bench::Shell("lame --quiet -b 128 --cbr '" + dir.Path() + "/in.wav' '" + memoryFolder + "/lame.mp3'");
  });
  std::vector<double> ratios;
  for (int i = 0; i < std::max(runs, 5); ++i) {
    // Each of the pair goes first in every other run, so a warming cache favours neither.
    const bool taggedFirst = i % 2 == 1;
    double tagged = taggedFirst ? seconds([&] { rip(memoryFolder + "/tagged.mp3", true); }) : 0;
    const double plain = seconds([&] { rip(memoryFolder + "/plain.mp3"); });
    if (!taggedFirst) tagged = seconds([&] { rip(memoryFolder + "/tagged.mp3", true); });
    ratios.push_back(tagged / plain);
  }
  std::sort(ratios.begin(), ratios.end());
  bench::Shell("rm -rf '" + memoryFolder + "'");
  std::printf("5:00 of CD audio at 128 kbit/s \"Normal\", median of %d runs\n", runs);
  bench::Report("korvalin rip-mp3, no flush cost", inMemory, "lame -b 128 --cbr", lame);
  bench::Report("korvalin rip-mp3, flushes on disk", onDisk, "lame -b 128 --cbr", lame);
  std::printf("tagging (ID3v2.3 and ID3v1) adds %+.2f %% to a rip, median of %zu paired runs (range %+.2f to %+.2f %%)\n",
              100.0 * (ratios[ratios.size() / 2] - 1), ratios.size(), 100.0 * (ratios.front() - 1),
              100.0 * (ratios.back() - 1));
  std::printf("the required flushes take %.0f %% of the rip on disk\n", 100.0 * (onDisk - inMemory) / onDisk);
  return 0;
}
