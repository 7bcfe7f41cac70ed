#include "jobs/ProgramJobs.h"

#include "common/RaisedError.h"
#include "encode/EncodeBatch.h"

namespace korvalin {

ProgramJobs::ProgramJobs(Services& services)
    : runner(services.loop),
      cd(services.cdLibrary),
      capture(runner, services),
      extraction(runner, services, cd, PrefixRandom::ClockSeed, &capture),
      decoding(runner, runner.events, services),
      diskMonitor({tmrWarning, [this](bool on) { runner.events.lowSpace.Emit(on); }, [this] { runner.Idle(true); },
                   runner.flags, [this] { LowSpaceStop(); }},
                  services.loop, [this] { return diskLimits ? diskLimits() : DiskSpaceLimits{}; }, system),
      services_(services) {
  JobEvents& e = runner.events;
  // The watch runs while a job does.
  connections_.push_back(e.starting.Connect([this] { diskMonitor.JobStarting(); }));
  connections_.push_back(e.ended.Connect([this] { IgnoreErrors([&] { diskMonitor.JobEnded(); }); }));
  connections_.push_back(e.spaceWatchEnded.Connect([this] { tmrWarning.SetEnabled(false); }));
  timer_ = services.loop.Attach(tmrWarning);
}

ProgramJobs::~ProgramJobs() = default;

void ProgramJobs::Start(EntryKind kind) {
  switch (kind) {
    case EntryKind::Track: extraction.cmdStart_Click(); break;
    case EntryKind::Wav: cmdEncFile_Click(runner, services_); break;
    case EntryKind::Mp3: decoding.CmdDecoder_Click(); break;
    case EntryKind::None: break;
  }
}

void ProgramJobs::WatchSpaceBy(const Settings& settings) {
  diskLimits = [&settings] {
    return DiskSpaceLimits{settings.HDWarning, settings.HDWarningNo, settings.HDstopdecoding, settings.HDStopNo,
                           settings.DecodePath};
  };
}

void ProgramJobs::LowSpaceStop() {
  const std::string reason = "low disk space, " + diskMonitor.DestinationFigure() + " MB free on the destination drive";
  runner.events.stoppedBecause.Emit("Job stopped: " + reason);
  runner.LowSpaceStop(reason);
}

}  // namespace korvalin
