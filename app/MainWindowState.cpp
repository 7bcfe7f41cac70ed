#include "app/MainWindowState.h"

#include <cmath>

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin {

MainWindowState::MainWindowState(Services& s)
    : services(s), collection(settings, s.loop, *this), cd(s.cdLibrary) {
  outputChoice_.Add(optMP3);
  outputChoice_.Add(optWAV);
  Check9.SetVisible(false);
  Command2.SetVisible(false);
}

void MainWindowState::ChangeProgress(const std::string&, float done, float total) {
  if (total == 0) throw RaisedError::Of(errnum::DivisionByZero);  // the displays keep their values
  const float percent = done / total * 100.0f;
  const std::string text = Format(percent, "00.00") + " %";
  window.SetCaption("Progress " + text);
  Label33.SetCaption(text);
  ProgressBar1.SetValue(static_cast<int32_t>(std::floor(percent)));
}

void MainWindowState::ShowPercent(const std::string& text, int32_t bar) {
  Label33.SetCaption(text);
  ProgressBar1.SetValue(bar);
}

JobOptions MainWindowState::WindowOptions() const {
  JobOptions options;
  options.toMp3 = optMP3.Value();
  options.oneStep = Chk2Stage.Value();
  options.bitrate = Val(cmbBitrate.Text());
  options.qualityIndex = cmbQuality.ListIndex();
  options.privateBox = chkPrivate.Value();
  options.crcBox = chkCRC.Value();
  options.copyrightedBox = chkCopyright.Value();
  options.originalBox = chkOriginal.Value();
  options.discIdentity = Val(lblCDID.Caption());
  options.trackCount = Val(lblNumTracks.Caption());
  return options;
}

}  // namespace korvalin
