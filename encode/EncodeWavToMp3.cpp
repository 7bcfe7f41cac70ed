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
  explicit WindowDisplay(MainWindowState& form) : form_(form) {}
  void Started() override {
    form_.Command2.SetVisible(true);
    form_.Disablem();
  }
  void Progress(float percent) override {
    form_.Label33.SetCaption(Format(percent, "00.0") + "%");
    form_.ProgressBar1.SetValue(static_cast<int32_t>(std::floor(percent)));
  }
  void Ended() override { form_.Enablem(); }

 private:
  MainWindowState& form_;
};

}  // namespace

WavEncodingOutcome EncodeWavToMp3(MainWindowState& form, const std::string& path) {
  Services& s = form.services;
  WindowDisplay display(form);
  WavEncodingContext ctx{s.encoder, s.dialogs, s.loop, form.flags, display};
  auto chooseConfig = [&form](int32_t sampleRate, int channels) {
    form.settings.EncodingBitrate =
        CInt16(form.services.store.get(kSettingsApplication, kSettingsSection, settingkey::EncodingBitrate, "5"));
    return WavEncodingConfig(form.settings.EncodingBitrate, form.settings.EncodingQuality, sampleRate, channels);
  };
  return EncodeWavFile(ctx, path, form.settings.DecodePath, chooseConfig);
}

}  // namespace korvalin
