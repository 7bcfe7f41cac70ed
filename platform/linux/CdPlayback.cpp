#include "platform/linux/CdPlayback.h"

#include <vector>

#include "platform/linux/AlsaPlayback.h"

namespace korvalin {
namespace {

constexpr int32_t kFramesPerRead = 26;
constexpr int kSamplePairsPerFrame = 588;
constexpr int kSamplePairBytes = 4;  // two 16-bit samples
constexpr std::size_t kFrameBytes = 2352;

}  // namespace

bool CdPlayback::Start(DiscReader* disc, int32_t from, int32_t end, const std::string& device) {
  Stop();
  snd_pcm_t* pcm = OpenPlayback(device, 2, 44100);
  if (pcm == nullptr) return false;
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
    const auto pairs = static_cast<snd_pcm_uframes_t>(n) * kSamplePairsPerFrame;
    if (WriteFrames(pcm, block.data(), pairs, kSamplePairBytes, stop_) < 0) {
      stop_ = true;  // the output is gone: playback ends where it is
    }
    frame += n;
    position_ = frame;
  }
  ClosePlayback(pcm, stop_);
  playing_ = false;
}

}  // namespace korvalin
