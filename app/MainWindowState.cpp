#include "app/MainWindowState.h"

#include "common/Numeric.h"
#include "window/CollectionSelection.h"
#include "common/RaisedError.h"
#include "discinfo/TagsFromDiscInfo.h"

namespace korvalin {

MainWindowState::MainWindowState(Services& s, ProgramJobs& p)
    : services(s), programJobs(p), jobs(p.runner), collection(settings, s.loop, *this), cd(p.cd) {
  outputChoice_.Add(optMP3);
  outputChoice_.Add(optWAV);
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
  JobOptions options;
  options.TakeSettings(settings);
  options.selection = SelectionOf(collection);
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
  if (const DiscInfoCandidate* known = knownDisc()) {
    options.trackTags = TagsFromDiscInfo(*known, options.trackCount >= 1 && options.trackCount <= 99 ? static_cast<int>(options.trackCount) : 0);
  }
  return options;
}

}  // namespace korvalin
