#include "desktop/MixerProgram.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/ScopedEnv.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

// A mixer that is installed but cannot run is a failure the user hears of, with the program's
// path and the system's reason, never a silent success.
TEST(OpenSoundMixer, SaysWhyAnInstalledMixerCouldNotStart) {
  test::TempDir bin;
  const std::string mixer = bin / "pavucontrol";
  test::WriteFile(mixer, "not a program\n");  // executable, but no format the system runs
  ::chmod(mixer.c_str(), 0755);
  test::ScopedEnv path("PATH", bin.Path().c_str());
  test::ScriptedDialogs dialogs;
  OpenSoundMixer(dialogs);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const test::MessageCall& said = dialogs.messages[0];
  const std::string opening = "The sound mixer " + mixer + " could not be started: ";
  EXPECT_EQ(said.text.substr(0, opening.size()), opening);
  EXPECT_GT(said.text.size(), opening.size());  // the reason follows
  EXPECT_EQ(said.icon, MsgBoxIcon::Exclamation);
  EXPECT_EQ(said.title, "Sound Mixer");
}

}  // namespace
}  // namespace korvalin
