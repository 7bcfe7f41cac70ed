#include "app/MainWindowState.h"

#include "common/Numeric.h"
#include "window/CollectionSelection.h"
#include "common/RaisedError.h"
#include "discinfo/TagsFromDiscInfo.h"

namespace korvalin {

MainWindowState::MainWindowState(Services& s, ProgramJobs& p)
    : services(s), programJobs(p), jobs(p.runner), collection(settings, s.loop, *this), cd(p.cd) {
  jobs.readOptions = [this] { return ReadJobOptions(); };
  FollowJobs();
}

void MainWindowState::FollowJobs() {
  JobEvents& e = jobs.events;
  auto follow = [this](controls::Connection c) { jobConnections_.push_back(std::move(c)); };
  follow(e.locked.Connect([this] { Disablem(); }));
  follow(e.unlocked.Connect([this] { Enablem(); }));
  // The collection shows the tracks a job takes and lists the files it writes.
  collection.FollowJobs(e);
}

JobOptions MainWindowState::ReadJobOptions() const {
  JobOptions job;
  job.TakeSettings(settings);
  job.selection = SelectionOf(collection);
  options.FillJobOptions(job);
  job.discIdentity = Val(lblCDID.Caption());
  job.trackCount = Val(lblNumTracks.Caption());
  if (const DiscInfoCandidate* known = knownDisc()) {
    job.trackTags = TagsFromDiscInfo(*known, job.trackCount >= 1 && job.trackCount <= 99 ? static_cast<int>(job.trackCount) : 0);
  }
  return job;
}

}  // namespace korvalin
