// Decodes a 5-minute 160 kbit/s MP3 (made with the program's encoder) to WAV with
// `korvalin-cli decode`, beside `mpg123 -w` on the same file, in one run. Both are whole processes
// writing into the same folder; prints median times and their ratio, and checks that both wrote
// the same amount of audio.
//   bench_decode [RUNS]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"
#include "platform/linux/ProgramFolder.h"
#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

int main(int argc, char** argv) {
  using namespace korvalin;
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::string cli = ProgramFolder() + "/korvalin-cli";
  test::TempDir dir;
  const std::string mp3 = dir / "bench.mp3";
  test::WriteFile(mp3, test::EncodeMp3(discgen::MusicBytes(300LL * 44100, 5), 44100, 2, 160));

  auto quoted = [](const std::string& s) { return "'" + s + "'"; };
  const double ours = bench::MedianSeconds(runs, [&] {
    bench::Shell(quoted(cli) + " decode " + quoted(mp3) + " " + quoted(dir.Path()) + " > /dev/null");
  });
  const double theirs = bench::MedianSeconds(runs, [&] {
    bench::Shell("mpg123 -q -w " + quoted(dir / "mpg123.wav") + " " + quoted(mp3));
  });

  const auto a = test::ParseWav(test::ReadFile(dir / "bench.wav"));
  const auto b = test::ParseWav(test::ReadFile(dir / "mpg123.wav"));
  if (!a || !b || a->samples.size() != b->samples.size()) {
    std::fprintf(stderr, "bench_decode: the two WAV files differ in length\n");
    return 1;
  }
  std::printf("5:00 MP3 at 160 kbit/s to WAV, median of %d runs\n", runs);
  bench::Report("korvalin-cli decode", ours, "mpg123 -w", theirs);
  std::printf("realtime factors: korvalin %.0fx, mpg123 %.0fx\n", 300 / ours, 300 / theirs);
  return ours <= 1.3 * theirs ? 0 : 1;
}
