#include "window/MainWindowState.h"

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

}  // namespace korvalin
