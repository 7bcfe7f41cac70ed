#include "tests/support/StandInJobHost.h"

#include <cmath>

#include "common/Numeric.h"
#include "common/RaisedError.h"

namespace korvalin::test {

StandInJobHost::StandInJobHost(Services& s) : services(s), collection(settings, s.loop, *this), cd(s.cdLibrary) {
  Command2.SetVisible(false);
  Check9.SetVisible(false);
  Timer1.OnTimer = [this] {
    Timer1.SetEnabled(false);
    ResetStatus();
  };
  timers_.push_back(services.loop.Attach(Timer1));
  timers_.push_back(services.loop.Attach(tmrWarning));
  timers_.push_back(services.loop.Attach(tmrRecord));
}

void StandInJobHost::ChangeProgress(const std::string& status, float done, float total) {
  progress.ChangeProgress(status, done, total);
  // The window's contract: a total of 0 raises, the displays keep their values.
  if (total == 0) throw RaisedError::Of(errnum::DivisionByZero);
  const float percent = done / total * 100.0f;
  ShowPercent(Format(percent, "00.00") + " %", static_cast<int32_t>(std::floor(percent)));
}

void StandInJobHost::ShowPercent(const std::string& text, int32_t bar) {
  Label33.SetCaption(text);
  ProgressBar1.SetValue(bar);
}

void StandInJobHost::ResetStatus() {
  ++resets;
  Label3.SetCaption("Next action:");
  Label2.SetCaption("Destination:  " + settings.DecodePath + "/");
  ProgressBar1.SetValue(0);
  lblStatus.SetCaption("");
  Label33.SetCaption("");
}

void StandInJobHost::Disablem() {
  ++disables;
  locked_ = true;
}

void StandInJobHost::Enablem() {
  ++enables;
  locked_ = false;
}

void StandInJobHost::RequestStop(bool cancel) {
  flags.CaptureStopRequested = kTrue;
  if (cancel) flags.CancelRequested = kTrue;
}

}  // namespace korvalin::test
