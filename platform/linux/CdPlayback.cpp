#include "platform/linux/CdPlayback.h"

#include <alsa/asoundlib.h>

#include <vector>

namespace korvalin {
namespace {

// ALSA reports through its own printing; the program answers with its own codes instead.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

constexpr int32_t kFramesPerRead = 26;
constexpr int kSamplePairsPerFrame = 588;
constexpr std::size_t kFrameBytes = 2352;

}  // namespace

bool CdPlayback::Start(DiscReader* disc, int32_t from, int32_t end, const std::string& device) {
  Stop();
  snd_lib_error_set_handler(QuietAlsa);
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return false;
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2, 44100, 1, 200000) < 0) {
    snd_pcm_close(pcm);
    return false;
  }
  stop_ = false;
  playing_ = true;
  position_ = from;
  worker_ = std::thread(&CdPlayback::Run, this, disc, pcm, from, end);
  return true;
}

void CdPlayback::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  playing_ = false;
}

void CdPlayback::Run(DiscReader* disc, snd_pcm_t* pcm, int32_t from, int32_t end) {
  std::vector<uint8_t> block(static_cast<std::size_t>(kFramesPerRead) * kFrameBytes);
  for (int32_t frame = from; frame < end && !stop_;) {
    const int32_t n = std::min(kFramesPerRead, end - frame);
    if (!disc->ReadAudio(frame, n, block.data())) break;  // the disc ends, or a data track begins
    const auto* samples = reinterpret_cast<const int16_t*>(block.data());
    snd_pcm_uframes_t left = static_cast<snd_pcm_uframes_t>(n) * kSamplePairsPerFrame;
    while (left > 0 && !stop_) {
      snd_pcm_sframes_t written = snd_pcm_writei(pcm, samples, left);
      if (written < 0) written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
      if (written < 0) {
        stop_ = true;  // the output is gone: playback ends where it is
        break;
      }
      samples += written * 2;
      left -= static_cast<snd_pcm_uframes_t>(written);
    }
    frame += n;
    position_ = frame;
  }
  if (stop_) {
    snd_pcm_drop(pcm);
  } else {
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
  playing_ = false;
}

}  // namespace korvalin
