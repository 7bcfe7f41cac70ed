#pragma once
// Digital playback of a disc's frames through an ALSA output, on a worker thread of its own.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/linux/DiscReader.h"

typedef struct _snd_pcm snd_pcm_t;

namespace korvalin {

class CdPlayback {
 public:
  CdPlayback() = default;
  ~CdPlayback() { Stop(); }
  CdPlayback(const CdPlayback&) = delete;
  CdPlayback& operator=(const CdPlayback&) = delete;

  // Plays frames [from, end) of `disc` on the ALSA output `device`. False when the output cannot
  // be opened (no sound card): nothing plays then. The disc must stay open until Stop.
  bool Start(DiscReader* disc, int32_t from, int32_t end, const std::string& device);
  // Stops and waits for the worker; the position stays where playback stopped.
  void Stop();

  bool Playing() const { return playing_; }
  // The frame playing now, or where playback stopped or ended.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t frame) { position_ = frame; }

 private:
  void Run(DiscReader* disc, snd_pcm_t* pcm, int32_t from, int32_t end);

  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> playing_{false};
  std::atomic<int32_t> position_{0};
};

}  // namespace korvalin
