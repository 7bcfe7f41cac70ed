// The MP3 player adapter on MP3 files made by the encoder: its WAV files are compared with what the
// mpg123 command writes for the same file, and its progress is watched while the worker runs.

#include "platform/linux/Mpg123Player.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>

#include <chrono>
#include <thread>

#include "tests/support/AudioTools.h"
#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavAnalysis.h"

namespace korvalin {
namespace {

using Outcome = Mpg123Player::Outcome;
using test::ParseWav;
using test::WavContents;

// What a poll of the worker saw: progress must never pass the length, positions never go back.
struct Watch {
  bool finishedInTime = false;
  bool sawProgressBeforeTheEnd = false;
  bool positionWentBack = false;
  double largestFraction = 0;
};

Watch WaitUntilIdle(const ActiveMP3& player) {
  Watch w;
  int64_t last = 0;
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < limit) {
    const bool busy = player.Busy();
    const int64_t position = player.Position();  // first the position, then the length
    const int64_t length = player.Length();
    if (length > 0) w.largestFraction = std::max(w.largestFraction, static_cast<double>(position) / length);
    if (position < last) w.positionWentBack = true;
    last = position;
    if (!busy) {
      w.finishedInTime = true;
      break;
    }
    if (position > 0) w.sawProgressBeforeTheEnd = true;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return w;
}

class Mp3Player : public ::testing::Test {
 protected:
  // An MP3 file of generated music, made by the encoder adapter.
  std::string MakeMp3(const std::string& name, double seconds, int rate = 44100, int channels = 2, int kbps = 128,
                      uint32_t seed = 1) {
    const auto frames = static_cast<int64_t>(seconds * rate);
    const std::string path = dir / name;
    test::WriteFile(path, test::EncodeMp3(discgen::MusicBytes(frames, seed, channels, rate), rate, channels, kbps));
    return path;
  }
  // The mpg123 command's WAV of the same file.
  WavContents Reference(const std::string& mp3) {
    const std::string wav = mp3 + ".reference.wav";
    EXPECT_EQ(test::RunTool({"mpg123", "-q", "-w", wav, mp3}), 0);
    auto parsed = ParseWav(test::ReadFile(wav));
    EXPECT_TRUE(parsed.has_value());
    return parsed.value_or(WavContents{});
  }
  // Converts and waits; the WAV written, checked to be a WAV whose header states exactly its data.
  WavContents Convert(Mpg123Player& player, const std::string& mp3, const std::string& wav, Watch* watch = nullptr) {
    player.SetSourceFile(mp3);
    player.ConvertToWav(wav);
    const Watch w = WaitUntilIdle(player);
    EXPECT_TRUE(w.finishedInTime);
    EXPECT_FALSE(w.positionWentBack);
    EXPECT_LE(w.largestFraction, 1.0);
    if (watch) *watch = w;
    const std::string bytes = test::Exists(wav) ? test::ReadFile(wav) : std::string();
    auto parsed = ParseWav(bytes);
    EXPECT_TRUE(parsed && test::HeaderIsExact(*parsed, bytes.size())) << wav;
    return parsed.value_or(WavContents{});
  }
  void ExpectSameAudio(const WavContents& ours, const WavContents& reference) {
    EXPECT_EQ(ours.rate, reference.rate);
    EXPECT_EQ(ours.channels, reference.channels);
    EXPECT_EQ(ours.samples.size(), reference.samples.size());
    const int difference = test::LargestSampleDifference(ours.samples, reference.samples);
    EXPECT_TRUE(difference >= 0 && difference <= 1) << "largest sample difference " << difference;
  }

