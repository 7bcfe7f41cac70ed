// A rip killed in the middle (a crash, a power cut, the user's kill): the WAV it leaves promises
// the whole track in its header but holds less. The program's WAV reader takes what is there,
// and the main window lists the file at its next start.

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/Form1.h"
#include "encode/WavInput.h"
#include "tests/support/FakeServices.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::TempDir;

constexpr int64_t kFrames = 45000;             // ten minutes of audio, 106 MB
constexpr int64_t kMusicBytes = 1000 * 2352;   // real music at the start; silence after (a sparse file)
constexpr int64_t kKillAfterBytes = 8 << 20;

// A one-track image whose BIN costs neither time nor disk space beyond its first frames.
std::string WriteLongImage(const std::string& folder, std::string& music) {
  music = discgen::MusicCdFrames(kMusicBytes / 2352, 3);
  {
    std::ofstream bin(folder + "/long.bin", std::ios::binary);
    bin.write(music.data(), static_cast<std::streamsize>(music.size()));
  }
  if (::truncate((folder + "/long.bin").c_str(), kFrames * 2352) != 0) throw std::runtime_error("truncate failed");
  std::ofstream(folder + "/long.cue") << "FILE \"long.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
  return folder + "/long.cue";
}

int64_t SizeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

TEST(KilledRip, ThePartialWavIsReadAsFarAsItGoesAndListedAtTheNextStart) {
  TempDir disc, music;
  std::string audio;
  const std::string cue = WriteLongImage(disc.Path(), audio);
  const std::string wav = music / "1-1.wav";

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execl(KORVALIN_CLI, KORVALIN_CLI, "rip", "--image", cue.c_str(), "1", wav.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  // Kill it once a few megabytes are in; it flushes every block, so it cannot be done by then.
  int status = 0;
  bool ended = false;
  while (SizeOf(wav) < kKillAfterBytes) {
    ::sched_yield();
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      ended = true;
      break;
    }
  }
  if (!ended) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the rip ended on its own before the kill";

  const int64_t size = SizeOf(wav);
  ASSERT_GT(size, kKillAfterBytes - 1);
  ASSERT_LT(size, 44 + kFrames * 2352);
  WavInput reader(wav);
  EXPECT_EQ(reader.Format().channels, 2);
  EXPECT_EQ(reader.Format().sampleRate, 44100);
  EXPECT_EQ(reader.Format().dataLength, size - 44);
  std::string read(static_cast<std::size_t>(size), '\0');
  const int32_t n = reader.Read(read.data(), static_cast<int32_t>(read.size()));
  ASSERT_EQ(n, size - 44);
  read.resize(static_cast<std::size_t>(n));
  EXPECT_TRUE(read.substr(0, audio.size()) == audio) << "the music at the start differs";
  EXPECT_EQ(std::count(read.begin() + static_cast<std::ptrdiff_t>(audio.size()), read.end(), '\0'),
            n - static_cast<int64_t>(audio.size()));

  test::FakeServices fake;
  fake.store.values[{kSettingsApplication, kSettingsSection, settingkey::DecodePath}] = music.Path();
  Form1 form(fake.services);
  form.Form_Load();
  const auto& listed = form.collection.List1.Items();
  EXPECT_NE(std::find(listed.begin(), listed.end(), wav), listed.end());
}

}  // namespace
}  // namespace korvalin
