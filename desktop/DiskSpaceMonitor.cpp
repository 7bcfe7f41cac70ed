#include "desktop/DiskSpaceMonitor.h"

#include "common/RaisedError.h"

namespace korvalin {

DiskSpaceMonitor::DiskSpaceMonitor(DiskSpaceMonitorWindow window, EventLoop& loop,
                                   std::function<DiskSpaceLimits()> limits, DriveSource& drives)
    : window_(std::move(window)), loop_(loop), limits_(std::move(limits)), drives_(&drives) {
  window_.tmrWarning.OnTimer = [this] { tmrWarning_Timer(); };
}

void DiskSpaceMonitor::JobStarting() {
  IgnoreErrors([&] { window_.ShowWarning(false); },
               [&] {
                 // Asking to stop on low space means wanting the space watched, even with the
                 // warning off.
                 const DiskSpaceLimits limits = limits_();
                 if (limits.HDWarning == 1 || limits.HDstopdecoding == 1) window_.tmrWarning.SetEnabled(true);
               });
}

void DiskSpaceMonitor::JobEnded() { window_.tmrWarning.SetEnabled(false); }

void DiskSpaceMonitor::Survey() {
  IgnoreErrors([&] { current_ = limits_(); }, [&] { survey_.Run(*drives_, current_.DecodePath); },
               [&] {
                 if (OnSurveyed) OnSurveyed();
               });
}

void DiskSpaceMonitor::tmrWarning_Timer() {
  Survey();
  // A destination never measured (on a drive that is not a fixed one, say) is not taken for an
  // empty one: nothing is stopped or warned about on a figure nobody read.
  const std::optional<int64_t> free = survey_.DestinationMegabytes();
  if (!free) return;
  if (current_.HDstopdecoding == 1 && *free < current_.HDStopNo) {
    // The job in hand ends after its current block, whatever kind of job it is.
    IgnoreErrors([&] { window_.flags.CaptureStopRequested = kTrue; },
                 [&] { window_.flags.CancelRequested = kTrue; },
                 [&] { window_.ShowWarning(true); },
                 [&] { window_.Command1(); },
                 [&] { window_.ResetStatusSoon(); },
                 [&] { loop_.Yield(); });
    return;
  }
  if (current_.HDWarning == 1 && *free < current_.HDWarningNo) window_.ShowWarning(true);
}

}  // namespace korvalin