  test::TempDir dir;
};

TEST_F(Mp3Player, ConvertsLikeTheMpg123CommandAtTheStreamsOwnRateAndChannels) {
  Mpg123Player player;
  struct Case {
    const char* name;
    double seconds;
    int rate, channels, kbps;
  };
  for (const Case c : {Case{"stereo.mp3", 30, 44100, 2, 160}, Case{"mono.mp3", 4, 22050, 1, 64},
                       Case{"Mixed Case.MP3", 1, 48000, 2, 320}}) {
    SCOPED_TRACE(c.name);
    const std::string mp3 = MakeMp3(c.name, c.seconds, c.rate, c.channels, c.kbps);
    Watch watch;
    const WavContents ours = Convert(player, mp3, dir / (std::string(c.name) + ".wav"), &watch);
    EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
    EXPECT_EQ(ours.rate, static_cast<uint32_t>(c.rate));
    EXPECT_EQ(ours.channels, c.channels);
    ExpectSameAudio(ours, Reference(mp3));
    // At the end the position is the whole stream and the length agrees with it.
    EXPECT_EQ(player.Position(), static_cast<int64_t>(ours.samples.size()) / c.channels);
    EXPECT_EQ(player.Length(), player.Position());
  }
}

TEST_F(Mp3Player, ReportsProgressWhileTheWorkerRunsAndATruncatedFileEndsAtWhatItHolds) {
  // The lame command writes a tag frame that announces the length; cut the file, and the
  // announced length is more than the file holds.
  const std::string wavIn = dir / "in.wav";
  test::WritePcmWav(wavIn, discgen::MusicBytes(90 * 44100, 7), 44100, 2);
  const std::string whole = dir / "whole.mp3", cut = dir / "cut.mp3";
  ASSERT_EQ(test::RunTool({"lame", "--quiet", "-b", "128", wavIn, whole}), 0);
  const std::string bytes = test::ReadFile(whole);
  test::WriteFile(cut, bytes.substr(0, bytes.size() / 2 + 77));

  Mpg123Player player;
  player.SetSourceFile(whole);
  player.ConvertToWav(dir / "whole.wav");
  EXPECT_TRUE(player.Busy());  // the conversion runs on after the call returned
  Watch watch;
  const WavContents full = Convert(player, whole, dir / "whole.wav", &watch);
  EXPECT_TRUE(watch.sawProgressBeforeTheEnd);
  EXPECT_EQ(full.samples.size(), 90u * 44100 * 2);  // the tag frame trims the encoder's delay and padding
  ExpectSameAudio(full, Reference(whole));

  const WavContents part = Convert(player, cut, dir / "cut.wav", &watch);
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  EXPECT_GT(watch.largestFraction, 0.3);
  EXPECT_LT(part.samples.size(), full.samples.size() * 6 / 10);
  EXPECT_EQ(player.Length(), player.Position());
  ExpectSameAudio(part, Reference(cut));

  // Garbage beyond the decoder's resync limit in the middle: the WAV holds the audio before it.
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(i * 7 + 3));
  test::WriteFile(dir / "damaged.mp3", bytes.substr(0, bytes.size() / 3) + garbage + bytes.substr(bytes.size() / 3));
  const WavContents damaged = Convert(player, dir / "damaged.mp3", dir / "damaged.wav");
  EXPECT_EQ(player.LastOutcome(), Outcome::DecodeError);
  EXPECT_LT(damaged.samples.size(), full.samples.size() * 4 / 10);
  ExpectSameAudio(damaged, Reference(dir / "damaged.mp3"));

