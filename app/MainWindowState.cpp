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
  follow(e.tracksTaken.Connect([this](const std::vector<std::string>&) {
    collection.TakeEveryAvailableTrack(TakeTracks::AsShown);
  }));
  follow(e.trackInHand.Connect([this](int32_t index) { collection.SetCurrentChosenTrack(index); }));
  follow(e.fileWritten.Connect([this](const std::string& path) { collection.Cmaddfile2(path); }));
  follow(e.fileDeleted.Connect([this](const std::string& path) { collection.Unlist(path); }));
  follow(e.stoppedWavKept.Connect([this](const std::string& path) {
    collection.ListWithoutItem(path);
  }));
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
