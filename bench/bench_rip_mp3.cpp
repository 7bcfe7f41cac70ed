// Rips a 5-minute track of a generated disc image straight to MP3 at 128 kbit/s "Normal" through
// the program's own extraction, beside the lame command encoding the same audio from a WAV file
// at the same settings, in one run. The program's rip runs twice: into a folder on the disk
// (with the flush after every block and every write that it requires) and into a memory-backed
// folder where a flush costs nothing, which gives the encoding alone.
//   bench_rip_mp3 [RUNS]

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"
#include "encode/EncoderChoices.h"
#include "rip/ExtractTrackToMp3.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/LameEncoderLibrary.h"
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
  auto rip = [&](const std::string& out) {
    int32_t first = cd.TrackFirstFrame(1);
    ExtractTrackToMp3(ctx, encoder, out, first, cd.TrackEndFrame(1), config);
  };

  const double onDisk = bench::MedianSeconds(runs, [&] { rip(dir / "ours.mp3"); });
  const double inMemory = bench::MedianSeconds(runs, [&] { rip(memoryFolder + "/ours.mp3"); });
  const double lame = bench::MedianSeconds(runs, [&] {
    bench::Shell("lame --quiet -b 128 --cbr '" + dir.Path() + "/in.wav' '" + memoryFolder + "/lame.mp3'");
  });
  bench::Shell("rm -rf '" + memoryFolder + "'");
  std::printf("5:00 of CD audio at 128 kbit/s \"Normal\", median of %d runs\n", runs);
  bench::Report("korvalin rip-mp3, no flush cost", inMemory, "lame -b 128 --cbr", lame);
  bench::Report("korvalin rip-mp3, flushes on disk", onDisk, "lame -b 128 --cbr", lame);
  std::printf("the required flushes take %.0f %% of the rip on disk\n", 100.0 * (onDisk - inMemory) / onDisk);
  return 0;
}