  // Without a tag frame the length is estimated from the first frame: 320 kbit/s frames followed
  // by 32 kbit/s ones hold far more than that estimate. Progress must still stay within the length.
  test::WriteFile(dir / "mixed.mp3",
                  test::ReadFile(MakeMp3("hi.mp3", 1, 44100, 2, 320)) + test::ReadFile(MakeMp3("lo.mp3", 40, 44100, 2, 32)));
  Convert(player, dir / "mixed.mp3", dir / "mixed.wav", &watch);
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  EXPECT_EQ(watch.largestFraction, 1.0);
}

TEST_F(Mp3Player, FilesWithoutMp3AudioEndAtOnceAndLeaveAnExistingWavAlone) {
  Mpg123Player player;
  test::WriteFile(dir / "text.mp3", "This is a text file, renamed.\nIt has no frames at all.\n");
  test::WriteFile(dir / "empty.mp3", "");
  test::WriteFile(dir / "short.mp3", std::string(50, '\xFF'));
  const std::string userWav = "RIFF and the user's own recording";
  for (const char* name : {"text.mp3", "empty.mp3", "short.mp3"}) {
    SCOPED_TRACE(name);
    const std::string wav = dir / (std::string(name) + ".wav");
    test::WriteFile(wav, userWav);
    player.SetSourceFile(dir / name);
    player.ConvertToWav(wav);
    EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
    EXPECT_EQ(player.LastOutcome(), Outcome::NotMp3);
    EXPECT_EQ(test::ReadFile(wav), userWav);
    EXPECT_EQ(player.Position(), 0);
    player.ConvertToWav(dir / (std::string(name) + ".new.wav"));  // and no file appears where there was none
    EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
    EXPECT_FALSE(test::Exists(dir / (std::string(name) + ".new.wav")));
  }
  EXPECT_EQ(test::NamesIn(dir.Path()), (std::vector<std::string>{"empty.mp3", "empty.mp3.wav", "short.mp3", "short.mp3.wav", "text.mp3",
                                                  "text.mp3.wav"}));
}

TEST_F(Mp3Player, ADiskThatFillsBeforeAnyAudioLeavesTheOldWavAndNoTemporaryFile) {
  const std::string mp3 = MakeMp3("full.mp3", 2);
  const std::string wav = dir / "full.wav";
  const std::string userWav(5000, 'u');
  test::WriteFile(wav, userWav);
  // A file size limit makes every write past it fail, as a full disk does: first inside the
  // header, then inside the first block of samples.
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  Mpg123Player player;
  for (rlim_t limit : {rlim_t{20}, rlim_t{1000}}) {
    SCOPED_TRACE(limit);
    rlimit small = old;
    small.rlim_cur = limit;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    player.SetSourceFile(mp3);
    player.ConvertToWav(wav);
    EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(player.LastOutcome(), Outcome::WriteFailed);
    EXPECT_EQ(test::ReadFile(wav), userWav);
    EXPECT_EQ(test::NamesIn(dir.Path()), (std::vector<std::string>{"full.mp3", "full.wav"}));
  }
  std::signal(SIGXFSZ, oldHandler);

  // A link to the user's file: the file it reaches is replaced, the link stays a link.
  ASSERT_EQ(::symlink((dir / "full.wav").c_str(), (dir / "link.wav").c_str()), 0);
  Convert(player, mp3, dir / "link.wav");
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "link.wav").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_NE(test::ReadFile(wav), userWav);
}

