// Encodes a 5-minute CD WAV at 160 kbit/s (bitrate index 9) "Normal" with `korvalin-cli encode`
// beside the lame command at the same settings, in one run. The program's encoding runs twice:
// into a folder on the disk (with the flush after every MP3 write that it requires) and into a
// memory-backed folder where a flush costs nothing, which gives the encoding alone. lame runs with
// its defaults and once more without its loudness analysis, which the program does not do.
//
// The jobs take turns within each round, so a busy machine slows them alike; each is reported as
// the median of its wall-clock times and of its processor times (user + system, which a busy
// machine hardly changes).
//   bench_encode [RUNS]

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"

namespace {

// korvalin-cli, built beside this program.
std::string CliBesideMe() {
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
  return path.substr(0, path.rfind('/') + 1) + "korvalin-cli";
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

double ChildProcessorSeconds() {
  rusage r{};
  ::getrusage(RUSAGE_CHILDREN, &r);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(r.ru_utime) + seconds(r.ru_stime);
}

struct Job {
  std::string name;
  std::string command;
  std::vector<double> wall, processor;
  double Wall() const { return Median(wall); }
  double Processor() const { return Median(processor); }
  static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }
};

void Run(Job& job) {
  const double cpuBefore = ChildProcessorSeconds();
  const auto start = std::chrono::steady_clock::now();
  korvalin::bench::Shell(job.command);
  job.wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  job.processor.push_back(ChildProcessorSeconds() - cpuBefore);
}

void Line(const Job& ours, const Job& theirs) {
  std::printf("%-36s %6.2f s (cpu %5.2f s)   %-28s %6.2f s (cpu %5.2f s)   ratio %.2f (cpu %.2f)\n", ours.name.c_str(),
              ours.Wall(), ours.Processor(), theirs.name.c_str(), theirs.Wall(), theirs.Processor(),
              ours.Wall() / theirs.Wall(), ours.Processor() / theirs.Processor());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string cli = CliBesideMe();
  if (::access(cli.c_str(), X_OK) != 0) return std::fprintf(stderr, "bench_encode: %s is not built\n", cli.c_str()), 1;

  test::TempDir dir;
  const std::string wav = dir / "in.wav";
  test::WriteFile(wav, test::PcmWav(discgen::MusicCdFrames(300 * 75, 5), 44100, 2));
  const std::string memory = "/dev/shm/korvalin-bench-" + std::to_string(::getpid());
  ::mkdir(memory.c_str(), 0700);

  const std::string ours = Quoted(cli) + " encode --bitrate-index 9 --quality 1 " + Quoted(wav) + " ";
  const std::string lame = "lame --quiet -b 160 --cbr ";
  Job onDisk{"korvalin-cli encode, flushes on disk", ours + Quoted(dir.Path()) + " >/dev/null", {}, {}};
  Job inMemory{"korvalin-cli encode, no flush cost", ours + Quoted(memory) + " >/dev/null", {}, {}};
  Job lameDefault{"lame -b 160 --cbr", lame + Quoted(wav) + " " + Quoted(memory + "/lame.mp3"), {}, {}};
  Job lameEncodingOnly{"lame ... --noreplaygain", lame + "--noreplaygain " + Quoted(wav) + " " + Quoted(memory + "/lame.mp3"), {}, {}};
  for (int i = 0; i < runs; ++i) {
    for (Job* job : {&onDisk, &inMemory, &lameDefault, &lameEncodingOnly}) Run(*job);
  }
  const long long ourBytes = test::FileSize(memory + "/in.mp3");
  const long long lameBytes = test::FileSize(memory + "/lame.mp3");
  bench::Shell("rm -rf " + Quoted(memory));

  std::printf("5:00 of CD audio at 160 kbit/s \"Normal\", median of %d runs\n", runs);
  Line(inMemory, lameDefault);
  Line(inMemory, lameEncodingOnly);
  Line(onDisk, lameDefault);
  std::printf("the required flushes take %.0f %% of the wall-clock time of the encoding on disk (%.2f s)\n",
              100.0 * (onDisk.Wall() - inMemory.Wall()) / onDisk.Wall(), onDisk.Wall() - inMemory.Wall());
  std::printf("MP3 sizes: korvalin %lld bytes, lame %lld bytes\n", ourBytes, lameBytes);
  return 0;
}
