#include "platform/qt/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace korvalin {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Whether the platform Qt is told to use is the X one, which fails as abruptly as the default
// when the display is not there ("xcb", or "xcb:" with its options).
bool AskedForX(const std::string& platform) { return platform == "xcb" || platform.starts_with("xcb:"); }

}  // namespace

DisplayCheck::DisplayCheck() {
  const std::string platform = Env("QT_QPA_PLATFORM");
  const bool askedForX = AskedForX(platform);
  // Another platform chosen on purpose (offscreen, a Wayland one) or a Wayland session: Qt's to judge.
  if (!askedForX && (!platform.empty() || !Env("WAYLAND_DISPLAY").empty())) return;
  std::string why;
  if (Env("DISPLAY").empty()) {
    why = askedForX ? "no display: QT_QPA_PLATFORM asks for X and DISPLAY is unset"
                    : "no display: DISPLAY and WAYLAND_DISPLAY are unset";
  } else {
    connection_ = xcb_connect(nullptr, nullptr);
    if (!connection_ || xcb_connection_has_error(connection_) != 0) {
      why = "cannot connect to the display \"" + Env("DISPLAY") + "\"";
    }
  }
  if (why.empty()) return;
  problem_ = "korvalin: " + why +
             ".\n"
             "Start it from a desktop session, or run headless with QT_QPA_PLATFORM=offscreen;\n"
             "korvalin-cli does the same jobs without a window.\n";
}

DisplayCheck::~DisplayCheck() {
  if (connection_) xcb_disconnect(connection_);  // frees a failed connection as well
}

}  // namespace korvalin
