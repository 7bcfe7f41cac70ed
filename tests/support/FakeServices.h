#pragma once
// Every platform service as a test double, owned in one place.

#include "controls/Window.h"
#include "platform/Services.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/FakeCdLibrary.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"

namespace korvalin::test {

struct FakeServices {
  ScriptedEventLoop loop;
  ScriptedDialogs dialogs;
  controls::Screen screen;
  FakeCdLibrary cd;
  LameEncoderLibrary encoder;  // the real encoder: its output is cheap to check
  Services services{loop, dialogs, screen, cd, encoder};
};

}  // namespace korvalin::test
