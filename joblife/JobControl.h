#pragma once
// What a window sees of the program's jobs: their life as signals, and the few commands a window
// other than the main one gives them (the tray's "Stop Conversion" and "Shutdown program", the CD
// bar's stop during a recording).
// A window takes this in its constructor and subscribes there; the main window need not know it.

#include "joblife/JobEvents.h"

namespace korvalin {

class JobControl {
 public:
  virtual ~JobControl() = default;
  virtual JobEvents& Events() = 0;
  // The cancel command: the job in hand ends after its block, the commands are free again.
  virtual void Cancel() = 0;
  // "Stop Everything": a rip or an encoding stops after the block in hand, a batch before its
  // next file, a recording is saved.
  virtual void StopEverything() = 0;
  // Closes the decoder window, which ends the conversion in hand.
  virtual void CloseDecoderWindow() = 0;
};

}  // namespace korvalin
