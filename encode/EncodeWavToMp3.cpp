#include "encode/EncodeWavToMp3.h"

#include <cmath>

#include "common/Numeric.h"
#include "encode/EncoderChoices.h"
#include "encode/WavFileEncoding.h"

namespace korvalin {
namespace {

// The main window's side of an encoding: the cancel button, the locked commands, "07.5%" in the
// percentage label and the whole percent on the progress bar.
class WindowDisplay : public WavEncodingDisplay {
 public:
  explicit WindowDisplay(JobHost& host) : host_(host) {}
  void Started() override {
    host_.ShowCancelCommand();
    host_.Disablem();
  }
  void Progress(float percent) override {
    host_.ShowPercent(Format(percent, "00.0") + "%", static_cast<int32_t>(std::floor(percent)));
  }
  void Ended() override { host_.Enablem(); }

 private:
  JobHost& host_;
};

}  // namespace

WavEncodingOutcome EncodeWavToMp3(JobHost& host, Services& services, const std::string& path,
                                  const JobOptions& options) {
  WindowDisplay display(host);
  WavEncodingContext ctx{services.encoder, services.dialogs, services.loop, host.Flags(), display,
                         &services.tags, options.tagVersion};
  auto chooseConfig = [&](int32_t sampleRate, int channels) {
    return WavEncodingConfig(options.encodingBitrate, options.encodingQuality, sampleRate, channels);
  };
  return EncodeWavFile(ctx, path, options.destination, chooseConfig);
}

}  // namespace korvalin
