#pragma once
// A loopback for machines without a recording input: the "cd" device plays the disc's frames in
// real time into it instead of a sound card, and the "capture" device records what it hears.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/linux/CaptureSource.h"
#include "platform/linux/DiscReader.h"

namespace korvalin {

// Plays a disc's frames at the pace of real playback (75 frames a second) and hands each frame,
// as it is played, to the listener.
class LoopbackPlayer {
 public:
  // Stereo 16-bit samples at 44100 Hz: `pairs` sample pairs of one frame.
  using Listener = std::function<void(const int16_t* samples, std::size_t pairs)>;

  LoopbackPlayer() = default;
  ~LoopbackPlayer() { Stop(); }
  LoopbackPlayer(const LoopbackPlayer&) = delete;
  LoopbackPlayer& operator=(const LoopbackPlayer&) = delete;

  // Plays frames [from, end) of `disc`; the disc must stay open until Stop.
  bool Start(DiscReader* disc, int32_t from, int32_t end);
  // Stops at once and waits for the worker; the position stays where playback stopped.
  void Stop();
  bool Playing() const { return playing_; }
  // The frame playing now, or where playback stopped or ended.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t frame) { position_ = frame; }

  // From now on every frame played goes to `listener` (none: an empty function). Once this
  // returns, the previous listener is not called again.
  void Listen(Listener listener);

 private:
  void Run(DiscReader* disc, int32_t from, int32_t end);

  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  Listener listener_;
  std::atomic<bool> playing_{false};
  std::atomic<int32_t> position_{0};
};

// The capture source that records what the loopback player plays: 44100 Hz, 16 bits, stereo as
// played or mixed down to one channel.
class LoopbackCaptureSource : public CaptureSource {
 public:
  explicit LoopbackCaptureSource(LoopbackPlayer& player) : player_(player) {}
  ~LoopbackCaptureSource() override { Stop(); }

  bool Open() override { return true; }
  bool Accept(const WaveFormat& format) override;
  bool Start(Sink sink) override;
  void Stop() override { player_.Listen({}); }

 private:
  LoopbackPlayer& player_;
  WaveFormat format_;
};

}  // namespace korvalin
