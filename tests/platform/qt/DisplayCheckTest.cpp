#include "platform/qt/DisplayCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ScopedEnv.h"

namespace korvalin {
namespace {

// A display name no X server answers to here: the first from :97 up with no socket.
std::string UnreachableDisplay() {
  for (int n = 97;; ++n) {
    if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) return ":" + std::to_string(n);
  }
}

TEST(DisplayCheck, SaysWhyNoWindowCanBeShownAndNothingWhenQtCanJudge) {
  const std::string unreachable = UnreachableDisplay();
  struct Case {
    const char* what;
    const char* platform;  // QT_QPA_PLATFORM; nullptr: unset
    const char* wayland;   // WAYLAND_DISPLAY
    std::string display;   // DISPLAY; "" is set but empty
    bool displaySet;
    std::string expected;  // a part of the message; "" when there is none
  };
  const Case cases[] = {
      {"a platform chosen on purpose", "offscreen", nullptr, "", false, ""},
      {"a platform chosen beside an unreachable display", "offscreen", nullptr, unreachable, true, ""},
      {"a Wayland session", nullptr, "wayland-0", "", false, ""},
      {"no display at all", nullptr, nullptr, "", false, "no display: DISPLAY and WAYLAND_DISPLAY are unset"},
      {"an empty DISPLAY", nullptr, nullptr, "", true, "no display: DISPLAY and WAYLAND_DISPLAY are unset"},
      {"a display nobody answers", nullptr, nullptr, unreachable, true,
       "cannot connect to the display \"" + unreachable + "\""},
      {"X asked for in a Wayland session with no X display", "xcb", "wayland-0", "", false,
       "QT_QPA_PLATFORM asks for X and DISPLAY is unset"},
      {"X with options asked for, display unreachable", "xcb:nograb", nullptr, unreachable, true,
       "cannot connect to the display \"" + unreachable + "\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::ScopedEnv env;
    env.Set("QT_QPA_PLATFORM", c.platform).Set("WAYLAND_DISPLAY", c.wayland);
    env.Set("DISPLAY", c.displaySet ? c.display.c_str() : nullptr);
    const std::string problem = DisplayCheck().Problem();
    if (c.expected.empty()) {
      EXPECT_EQ(problem, "");
      continue;
    }
    EXPECT_NE(problem.find(c.expected), std::string::npos) << problem;
    // The message starts with the program's name and ends with what to do instead.
    EXPECT_TRUE(problem.starts_with("korvalin: ")) << problem;
    EXPECT_NE(problem.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << problem;
    EXPECT_NE(problem.find("korvalin-cli"), std::string::npos) << problem;
    EXPECT_TRUE(problem.ends_with('\n')) << problem;
  }
}

}  // namespace
}  // namespace korvalin
