#include "platform/linux/AlsaPlayback.h"

namespace korvalin {
namespace {

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

constexpr unsigned kBufferMicroseconds = 200000;

}  // namespace

void SilenceAlsa() { snd_lib_error_set_handler(QuietAlsa); }

snd_pcm_t* OpenPlayback(const std::string& device, unsigned channels, unsigned rate) {
  SilenceAlsa();
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, channels, rate, 1,
                         kBufferMicroseconds) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  return pcm;
}

int64_t WriteFrames(snd_pcm_t* pcm, const unsigned char* data, snd_pcm_uframes_t frames, int frameBytes,
                    const std::atomic<bool>& stop) {
  int64_t total = 0;
  while (frames > 0 && !stop) {
    snd_pcm_sframes_t written = snd_pcm_writei(pcm, data, frames);
    if (written < 0) written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
    if (written < 0) return -1;
    data += written * frameBytes;
    frames -= static_cast<snd_pcm_uframes_t>(written);
    total += written;
  }
  return total;
}

void ClosePlayback(snd_pcm_t* pcm, bool stopped) {
  if (stopped) {
    snd_pcm_drop(pcm);
  } else {
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
}

}  // namespace korvalin
