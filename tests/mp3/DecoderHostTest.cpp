// The decoder host on a scripted player control: what its timers show and when it unloads.

#include <gtest/gtest.h>

#include "mp3/Form6.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ScriptedMp3Player.h"
#include "tests/support/StandInJobHost.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using Calls = std::vector<std::string>;

// Whether the host asked the control for a conversion.
bool AskedToConvert(const Calls& calls) {
  for (const auto& call : calls) {
    if (call.rfind("convert ", 0) == 0) return true;
  }
  return false;
}

Services WithPlayer(const Services& base, std::shared_ptr<test::PlayerScript> script) {
  Services s = base;
  s.makeMp3Player = [script] { return std::make_unique<test::ScriptedMp3Player>(script); };
  return s;
}

class DecoderHostTest : public ::testing::Test {
 protected:
  DecoderHostTest() {
    state.DecodeFolder = out.Path();
    test::WriteFile(source, std::string(4096, '\xFF'));
    state.DecodeSource = source;
  }

  test::FakeServices fake;
  std::shared_ptr<test::PlayerScript> player = std::make_shared<test::PlayerScript>();
  Services services = WithPlayer(fake.services, player);
  test::StandInJobHost form{services};
  test::TempDir out;
  const std::string source = out / "Song.mp3";
  DecodeState state;
};

TEST_F(DecoderHostTest, FollowsTheConversionInWholePercentsAndShowsTheEndWithABlank) {
  player->busy = true;
  Form6 host(form, services, state);
  host.Form_Load();
  EXPECT_TRUE(state.DecodeBusy);
  EXPECT_TRUE(host.Loaded());
  const Calls start{"source " + source, "convert " + (out / "Song.wav")};
  EXPECT_EQ(player->calls, start);

  // The length is not known yet: the tick shows nothing rather than a wrong figure.
  fake.loop.Advance(0.5);
  EXPECT_EQ(form.percent, "OFF");
  EXPECT_EQ(form.bar, 0);
  // The second start sequence, half a second after the load, and only that once.
  Calls twice = start;
  twice.insert(twice.end(), start.begin(), start.end());
  EXPECT_EQ(player->calls, twice);

  struct Step {
    int64_t position, length;
    const char* label;
    int32_t bar;
  };
  // 12.5 and 37.5 go to the even neighbour.
  for (const Step s : {Step{57, 100, "57%", 57}, Step{1, 8, "12%", 12}, Step{3, 8, "38%", 38},
                       Step{44100 * 60, 44100 * 60, "100%", 100}}) {
    player->position = s.position;
    player->length = s.length;
    fake.loop.Advance(0.5);
    EXPECT_EQ(form.percent, s.label);
    EXPECT_EQ(form.bar, s.bar);
    EXPECT_TRUE(state.DecodeBusy);
  }
  EXPECT_EQ(player->calls, twice);

  player->busy = false;
  form.bar = 3;
  fake.loop.Advance(0.5);
  EXPECT_EQ(form.percent, "100 %");
  EXPECT_EQ(form.bar, 100);
  EXPECT_FALSE(state.DecodeBusy);
  EXPECT_FALSE(host.Loaded());
  ASSERT_GT(player->calls.size(), twice.size());
  for (std::size_t i = twice.size(); i < player->calls.size(); ++i) EXPECT_EQ(player->calls[i], "stop");

  // Unloaded, the host's timers stay quiet.
  const std::size_t made = player->calls.size();
  fake.loop.Advance(5);
  EXPECT_EQ(player->calls.size(), made);
}

TEST_F(DecoderHostTest, AStopOrASourceTooShortToConvertUnloadsTheHostSoNothingWaits) {
  player->busy = true;
  {
    Form6 host(form, services, state);
    host.Form_Load();
    player->length = 100;
    fake.loop.Advance(0.5);
    form.flags.CaptureStopRequested = kTrue;
    fake.loop.Advance(0.5);
    EXPECT_FALSE(player->busy);  // stopped
    EXPECT_FALSE(state.DecodeBusy);
    EXPECT_FALSE(host.Loaded());
    EXPECT_NE(form.percent, "100 %");
  }

  // Loaded under a stop request, the host starts nothing.
  player->calls.clear();
  state.DecodeBusy = true;
  {
    Form6 host(form, services, state);
    host.Form_Load();
    EXPECT_FALSE(host.Loaded());
    EXPECT_FALSE(state.DecodeBusy);
    EXPECT_FALSE(AskedToConvert(player->calls));
  }

  // 99 bytes are too few to convert; 100 are enough to try.
  form.flags.CaptureStopRequested = kFalse;
  for (const std::size_t size : {99u, 100u}) {
    test::WriteFile(source, std::string(size, '\xFF'));
    player->calls.clear();
    state.DecodeBusy = true;
    Form6 host(form, services, state);
    host.Form_Load();
    EXPECT_EQ(host.Loaded(), size == 100) << size;
    EXPECT_EQ(state.DecodeBusy, size == 100) << size;
    EXPECT_EQ(AskedToConvert(player->calls), size == 100) << size;
  }
}

}  // namespace
}  // namespace korvalin
