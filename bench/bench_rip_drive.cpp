// Rips a disc image served by a simulated CD drive (KORVALIN_SIMULATED_DRIVE) straight to MP3
// (128 kbit/s "Normal") and to WAV through the program's own extraction, with read-ahead on and
// off, and reads the same blocks with nothing else to do: the drive's pure read time. The disc
// holds the five tracks of the demo disc and a 12-minute track. Each run times the five jobs
// back to back (their order turns from run to run), so every ratio compares times taken under the
// same load; the medians of the ratios over the runs are printed, ending with one line per output
// and speed.
//   bench_rip_drive [--runs N] [--speeds 8,24,37] [--short] [--seek MS] [--out FOLDER]
// --short leaves the 12-minute track out (a quick run); --seek sets the drive's seek cost
// (default 75 ms); --out writes the rips into FOLDER instead of a temporary folder on the disk
// (a folder in /dev/shm leaves out the cost of the flushes the rips make, which on a disk shared
// with other work can exceed the encoding). A full run at the default 5 runs takes about an hour.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "encode/EncoderChoices.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/DiscReading.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "rip/ExtractTrackToMp3.h"
#include "rip/ExtractTrackToWav.h"
#include "rip/TrackBuffer.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"
#include "tools/discgen/MusicPcm.h"

namespace {

using namespace korvalin;

struct NoProgress : MainWindowOps {
  void ChangeProgress(const std::string&, float, float) override {}
};

enum class Job { Read, Mp3On, Mp3Off, WavOn, WavOff };
constexpr Job kJobs[] = {Job::Read, Job::Mp3On, Job::Mp3Off, Job::WavOn, Job::WavOff};

struct Options {
  int runs = 5;
  std::vector<int> speeds = {8, 24, 37};
  bool withLongTrack = true;
  int seekMs = 75;
  std::string out;
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--runs" && hasValue) {
      o.runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--speeds" && hasValue) {
      o.speeds.clear();
      for (const char* p = argv[++i]; *p;) {
        char* end = nullptr;
        const long s = std::strtol(p, &end, 10);
        if (end == p || s <= 0) break;
        o.speeds.push_back(static_cast<int>(s));
        p = *end == ',' ? end + 1 : end;
      }
    } else if (arg == "--short") {
      o.withLongTrack = false;
    } else if (arg == "--out" && hasValue) {
      o.out = argv[++i];
    } else if (arg == "--seek" && hasValue) {
      o.seekMs = std::max(0, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "Usage: bench_rip_drive [--runs N] [--speeds 8,24,37] [--short] [--seek MS] [--out FOLDER]\n");
      std::exit(2);
    }
  }
  if (o.speeds.empty()) o.speeds = {37};
  return o;
}

