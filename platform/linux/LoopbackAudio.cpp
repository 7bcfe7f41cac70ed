#include "platform/linux/LoopbackAudio.h"

#include <chrono>
#include <vector>

namespace korvalin {
namespace {

constexpr int kSamplePairsPerFrame = 588;
constexpr int kFramesPerSecond = 75;
constexpr std::size_t kFrameBytes = 2352;

}  // namespace

bool LoopbackPlayer::Start(DiscReader* disc, int32_t from, int32_t end) {
  Stop();
  if (!disc || from < 0 || from >= end) return false;
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
  }
  playing_ = true;
  position_ = from;
  worker_ = std::thread(&LoopbackPlayer::Run, this, disc, from, end);
  return true;
}

void LoopbackPlayer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
  playing_ = false;
}

void LoopbackPlayer::Listen(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void LoopbackPlayer::Run(DiscReader* disc, int32_t from, int32_t end) {
  using Clock = std::chrono::steady_clock;
  std::vector<uint8_t> frame(kFrameBytes);
  const auto started = Clock::now();
  for (int32_t at = from; at < end; ++at) {
    if (!disc->ReadAudio(at, 1, frame.data())) break;  // off the audio: playback ends here
    // A frame is heard when its time has come: the position never runs ahead of real playback.
    const auto due = started + std::chrono::microseconds(int64_t{at - from + 1} * 1000000 / kFramesPerSecond);
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, due, [this] { return stop_; })) break;
    if (listener_) listener_(reinterpret_cast<const int16_t*>(frame.data()), kSamplePairsPerFrame);
    position_ = at + 1;
  }
  playing_ = false;
}

bool LoopbackCaptureSource::Accept(const WaveFormat& format) {
  // The loopback hears CD audio as it is: no other rate or sample size.
  if (!IsRecordableFormat(format) || format.samplesPerSecond != 44100 || format.bitsPerSample != 16) return false;
  format_ = format;
  return true;
}

bool LoopbackCaptureSource::Start(Sink sink) {
  if (format_.channels == 2) {
    player_.Listen([sink](const int16_t* samples, std::size_t pairs) {
      sink(reinterpret_cast<const char*>(samples), pairs * 4);
    });
    return true;
  }
  player_.Listen([sink, mono = std::vector<int16_t>()](const int16_t* samples, std::size_t pairs) mutable {
    mono.resize(pairs);
    for (std::size_t i = 0; i < pairs; ++i) mono[i] = static_cast<int16_t>((samples[2 * i] + samples[2 * i + 1]) / 2);
    sink(reinterpret_cast<const char*>(mono.data()), pairs * 2);
  });
  return true;
}

}  // namespace korvalin
