#pragma once
// Recording from an ALSA capture device (the sound card's input), on a worker thread.

#include <atomic>
#include <string>
#include <thread>

#include "platform/linux/CaptureSource.h"

typedef struct _snd_pcm snd_pcm_t;

namespace korvalin {

class AlsaCaptureSource : public CaptureSource {
 public:
  explicit AlsaCaptureSource(std::string device) : device_(std::move(device)) {}
  ~AlsaCaptureSource() override;

  bool Open() override;
  bool Accept(const WaveFormat& format) override;
  bool Start(Sink sink) override;
  void Stop() override;

 private:
  void Run(Sink sink);

  std::string device_;
  snd_pcm_t* pcm_ = nullptr;
  WaveFormat format_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
};

}  // namespace korvalin
