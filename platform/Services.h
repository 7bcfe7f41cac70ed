#pragma once
// The services through which the program reaches the outside world. main() fills them with the
// real adapters; tests fill them with the fakes of tests/support.

#include "controls/Window.h"
#include "platform/CdExtractionLibrary.h"
#include "platform/Dialogs.h"
#include "platform/EncoderLibrary.h"
#include "platform/EventLoop.h"

namespace korvalin {

struct Services {
  EventLoop& loop;
  Dialogs& dialogs;
  controls::Screen& screen;
  CdExtractionLibrary& cdLibrary;
  EncoderLibrary& encoder;
};

}  // namespace korvalin
