#include "platform/linux/MediaCommandInterpreter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "tests/support/PcmGenerator.h"
#include "tests/support/TempDir.h"
#include "tools/discgen/DiscImage.h"

namespace korvalin {
namespace {

using namespace mcierror;

// The classic CDDB id: digit sums of the track starts in seconds, the disc's length, the count.
uint32_t CddbId(const std::vector<int32_t>& starts) {
  auto digitSum = [](int n) {
    int s = 0;
    for (; n > 0; n /= 10) s += n % 10;
    return s;
  };
  int sum = 0;
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) sum += digitSum((starts[i] + 150) / 75);
  const int length = (starts.back() + 150) / 75 - (starts.front() + 150) / 75;
  return static_cast<uint32_t>((sum % 255) << 24 | length << 8 | static_cast<int>(starts.size() - 1));
}

class MediaCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    // Silence where only the lengths matter; music where the played bytes are compared.
    tracks = {std::string(1600 * 2352, '\0'), std::string((75 * 61 + 10) * 2352, '\0'), discgen::MusicCdFrames(30, 3)};
    cue = discgen::WriteDiscImage(dir.Path(), "disc", tracks);
  }
  std::string Ask(MediaCommandInterpreter& mci, const std::string& command, int32_t* result = nullptr) {
    char reply[64];
    std::memset(reply, ' ', sizeof reply);
    const int32_t r = mci.SendCommand(command, reply, sizeof reply);
    if (result) *result = r;
    return r == 0 ? std::string(reply) : "<" + std::to_string(r) + ">";
  }
  test::TempDir dir;
  std::vector<std::string> tracks;
  std::string cue;
};

TEST_F(MediaCommands, AnswersTheDiscsIdentityTrackCountAndLengths) {
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)});
  EXPECT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  EXPECT_EQ(Ask(mci, "info cd identity"), std::to_string(CddbId({0, 1600, 1600 + 4585, 1600 + 4585 + 30})));
  EXPECT_EQ(Ask(mci, "status cd number of tracks"), "3");
  EXPECT_EQ(mci.SendCommand("set cd time format hms"), 0);
  EXPECT_EQ(Ask(mci, "status cd length track 1"), "00:21");
  EXPECT_EQ(Ask(mci, "status cd length track 2"), "01:01");
  EXPECT_EQ(mci.SendCommand("set cd time format milliseconds"), 0);
  EXPECT_EQ(Ask(mci, "status cd length track 1"), "21333");
  EXPECT_EQ(Ask(mci, "status cd length track 3"), "400");
  EXPECT_EQ(Ask(mci, "status cd position"), "0");
  EXPECT_EQ(mci.SendCommand("close cd"), 0);
  EXPECT_EQ(HmsText(3600 * 1000 + 61 * 1000), "1:01:01");
}

TEST_F(MediaCommands, TheCdDeviceIsTheChosenDrive) {
  const std::string other = discgen::WriteDiscImage(dir.Path(), "other", {discgen::MusicCdFrames(30, 4), discgen::MusicCdFrames(40, 5)});
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue), CdioLibrary::ImageDrive(other)});
  ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  EXPECT_EQ(Ask(mci, "status cd number of tracks"), "3");  // the first drive until told otherwise
  mci.SelectDrive(1);  // closes the first drive's device
  EXPECT_EQ(mci.SendCommand("status cd number of tracks"), kNoSuchAlias);
  ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  EXPECT_EQ(Ask(mci, "status cd number of tracks"), "2");
  mci.SelectDrive(1);  // the same drive again: the device stays open
  EXPECT_EQ(Ask(mci, "status cd number of tracks"), "2");
  for (int32_t none : {-1, 2}) {
    mci.SelectDrive(none);
    EXPECT_EQ(mci.SendCommand("open cdaudio alias cd"), kNoDisc) << none;
  }
}

TEST_F(MediaCommands, RefusesWhatItDoesNotKnowWithoutThrowing) {
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)});
  EXPECT_EQ(mci.SendCommand("status cd number of tracks"), kNoSuchAlias);  // not open yet
  EXPECT_EQ(mci.SendCommand("close cd"), kNoSuchAlias);
  ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  EXPECT_EQ(mci.SendCommand("open cdaudio alias cd"), kAliasInUse);
  int32_t r = 0;
  Ask(mci, "status cd length track 4", &r);
  EXPECT_EQ(r, kBadNumber);
  Ask(mci, "status cd length track x1", &r);
  EXPECT_EQ(r, kBadNumber);
  EXPECT_EQ(mci.SendCommand("play cd from 99999999"), kBadNumber);
  EXPECT_EQ(mci.SendCommand("eject cd"), kUnknownCommand);
  EXPECT_EQ(mci.SendCommand(""), kUnknownCommand);
  EXPECT_EQ(mci.SendCommand("set cd time format tmsf"), kUnknownCommand);
  EXPECT_NE(mci.SendCommand("stop capture"), 0);  // no recorder open
  char tiny[3];
  EXPECT_EQ(mci.SendCommand("status cd length track 1", tiny, sizeof tiny), kReplyTooSmall);
  EXPECT_STREQ(tiny, "21");

  MediaCommandInterpreter none({});
  EXPECT_EQ(none.SendCommand("open cdaudio alias cd"), kNoDisc);
  MediaCommandInterpreter missing({CdioLibrary::ImageDrive(dir / "missing.cue")});
  EXPECT_EQ(missing.SendCommand("open cdaudio alias cd"), kNoDisc);
}

TEST_F(MediaCommands, PlaysTheDiscsFramesFromTheGivenPositionToTheEnd) {
  const std::string out = dir / "played.raw";
  MediaCommandInterpreter mci({CdioLibrary::ImageDrive(cue)}, "file:'" + out + "',raw");
  ASSERT_EQ(mci.SendCommand("open cdaudio alias cd"), 0);
  ASSERT_EQ(mci.SendCommand("set cd time format milliseconds"), 0);
  // The start of track 3: the millisecond lengths of tracks 1 and 2 added up.
  EXPECT_EQ(mci.SendCommand("play cd from " + std::to_string(21333 + 61133)), 0);
  for (int i = 0; i < 500 && Ask(mci, "status cd position") != "82866"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // playback runs on its own thread
  }
  EXPECT_EQ(Ask(mci, "status cd current track"), "3");
  EXPECT_EQ(mci.SendCommand("close cd"), 0);
  EXPECT_TRUE(test::ReadFile(out) == tracks[2]);

  MediaCommandInterpreter mute({CdioLibrary::ImageDrive(cue)}, "hw:99,99");
  ASSERT_EQ(mute.SendCommand("open cdaudio alias cd"), 0);
  EXPECT_EQ(mute.SendCommand("play cd from 0"), kNoAudioOutput);
  EXPECT_EQ(mute.SendCommand("stop cd"), 0);
}

}  // namespace
}  // namespace korvalin
