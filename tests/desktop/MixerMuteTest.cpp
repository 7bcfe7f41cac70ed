#include "desktop/MixerMute.h"

#include <gtest/gtest.h>

#include "platform/linux/AlsaMixer.h"
#include "tests/support/FakeMixer.h"
#include "tests/support/ScriptedDialogs.h"

namespace korvalin {
namespace {

using Calls = std::vector<std::string>;

TEST(MixerMute, PreparingLooksUpReadsAndTurnsSpeakerAndCdVolumeFullyUp) {
  test::FakeMixer mixer;
  test::ScriptedDialogs dialogs;
  MixerMute mute(mixer, dialogs);
  mute.OpenAndPrepare();
  EXPECT_EQ(mixer.calls, (Calls{"Open", "LookUp Speakers Volume", "Get 1", "LookUp CD Volume", "Get 2",
                                "LookUp Speakers Bass", "Get 3", "LookUp Speakers Treble", "Get 4", "Set 1 65535",
                                "Set 2 65535"}));
  EXPECT_EQ(mixer.Value(MixerLine::Speakers, MixerControlType::Volume), 65535);
  EXPECT_EQ(mixer.Value(MixerLine::CompactDisc, MixerControlType::Volume), 65535);
  EXPECT_EQ(mixer.Value(MixerLine::Speakers, MixerControlType::Bass), -1);  // read, never written
  EXPECT_TRUE(dialogs.messages.empty());

  mixer.calls.clear();
  mute.MuteCD();
  EXPECT_EQ(mixer.Value(MixerLine::CompactDisc, MixerControlType::Mute), 1);
  mute.UnmuteCD();
  EXPECT_EQ(mixer.Value(MixerLine::CompactDisc, MixerControlType::Mute), 0);
  EXPECT_EQ(mixer.calls, (Calls{"LookUp CD Mute", "Set 5 1", "LookUp CD Mute", "Set 5 0"}));
}

TEST(MixerMute, NoMixerSaysSoOnceAndEverythingElseFailsUnseen) {
  test::FakeMixer mixer;
  mixer.opens = false;
  test::ScriptedDialogs dialogs;
  MixerMute mute(mixer, dialogs);
  mute.OpenAndPrepare();
  mute.MuteCD();
  mute.UnmuteCD();
  EXPECT_EQ(dialogs.MessageTexts(),
            (Calls{"Couldn't open the mixer please check if a audio mixer is installed then retry."}));
  EXPECT_EQ(dialogs.messages[0].buttons, MsgBoxButtons::OK);
  EXPECT_EQ(mixer.calls, (Calls{"Open", "Set 0 65535", "Set 0 65535", "LookUp CD Mute", "Set 0 1", "LookUp CD Mute",
                                "Set 0 0"}));
  EXPECT_FALSE(mute.LastCallSucceeded);
}

TEST(MixerMute, ACardWithoutACdLineSetsTheSpeakersAndLeavesMuteSilent) {
  test::FakeMixer mixer;
  mixer.controls = {{MixerLine::Speakers, MixerControlType::Volume}};
  test::ScriptedDialogs dialogs;
  MixerMute mute(mixer, dialogs);
  mute.OpenAndPrepare();
  mute.MuteCD();
  EXPECT_EQ(mixer.Value(MixerLine::Speakers, MixerControlType::Volume), 65535);
  EXPECT_EQ(mute.CdMute.id, 0u);
  EXPECT_FALSE(mute.LastCallSucceeded);
  EXPECT_TRUE(dialogs.messages.empty());
}

// The machine's default card. Where there is one, its volumes are the user's and are left alone.
TEST(AlsaMixer, NoSoundCardGivesTheOneMessageAndMutingDoesNothing) {
  if (AlsaMixer().Open()) GTEST_SKIP() << "this machine has a mixer";
  AlsaMixer mixer;
  test::ScriptedDialogs dialogs;
  MixerMute mute(mixer, dialogs);
  mute.OpenAndPrepare();
  mute.MuteCD();
  mute.UnmuteCD();
  EXPECT_EQ(dialogs.MessageTexts(),
            (Calls{"Couldn't open the mixer please check if a audio mixer is installed then retry."}));
  EXPECT_EQ(mute.CdMute.id, 0u);
  EXPECT_EQ(mixer.GetValue(mute.SpeakerVolume), -1);
}

TEST(AlsaMixer, AMissingCardIsNoMixer) {
  AlsaMixer mixer("hw:99");
  EXPECT_FALSE(mixer.Open());
  MixerControl control;
  EXPECT_FALSE(mixer.LookUp(MixerLine::CompactDisc, MixerControlType::Mute, control));
  EXPECT_EQ(mixer.GetValue(control), -1);
  EXPECT_FALSE(mixer.SetValue(control, 0));
}

}  // namespace
}  // namespace korvalin
