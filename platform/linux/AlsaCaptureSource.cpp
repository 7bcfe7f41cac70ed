#include "platform/linux/AlsaCaptureSource.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace korvalin {
namespace {

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// ALSA errors are answered with the interface's codes; its own printing only confuses a user.
void SilenceAlsa() { snd_lib_error_set_handler(QuietAlsa); }

}  // namespace

std::string CaptureSourceFromEnvironment() {
  const char* chosen = std::getenv("KORVALIN_CAPTURE");
  return chosen && *chosen ? chosen : "default";
}

AlsaCaptureSource::~AlsaCaptureSource() {
  Stop();
  if (pcm_) snd_pcm_close(pcm_);
}

bool AlsaCaptureSource::Open() {
  SilenceAlsa();
  if (pcm_) return true;
  // Non-blocking: the worker waits with a timeout, so a stop never hangs on a silent device.
  return snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) >= 0;
}

bool AlsaCaptureSource::Accept(const WaveFormat& format) {
  if (!pcm_ || worker_.joinable() || !IsRecordableFormat(format)) return false;
  const snd_pcm_format_t sampleFormat = format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(format.channels),
                         static_cast<unsigned>(format.samplesPerSecond), 1, 500000) < 0) {
    return false;
  }
  format_ = format;
  return true;
}

bool AlsaCaptureSource::Start(Sink sink) {
  if (!pcm_ || worker_.joinable()) return false;
  if (snd_pcm_prepare(pcm_) < 0 || snd_pcm_start(pcm_) < 0) return false;
  stop_ = false;
  worker_ = std::thread(&AlsaCaptureSource::Run, this, std::move(sink));
  return true;
}

void AlsaCaptureSource::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  if (pcm_) snd_pcm_drop(pcm_);
}

void AlsaCaptureSource::Run(Sink sink) {
  using Clock = std::chrono::steady_clock;
  const snd_pcm_uframes_t chunk = static_cast<snd_pcm_uframes_t>(format_.samplesPerSecond / 50);
  std::vector<char> buffer(chunk * static_cast<std::size_t>(format_.alignment));
  const char silence = format_.bitsPerSample == 8 ? static_cast<char>(0x80) : 0;
  const auto started = Clock::now();
  int64_t delivered = 0;
  while (!stop_) {
    if (snd_pcm_wait(pcm_, 100) < 0) snd_pcm_recover(pcm_, -EPIPE, 1);
    // Some devices hand back the buffer untouched: what they leave is silence, not old samples.
    std::fill(buffer.begin(), buffer.end(), silence);
    snd_pcm_sframes_t n = snd_pcm_readi(pcm_, buffer.data(), chunk);
    if (n == -EAGAIN) continue;
    if (n < 0) n = snd_pcm_recover(pcm_, static_cast<int>(n), 1);
    if (n < 0) break;  // the device is gone: the recording keeps what arrived
    if (n == 0) continue;
    sink(buffer.data(), static_cast<std::size_t>(n) * static_cast<std::size_t>(format_.alignment));
    delivered += n;
    // A device without a clock of its own (a null or file device) would deliver as fast as it is
    // read; nothing is taken faster than real time, so the recording matches the time it ran.
    const auto due = started + std::chrono::microseconds(delivered * 1000000 / format_.samplesPerSecond);
    while (!stop_ && Clock::now() + std::chrono::milliseconds(200) < due) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
}

}  // namespace korvalin