TEST_F(Mp3Player, TagChunksFollowTheAudioAndADiskThatRefusesThemKeepsTheAudioWhole) {
  const std::string mp3 = MakeMp3("tagged.mp3", 1);
  Mpg123Player player;
  const WavContents plain = Convert(player, mp3, dir / "plain.wav");
  const int64_t plainSize = test::FileSize(dir / "plain.wav");
  const std::vector<uint8_t> small = {'I', 'S', 'F', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  std::vector<uint8_t> large = {'J', 'U', 'N', 'K', 0, 0, 2, 0};
  large.resize(8 + (2 << 16), 'j');

  player.SetWavTrailer(small);
  player.SetSourceFile(mp3);
  player.ConvertToWav(dir / "tagged.wav");
  EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  const std::string bytes = test::ReadFile(dir / "tagged.wav");
  const auto tagged = ParseWav(bytes);
  ASSERT_TRUE(tagged.has_value());
  EXPECT_EQ(tagged->samples, plain.samples);
  EXPECT_EQ(static_cast<int64_t>(bytes.size()), plainSize + 12);
  EXPECT_EQ(bytes.substr(bytes.size() - 12), std::string(small.begin(), small.end()));
  EXPECT_EQ(tagged->riffLength, bytes.size() - 8);

  // A file size limit just past the audio: the trailer does not fit. A new file keeps the whole
  // audio and no trailer; a file that would replace the user's leaves the user's alone. Both fail.
  const std::string userWav(5000, 'u');
  test::WriteFile(dir / "user.wav", userWav);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  player.SetWavTrailer(large);
  for (const std::string name : {"new.wav", "user.wav"}) {
    SCOPED_TRACE(name);
    rlimit limit = old;
    limit.rlim_cur = static_cast<rlim_t>(plainSize + 4096);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    player.SetSourceFile(mp3);
    player.ConvertToWav(dir / name);
    EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(player.LastOutcome(), Outcome::WriteFailed);
    EXPECT_EQ(player.LastTargetFault(), ActiveMP3::TargetFault::WriteFailed);
    EXPECT_EQ(player.LastTargetCause(), "File too large");
    if (name == "user.wav") {
      EXPECT_EQ(test::ReadFile(dir / name), userWav);
      EXPECT_EQ(player.LastOutputPath(), "");
    } else {
      EXPECT_EQ(test::ReadFile(dir / name), test::ReadFile(dir / "plain.wav"));
      EXPECT_EQ(player.LastOutputPath(), dir / name);
    }
  }
  std::signal(SIGXFSZ, oldHandler);
}

TEST_F(Mp3Player, MissingSourcesAndUnwritableTargetsWriteNothing) {
  Mpg123Player player;
  // A missing source writes nothing; an unwritable target or a full disk ends the conversion.
  player.SetSourceFile(dir / "missing.mp3");
  player.ConvertToWav(dir / "missing.wav");
  EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
  EXPECT_EQ(player.LastOutcome(), Outcome::SourceUnreadable);
  EXPECT_FALSE(test::Exists(dir / "missing.wav"));

  player.SetSourceFile(MakeMp3("good.mp3", 2));
  player.ConvertToWav(dir / "no-such-folder/good.wav");
  EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
  EXPECT_EQ(player.LastOutcome(), Outcome::TargetUnwritable);
  ASSERT_EQ(::mkdir((dir / "no-such-folder").c_str(), 0700), 0);  // once the folder is there, asked again, it works
  Convert(player, dir / "good.mp3", dir / "no-such-folder/good.wav");
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  const std::string good = test::ReadFile(dir / "good.mp3");
  player.ConvertToWav(dir / "good.mp3");  // the source itself as the target: refused, the MP3 kept
  EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
  EXPECT_EQ(player.LastOutcome(), Outcome::TargetUnwritable);
  EXPECT_TRUE(test::ReadFile(dir / "good.mp3") == good);
  // A device is written in place, never replaced by a file of that name.
  struct stat full {};
  if (::stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode)) {
    player.ConvertToWav("/dev/full");
    EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
    EXPECT_EQ(player.LastOutcome(), Outcome::WriteFailed);
    ASSERT_EQ(::stat("/dev/full", &full), 0);
    EXPECT_TRUE(S_ISCHR(full.st_mode));
  }
}

TEST_F(Mp3Player, StopLeavesAValidShorterWavAndAnOldTargetIsReplacedWhole) {
  const std::string mp3 = MakeMp3("long.mp3", 60);
  const std::string wavPath = dir / "long.wav";
  test::WriteFile(wavPath, std::string(30 << 20, 'x'));  // an old, larger file in the way

  Mpg123Player player;
  player.SetSourceFile(mp3);
  player.ConvertToWav(wavPath);
  while (player.Busy() && player.Position() == 0) std::this_thread::yield();
  player.Stop();
  EXPECT_FALSE(player.Busy());
  EXPECT_EQ(player.LastOutcome(), Outcome::Stopped);
  const std::string bytes = test::ReadFile(wavPath);
  const auto stopped = ParseWav(bytes);
  ASSERT_TRUE(stopped && test::HeaderIsExact(*stopped, bytes.size()));
  const WavContents reference = Reference(mp3);
  EXPECT_GT(stopped->samples.size(), 0u);
  EXPECT_LT(stopped->samples.size(), reference.samples.size() / 2);
  const std::vector<int16_t> start(reference.samples.begin(),
                                   reference.samples.begin() + static_cast<std::ptrdiff_t>(stopped->samples.size()));
  EXPECT_LE(test::LargestSampleDifference(stopped->samples, start), 1);

  // Converted again, the file holds the whole stream and nothing of what was there before.
  ExpectSameAudio(Convert(player, mp3, wavPath), reference);
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st;
}

