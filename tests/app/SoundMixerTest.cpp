// "Sound Mixer" unloads the Playlist Editor and starts the desktop's mixer program: stand-in
// programs in a folder of their own on PATH record how they were started.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/Form1.h"
#include "desktop/MixerProgram.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ScopedEnv.h"

namespace korvalin {
namespace {

// A program that writes its arguments to `record` (PATH holds only the stand-ins: /bin/mv in full).
void StandIn(const std::string& path, const std::string& record) {
  test::WriteFile(path, "#!/bin/sh\necho \"$@\" > " + record + ".part && /bin/mv " + record + ".part " + record + "\n");
  ::chmod(path.c_str(), 0755);
}

// The stand-in runs on its own: wait (at most ten seconds) for what it wrote.
std::optional<std::string> WaitFor(const std::string& record) {
  for (int i = 0; i < 1000; ++i) {
    if (test::Exists(record)) return test::ReadFile(record);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::nullopt;
}

TEST(SoundMixer, StartsTheFirstMixerInstalledOrSaysThereIsNone) {
  struct Case {
    std::vector<std::string> installed;
    std::string started;
    std::string arguments;  // the start of what the started program received
  };
  const std::vector<Case> cases{
      {{"kmix", "pavucontrol"}, "pavucontrol", "\n"},            // the more common one first
      {{"gnome-control-center"}, "gnome-control-center", "sound\n"},  // opened at its sound page
      {{"alsamixer", "x-terminal-emulator"}, "x-terminal-emulator", "-e /"},  // in a terminal
      {{}, "", ""},  // none: said once per press, in the program's words
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.started);
    test::TempDir bin, out;
    for (const auto& name : c.installed) StandIn(bin / name, out / (name + ".ran"));
    test::ScopedEnv path("PATH", bin.Path().c_str());
    test::FakeServices fake;
    ProgramJobs formJobs{fake.services};
    Form1 form(fake.services, formJobs);
    form.windows.playlistEditor.Show();
    form.toolbar.Command4.Click();
    EXPECT_FALSE(form.windows.playlistEditor.window.Loaded());
    if (c.started.empty()) {
      ASSERT_EQ(fake.dialogs.messages.size(), 1u);
      EXPECT_EQ(fake.dialogs.messages[0].text, kNoMixerProgram);
      EXPECT_EQ(fake.dialogs.messages[0].title, "Sound Mixer");
      continue;
    }
    const auto ran = WaitFor(out / (c.started + ".ran"));
    ASSERT_TRUE(ran);
    EXPECT_EQ(ran->substr(0, c.arguments.size()), c.arguments);
    for (const auto& name : c.installed) EXPECT_EQ(test::Exists(out / (name + ".ran")), name == c.started) << name;
    EXPECT_TRUE(fake.dialogs.messages.empty());
  }
}

}  // namespace
}  // namespace korvalin
