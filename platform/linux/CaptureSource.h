#pragma once
// Where the "capture" device's samples come from: the sound card's recording input, or the
// loopback that hears what the "cd" device plays. A source delivers whole sample blocks of the
// format it accepted, on a thread of its own, until it is stopped.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux/WaveRecording.h"

namespace korvalin {

class CaptureSource {
 public:
  using Sink = std::function<void(const char* bytes, std::size_t length)>;
  virtual ~CaptureSource() = default;

  // False when there is nothing to record from (no sound card that can record).
  virtual bool Open() = 0;
  // Takes `format` for the next recording; false when the source cannot deliver it.
  virtual bool Accept(const WaveFormat& format) = 0;
  // Starts delivering samples to `sink`; false when the source cannot start.
  virtual bool Start(Sink sink) = 0;
  // Stops delivering; no call to the sink runs once this returns.
  virtual void Stop() = 0;
};

// The name by which the loopback source is chosen instead of an ALSA capture device.
inline constexpr const char* kLoopbackCapture = "loopback";

// The recording source the environment asks for: KORVALIN_CAPTURE names an ALSA capture device
// or "loopback"; unset or empty, the ALSA device "default".
std::string CaptureSourceFromEnvironment();

}  // namespace korvalin