TEST_F(Mp3Player, ARepeatedStartNeitherRestartsNorRedoesTheSameConversion) {
  const std::string mp3 = MakeMp3("a.mp3", 60), other = MakeMp3("b.mp3", 3, 44100, 2, 128, 9);
  const std::string wav = dir / "a.wav";
  Mpg123Player player;
  player.SetSourceFile(mp3);
  player.ConvertToWav(wav);
  while (player.Busy() && player.Position() == 0) std::this_thread::yield();
  const int64_t reached = player.Position();
  player.SetSourceFile(mp3);  // the second start sequence, while the first conversion runs
  player.ConvertToWav(wav);
  EXPECT_GE(player.Position(), reached);
  const WavContents first = Convert(player, mp3, wav);
  ExpectSameAudio(first, Reference(mp3));

  // Once it has ended, the same start again leaves the finished file alone, even when a stop
  // follows at once.
  const struct stat before = StatOf(wav);
  player.SetSourceFile(mp3);
  player.ConvertToWav(wav);
  EXPECT_FALSE(player.Busy());
  player.Stop();
  const struct stat after = StatOf(wav);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_size, before.st_size);

  // A changed target is converted again; so is another source into the same target.
  test::WriteFile(wav, "damaged");
  EXPECT_EQ(Convert(player, mp3, wav).samples, first.samples);
  EXPECT_EQ(Convert(player, other, wav).samples.size(), Reference(other).samples.size());
}

TEST_F(Mp3Player, AStreamThatChangesFormatEndsWhereItChanges) {
  const std::string stereo = test::ReadFile(MakeMp3("s.mp3", 2)), mono = test::ReadFile(MakeMp3("m.mp3", 2, 22050, 1, 64));
  test::WriteFile(dir / "both.mp3", stereo + mono);
  Mpg123Player player;
  const WavContents wav = Convert(player, dir / "both.mp3", dir / "both.wav");
  EXPECT_EQ(player.LastOutcome(), Outcome::FormatChanged);
  EXPECT_EQ(wav.rate, 44100u);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.samples, Convert(player, dir / "s.mp3", dir / "s.wav").samples);
}

TEST_F(Mp3Player, PlaysTheWholeStreamOnTheOutputAndStaysQuietWithoutOne) {
  const std::string mp3 = MakeMp3("p.mp3", 3, 22050, 1, 64);
  const std::string raw = dir / "played.raw";
  Mpg123Player player("file:'" + raw + "',raw");
  player.SetSourceFile(mp3);
  player.Play();
  EXPECT_TRUE(WaitUntilIdle(player).finishedInTime);
  EXPECT_EQ(player.LastOutcome(), Outcome::Finished);
  const WavContents decoded = Convert(player, mp3, dir / "p.wav");
  const std::string played = test::ReadFile(raw);
  EXPECT_TRUE(played == test::ReadFile(dir / "p.wav").substr(decoded.dataOffset));

  Mpg123Player mute("hw:99,99");
  mute.SetSourceFile(mp3);
  mute.Play();
  EXPECT_FALSE(mute.Busy());
  EXPECT_EQ(mute.LastOutcome(), Outcome::NoAudioOutput);
  mute.SetSourceFile(dir / "missing.mp3");
  mute.Play();
  EXPECT_FALSE(mute.Busy());
  mute.Stop();
}

}  // namespace
}  // namespace korvalin