// Every block of every track read as the extraction reads it, and nothing else done.
void ReadEveryBlock(modAKRip32& cd, int tracks) {
  TrackBuffer buffer;
  for (int t = 1; t <= tracks; ++t) {
    const int32_t end = cd.TrackEndFrame(t);
    for (int32_t f = cd.TrackFirstFrame(t); f < end; f += TrackBuffer::kFramesPerBlock) {
      if (!buffer.ReadBlock(cd, f, std::min(TrackBuffer::kFramesPerBlock, end - f))) {
        std::fprintf(stderr, "bench_rip_drive: the image cannot be read at frame %d\n", f);
        std::exit(1);
      }
    }
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  test::TempDir dir;
  // The demo disc's tracks (lengths in seconds, as it is made), then 12 minutes.
  std::vector<double> seconds = {21.3, 17.8, 26.1, 14.6, 19.9};
  if (options.withLongTrack) seconds.push_back(12 * 60);
  std::vector<std::string> tracks;
  double audioSeconds = 0;
  for (std::size_t i = 0; i < seconds.size(); ++i) {
    tracks.push_back(discgen::MusicCdFrames(static_cast<long>(seconds[i] * 75), static_cast<uint32_t>(i + 1)));
    audioSeconds += static_cast<double>(tracks.back().size()) / 176400.0;
  }
  const std::string cue = discgen::WriteDiscImage(dir.Path(), "drive", tracks);
  tracks.clear();
  tracks.shrink_to_fit();
  const std::string out = (options.out.empty() ? dir.Path() : options.out) + "/bench_rip_drive." + std::to_string(::getpid());
  std::filesystem::create_directory(out);

  HeadlessEventLoop loop;
  ConsoleDialogs dialogs;
  NoProgress progress;
  JobFlags flags;
  LameEncoderLibrary encoder;
  const EncoderConfig config = ExtractionConfig(128, 1, {});
  const int trackCount = static_cast<int>(seconds.size());

  // One job, timed from the first read to the end of the last track.
  auto timeJob = [&](Job job) {
    const bool readAhead = job == Job::Mp3On || job == Job::WavOn;
    ::setenv(kReadAheadVariable, readAhead ? "1" : "0", 1);
    CdioLibrary library({CdioLibrary::ImageDrive(cue)});
    modAKRip32 cd(library);
    if (!cd.OpenDrive(0)) {
      std::fprintf(stderr, "bench_rip_drive: cannot open the image\n");
      std::exit(1);
    }
    ExtractionContext ctx{cd, progress, dialogs, loop, flags};
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    const auto start = std::chrono::steady_clock::now();
    for (int t = 1; t <= trackCount && job != Job::Read; ++t) {
      const std::string name = out + "/track" + std::to_string(t);
      if (job == Job::Mp3On || job == Job::Mp3Off) {
        int32_t first = cd.TrackFirstFrame(t);
        ExtractTrackToMp3(ctx, encoder, name + ".mp3", first, cd.TrackEndFrame(t), config);
      } else {
        ExtractTrackToWav(ctx, name + ".wav", cd.TrackFirstFrame(t), cd.TrackEndFrame(t));
      }
    }
    if (job == Job::Read) ReadEveryBlock(cd, trackCount);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cd.CloseDrive();
    return s;
  };

  std::printf("%d tracks, %.1f minutes of audio; simulated drive with a %d ms seek; rips into %s; medians of %d paired runs\n",
              trackCount, audioSeconds / 60, options.seekMs, out.c_str(), options.runs);
  std::vector<std::string> summary;
  for (const int speed : options.speeds) {
    const std::string drive = std::to_string(speed) + "x,seek=" + std::to_string(options.seekMs) + "ms";
    ::setenv(kSimulatedDriveVariable, drive.c_str(), 1);
    std::vector<double> times[5];
    for (int run = 0; run < options.runs; ++run) {
      for (int k = 0; k < 5; ++k) {
        const int j = (k + run) % 5;  // each job goes first in turn
        times[j].push_back(timeJob(kJobs[j]));
      }
    }
    auto ratio = [&](Job job) {
      std::vector<double> r;
      for (int run = 0; run < options.runs; ++run) {
        r.push_back(times[static_cast<int>(job)][static_cast<std::size_t>(run)] / times[0][static_cast<std::size_t>(run)]);
      }
      return Median(r);
    };
    std::printf("\n%dx: pure read %.2f s (the audio at %.1fx: %.2f s)\n", speed, Median(times[0]), static_cast<double>(speed),
                audioSeconds / speed);
    const char* names[] = {"read", "rip-mp3, read-ahead on", "rip-mp3, read-ahead off", "rip-wav, read-ahead on",
                           "rip-wav, read-ahead off"};
    for (int j = 1; j < 5; ++j) {
      std::printf("  %-26s %8.2f s   %.3fx the read time\n", names[j], Median(times[j]), ratio(kJobs[j]));
    }
    char line[200];
    std::snprintf(line, sizeof line, "rip-mp3 at %dx: %.2fx the read time (read-ahead on), %.2fx (off)", speed,
                  ratio(Job::Mp3On), ratio(Job::Mp3Off));
    summary.push_back(line);
    std::snprintf(line, sizeof line, "rip-wav at %dx: %.2fx the read time (read-ahead on), %.2fx (off)", speed,
                  ratio(Job::WavOn), ratio(Job::WavOff));
    summary.push_back(line);
  }
  std::printf("\n");
  for (const auto& line : summary) std::printf("%s\n", line.c_str());
  std::filesystem::remove_all(out);
  return 0;
}
