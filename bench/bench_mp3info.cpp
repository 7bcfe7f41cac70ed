// Times the header and tag analysis of a 5 MB MP3 (made with the program's encoder, tagged with
// the program's tag writer) beside the start-up of `mpg123 -t` on the same file (test mode, one
// frame decoded), in one run. Both are measured as whole processes (`korvalin-cli mp3info` and
// mpg123), and the analysis alone is also timed in this process.
//   bench_mp3info [RUNS]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"
#include "mp3/Id3v1Tag.h"
#include "mp3/Mp3Info.h"
#include "platform/linux/ProgramFolder.h"
#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
  const std::string cli = ProgramFolder() + "/korvalin-cli";
  test::TempDir dir;
  const std::string mp3 = dir / "bench.mp3";
  // 160 kbit/s: 262 seconds make 5 MB.
  test::WriteFile(mp3, test::EncodeMp3(discgen::MusicBytes(262LL * 44100, 5), 44100, 2, 160));
  WriteId3v1Tag(mp3, {"Title", "Artist", "Album", "2024", "Comment", "17"});

  Mp3Info info;
  const auto cold = std::chrono::steady_clock::now();
  GetMp3Info(mp3, info);
  const double first = std::chrono::duration<double>(std::chrono::steady_clock::now() - cold).count();
  if (info.bitrate != 160 || !info.hasTag) {
    std::fprintf(stderr, "bench_mp3info: the analysis read %d kbit/s, tag %d\n", info.bitrate, info.hasTag);
    return 1;
  }
  const double inProcess = bench::MedianSeconds(runs * 10, [&] { GetMp3Info(mp3, info); });

  auto quoted = [](const std::string& s) { return "'" + s + "'"; };
  const double ours = bench::MedianSeconds(runs, [&] { bench::Shell(quoted(cli) + " mp3info " + quoted(mp3) + " > /dev/null"); });
  const double theirs = bench::MedianSeconds(runs, [&] { bench::Shell("mpg123 -q -t -n 1 " + quoted(mp3)); });

  std::printf("GetMp3Info on a %.1f MB MP3: first call %.3f ms, median of %d calls %.3f ms\n",
              static_cast<double>(test::FileSize(mp3)) / 1e6, first * 1e3, runs * 10, inProcess * 1e3);
  std::printf("whole processes, median of %d runs:\n", runs);
  bench::Report("korvalin-cli mp3info", ours, "mpg123 -t -n 1", theirs);
  return inProcess < 0.005 ? 0 : 1;
}
