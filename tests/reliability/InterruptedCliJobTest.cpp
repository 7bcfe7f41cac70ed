// korvalin-cli jobs cut off in the middle: killed (a crash, a power cut, kill -9) or stopped by a
// signal (Ctrl+C, a logout, a service manager). A kill leaves the user's file of that name as it
// was and a temporary file that the next job in the folder clears away; a stop keeps a valid,
// shorter file under the name, says so in one line and exits 128 + the signal. Two jobs that write
// the same name at once both keep their output.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "fileout/StagedOutput.h"
#include "tests/support/AudioTools.h"
#include "tests/support/Mp3Analysis.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/RiffWav.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"
#include "tests/tools/CliRunner.h"

namespace korvalin {
namespace {

using test::TempDir;

constexpr int64_t kImageFrames = 200000;  // 44 minutes; only the first seconds hold music (a sparse file)
constexpr const char* kPrecious = "the user's own file, which no interrupted job may touch\n";

// MP3 frames of one stream can follow each other: a short piece repeated is a long stream.
std::string LongMp3(int seed, int repeats) {
  const std::string piece = test::EncodeMp3(discgen::MusicBytes(4 * 44100, seed, 2), 44100, 2, 128);
  std::string stream;
  for (int i = 0; i < repeats; ++i) stream += piece;
  return stream;
}

// The inputs of every job, made once: long enough that no job is done before it is interrupted.
struct Inputs {
  TempDir dir;
  std::string cue, mp3, wav;
  Inputs() {
    const std::string music = discgen::MusicCdFrames(300, 3);
    test::WriteFile(dir / "long.bin", music);
    if (::truncate((dir / "long.bin").c_str(), kImageFrames * 2352) != 0) throw std::runtime_error("truncate failed");
    cue = dir / "long.cue";
    test::WriteFile(cue, "FILE \"long.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    mp3 = dir / "long.mp3";
    test::WriteFile(mp3, LongMp3(5, 400));
    wav = dir / "long.wav";
    // The header is given the whole length; the rest of the data is silence, never stored.
    const auto data = static_cast<uint32_t>(kImageFrames * 2352);
    test::WriteFile(wav, test::RiffFile({{"fmt ", test::FormatBody(1, 2, 44100, 16)}, {"data", music, data}}));
    if (::truncate(wav.c_str(), 44 + static_cast<off_t>(data)) != 0) throw std::runtime_error("truncate failed");
  }
};

const Inputs& SharedInputs() {
  static const Inputs inputs;
  return inputs;
}

struct Job {
  const char* name;
  std::vector<std::string> args;  // the output folder is added or named by `out`
  std::string outName;            // the file the job writes in the output folder
  bool wav;
  int64_t interruptAt;            // bytes of output after which the job is interrupted
};

std::vector<Job> Jobs(const Inputs& in) {
  return {
      {"rip", {"rip", "--image", in.cue, "1"}, "track.wav", true, 4 << 20},
      {"rip-mp3", {"rip-mp3", "--image", in.cue, "1"}, "track.mp3", false, 128 << 10},
      {"decode", {"decode", in.mp3}, "long.wav", true, 4 << 20},
      {"encode", {"encode", in.wav}, "long.mp3", false, 128 << 10},
  };
}

std::vector<std::string> ArgsFor(const Job& job, const std::string& folder) {
  std::vector<std::string> args = job.args;
  args.push_back(job.name == std::string("rip") || job.name == std::string("rip-mp3") ? folder + "/" + job.outName : folder);
  return args;
}

struct Child {
  pid_t pid = -1;
  std::string out, err;  // files holding what it printed
};

Child Start(const std::vector<std::string>& args, const TempDir& capture, const std::string& tag) {
  const std::string out = capture / (tag + ".out"), err = capture / (tag + ".err");
  return {test::StartCli(args, out, err), out, err};
}

// The temporary files of the folder.
std::vector<std::string> Temporaries(const std::string& folder) {
  std::vector<std::string> found;
  long pid = 0;
  for (const std::string& name : test::NamesIn(folder)) {
    if (IsStagedTemporaryName(name, pid)) found.push_back(folder + "/" + name);
  }
  return found;
}

// Waits (a minute at most) until `count` temporary files exist in `folder`, the first holding
// `bytes` or more; false when the job ended first.
bool WaitForOutput(const std::string& folder, int64_t bytes, pid_t pid, std::size_t count = 1) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto temps = Temporaries(folder);
    if (temps.size() >= count && test::FileSize(temps[0]) >= bytes) return true;
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

// Each job is killed once and stopped by a signal once, over a file of the user's of its output's name.
TEST(InterruptedCliJob, AKillLeavesTheUsersFileAndAStopKeepsAValidShorterFileSaidOnce) {
  const Inputs& in = SharedInputs();
  TempDir capture;
  const std::string shortMp3 = capture / "short.mp3";
  test::WriteFile(shortMp3, test::EncodeMp3(discgen::MusicBytes(44100, 2, 2), 44100, 2, 128));
  const int stops[] = {SIGINT, SIGTERM, SIGHUP, SIGINT};
  std::size_t i = 0;
  for (const Job& job : Jobs(in)) {
    for (const int signal : {SIGKILL, stops[i++]}) {
      SCOPED_TRACE(std::string(job.name) + " " + strsignal(signal));
      TempDir out;
      const std::string target = out / job.outName;
      test::WriteFile(target, kPrecious);
      const Child c = Start(ArgsFor(job, out.Path()), capture, "job");
      ASSERT_TRUE(WaitForOutput(out.Path(), job.interruptAt, c.pid)) << "the job ended before it was interrupted";
      ::kill(c.pid, signal);
      ASSERT_EQ(test::WaitCli(c.pid), 128 + signal);
      if (signal == SIGKILL) {
        EXPECT_EQ(test::ReadFile(target), kPrecious);
        ASSERT_EQ(Temporaries(out.Path()).size(), 1u);
        // The next job that writes into the folder clears the dead job's temporary file away.
        const Child next = Start({"decode", shortMp3, out.Path()}, capture, "next");
        ASSERT_EQ(test::WaitCli(next.pid), 0) << test::ReadFile(next.err);
        EXPECT_TRUE(Temporaries(out.Path()).empty());
        EXPECT_EQ(test::ReadFile(target), kPrecious);
        continue;
      }
      const std::string err = test::ReadFile(c.err);
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
      EXPECT_NE(err.find("stopped by"), std::string::npos) << err;
      EXPECT_NE(err.find(target), std::string::npos) << err;
      EXPECT_TRUE(Temporaries(out.Path()).empty());
      const std::string bytes = test::ReadFile(target);
      if (job.wav) {
        const auto wav = test::ParseWav(bytes);
        ASSERT_TRUE(wav) << bytes.size() << " bytes";
        EXPECT_TRUE(test::HeaderIsExact(*wav, bytes.size()));
        EXPECT_GE(static_cast<int64_t>(wav->dataLength), job.interruptAt - 44);
        EXPECT_LT(static_cast<int64_t>(wav->dataLength), kImageFrames * 2352);
      } else {
        const auto scan = test::ScanFrames(bytes);
        EXPECT_GT(scan.frames.size(), 10u);
        EXPECT_EQ(scan.strayBytes, 0u);
      }
    }
  }
}

TEST(InterruptedCliJob, TwoDecodesOfTheSameNameIntoOneFolderBothKeepTheirOutput) {
  TempDir a, b, out, capture;
  test::WriteFile(a / "song.mp3", LongMp3(1, 100));
  test::WriteFile(b / "song.mp3", LongMp3(2, 100));

  // The first is held still once it has begun, until the second has begun too: both run at once.
  const Child first = Start({"decode", a / "song.mp3", out.Path()}, capture, "first");
  ASSERT_TRUE(WaitForOutput(out.Path(), 1, first.pid));
  ::kill(first.pid, SIGSTOP);
  const Child second = Start({"decode", b / "song.mp3", out.Path()}, capture, "second");
  const bool bothRunning = WaitForOutput(out.Path(), 1, second.pid, 2);
  ::kill(first.pid, SIGCONT);
  ASSERT_TRUE(bothRunning);
  ASSERT_EQ(test::WaitCli(first.pid), 0) << test::ReadFile(first.err);
  ASSERT_EQ(test::WaitCli(second.pid), 0) << test::ReadFile(second.err);

  const std::string printed1 = test::ReadFile(first.out), printed2 = test::ReadFile(second.out);
  EXPECT_NE(printed1, printed2);
  for (const std::string& name : {out / "song.wav", out / "song (2).wav"}) {
    SCOPED_TRACE(name);
    const bool byFirst = printed1 == name + "\n";
    ASSERT_TRUE(byFirst || printed2 == name + "\n") << printed1 << printed2;
    const std::string bytes = test::ReadFile(name);
    const auto wav = test::ParseWav(bytes);
    ASSERT_TRUE(wav && test::HeaderIsExact(*wav, bytes.size()));
    EXPECT_GT(wav->dataLength, 300u * 44100u * 4u);
  }
  EXPECT_NE(test::ReadFile(out / "song.wav"), test::ReadFile(out / "song (2).wav"));
  // The one that found its name taken says where its output went.
  const std::string err = test::ReadFile(printed1 == out / "song (2).wav\n" ? first.err : second.err);
  EXPECT_NE(err.find("the output is " + out / "song (2).wav"), std::string::npos) << err;
}

}  // namespace
}  // namespace korvalin
