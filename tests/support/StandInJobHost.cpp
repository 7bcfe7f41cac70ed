#include "tests/support/StandInJobHost.h"

#include "common/RaisedError.h"
#include "window/CollectionSelection.h"

namespace korvalin::test {

StandInJobHost::StandInJobHost(Services& s)
    : JobRunner(s.loop), services(s), collection(settings, s.loop, *this), cd(s.cdLibrary) {
  settings.EncodingBitrate = 5;  // a fresh installation's bitrate index, as the settings load it
  readOptions = [this] {
    JobOptions o = options;
    o.TakeSettings(settings);
    o.selection = SelectionOf(collection);
    return o;
  };
  Record();
}

void StandInJobHost::Record() {
  JobEvents& e = events;
  auto on = [this](controls::Connection c) { connections_.push_back(std::move(c)); };
  on(e.status.Connect([this](StatusLine line, const std::string& text) {
    (line == StatusLine::Caption ? caption : line == StatusLine::NextAction ? nextAction
                                          : line == StatusLine::Destination ? destination
                                                                            : statusLine) = text;
  }));
  on(e.progress.Connect([this](const std::string& text, int32_t value) {
    percent = text;
    bar = value;
  }));
  on(e.idle.Connect([this](bool soon) {
    if (soon) {
      resetPending = true;
      return;
    }
    ++resets;
    nextAction = "Next action:";
    destination = "Destination:  " + settings.DecodePath + "/";
    bar = 0;
    statusLine.clear();
    percent.clear();
  }));
  on(e.locked.Connect([this] { ++disables; }));
  on(e.unlocked.Connect([this] { ++enables; }));
  on(e.commandShown.Connect([this](JobCommand c) { (c == JobCommand::Cancel ? cancelShown : stopShown) = true; }));
  // The collection follows the job as the main window's does.
  on(e.tracksTaken.Connect([this](const std::vector<std::string>&) {
    collection.TakeEveryAvailableTrack(TakeTracks::AsShown);
  }));
  on(e.trackInHand.Connect([this](int32_t index) { collection.SetCurrentChosenTrack(index); }));
  on(e.fileWritten.Connect([this](const std::string& path) { collection.Cmaddfile2(path); }));
  on(e.fileDeleted.Connect([this](const std::string& path) { collection.Unlist(path); }));
}

void StandInJobHost::ChangeProgress(const std::string& status, float done, float total) {
  progress.ChangeProgress(status, done, total);
  JobRunner::ChangeProgress(status, done, total);
}

void StandInJobHost::RequestStop(bool cancel) {
  flags.CaptureStopRequested = kTrue;
  if (cancel) flags.CancelRequested = kTrue;
}

}  // namespace korvalin::test
